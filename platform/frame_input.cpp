// The game's keyboard, clock and window queries, answered from the frame record taken at
// the top of the frame.

#include "platform/frame_input.h"

#include "platform/clock.h"
#include "platform/console.h"
#include "platform/backend/device.h"
#include "platform/keyboard.h"
#include "platform/lifetime.h"
#include "platform/mouse.h"
#include "platform/pad.h"

namespace veldra::platform {
namespace {

// This frame's record, and who watches the records or serves them.
struct ThisFrame {
  FrameInputObserver* observer = nullptr;
  FrameInputSource* source = nullptr;
  FrameInput frame;  // what this frame's queries are answered from
};

ThisFrame& thisFrame() {
  static ThisFrame instance;
  return instance;
}

void readClockAndWindow(FrameInput& input) {
  input.ticks = devicesInUse().tickCount();
  input.console = devicesInUse().consoleWindowSize(standardOutputHandle(), input.columns, input.rows);
  if (!input.console) input.columns = input.rows = 0;
}

FrameInput readDevices() {
  FrameInput input;
  input.keysExact = devicesInUse().readKeyboard(input.keys);
  readClockAndWindow(input);
  devicesInUse().readMouse(input);
  if (padSettings().on) devicesInUse().readPad(input);
  return input;
}

}  // namespace

FrameInput& currentFrameInput() { return thisFrame().frame; }

void startFrameInput() {
  FrameInput input;
  readClockAndWindow(input);
  thisFrame().frame = input;
}
bool frameInputServed() { return thisFrame().source != nullptr; }

void setFrameInputObserver(FrameInputObserver* observer) { thisFrame().observer = observer; }
void setFrameInputSource(FrameInputSource* source) { thisFrame().source = source; }

bool beginFrame() {
  ThisFrame& d = thisFrame();
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
  if (thisFrame().source != nullptr) return true;
  return devicesInUse().keyboardAvailable();
}

bool keyDown(int virtualKey) {
  if (virtualKey < 0 || virtualKey >= kVirtualKeyCount) return false;
  return thisFrame().frame.keys[static_cast<std::size_t>(virtualKey)];
}

bool keysExact() { return thisFrame().frame.keysExact; }

bool padPresent() { return thisFrame().frame.padPresent; }
double padTurn() { return thisFrame().frame.padTurn * kMouseTurnUnit; }

namespace {
PadSettings padChosen;  // set once before start
}  // namespace

void usePad(const PadSettings& settings) { padChosen = settings; }
const PadSettings& padSettings() { return padChosen; }

namespace {
bool lettersReadByPosition = false;  // set once before start, read by the backends
}  // namespace

void readLettersByPosition(bool byPosition) { lettersReadByPosition = byPosition; }
bool lettersByPosition() { return lettersReadByPosition; }

double mouseTurn() { return thisFrame().frame.mouseTurn * kMouseTurnUnit; }
int pointerAtEdge() { return thisFrame().frame.pointerEdge; }

std::uint32_t tickCount() { return thisFrame().frame.ticks; }

bool consoleWindowSize(ConsoleHandle, int& columns, int& rows) {
  const FrameInput& frame = thisFrame().frame;
  if (!frame.console) return false;
  columns = frame.columns;
  rows = frame.rows;
  return true;
}

}  // namespace veldra::platform
