#pragma once

#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)
// From the sanitizer runtime (its header is not always installed).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace testsupport {

// Bytes the heap has handed out and not taken back, whoever asked. Under
// AddressSanitizer the runtime's own count, which leaves out its quarantine
// of freed blocks.
inline std::size_t HeapInUse() {
#if defined(__SANITIZE_ADDRESS__)
  return __sanitizer_get_current_allocated_bytes();
#else
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
#endif
}

}  // namespace testsupport
