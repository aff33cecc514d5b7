#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/LevelPack.h"

// The crash-recovery copy of a pack with unsaved changes: everything needed
// to carry on editing, also what a pack file cannot hold or Save As would
// still refuse (a pack over the file's size limit, a short passcode, a
// missing exit, no author, the first level's passcode), plus the pack's file
// path, its current level and when the copy was made. The bytes end in a
// checksum, so a copy cut short or damaged is refused as a whole.

// A copy is never larger than this (nine full levels and a long path).
inline constexpr std::size_t RECOVERY_FILE_MAX_BYTES = 64 * 1024;
inline constexpr std::size_t RECOVERY_TEXT_MAX_CHARS = 4096;

struct RecoveryRecord {
  PackContents pack;
  int currentLevel = 0;
  std::string filePath;
  std::int64_t savedAtSeconds = 0;  // seconds since 1970, UTC
};

// The copy's bytes. The record must hold one to nine levels of valid sizes;
// texts longer than RECOVERY_TEXT_MAX_CHARS are cut.
std::vector<std::uint8_t> EncodeRecoveryFile(const RecoveryRecord& record);

// True when the bytes are a copy of a later format than this editor reads
// (made by a newer version of the editor): such a copy is refused, but it
// is not damaged and must be kept for the editor that made it.
bool IsNewerRecoveryFile(std::span<const std::uint8_t> bytes);

// Reads a copy and validates all of it; on failure `record` is left as it
// was and `error` says what is wrong.
bool DecodeRecoveryFile(std::span<const std::uint8_t> bytes,
                        RecoveryRecord& record, std::string& error);
