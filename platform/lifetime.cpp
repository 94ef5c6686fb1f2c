// The platform's life: the part every backend shares. The backend's own devices are set
// up, taken and given back through device.h.

#include "platform/lifetime.h"

#include "platform/device.h"

namespace veldra::platform {
namespace {

bool devicesAreOff = false;

}  // namespace

void start(Devices devices, Colours colours) {
  devicesAreOff = devices == Devices::Off;
  if (!devicesAreOff) device::start(colours);
  startFrameInput();
}

void beginPlay() {
  if (!devicesAreOff) device::beginPlay();
}

void stop() {
  if (!devicesAreOff) device::stop();
}

bool devicesOff() { return devicesAreOff; }

}  // namespace veldra::platform
