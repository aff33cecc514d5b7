#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/Level.h"

// One level as the editor puts it on the clipboard: "PLODLVL1", the level's
// four passcode bytes (zero-padded; a pack file stores none for its first
// level) and a one-level pack image with no author or password. Reading
// goes through the pack image's validating decoder, so data another program
// left under the editor's format is checked like a file.

inline constexpr char LEVEL_CLIP_MIME[] = "application/x-plodderz-level";

std::vector<std::uint8_t> EncodeLevelClip(const LevelRecord& level);

// False, with `level` untouched and a reason in `error`, unless the bytes
// are exactly a level in the format above.
bool DecodeLevelClip(std::span<const std::uint8_t> bytes, LevelRecord& level,
                     std::string& error);
