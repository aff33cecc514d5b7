#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/LevelPack.h"
#include "packfile/VariableFile.h"

// The pack image: the bytes the calculator game reads, stored as the data of
// a TI-83 program variable.

inline constexpr int PACK_IMAGE_MAX_BYTES = VARIABLE_DATA_MAX_BYTES;  // 9926

// "Plodpak by " followed by the author name.
std::string MakePackComment(std::string_view author);

// The variable name made from a file path: the part after the last "/" or
// "\", up to the first "." and at most 8 characters, in capitals, with every
// character other than A to Z and 1 to 9 replaced by "A". The path is read
// as UTF-8: a character of several bytes gives one "A", and so does each
// byte that is not part of a well-formed character.
// The calculator wants a name that starts with a letter: a name that would
// start with a digit gets an "A" in front (cut to 8 again), and an empty
// one becomes "PLODPAK".
std::string MakeVariableName(std::string_view path);

// Lays out the pack image. Refuses, with a reason, a pack that breaks a limit
// of the file (texts too long or not printable ASCII, level sizes, counts,
// an image over 9926 bytes). Nothing else is checked: passcodes and
// entrances/exits are the caller's pre-save checks.
bool EncodePackImage(const PackContents& pack, std::vector<std::uint8_t>& image,
                     std::string& error);

// The same layout without the refusal of an image over 9926 bytes: for
// telling how large a pack that does not fit is.
bool LayOutPackImage(const PackContents& pack, std::vector<std::uint8_t>& image,
                     std::string& error);

// Reads a pack image and validates all of it. On success `pack` holds every
// level (the first level's passcode empty: a file stores none); on failure
// `pack` is left as it was and `error` says what is wrong.
bool DecodePackImage(std::span<const std::uint8_t> image, PackContents& pack,
                     std::string& error);

// Encode + wrap in a variable file + safe write, with the variable name made
// from `path` and the comment from the author. A TI-83 Plus file holds two
// bytes less of image (9924), so that it still fits the 10000-byte reader.
// Nothing is written when the pack is refused; a failed write leaves a file
// already at `path` as it was.
bool SavePackFile(const std::string& path, const PackContents& pack,
                  std::string& error,
                  VariableFlavour flavour = VariableFlavour::TI83);

// Read + decode the container + decode the image (stepping over the
// program's length word of a TI-83 Plus file). `container`, when given,
// receives the container's facts.
bool LoadPackFile(const std::string& path, PackContents& pack,
                  std::string& error, VariableFile* container = nullptr);

// The same, from bytes already in memory.
bool DecodePackFileBytes(std::span<const std::uint8_t> file, PackContents& pack,
                         std::string& error, VariableFile* container = nullptr);
