// The X server's key codes as the game's keys: the mapping from a server's keyboard map and
// the reading of its key bit map.

#include <gtest/gtest.h>

#include <vector>

#include "platform/terminal/x11_keys.h"

namespace veldra::platform::terminal {
namespace {

TEST(X11KeysTest, KeySymbolsOfBindableKeysNameTheirVirtualKeys) {
  const std::pair<std::uint64_t, int> symbols[] = {
      {'a', 'A'},      {'z', 'Z'},      {'Q', 'Q'},      {'0', '0'},      {'9', '9'},      {0x20, 32},
      {0x2f, 191},     {0xff0d, 13},    {0xff8d, 13},    {0xff1b, 27},    {0xff51, 37},    {0xff52, 38},
      {0xff53, 39},    {0xff54, 40},    {0xffe1, 160},   {0xffe2, 161},   {0xffe3, 162},   {0xffe4, 163},
      {0xffe9, 164},   {0xffea, 165},   {0xfe03, 165},   {0xff09, 9},     {0xff08, 8},     {0x60, 192},
      {0x3b, 186},     {0x27, 222}};
  for (const auto& [symbol, key] : symbols) EXPECT_EQ(virtualKeyForKeysym(symbol), key) << std::hex << symbol;
  for (std::uint64_t other : {0x0ull, 0x3aull, 0x7bull, 0xffbeull /* F1 */, 0x1000000ull, ~0ull}) {
    EXPECT_EQ(virtualKeyForKeysym(other), kNotAGameKey) << std::hex << other;
  }
}

TEST(X11KeysTest, TheKeyMapIsReadThroughTheServersOwnKeyCodes) {
  // A server with key codes 8 to 255 and two symbols per code; only the first counts.
  const int first = 8, count = 248, perCode = 2;
  std::vector<std::uint64_t> symbols(count * perCode, 0);
  const auto put = [&](int code, std::uint64_t plain, std::uint64_t shifted) {
    symbols[static_cast<std::size_t>((code - first) * perCode)] = plain;
    symbols[static_cast<std::size_t>((code - first) * perCode + 1)] = shifted;
  };
  put(37, 0xffe3, 0);      // Control_L
  put(111, 0xff52, 0);     // Up
  put(114, 0xff53, 0);     // Right
  put(25, 'w', 'W');
  put(61, '/', '?');
  put(255, 0xff1b, 0);     // the last code there is
  const KeycodeTable table = keycodeTable(first, count, perCode, symbols.data());
  unsigned char keymap[kX11KeymapBytes] = {};
  const auto press = [&](int code) { keymap[code / 8] |= static_cast<unsigned char>(1u << (code % 8)); };
  press(37);
  press(111);
  press(114);
  press(9);  // a code with no symbol
  press(255);
  bool keys[kVirtualKeyCount];
  for (bool& key : keys) key = true;  // whatever was there before is replaced
  keysFromKeymap(table, keymap, keys);
  for (int key = 0; key < kVirtualKeyCount; ++key) {
    const bool expected = key == vk::kLeftControl || key == vk::kUp || key == vk::kRight || key == vk::kEscape;
    EXPECT_EQ(keys[key], expected) << key;
  }
  // A mapping that names codes beyond the table, or none at all, is refused code by code.
  const KeycodeTable shifted = keycodeTable(200, count, perCode, symbols.data());
  EXPECT_EQ(shifted.keyOf[255], kNotAGameKey);
  const KeycodeTable none = keycodeTable(first, count, 0, nullptr);
  EXPECT_EQ(none.keyOf[111], kNotAGameKey);
  // By position (an AZERTY map: code 25, W's place, types z; code 52, Z's place, types w).
  put(25, 'z', 'Z');
  put(52, 'w', 'W');
  const KeycodeTable typed = keycodeTable(first, count, perCode, symbols.data());
  const KeycodeTable placed = keycodeTable(first, count, perCode, symbols.data(), true);
  EXPECT_EQ(typed.keyOf[25], 'Z');
  EXPECT_EQ(placed.keyOf[25], 'W');
  EXPECT_EQ(placed.keyOf[52], 'Z');
  EXPECT_EQ(placed.keyOf[37], vk::kLeftControl) << "outside the main block a key is what it types";
}

}  // namespace
}  // namespace veldra::platform::terminal
