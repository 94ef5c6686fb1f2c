#include "platform/terminal/x11_keys.h"

#include "platform/key_places.h"

namespace veldra::platform::terminal {
namespace {

// The X key symbols of the keys the game can bind, from the X protocol's keysym list.
struct SymbolKey {
  std::uint64_t keysym;
  int virtualKey;
};
constexpr SymbolKey kNamedKeys[] = {
    {0x0020, vk::kSpace},   // space
    {0x003b, vk::kSemicolon},     // semicolon
    {0x003d, vk::kEquals},        // equal
    {0x002c, vk::kComma},         // comma
    {0x002d, vk::kMinus},         // minus
    {0x002e, vk::kPeriod},        // period
    {0x002f, vk::kSlash},         // slash
    {0x0060, vk::kBackquote},     // grave
    {0x005b, vk::kLeftBracket},   // bracketleft
    {0x005c, vk::kBackslash},     // backslash
    {0x005d, vk::kRightBracket},  // bracketright
    {0x0027, vk::kQuote},         // apostrophe
    {0xff08, vk::kBackspace},    // BackSpace
    {0xff09, vk::kTab},    // Tab
    {0xff0d, vk::kEnter},   // Return
    {0xff8d, vk::kEnter},   // KP_Enter
    {0xff1b, vk::kEscape},   // Escape
    {0xff51, vk::kLeft},   // Left
    {0xff52, vk::kUp},   // Up
    {0xff53, vk::kRight},   // Right
    {0xff54, vk::kDown},   // Down
    {0xffe1, vk::kLeftShift},  // Shift_L
    {0xffe2, vk::kRightShift},  // Shift_R
    {0xffe3, vk::kLeftControl},  // Control_L
    {0xffe4, vk::kRightControl},  // Control_R
    {0xffe9, vk::kLeftAlt},  // Alt_L
    {0xffea, vk::kRightAlt},  // Alt_R
    {0xfe03, vk::kRightAlt},  // ISO_Level3_Shift: AltGr on many layouts
};

}  // namespace

int virtualKeyForKeysym(std::uint64_t keysym) {
  if (keysym >= 'a' && keysym <= 'z') return static_cast<int>(keysym - 'a' + 'A');
  if (keysym >= 'A' && keysym <= 'Z') return static_cast<int>(keysym);
  if (keysym >= '0' && keysym <= '9') return static_cast<int>(keysym);
  for (const SymbolKey& named : kNamedKeys) {
    if (named.keysym == keysym) return named.virtualKey;
  }
  return kNotAGameKey;
}

KeycodeTable keycodeTable(int firstKeycode, int keycodeCount, int symbolsPerKeycode, const std::uint64_t* keysyms,
                          bool byPosition) {
  KeycodeTable table{};
  for (int& key : table.keyOf) key = kNotAGameKey;
  if (keysyms == nullptr || symbolsPerKeycode < 1) return table;
  for (int i = 0; i < keycodeCount; ++i) {
    const int code = firstKeycode + i;
    if (code < 0 || code >= kX11KeycodeCount) continue;
    table.keyOf[code] = virtualKeyForKeysym(keysyms[static_cast<std::size_t>(i) * static_cast<std::size_t>(symbolsPerKeycode)]);
    const int placed = byPosition ? usKeyAtScanCode(code - kX11KeycodeOfScanCode) : 0;
    if (placed != 0) table.keyOf[code] = placed;
  }
  return table;
}

void keysFromKeymap(const KeycodeTable& table, const unsigned char (&keymap)[kX11KeymapBytes],
                    bool (&keys)[kVirtualKeyCount]) {
  for (bool& key : keys) key = false;
  for (int code = 0; code < kX11KeycodeCount; ++code) {
    const bool down = (keymap[code / 8] >> (code % 8)) & 1;
    const int key = table.keyOf[code];
    if (down && key != kNotAGameKey) keys[key] = true;
  }
}

}  // namespace veldra::platform::terminal
