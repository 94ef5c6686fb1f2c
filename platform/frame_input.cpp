// The game's keyboard, clock and window queries, answered from the devices or from the
// frame record that a recorder or a recording's player holds for this frame.

#include "platform/frame_input.h"

#include "platform/clock.h"
#include "platform/console.h"
#include "platform/device.h"
#include "platform/keyboard.h"

namespace veldra::platform {
namespace {

struct Dispatch {
  FrameInputObserver* observer = nullptr;
  FrameInputSource* source = nullptr;
  bool devicesOff = false;
  FrameInput frame;  // what this frame's queries are answered from
};

Dispatch& dispatch() {
  static Dispatch instance;
  return instance;
}

bool latched() { return dispatch().observer != nullptr || dispatch().source != nullptr; }

FrameInput readDevices() {
  FrameInput input;
  if (dispatch().devicesOff) return input;
  device::readKeyboard();
  for (int key = 0; key < kVirtualKeyCount; ++key) {
    input.keys[static_cast<std::size_t>(key)] = (device::asyncKeyState(key) & 0x8000) != 0;
  }
  input.ticks = device::tickCount();
  input.console = device::consoleWindowSize(standardOutputHandle(), input.columns, input.rows);
  if (!input.console) input.columns = input.rows = 0;
  return input;
}

}  // namespace

void setFrameInputObserver(FrameInputObserver* observer) { dispatch().observer = observer; }
void setFrameInputSource(FrameInputSource* source) { dispatch().source = source; }
void setDevicesOff(bool off) { dispatch().devicesOff = off; }
bool devicesOff() { return dispatch().devicesOff; }

bool keyboardAvailable() {
  // A recording's player serves the keys itself, and a check of one reads none.
  if (dispatch().source != nullptr || dispatch().devicesOff) return true;
  return device::keyboardAvailable();
}

void readKeyboard() {
  Dispatch& d = dispatch();
  if (!latched()) {
    if (!d.devicesOff) device::readKeyboard();
    return;
  }
  const FrameInput devices = readDevices();
  if (d.source) {
    FrameInput served;
    d.source->nextFrame(devices, served);
    d.frame = served;
  } else {
    d.frame = devices;
  }
  if (d.observer) d.observer->frameRead(d.frame);
}

std::uint16_t asyncKeyState(int virtualKey) {
  if (!latched()) return dispatch().devicesOff ? 0 : device::asyncKeyState(virtualKey);
  if (virtualKey < 0 || virtualKey >= kVirtualKeyCount) return 0;
  return dispatch().frame.keys[static_cast<std::size_t>(virtualKey)] ? 0x8000 : 0;
}

std::uint32_t tickCount() {
  if (!latched()) return device::tickCount();
  return dispatch().frame.ticks;
}

bool consoleWindowSize(ConsoleHandle output, int& columns, int& rows) {
  if (!latched()) return !dispatch().devicesOff && device::consoleWindowSize(output, columns, rows);
  const FrameInput& frame = dispatch().frame;
  if (!frame.console) return false;
  columns = frame.columns;
  rows = frame.rows;
  return true;
}

}  // namespace veldra::platform
