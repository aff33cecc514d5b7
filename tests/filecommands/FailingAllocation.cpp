#include "FailingAllocation.h"

#include <new>

#include "model/Level.h"

namespace {
int g_skip = 0;
int g_fail = 0;
}  // namespace

void FailLevelAllocations(int count, int skip) {
  g_fail = count;
  g_skip = skip;
}

// Replaces the non-throwing new of the program. Memory still comes from the
// ordinary new, so the matching delete (and a sanitizer's bookkeeping) stays
// right.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  if (size == sizeof(CLevel) && g_fail > 0) {
    if (g_skip > 0) {
      --g_skip;
    } else {
      --g_fail;
      return nullptr;
    }
  }
  try {
    return ::operator new(size);
  } catch (...) {
    return nullptr;
  }
}
