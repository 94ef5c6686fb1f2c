#pragma once

#include <string_view>

namespace veldra {

// What neither a bolt nor the staff can break: torches, both portals, fires and the four
// scrolls. Everything else shatters, the health and mana pickups included.
inline bool isBreakable(char glyph) { return std::string_view("TAOFLkSB").find(glyph) == std::string_view::npos; }

}  // namespace veldra
