#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The TI-83 program variable file: a signature, a 42-byte comment, one
// variable header and the variable's data, closed by a 16-bit checksum.

inline constexpr int VARIABLE_FILE_MAX_BYTES = 10000;
inline constexpr int VARIABLE_DATA_MAX_BYTES = 9926;  // 10000 - 74
inline constexpr int VARIABLE_COMMENT_CHARS = 42;
inline constexpr int VARIABLE_NAME_CHARS = 8;
inline constexpr std::uint8_t TYPE_PROTECTED_PROGRAM = 0x06;

enum class VariableFlavour {
  TI83,      // "**TI83**", 11-byte variable header (".83p")
  TI83Plus,  // "**TI83F*", 13-byte variable header (".8xp")
};

// What a variable file holds. For a TI-83 Plus file read with the TI-83
// layout, `data` begins with the program's own 2-byte length word.
struct VariableFile {
  std::string comment;  // up to 42 characters
  std::string name;     // up to 8 characters
  int type = 0;         // the type byte, widened with its sign
  bool plus = false;    // the signature is "**TI83F*"
  std::vector<std::uint8_t> data;
};

// The longest data a file of the flavour can hold within the 10000 bytes a
// reader takes: 9926 for a TI-83 file, 9924 for a TI-83 Plus file (its
// variable header is two bytes longer).
int MaxVariableDataBytes(VariableFlavour flavour);

// Lays out a whole file around `data`: the variable's data is the program's
// own length word followed by `data`. The comment is cut to 42 characters,
// the name to 8. False, with a reason, when the data is too long for a file.
bool EncodeVariableFile(const std::string& comment, const std::string& name,
                        std::span<const std::uint8_t> data, std::uint8_t type,
                        std::vector<std::uint8_t>& file, std::string& error,
                        VariableFlavour flavour = VariableFlavour::TI83);

// Parses the bytes of a file: signature (offset 6 may differ), lengths that
// stay inside what was read, and the checksum. False, with a reason,
// otherwise; nothing is read outside `file`.
bool DecodeVariableFile(std::span<const std::uint8_t> file, VariableFile& out,
                        std::string& error);

// Encodes and writes safely (temporary file, then rename over the target).
bool WriteVariableFile(const std::string& path, const std::string& comment,
                       const std::string& name,
                       std::span<const std::uint8_t> data, std::uint8_t type,
                       std::string& error,
                       VariableFlavour flavour = VariableFlavour::TI83);

// Reads at most 10000 bytes (a longer file is refused) and decodes them.
bool ReadVariableFile(const std::string& path, VariableFile& out,
                      std::string& error);
