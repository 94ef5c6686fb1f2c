#include "platform/mouse_look.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace veldra::platform {

MouseLookState mouseLookFor(const MouseLook& settings) {
  MouseLookState look;
  look.scale = settings.speedPercent / 100.0;
  return look;
}

std::int32_t turnForMotion(MouseLookState& look, double columnsMoved) {
  constexpr double kLargest = std::numeric_limits<std::int32_t>::max();
  look.owed += columnsMoved * kTurnPerColumn * look.scale / kMouseTurnUnit;
  const double whole = std::clamp(std::trunc(look.owed), -kLargest, kLargest);
  look.owed -= whole;
  if (std::fabs(look.owed) >= 1.0) look.owed = 0.0;  // beyond the clamp: nothing sane is owed
  return static_cast<std::int32_t>(whole);
}

int pointerEdge(bool known, double column, int windowColumns) {
  if (!known || windowColumns < 2) return 0;
  if (column < 1.0) return -1;
  if (column >= windowColumns - 1) return 1;
  return 0;
}

}  // namespace veldra::platform
