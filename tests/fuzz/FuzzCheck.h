#pragma once

// A fuzz target's assertion: a broken property ends the run, so the fuzzer keeps the input.

#include <cstdlib>

inline void Check(bool condition) {
  if (!condition)
    std::abort();
}
