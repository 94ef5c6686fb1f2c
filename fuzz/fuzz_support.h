#pragma once
// What the fuzz targets share: a finding aborts, naming what broke.

#include <cstdio>
#include <cstdlib>

namespace veldra::fuzz {

inline void require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "broken: %s\n", what);
  std::abort();
}

}  // namespace veldra::fuzz
