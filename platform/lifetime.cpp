// The platform's life: the part every backend shares. The backend's own devices are set
// up, taken and given back through device.h.

#include "platform/lifetime.h"

#include "platform/device.h"
#include "platform/lifetime.h"

namespace veldra::platform {
namespace {

bool devicesAreOff = false;

// Before the first frame, queries see the clock and the window as they are at start (the
// recording's header is taken then), and no key down.
FrameInput startingRecord() {
  FrameInput input;
  if (devicesAreOff) return input;
  input.ticks = device::tickCount();
  input.console = device::consoleWindowSize(standardOutputHandle(), input.columns, input.rows);
  if (!input.console) input.columns = input.rows = 0;
  return input;
}

}  // namespace

void start(Devices devices, Colours colours) {
  devicesAreOff = devices == Devices::Off;
  if (!devicesAreOff) device::start(colours);
  currentFrameInput() = startingRecord();
}

void beginPlay() {
  if (!devicesAreOff) device::beginPlay();
}

void stop() {
  if (!devicesAreOff) device::stop();
}

bool devicesOff() { return devicesAreOff; }

}  // namespace veldra::platform
