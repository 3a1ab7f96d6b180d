// A rule a fuzz target checks: when it is broken the target stops, and libFuzzer
// keeps the input that broke it.
#pragma once
#include <cstdlib>

inline void Require(bool condition) {
  if (!condition) std::abort();
}
