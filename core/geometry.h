#pragma once

#include <cmath>

namespace veldra {

// Euclidean distance in cells.
inline double distanceBetween(double ax, double ay, double bx, double by) {
  const double dx = ax - bx;
  const double dy = ay - by;
  return std::sqrt(dx * dx + dy * dy);
}

// Every reach in the game: the distance strictly below `reach`. Points more than twice
// the reach apart along either axis are turned away before the square root, which can
// never change the answer (the distance is at least the larger of the two offsets).
inline bool withinReach(double ax, double ay, double bx, double by, double reach) {
  if (std::fabs(ax - bx) >= 2.0 * reach || std::fabs(ay - by) >= 2.0 * reach) return false;
  return distanceBetween(ax, ay, bx, by) < reach;
}

}  // namespace veldra
