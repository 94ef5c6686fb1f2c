#pragma once
// The X server's keys in the game's virtual-key numbering. Pure: the X calls that fetch the
// keyboard mapping and the key map live in the backend's x11_keyboard.cpp.

#include <cstdint>

#include "platform/terminal/key_decoder.h"

namespace veldra::platform::terminal {

constexpr int kX11KeycodeCount = 256;
constexpr int kX11KeymapBytes = kX11KeycodeCount / 8;
constexpr int kNotAGameKey = -1;

// The virtual key an X key symbol names, or kNotAGameKey.
int virtualKeyForKeysym(std::uint64_t keysym);

// Which virtual key each X key code is (kNotAGameKey for most), from the first key symbol of
// each code as the server's keyboard mapping lists them, starting at `firstKeycode`.
struct KeycodeTable {
  int keyOf[kX11KeycodeCount];
};
// With `byPosition`, a key code in the main block is the US layout's key in its place,
// whatever the layout types there.
KeycodeTable keycodeTable(int firstKeycode, int keycodeCount, int symbolsPerKeycode, const std::uint64_t* keysyms,
                          bool byPosition = false);

// The keys held, from the server's key map (one bit per key code).
void keysFromKeymap(const KeycodeTable& table, const unsigned char (&keymap)[kX11KeymapBytes],
                    bool (&keys)[kVirtualKeyCount]);

}  // namespace veldra::platform::terminal
