#pragma once
// The X server's view of the keyboard, for terminals under X11 that report no key releases:
// while the terminal's window ($WINDOWID) has the input focus, the server's key map is the
// exact state of every key, lone modifiers included. libX11 is loaded at run time; without
// it, a display or the window, there is simply no such view.

#include "platform/terminal/key_decoder.h"

namespace veldra::platform::terminal {

// Connects once, on the first call; false for good when anything is missing.
bool x11KeyboardAvailable();

// The keys held now, when the terminal's window has the focus; false (keys untouched)
// otherwise.
bool readX11Keys(bool (&keys)[kVirtualKeyCount]);

}  // namespace veldra::platform::terminal
