#pragma once
// The X server's view of the keyboard, for terminals under X11 that report no key releases:
// while the terminal has the input focus, the server's key map is the exact state of every
// key, lone modifiers included. Where the terminal names its window ($WINDOWID), the server
// says whether that window has the focus; elsewhere the terminal's own focus reports say
// it, except under Wayland ($WAYLAND_DISPLAY), whose native windows' keys the X server
// never sees. libX11 is loaded at run time; without it or a display there is simply no such
// view.

#include "platform/terminal/key_decoder.h"

namespace veldra::platform::terminal {

// Connects once, on the first call; false for good when anything is missing.
bool x11KeyboardAvailable();

// The keys held now, when the terminal has the focus; false (keys untouched) otherwise.
// `focusReported`: the terminal's last focus report said it has the focus.
bool readX11Keys(bool (&keys)[kVirtualKeyCount], bool focusReported);

}  // namespace veldra::platform::terminal
