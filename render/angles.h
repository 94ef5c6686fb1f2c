#pragma once
// Bringing angles into range. The player's angle accumulates without bound, so a long run of
// turning is first folded with fmod; small angles are stepped by whole turns exactly.

#include <cmath>
#include <numbers>

namespace veldra {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// [0, 2 pi)
inline double wrapToTwoPi(double a) {
  if (std::fabs(a) > 4.0 * kTwoPi) a = std::fmod(a, kTwoPi);
  while (a < 0.0) a += kTwoPi;
  while (a >= kTwoPi) a -= kTwoPi;
  return a;
}

// [-pi, pi]
inline double wrapToPi(double a) {
  if (std::fabs(a) > 4.0 * kTwoPi) a = std::fmod(a, kTwoPi);
  while (a < -std::numbers::pi) a += kTwoPi;
  while (a > std::numbers::pi) a -= kTwoPi;
  return a;
}

}  // namespace veldra
