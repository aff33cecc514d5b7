#include "packfile/VariableFile.h"

#include <algorithm>

#include "packfile/SafeWrite.h"

namespace {

// Offsets of the file layout. The TI-83 Plus variable header has two more
// bytes (version and flag) before the repeated data length.
constexpr std::size_t SIGNATURE_BYTES = 11;
constexpr std::size_t COMMENT_OFFSET = 11;
constexpr std::size_t SECTION_LENGTH_OFFSET = 53;
constexpr std::size_t CHECKSUM_START = 55;
constexpr std::size_t TYPE_OFFSET = 59;
constexpr std::size_t NAME_OFFSET = 60;
constexpr std::size_t READ_LENGTH_OFFSET = 70;
constexpr std::size_t READ_DATA_OFFSET = 72;
constexpr std::size_t SIGNATURE_FLAVOUR_OFFSET = 6;

constexpr char SIGNATURE_TI83[] = "**TI83**";
constexpr char SIGNATURE_TI83_PLUS[] = "**TI83F*";
constexpr std::uint8_t SIGNATURE_TAIL[] = {0x1A, 0x0A, 0x00};

void PutWord(std::vector<std::uint8_t>& file, std::size_t offset,
             std::size_t value) {
  file[offset] = static_cast<std::uint8_t>(value & 0xFF);
  file[offset + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

std::size_t GetWord(std::span<const std::uint8_t> file, std::size_t offset) {
  return file[offset] | static_cast<std::size_t>(file[offset + 1]) << 8;
}

// Copies up to `limit` characters of a field, stopping at its first 0x00.
std::string GetField(std::span<const std::uint8_t> file, std::size_t offset,
                     std::size_t limit) {
  std::string text;
  for (std::size_t i = 0; i < limit && file[offset + i] != 0; ++i) {
    text.push_back(static_cast<char>(file[offset + i]));
  }
  return text;
}

std::size_t Checksum(std::span<const std::uint8_t> file, std::size_t begin,
                     std::size_t end) {
  std::size_t sum = 0;
  for (std::size_t i = begin; i < end; ++i) sum += file[i];
  return sum & 0xFFFF;
}

}  // namespace

int MaxVariableDataBytes(VariableFlavour flavour) {
  return flavour == VariableFlavour::TI83Plus ? VARIABLE_DATA_MAX_BYTES - 2
                                              : VARIABLE_DATA_MAX_BYTES;
}

bool EncodeVariableFile(const std::string& comment, const std::string& name,
                        std::span<const std::uint8_t> data, std::uint8_t type,
                        std::vector<std::uint8_t>& file, std::string& error,
                        VariableFlavour flavour) {
  const bool plus = flavour == VariableFlavour::TI83Plus;
  const std::size_t limit =
      static_cast<std::size_t>(MaxVariableDataBytes(flavour));
  if (data.size() > limit) {
    error = "The program needs " + std::to_string(data.size()) + " bytes; a " +
            (plus ? "TI-83 Plus" : "TI-83") + " program file holds at most " +
            std::to_string(limit) + ".";
    return false;
  }
  const std::size_t length = data.size();
  const std::size_t header = plus ? 13 : 11;
  const std::size_t dataOffset = CHECKSUM_START + 2 + header + 2 + 2;
  std::vector<std::uint8_t> out(dataOffset + length + 2, 0);

  std::copy_n(plus ? SIGNATURE_TI83_PLUS : SIGNATURE_TI83, 8, out.begin());
  std::copy_n(SIGNATURE_TAIL, 3, out.begin() + 8);
  std::copy_n(comment.begin(),
              std::min<std::size_t>(comment.size(), VARIABLE_COMMENT_CHARS),
              out.begin() + COMMENT_OFFSET);
  PutWord(out, SECTION_LENGTH_OFFSET, dataOffset + length - CHECKSUM_START);
  PutWord(out, CHECKSUM_START, header);
  // The variable's data is the program's own length word and the program.
  PutWord(out, CHECKSUM_START + 2, length + 2);
  out[TYPE_OFFSET] = type;
  std::copy_n(name.begin(),
              std::min<std::size_t>(name.size(), VARIABLE_NAME_CHARS),
              out.begin() + NAME_OFFSET);
  // A TI-83 Plus header has its version and flag bytes (both 0) here.
  PutWord(out, dataOffset - 4, length + 2);
  PutWord(out, dataOffset - 2, length);
  std::copy(data.begin(), data.end(), out.begin() + dataOffset);
  PutWord(out, dataOffset + length,
          Checksum(out, CHECKSUM_START, dataOffset + length));
  file = std::move(out);
  return true;
}

bool DecodeVariableFile(std::span<const std::uint8_t> file, VariableFile& out,
                        std::string& error) {
  if (file.size() > static_cast<std::size_t>(VARIABLE_FILE_MAX_BYTES)) {
    error = "The file is longer than " +
            std::to_string(VARIABLE_FILE_MAX_BYTES) + " bytes.";
    return false;
  }
  if (file.size() < SIGNATURE_BYTES) {
    error = "The file is too short to be a TI-83 program file.";
    return false;
  }
  for (std::size_t i = 0; i < SIGNATURE_BYTES; ++i) {
    if (i == SIGNATURE_FLAVOUR_OFFSET) continue;
    const std::uint8_t expected =
        i < 8 ? static_cast<std::uint8_t>(SIGNATURE_TI83[i])
              : SIGNATURE_TAIL[i - 8];
    if (file[i] != expected) {
      error = "The file does not have the signature of a TI-83 file.";
      return false;
    }
  }
  if (file.size() < READ_DATA_OFFSET + 2) {
    error = "The file ends inside its variable header.";
    return false;
  }
  const std::size_t length = GetWord(file, READ_LENGTH_OFFSET);
  const std::size_t checksumOffset = READ_DATA_OFFSET + length;
  if (checksumOffset + 2 > file.size()) {
    error = "The variable's length (" + std::to_string(length) +
            " bytes) reaches past the end of the file.";
    return false;
  }
  if (GetWord(file, checksumOffset) !=
      Checksum(file, CHECKSUM_START, checksumOffset)) {
    error = "The file's checksum does not match its contents.";
    return false;
  }
  VariableFile result;
  result.plus = file[SIGNATURE_FLAVOUR_OFFSET] == 'F';
  result.comment = GetField(file, COMMENT_OFFSET, VARIABLE_COMMENT_CHARS);
  result.type = static_cast<std::int8_t>(file[TYPE_OFFSET]);
  result.name = GetField(file, NAME_OFFSET, VARIABLE_NAME_CHARS);
  result.data.assign(
      file.begin() + READ_DATA_OFFSET,
      file.begin() + static_cast<std::ptrdiff_t>(checksumOffset));
  out = std::move(result);
  return true;
}

bool WriteVariableFile(const std::string& path, const std::string& comment,
                       const std::string& name,
                       std::span<const std::uint8_t> data, std::uint8_t type,
                       std::string& error, VariableFlavour flavour) {
  std::vector<std::uint8_t> file;
  if (!EncodeVariableFile(comment, name, data, type, file, error, flavour)) {
    return false;
  }
  return WriteFileAtomically(path, file, error);
}

bool ReadVariableFile(const std::string& path, VariableFile& out,
                      std::string& error) {
  std::vector<std::uint8_t> file;
  if (!ReadWholeFile(path, VARIABLE_FILE_MAX_BYTES, file, error)) return false;
  return DecodeVariableFile(file, out, error);
}
