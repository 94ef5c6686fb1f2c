#pragma once
// An independent copy of the game's generator, so a test can say which draws a piece of
// code should have made and in which order.

#include <cmath>
#include <cstdint>

#include "platform/random.h"

namespace veldra::testing {

class ReplayRand {
 public:
  // Seeds both the game's generator and this copy.
  explicit ReplayRand(std::uint32_t seed) : state_(seed) { platform::seedRand15(seed); }
  int next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFF);
  }
  double fraction() { return next() / 32767.0; }
  double spread(double scale) { return (fraction() - 0.5) * scale; }
  int below(int n) { return next() % n; }

 private:
  std::uint32_t state_;
};

}  // namespace veldra::testing
