// The game's keyboard, clock and window queries, answered from the frame record taken at
// the top of the frame.

#include "platform/frame_input.h"

#include "platform/clock.h"
#include "platform/console.h"
#include "platform/backend/device.h"
#include "platform/keyboard.h"
#include "platform/lifetime.h"
#include "platform/mouse.h"

namespace veldra::platform {
namespace {

struct Dispatch {
  FrameInputObserver* observer = nullptr;
  FrameInputSource* source = nullptr;
  FrameInput frame;  // what this frame's queries are answered from
};

Dispatch& dispatch() {
  static Dispatch instance;
  return instance;
}

void readClockAndWindow(FrameInput& input) {
  input.ticks = devices::tickCount();
  input.console = devices::consoleWindowSize(standardOutputHandle(), input.columns, input.rows);
  if (!input.console) input.columns = input.rows = 0;
}

FrameInput readDevices() {
  FrameInput input;
  input.keysExact = devices::readKeyboard(input.keys);
  devices::readMouse(input);
  readClockAndWindow(input);
  return input;
}

}  // namespace

FrameInput& currentFrameInput() { return dispatch().frame; }

void startFrameInput() {
  FrameInput input;
  readClockAndWindow(input);
  dispatch().frame = input;
}
bool frameInputServed() { return dispatch().source != nullptr; }

void setFrameInputObserver(FrameInputObserver* observer) { dispatch().observer = observer; }
void setFrameInputSource(FrameInputSource* source) { dispatch().source = source; }

bool beginFrame() {
  Dispatch& d = dispatch();
  const FrameInput devices = readDevices();
  if (d.source) {
    FrameInput served;
    if (!d.source->nextFrame(devices, served)) return false;
    d.frame = served;
  } else {
    d.frame = devices;
  }
  if (d.observer) d.observer->frameRead(d.frame);
  return true;
}

bool keyboardAvailable() {
  // A recording's player serves the keys itself (and a check of one has the null device).
  if (dispatch().source != nullptr) return true;
  return devices::keyboardAvailable();
}

bool keyDown(int virtualKey) {
  if (virtualKey < 0 || virtualKey >= kVirtualKeyCount) return false;
  return dispatch().frame.keys[static_cast<std::size_t>(virtualKey)];
}

bool keysExact() { return dispatch().frame.keysExact; }

double mouseTurn() { return dispatch().frame.mouseTurn * kMouseTurnUnit; }
int pointerAtEdge() { return dispatch().frame.pointerEdge; }

std::uint32_t tickCount() { return dispatch().frame.ticks; }

bool consoleWindowSize(ConsoleHandle, int& columns, int& rows) {
  const FrameInput& frame = dispatch().frame;
  if (!frame.console) return false;
  columns = frame.columns;
  rows = frame.rows;
  return true;
}

}  // namespace veldra::platform
