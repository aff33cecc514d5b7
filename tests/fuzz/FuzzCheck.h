#pragma once

// What every fuzz target shares: a failed check aborts, so libFuzzer keeps
// the input as a crash, as it does for a sanitizer's report.
#include <cstdlib>

namespace fuzzcheck {

inline void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace fuzzcheck
