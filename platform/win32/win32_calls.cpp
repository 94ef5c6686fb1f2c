#include "platform/win32/win32_calls.h"

#include "platform/win32/windows_headers.h"
#include <conio.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace veldra::platform::win32 {
namespace {

constexpr UINT kPictureCodePage = 437;

// What the game changed in the console, to give back. Plain values, read by the control
// handler's thread too.
struct Borrowed {
  volatile LONG taken = 0;       // the code page was switched
  UINT savedCodePage = 0;
  WORD savedAttributes = 0;
  volatile LONG attributesChanged = 0;
  volatile LONG cursorHidden = 0;
  volatile LONG inputModeChanged = 0;  // mouse events on, quick-edit off
  DWORD savedInputMode = 0;
};
Borrowed borrowed;

HANDLE output() { return ::GetStdHandle(STD_OUTPUT_HANDLE); }
HANDLE input() { return ::GetStdHandle(STD_INPUT_HANDLE); }

void showCursor(HANDLE handle) {
  CONSOLE_CURSOR_INFO info{};
  if (!::GetConsoleCursorInfo(handle, &info)) return;
  info.bVisible = TRUE;
  ::SetConsoleCursorInfo(handle, &info);
}

void giveBack() {
  const HANDLE handle = output();
  if (::InterlockedExchange(&borrowed.attributesChanged, 0) != 0) {
    ::SetConsoleTextAttribute(handle, borrowed.savedAttributes);
  }
  if (::InterlockedExchange(&borrowed.cursorHidden, 0) != 0) showCursor(handle);
  if (::InterlockedExchange(&borrowed.taken, 0) != 0) ::SetConsoleOutputCP(borrowed.savedCodePage);
  if (::InterlockedExchange(&borrowed.inputModeChanged, 0) != 0) ::SetConsoleMode(input(), borrowed.savedInputMode);
}

// Ctrl+C, Ctrl+Break, closing the window, logging off: the console is given back, then
// the system's own handling ends the process.
BOOL WINAPI onConsoleControl(DWORD) {
  giveBack();
  return FALSE;
}

}  // namespace

void startConsole() {
  static bool done = false;
  if (done) return;
  done = true;
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (::GetConsoleScreenBufferInfo(output(), &info)) borrowed.savedAttributes = info.wAttributes;
  borrowed.savedCodePage = ::GetConsoleOutputCP();
  ::SetConsoleCtrlHandler(onConsoleControl, TRUE);
  std::atexit(giveBack);
}

namespace {

void writeBytes(DWORD which, std::string_view bytes) {
  const HANDLE handle = ::GetStdHandle(which);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return;
  while (!bytes.empty()) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
    if (!::WriteFile(handle, bytes.data(), chunk, &written, nullptr) || written == 0) return;
    bytes.remove_prefix(written);
  }
}

}  // namespace

bool consoleWindow(ConsoleWindow& window) {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (!::GetConsoleScreenBufferInfo(output(), &info)) return false;
  window.left = info.srWindow.Left;
  window.top = info.srWindow.Top;
  window.columns = info.srWindow.Right - info.srWindow.Left + 1;
  window.rows = info.srWindow.Bottom - info.srWindow.Top + 1;
  return true;
}

bool getCursorInfo(unsigned& size, bool& visible) {
  CONSOLE_CURSOR_INFO info{};
  if (!::GetConsoleCursorInfo(output(), &info)) return false;
  size = info.dwSize;
  visible = info.bVisible != FALSE;
  return true;
}

bool setCursorInfo(unsigned size, bool visible) {
  CONSOLE_CURSOR_INFO info{};
  info.dwSize = size;
  info.bVisible = visible ? TRUE : FALSE;
  if (!::SetConsoleCursorInfo(output(), &info)) return false;
  ::InterlockedExchange(&borrowed.cursorHidden, visible ? 0 : 1);
  return true;
}

bool writeCells(const void* cells, int width, int height, int left, int top) {
  SMALL_RECT region{static_cast<SHORT>(left), static_cast<SHORT>(top), static_cast<SHORT>(left + width - 1),
                    static_cast<SHORT>(top + height - 1)};
  return ::WriteConsoleOutputA(output(), static_cast<const CHAR_INFO*>(cells),
                               COORD{static_cast<SHORT>(width), static_cast<SHORT>(height)}, COORD{0, 0},
                               &region) != FALSE;
}

bool setCursorPosition(int column, int row) {
  return ::SetConsoleCursorPosition(output(), COORD{static_cast<SHORT>(column), static_cast<SHORT>(row)}) != FALSE;
}

bool setTextAttribute(std::uint16_t attribute) {
  if (!::SetConsoleTextAttribute(output(), attribute)) return false;
  ::InterlockedExchange(&borrowed.attributesChanged, 1);
  return true;
}

void writeStandardOutputBytes(std::string_view bytes) { writeBytes(STD_OUTPUT_HANDLE, bytes); }
void writeStandardErrorBytes(std::string_view bytes) { writeBytes(STD_ERROR_HANDLE, bytes); }

void takeConsoleForPlay() {
  if (borrowed.taken != 0) return;
  if (::SetConsoleOutputCP(kPictureCodePage)) ::InterlockedExchange(&borrowed.taken, 1);
}

void giveConsoleBack() { giveBack(); }

void takeConsoleMouse() {
  if (borrowed.inputModeChanged != 0) return;
  DWORD mode = 0;
  if (!::GetConsoleMode(input(), &mode)) return;
  borrowed.savedInputMode = mode;
  // Quick-edit would take a click for the start of a selection and hold the game's output.
  const DWORD mouse = (mode | ENABLE_MOUSE_INPUT | ENABLE_EXTENDED_FLAGS) & ~static_cast<DWORD>(ENABLE_QUICK_EDIT_MODE);
  if (::SetConsoleMode(input(), mouse)) ::InterlockedExchange(&borrowed.inputModeChanged, 1);
}

bool readConsoleMouseColumn(int& column) {
  const HANDLE handle = input();
  bool moved = false;
  DWORD waiting = 0;
  while (::GetNumberOfConsoleInputEvents(handle, &waiting) && waiting > 0) {
    INPUT_RECORD records[64];
    DWORD read = 0;
    if (!::ReadConsoleInputW(handle, records, std::min<DWORD>(waiting, 64), &read) || read == 0) break;
    for (DWORD i = 0; i < read; ++i) {
      if (records[i].EventType != MOUSE_EVENT) continue;
      const MOUSE_EVENT_RECORD& mouse = records[i].Event.MouseEvent;
      if (mouse.dwEventFlags & (MOUSE_WHEELED | MOUSE_HWHEELED)) continue;
      column = mouse.dwMousePosition.X;
      moved = true;
    }
  }
  if (!moved) return false;
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (::GetConsoleScreenBufferInfo(output(), &info)) column -= info.srWindow.Left;  // in the visible window
  return true;
}

std::uint16_t asyncKeyState(int virtualKey) { return static_cast<std::uint16_t>(::GetAsyncKeyState(virtualKey)); }

std::uint32_t tickCount() { return ::GetTickCount(); }

void sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

std::string currentDirectory() {
  std::vector<char> buffer(MAX_PATH + 1);
  for (;;) {
    const DWORD length = ::GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length == 0) return std::string();
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(length + 1);  // too small: the answer is the size needed
  }
}

int virtualKeyAtScanCode(int scanCode) {
  return static_cast<int>(::MapVirtualKeyW(static_cast<UINT>(scanCode), MAPVK_VSC_TO_VK));
}

std::string environmentVariable(const char* name) {
  std::vector<char> buffer(MAX_PATH + 1);
  for (;;) {
    const DWORD length = ::GetEnvironmentVariableA(name, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::string();
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(length + 1);
  }
}

void waitForConsoleKey() {
  // _getch reads the console itself; without one it would wait for ever.
  const HANDLE input = ::CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, 0, nullptr);
  if (input == INVALID_HANDLE_VALUE) return;
  DWORD mode = 0;
  const bool console = ::GetConsoleMode(input, &mode) != FALSE;
  ::CloseHandle(input);
  if (console) _getch();
}

}  // namespace veldra::platform::win32
