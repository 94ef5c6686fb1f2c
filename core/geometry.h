#pragma once

#include <cmath>

namespace veldra {

// Euclidean distance in cells; every reach in the game is a strict "below" this.
inline double distanceBetween(double ax, double ay, double bx, double by) {
  const double dx = ax - bx;
  const double dy = ay - by;
  return std::sqrt(dx * dx + dy * dy);
}

}  // namespace veldra
