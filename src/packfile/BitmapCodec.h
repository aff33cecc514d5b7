#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The run-length form of a level bitmap in the pack image. Tokens:
//   any byte other than 0x80   that byte once
//   0x80 0x80                  the byte 0x80 once
//   0x80 v r (v not 0x80)      r copies of v (r = 0..255)
// The compressor makes runs of 0x00 and 0xFF only, 3 to 250 long; the last
// three bytes of a bitmap are always written singly.

inline constexpr std::uint8_t CODEC_ESCAPE = 0x80;
inline constexpr int CODEC_MAX_RUN = 250;

// The number of bytes from `pos` on that equal *pos, at most 250, stopping
// before `end`. `pos` must be before `end`.
int CountRun(const std::uint8_t* pos, const std::uint8_t* end);

// The most bytes the compressed form of `n` bitmap bytes can take (every
// byte 0x80 costs two).
inline constexpr std::size_t MaxCompressedBytes(std::size_t n) { return 2 * n; }

// Writes the compressed form of the `n` bytes at `bitmap` to `out`, which
// must have room for MaxCompressedBytes(n) bytes, advances `out` past what
// was written and returns the count written. The bitmap is only read: runs
// end at the bitmap's end, so no sentinel byte behind it is needed.
int CompressBitmap(std::uint8_t*& out, const std::uint8_t* bitmap, int n);

// Appends the compressed form of `bitmap` to `out`; returns the count added.
int CompressBitmap(std::vector<std::uint8_t>& out,
                   std::span<const std::uint8_t> bitmap);

// Expands all of `compressed` into `bitmap`. False, with a reason, when the
// bytes would not fit into `bitmap` or the input ends inside a token;
// nothing is written outside `bitmap` and nothing is read outside
// `compressed`. `produced` receives the number of bytes written (also on
// failure, up to where the expansion stopped).
bool ExpandBitmap(std::span<std::uint8_t> bitmap,
                  std::span<const std::uint8_t> compressed,
                  std::size_t& produced, std::string& error);
