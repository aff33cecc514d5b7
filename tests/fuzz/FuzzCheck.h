#pragma once

// What every fuzz target shares: a failed check aborts, so libFuzzer keeps
// the input as a crash, as it does for a sanitizer's report.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include "model/Level.h"
#include "packfile/RecoveryFile.h"

namespace fuzzcheck {

inline void Require(bool condition) {
  if (!condition) std::abort();
}

// A level's size is one a level can have.
inline void RequireLevelSize(const LevelRecord& level) {
  Require(level.m_nWidthBytes >= MIN_WIDTH_BYTES &&
          level.m_nWidthBytes <= MAX_WIDTH_BYTES);
  Require(level.m_nHeight >= MIN_HEIGHT && level.m_nHeight <= MAX_HEIGHT);
  Require(level.BitmapBytes() <= MAX_BITMAP_BYTES);
}

// A level a reader handed out: its size, block count and texts in range.
inline void RequireLevelInRange(const LevelRecord& level) {
  RequireLevelSize(level);
  Require(level.m_nBlockCount >= 0 && level.m_nBlockCount <= MAX_BLOCKS);
  Require(strnlen(level.m_szName, sizeof level.m_szName) <= NAME_CHARS);
  Require(strnlen(level.m_szPasscode, sizeof level.m_szPasscode) <=
          PASSCODE_CHARS);
}

// `input` with the recovery copy's magic over its first 8 bytes and the
// FNV-1a checksum a real copy ends with, so the fuzzer reaches past the
// checksum; empty when the input is too short or too long for a copy.
inline std::vector<std::uint8_t> SealedRecoveryCopy(
    std::span<const std::uint8_t> input) {
  std::vector<std::uint8_t> sealed(input.begin(), input.end());
  if (sealed.size() < 8 || sealed.size() > RECOVERY_FILE_MAX_BYTES) return {};
  std::memcpy(sealed.data(), "PLODREC1", 8);
  std::uint64_t hash = 14695981039346656037ull;
  for (std::uint8_t b : sealed) {
    hash ^= b;
    hash *= 1099511628211ull;
  }
  for (int i = 0; i < 8; ++i) {
    sealed.push_back(static_cast<std::uint8_t>(hash >> (8 * i)));
  }
  return sealed;
}

}  // namespace fuzzcheck
