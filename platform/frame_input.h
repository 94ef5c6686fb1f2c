#pragma once
// Everything the game reads from the platform in a frame, as one record: the keys held, the
// tick count and the window size. A recorder watches these records; a player of a
// recording serves its own in place of the devices. With either in place, the platform
// takes one record at the top of each frame and answers every query of that frame from
// it; with neither, queries go straight to the devices.

#include <array>
#include <cstdint>

namespace veldra::platform {

constexpr int kVirtualKeyCount = 256;

struct FrameInput {
  std::array<bool, kVirtualKeyCount> keys{};
  std::uint32_t ticks = 0;
  bool console = false;  // the window size is known (the console query succeeds)
  int columns = 0;
  int rows = 0;
  bool operator==(const FrameInput&) const = default;
};

// Sees what the devices gave, once per frame, before the game reads it.
class FrameInputObserver {
 public:
  virtual ~FrameInputObserver() = default;
  virtual void frameRead(const FrameInput& input) = 0;
};

// Stands in for the devices: given what they gave this frame (nothing but zeros while the
// devices are off), fills in what the game shall see.
class FrameInputSource {
 public:
  virtual ~FrameInputSource() = default;
  virtual void nextFrame(const FrameInput& devices, FrameInput& input) = 0;
};

// At most one of each; nullptr removes it.
void setFrameInputObserver(FrameInputObserver* observer);
void setFrameInputSource(FrameInputSource* source);

// Devices off: the terminal is left alone, nothing is written to standard output, no sound
// device is opened, sleeps return at once and keys are not read. For checking a recording
// as fast as it goes. Set before anything else touches the platform.
void setDevicesOff(bool off);
bool devicesOff();

}  // namespace veldra::platform
