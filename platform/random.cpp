#include "platform/random.h"

#include <cstdint>

namespace veldra::platform {
namespace {
std::uint32_t randomState = 1;
}

int rand15() {
  randomState = randomState * 214013u + 2531011u;
  return static_cast<int>((randomState >> 16) & 0x7FFFu);
}

void seedRand15(unsigned seed) { randomState = seed; }

unsigned rand15State() { return randomState; }

}  // namespace veldra::platform
