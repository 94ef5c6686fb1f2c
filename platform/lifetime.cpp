// The platform's life: the part every backend shares. The backend's own devices are set
// up, taken and given back through device.h.

#include "platform/lifetime.h"

#include <cstdlib>
#include <string_view>

#include "platform/clock.h"
#include "platform/backend/device.h"

namespace veldra::platform {
namespace {

// No farewell pause lasts longer than a minute, whatever the environment says.
constexpr std::uint32_t kLongestFarewellMs = 60000;

// The pause the environment asks for, or `fallback` when it asks for none or says nonsense.
std::uint32_t farewellFromEnvironment(std::uint32_t fallback) {
  const char* value = std::getenv("VELDRA_FAREWELL_MS");
  if (value == nullptr) return fallback;
  const std::string_view digits(value);
  if (digits.empty() || digits.size() > 5) return fallback;
  std::uint32_t milliseconds = 0;
  for (const char digit : digits) {
    if (digit < '0' || digit > '9') return fallback;
    milliseconds = milliseconds * 10 + static_cast<std::uint32_t>(digit - '0');
  }
  return milliseconds < kLongestFarewellMs ? milliseconds : kLongestFarewellMs;
}

}  // namespace

void farewellPause(std::uint32_t milliseconds) { sleepMilliseconds(farewellFromEnvironment(milliseconds)); }

void start(Devices devices, Colours colours, const MouseLook& mouse) {
  useDevices(devices);
  devicesInUse().start(colours, mouse);
  startFrameInput();
}

void beginPlay() { devicesInUse().beginPlay(); }

void stop() { devicesInUse().stop(); }

}  // namespace veldra::platform
