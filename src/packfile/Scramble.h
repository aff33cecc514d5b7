#pragma once

#include <string>
#include <string_view>

// The reversible scrambling of the pack password and the level passcodes as
// the calculator game stores them. Both work in place on a NUL-terminated
// string, in 8-bit arithmetic. A printable ASCII string (0x20..0x7E)
// scrambles to bytes 0x24..0xAA, never 0x00, so its length is kept and
// UnscrambleString restores it exactly.
void ScrambleString(char* text);
void UnscrambleString(char* text);

// Copies of `text` scrambled or unscrambled. The text ends at its first NUL,
// as the in-place forms see it; an unscrambled result that yields a NUL byte
// ends there too.
std::string ScrambledString(std::string_view text);
std::string UnscrambledString(std::string_view text);
