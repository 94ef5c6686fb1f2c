// Keyboard, clock and process services on Windows. The keyboard is polled once a frame
// for every key: down while held, and also when it was pressed since the last poll (the
// state's low bit), so a tap between two frames is never lost.

#include <cstdlib>

#include "platform/clock.h"
#include "platform/backend/device.h"
#include "platform/key_places.h"
#include "platform/keyboard.h"
#include "platform/mouse_look.h"
#include "platform/lifetime.h"
#include "platform/process.h"
#include "platform/win32/win32_calls.h"

namespace veldra::platform {
namespace {

// The key-state call's bits: down now, and pressed since the last call.
constexpr std::uint16_t kKeyDownBit = 0x8000;
constexpr std::uint16_t kPressedSinceLastPollBit = 0x0001;

}  // namespace

// The console's attributes are its palette; its key-state call reports the mouse's buttons
// as keys 1 and 2 already, and its mouse events say where the pointer went.
namespace {
struct ConsoleMouse {
  bool on = false;
  MouseLookState look;
  bool known = false;  // where the pointer is
  int column = 0;
};
ConsoleMouse consoleMouse;
}  // namespace

void device::start(Colours, const MouseLook& mouse) {
  win32::startConsole();
  consoleMouse.on = mouse.on;
  consoleMouse.look = mouseLookFor(mouse);
}
void device::beginPlay() {
  win32::takeConsoleForPlay();
  if (consoleMouse.on) win32::takeConsoleMouse();
}
void device::stop() { win32::giveConsoleBack(); }

bool device::keyboardAvailable() { return true; }

bool device::readKeyboard(std::array<bool, kVirtualKeyCount>& keys) {
  // Each key is asked once a frame: a second call would lose the press-since-last-call bit.
  for (int key = 0; key < kVirtualKeyCount; ++key) {
    const std::uint16_t state = win32::asyncKeyState(key);
    keys[static_cast<std::size_t>(key)] = (state & (kKeyDownBit | kPressedSinceLastPollBit)) != 0;
  }
  // By position: each place of the main block is the US layout's key there, read through
  // whatever key the layout puts in that place.
  if (lettersByPosition()) {
    const std::array<bool, kVirtualKeyCount> typed = keys;
    for (int scanCode = kFirstPlacedScanCode; scanCode <= kLastPlacedScanCode; ++scanCode) {
      const int placed = usKeyAtScanCode(scanCode);
      const int there = win32::virtualKeyAtScanCode(scanCode);
      if (placed != 0 && there > 0 && there < kVirtualKeyCount) {
        keys[static_cast<std::size_t>(placed)] = typed[static_cast<std::size_t>(there)];
      }
    }
  }
  // Without the mouse its buttons are no keys of the game, as on a terminal.
  if (!consoleMouse.on) keys[vk::kLeftButton] = keys[vk::kRightButton] = false;
  return true;  // the console's key state is always exact
}

void device::readMouse(FrameInput& input) {
  ConsoleMouse& m = consoleMouse;
  if (!m.on) return;
  int column = 0;
  if (win32::readConsoleMouseColumn(column)) {
    if (m.known) input.mouseTurn = turnForMotion(m.look, column - m.column);
    m.column = column;
    m.known = true;
  }
  input.pointerEdge = static_cast<std::int8_t>(pointerEdge(m.known, m.column, input.columns));
}

std::uint32_t device::tickCount() { return win32::tickCount(); }

void device::sleepMilliseconds(std::uint32_t milliseconds) {
  win32::sleep(milliseconds);
}

std::string currentDirectory() { return win32::currentDirectory(); }

std::string defaultSettingsFile() {
  const std::string appData = win32::environmentVariable("APPDATA");
  return appData.empty() ? std::string() : appData + "\\Veldra\\veldra.toml";
}

void device::waitForKey() {
  win32::waitForConsoleKey();
}

void writeStandardError(std::string_view text) { win32::writeStandardErrorBytes(text); }

void exitProcess(int status) {
  win32::giveConsoleBack();
  std::exit(status);
}

}  // namespace veldra::platform
