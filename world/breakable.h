#pragma once

namespace veldra {

// What neither a bolt nor the staff can break: torches, both portals, fires and the four
// scrolls. Everything else shatters, the health and mana pickups included.
inline bool isBreakable(char glyph) {
  switch (glyph) {
    case 'T': case 'A': case 'O': case 'F': case 'L': case 'k': case 'S': case 'B': return false;
    default: return true;
  }
}

}  // namespace veldra
