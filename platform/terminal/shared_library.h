#pragma once
// Libraries the backend uses where they are installed (ALSA for sound, Xlib for the X
// server's key map), loaded at run time so that building needs none of them and the game
// runs without them.

#include <dlfcn.h>

namespace veldra::platform::terminal {

// The library, or nullptr where it is not installed.
inline void* openSharedLibrary(const char* name) { return ::dlopen(name, RTLD_NOW | RTLD_LOCAL); }

// Points `function` at the library's symbol of that name; false where it has none.
template <typename Function>
bool bindSymbol(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(::dlsym(library, name));
  return function != nullptr;
}

}  // namespace veldra::platform::terminal
