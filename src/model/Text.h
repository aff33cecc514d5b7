#pragma once

#include <string_view>

// Texts stored in a pack (author, password, passcodes, level names) are
// 8-bit characters the calculator can show. Only printable ASCII is accepted:
// other bytes may scramble to 0x00 and cut the stored text short.
inline bool IsPrintableChar(char c) { return c >= 0x20 && c <= 0x7E; }

inline bool IsPrintableText(std::string_view text) {
  for (char c : text) {
    if (!IsPrintableChar(c)) return false;
  }
  return true;
}

inline constexpr int PASSWORD_CHARS = 10;      // stored password
inline constexpr int AUTHOR_CHARS = 28;        // author name the pack holds
inline constexpr int AUTHOR_TYPED_CHARS = 25;  // author name that can be typed
