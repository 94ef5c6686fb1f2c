#pragma once
// Keyboard state. Virtual-key codes use the Windows numbering on every platform.

#include <cstdint>

namespace veldra::platform {

// Whether there is a keyboard to read at all: false only where the game has no terminal (or
// console) to take keys from.
bool keyboardAvailable();

// Reads whatever input arrived since the last call into the key-state table.
// Called once at the top of every frame by the frame loop; key tests then cost nothing.
void readKeyboard();

// State of one key, as the Windows call reports it: bit 15 (0x8000) set while the key is down.
std::uint16_t asyncKeyState(int virtualKey);

}  // namespace veldra::platform
