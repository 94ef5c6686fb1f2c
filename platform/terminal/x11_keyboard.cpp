#include "platform/terminal/x11_keyboard.h"

#include <cstdlib>
#include <vector>

#include "platform/terminal/shared_library.h"
#include "platform/terminal/x11_keys.h"

namespace veldra::platform::terminal {
namespace {

// The few Xlib declarations used, from its stable C interface.
struct Display;
using Window = unsigned long;
using KeySym = unsigned long;
using XErrorHandler = int (*)(Display*, void*);
using XIOErrorHandler = int (*)(Display*);
using XIOErrorExitHandler = void (*)(Display*, void*);
constexpr Window kNoWindow = 0;
constexpr Window kPointerRoot = 1;  // the focus follows the pointer
constexpr int kMaxTreeDepth = 64;   // window trees are shallow; this only guards a loop

struct Xlib {
  void* library = nullptr;
  Display* (*openDisplay)(const char*) = nullptr;
  int (*queryKeymap)(Display*, char*) = nullptr;
  int (*getInputFocus)(Display*, Window*, int*) = nullptr;
  int (*queryTree)(Display*, Window, Window*, Window*, Window**, unsigned*) = nullptr;
  int (*queryPointer)(Display*, Window, Window*, Window*, int*, int*, int*, int*, unsigned*) = nullptr;
  int (*getGeometry)(Display*, Window, Window*, int*, int*, unsigned*, unsigned*, unsigned*, unsigned*) = nullptr;
  int (*displayKeycodes)(Display*, int*, int*) = nullptr;
  KeySym* (*getKeyboardMapping)(Display*, unsigned char, int, int*) = nullptr;
  int (*free)(void*) = nullptr;
  XErrorHandler (*setErrorHandler)(XErrorHandler) = nullptr;
  XIOErrorHandler (*setIOErrorHandler)(XIOErrorHandler) = nullptr;
  void (*setIOErrorExitHandler)(Display*, XIOErrorExitHandler, void*) = nullptr;  // libX11 1.7 on
};

struct X11Keyboard {
  bool tried = false;
  bool ready = false;
  Xlib x;
  Display* display = nullptr;
  Window window = kNoWindow;
  KeycodeTable table{};
  Window lastFocus = kNoWindow;  // the focus whose relation to the window is known
  bool lastFocusHolds = false;
};

X11Keyboard& keyboard() {
  static X11Keyboard instance;
  return instance;
}

// A request about a window that has gone away must not end the game, as Xlib's own
// handler would: the error is noted and the request's answer ignored.
bool requestFailed = false;
int noteError(Display*, void*) {
  requestFailed = true;
  return 0;
}

// A lost connection to the X server (the server went away) would end the process in Xlib;
// where Xlib lets it, the game goes on with the keys the terminal sends instead.
bool connectionLost = false;
int noteConnectionLost(Display*) {
  connectionLost = true;
  return 0;
}
void stayAlive(Display*, void*) { connectionLost = true; }

bool loadXlib(Xlib& x) {
  x.library = openSharedLibrary("libX11.so.6");
  if (x.library == nullptr) return false;
  void* l = x.library;
  return bindSymbol(l, "XOpenDisplay", x.openDisplay) && bindSymbol(l, "XQueryKeymap", x.queryKeymap) &&
         bindSymbol(l, "XGetInputFocus", x.getInputFocus) && bindSymbol(l, "XQueryTree", x.queryTree) &&
         bindSymbol(l, "XQueryPointer", x.queryPointer) && bindSymbol(l, "XGetGeometry", x.getGeometry) &&
         bindSymbol(l, "XDisplayKeycodes", x.displayKeycodes) && bindSymbol(l, "XGetKeyboardMapping", x.getKeyboardMapping) &&
         bindSymbol(l, "XFree", x.free) && bindSymbol(l, "XSetErrorHandler", x.setErrorHandler) &&
         bindSymbol(l, "XSetIOErrorHandler", x.setIOErrorHandler) &&
         (bindSymbol(l, "XSetIOErrorExitHandler", x.setIOErrorExitHandler), true);
}

// The terminal's window from $WINDOWID (decimal, as terminals set it).
Window windowFromEnvironment() {
  const char* text = std::getenv("WINDOWID");
  if (text == nullptr || *text == '\0') return kNoWindow;
  char* end = nullptr;
  const unsigned long long value = std::strtoull(text, &end, 10);
  return *end == '\0' ? static_cast<Window>(value) : kNoWindow;
}

bool windowExists(X11Keyboard& k) {
  Window root = 0;
  int x = 0, y = 0;
  unsigned width = 0, height = 0, border = 0, depth = 0;
  requestFailed = false;
  const int status = k.x.getGeometry(k.display, k.window, &root, &x, &y, &width, &height, &border, &depth);
  return status != 0 && !requestFailed;
}

bool loadKeycodeTable(X11Keyboard& k) {
  int first = 0, last = 0;
  k.x.displayKeycodes(k.display, &first, &last);
  if (first < 0 || last < first || last >= kX11KeycodeCount) return false;
  const int count = last - first + 1;
  int perCode = 0;
  KeySym* symbols = k.x.getKeyboardMapping(k.display, static_cast<unsigned char>(first), count, &perCode);
  if (symbols == nullptr) return false;
  const std::vector<std::uint64_t> wide(symbols, symbols + static_cast<std::size_t>(count) * static_cast<std::size_t>(perCode));
  k.x.free(symbols);
  k.table = keycodeTable(first, count, perCode, wide.data(), lettersByPosition());
  return true;
}

bool isSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

bool connect(X11Keyboard& k) {
  k.window = windowFromEnvironment();
  if (!isSet("DISPLAY")) return false;
  // Without the window, only focus reports can say when the keys are the terminal's: under
  // Wayland the X server does not see the keys of a native terminal at all.
  if (k.window == kNoWindow && isSet("WAYLAND_DISPLAY")) return false;
  if (!loadXlib(k.x)) return false;
  k.x.setErrorHandler(noteError);
  k.display = k.x.openDisplay(nullptr);
  if (k.display == nullptr) return false;
  // Without the exit handler a lost connection would end the game: then the server's
  // keys are not used at all.
  if (k.x.setIOErrorExitHandler == nullptr) return false;
  k.x.setIOErrorHandler(noteConnectionLost);
  k.x.setIOErrorExitHandler(k.display, stayAlive, nullptr);
  return (k.window == kNoWindow || windowExists(k)) && loadKeycodeTable(k);
}

// The parent of a window, or kNoWindow at the root or on error.
Window parentOf(X11Keyboard& k, Window window) {
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  requestFailed = false;
  if (k.x.queryTree(k.display, window, &root, &parent, &children, &count) == 0 || requestFailed) return kNoWindow;
  if (children != nullptr) k.x.free(children);
  return parent == root ? kNoWindow : parent;
}

bool isAncestorOrSelf(X11Keyboard& k, Window ancestor, Window window) {
  for (int depth = 0; window != kNoWindow && depth < kMaxTreeDepth; ++depth) {
    if (window == ancestor) return true;
    window = parentOf(k, window);
  }
  return false;
}

bool pointerInsideWindow(X11Keyboard& k) {
  Window root = 0, child = 0;
  int rootX = 0, rootY = 0, x = 0, y = 0;
  unsigned mask = 0, width = 0, height = 0, border = 0, depth = 0;
  requestFailed = false;
  if (k.x.queryPointer(k.display, k.window, &root, &child, &rootX, &rootY, &x, &y, &mask) == 0) return false;
  int left = 0, top = 0;
  if (k.x.getGeometry(k.display, k.window, &root, &left, &top, &width, &height, &border, &depth) == 0) return false;
  return !requestFailed && x >= 0 && y >= 0 && x < static_cast<int>(width) && y < static_cast<int>(height);
}

// The keyboard goes to the terminal when the focus is its window, a window inside it, or
// the top-level window around it; with the focus following the pointer, when the pointer
// is over it.
bool terminalHasFocus(X11Keyboard& k) {
  Window focus = kNoWindow;
  int revert = 0;
  requestFailed = false;
  k.x.getInputFocus(k.display, &focus, &revert);
  if (requestFailed || focus == kNoWindow) return false;
  if (focus == kPointerRoot) return pointerInsideWindow(k);
  if (focus != k.lastFocus) {
    k.lastFocus = focus;
    k.lastFocusHolds = isAncestorOrSelf(k, k.window, focus) || isAncestorOrSelf(k, focus, k.window);
  }
  return k.lastFocusHolds;
}

}  // namespace

bool x11KeyboardAvailable() {
  X11Keyboard& k = keyboard();
  if (!k.tried) {
    k.tried = true;
    k.ready = connect(k);
  }
  return k.ready;
}

bool readX11Keys(bool (&keys)[kVirtualKeyCount], bool focusReported) {
  if (!x11KeyboardAvailable() || connectionLost) return false;
  X11Keyboard& k = keyboard();
  const bool focused = k.window == kNoWindow ? focusReported : terminalHasFocus(k);
  if (!focused || connectionLost) return false;
  unsigned char keymap[kX11KeymapBytes] = {};
  requestFailed = false;
  k.x.queryKeymap(k.display, reinterpret_cast<char*>(keymap));
  if (requestFailed || connectionLost) return false;
  keysFromKeymap(k.table, keymap, keys);
  return true;
}

}  // namespace veldra::platform::terminal
