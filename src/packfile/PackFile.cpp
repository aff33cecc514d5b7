#include "packfile/PackFile.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "model/Text.h"
#include "packfile/BitmapCodec.h"
#include "packfile/SafeWrite.h"
#include "packfile/Scramble.h"

namespace {

constexpr std::array<std::uint8_t, 5> PACK_MAGIC = {0x01, 0x01, 'p', 'l', 'o'};
constexpr std::uint8_t END_OF_SLOTS = 0x81;
constexpr int MAX_SLOTS = FIRST_BLOCK_SLOT + MAX_BLOCKS;  // 51
constexpr int HEIGHT_BIAS = 65;
constexpr int COL_BIAS = 2;
constexpr int ROW_BIAS = 16;
constexpr int BLOCK_ROW_BIAS = 14;

std::string LevelLabel(std::size_t index) {
  return "level " + std::to_string(index + 1);
}

std::string LevelTitle(std::size_t index) {
  return "Level " + std::to_string(index + 1);
}

// ---- Encoding -------------------------------------------------------------

bool CheckText(std::string_view text, std::size_t limit,
               const std::string& field, std::string& error) {
  if (text.size() > limit) {
    error = "The " + field + " is longer than " + std::to_string(limit) +
            " characters.";
    return false;
  }
  if (!IsPrintableText(text)) {
    error = "The " + field +
            " holds a character the calculator cannot store (only printable "
            "ASCII is allowed).";
    return false;
  }
  return true;
}

std::string_view FieldText(const char* field, std::size_t size) {
  return std::string_view(field, strnlen(field, size));
}

bool CheckLevel(const LevelRecord& level, std::size_t index,
                std::string& error) {
  const std::string label = LevelLabel(index);
  // A buffer without its NUL reads as one character too long.
  if (!CheckText(FieldText(level.m_szName, sizeof level.m_szName), NAME_CHARS,
                 "name of " + label, error)) {
    return false;
  }
  if (index > 0 &&
      !CheckText(FieldText(level.m_szPasscode, sizeof level.m_szPasscode),
                 PASSCODE_CHARS, "passcode of " + label, error)) {
    return false;
  }
  const int w = level.m_nWidthBytes;
  const int h = level.m_nHeight;
  if (w < MIN_WIDTH_BYTES || w > MAX_WIDTH_BYTES || h < MIN_HEIGHT ||
      h > MAX_HEIGHT || w * h > MAX_BITMAP_BYTES) {
    error = "The size of " + label + " (" + std::to_string(w) + " x " +
            std::to_string(h) + " bytes) is outside the limits.";
    return false;
  }
  if (level.m_nBlockCount < 0 || level.m_nBlockCount > MAX_BLOCKS) {
    error = "The block count of " + label + " (" +
            std::to_string(level.m_nBlockCount) + ") is outside 0 to 49.";
    return false;
  }
  for (int slot = 0; slot < level.SlotsInUse(); ++slot) {
    // The reader takes this byte as the end of the slots.
    if (level.m_objects[slot].kind == END_OF_SLOTS) {
      error = "An object of " + label + " has the unknown kind 129.";
      return false;
    }
  }
  return true;
}

void Append(std::vector<std::uint8_t>& image, std::uint8_t byte) {
  image.push_back(byte);
}

void AppendString(std::vector<std::uint8_t>& image, std::string_view text) {
  image.insert(image.end(), text.begin(), text.end());
  image.push_back(0);
}

void AppendWord(std::vector<std::uint8_t>& image, int value) {
  image.push_back(static_cast<std::uint8_t>(value & 0xFF));
  image.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

std::uint8_t LowByte(int value) { return static_cast<std::uint8_t>(value); }

void AppendLevel(std::vector<std::uint8_t>& image, const LevelRecord& level) {
  AppendString(image, FieldText(level.m_szName, sizeof level.m_szName));
  for (std::int8_t skill : level.m_nSkills) {
    Append(image, static_cast<std::uint8_t>(skill));
  }
  Append(image, LowByte(level.m_nPopulation));
  Append(image, LowByte(level.m_nSpawnInterval));
  Append(image, LowByte(level.m_nToSave));
  Append(image, LowByte(level.m_nWidthBytes));
  Append(image, LowByte(level.m_nHeight - HEIGHT_BIAS));
  AppendWord(image, level.m_nTime);
  for (int slot = 0; slot < level.SlotsInUse(); ++slot) {
    const LevelObject& object = level.m_objects[slot];
    const int rowBias = object.kind == OBJ_BLOCK ? BLOCK_ROW_BIAS : ROW_BIAS;
    Append(image, object.kind);
    Append(image, LowByte(object.col + COL_BIAS));
    Append(image, LowByte(object.row + rowBias));
  }
  Append(image, END_OF_SLOTS);
  const std::size_t lengthAt = image.size();
  AppendWord(image, 0);
  const int compressed = CompressBitmap(
      image,
      std::span<const std::uint8_t>(
          level.m_bitmap, static_cast<std::size_t>(level.BitmapBytes())));
  image[lengthAt] = LowByte(compressed);
  image[lengthAt + 1] = LowByte(compressed >> 8);
}

// ---- Decoding -------------------------------------------------------------

// A bounded forward reader over the image. Every read checks what is left;
// the first failure records its reason and all later reads fail too.
class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

  bool Ok() const { return m_error.empty(); }
  const std::string& Error() const { return m_error; }
  bool Fail(std::string reason) {
    if (m_error.empty()) m_error = std::move(reason);
    return false;
  }

  bool Byte(std::uint8_t& value, const std::string& what) {
    if (!Ok()) return false;
    if (m_pos >= m_bytes.size())
      return Fail("The pack ends inside " + what + ".");
    value = m_bytes[m_pos++];
    return true;
  }

  bool Peek(std::uint8_t& value, const std::string& what) {
    if (!Ok()) return false;
    if (m_pos >= m_bytes.size())
      return Fail("The pack ends inside " + what + ".");
    value = m_bytes[m_pos];
    return true;
  }

  bool Bytes(std::size_t count, std::span<const std::uint8_t>& out,
             const std::string& what) {
    if (!Ok()) return false;
    if (count > m_bytes.size() - m_pos) {
      return Fail("The pack ends inside " + what + ".");
    }
    out = m_bytes.subspan(m_pos, count);
    m_pos += count;
    return true;
  }

  // A string of at most `limit` characters and its 0x00.
  bool String(std::size_t limit, std::string& out, const std::string& what) {
    if (!Ok()) return false;
    const std::size_t left = m_bytes.size() - m_pos;
    const std::size_t window = std::min(left, limit + 1);
    const auto begin = m_bytes.begin() + static_cast<std::ptrdiff_t>(m_pos);
    const auto nul = std::find(
        begin, begin + static_cast<std::ptrdiff_t>(window), std::uint8_t{0});
    if (nul == begin + static_cast<std::ptrdiff_t>(window)) {
      if (window == limit + 1) {
        return Fail("The " + what + " is longer than " + std::to_string(limit) +
                    " characters.");
      }
      return Fail("The pack ends inside the " + what + ".");
    }
    out.assign(begin, nul);
    m_pos += out.size() + 1;
    return true;
  }

 private:
  std::span<const std::uint8_t> m_bytes;
  std::size_t m_pos = 0;
  std::string m_error;
};

void CopyText(const std::string& text, char* field, std::size_t size) {
  const std::size_t n = std::min(text.size(), size - 1);
  std::memcpy(field, text.data(), n);
  std::memset(field + n, 0, size - n);
}

bool DecodeLevel(Reader& in, LevelRecord& level, std::size_t index) {
  const std::string label = LevelLabel(index);
  std::string name;
  if (!in.String(NAME_CHARS, name, "name of " + label)) return false;
  CopyText(name, level.m_szName, sizeof level.m_szName);

  std::span<const std::uint8_t> settings;
  if (!in.Bytes(SKILL_COUNT + 7, settings, "the settings of " + label)) {
    return false;
  }
  for (int i = 0; i < SKILL_COUNT; ++i) {
    level.m_nSkills[i] = static_cast<std::int8_t>(settings[i]);
  }
  level.m_nPopulation = settings[8];
  level.m_nSpawnInterval = settings[9];
  level.m_nToSave = settings[10];
  level.m_nWidthBytes = settings[11];
  level.m_nHeight = static_cast<std::int8_t>(settings[12]) + HEIGHT_BIAS;
  level.m_nTime = settings[13] | settings[14] << 8;
  const int w = level.m_nWidthBytes;
  const int h = level.m_nHeight;
  if (w < MIN_WIDTH_BYTES || w > MAX_WIDTH_BYTES) {
    return in.Fail("The width of " + label + " (" + std::to_string(w) +
                   " bytes) is outside 12 to 36.");
  }
  if (h < MIN_HEIGHT || h > MAX_HEIGHT) {
    return in.Fail("The height of " + label + " (" + std::to_string(h) +
                   " rows) is outside 64 to 192.");
  }
  if (w * h > MAX_BITMAP_BYTES) {
    return in.Fail("The terrain of " + label + " (" + std::to_string(w) +
                   " x " + std::to_string(h) +
                   " bytes) is larger than 2304 bytes.");
  }

  int slots = 0;
  const std::string slotWhat = "the objects of " + label;
  for (;;) {
    std::uint8_t kind = 0;
    if (!in.Peek(kind, slotWhat)) return false;
    if (kind == END_OF_SLOTS) break;
    if (slots == MAX_SLOTS) {
      return in.Fail(LevelTitle(index) + " has more than " +
                     std::to_string(MAX_BLOCKS) + " metal blocks.");
    }
    std::span<const std::uint8_t> slot;
    if (!in.Bytes(3, slot, slotWhat)) return false;
    const int rowBias = slot[0] == OBJ_BLOCK ? BLOCK_ROW_BIAS : ROW_BIAS;
    level.m_objects[slots] = {slot[0], LowByte(slot[1] - COL_BIAS),
                              LowByte(slot[2] - rowBias)};
    ++slots;
  }
  std::uint8_t end = 0;
  in.Byte(end, slotWhat);
  if (slots < FIRST_BLOCK_SLOT) {
    return in.Fail(LevelTitle(index) + " lacks its entrance and exit slots.");
  }
  level.m_nBlockCount = slots - FIRST_BLOCK_SLOT;

  std::span<const std::uint8_t> lengthBytes;
  if (!in.Bytes(2, lengthBytes, "the terrain of " + label)) return false;
  const std::size_t compressedLength = lengthBytes[0] | lengthBytes[1] << 8;
  std::span<const std::uint8_t> compressed;
  if (!in.Bytes(compressedLength, compressed, "the terrain of " + label)) {
    return false;
  }
  const std::size_t size = static_cast<std::size_t>(w * h);
  std::size_t produced = 0;
  std::string reason;
  if (!ExpandBitmap(std::span<std::uint8_t>(level.m_bitmap, size), compressed,
                    produced, reason)) {
    return in.Fail("In " + label + ", " + reason + ".");
  }
  if (produced != size) {
    return in.Fail("The terrain of " + label + " expands to " +
                   std::to_string(produced) + " bytes instead of " +
                   std::to_string(size) + ".");
  }
  return true;
}

}  // namespace

std::string MakePackComment(std::string_view author) {
  return "Plodpak by " + std::string(author);
}

namespace {

// The number of bytes of the UTF-8 character that starts at `text[at]`: 1
// for ASCII and for any byte that does not begin a complete, well-formed
// sequence, so that a name in another encoding still counts one character
// per byte.
std::size_t Utf8CharBytes(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  std::size_t length = 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
  }
  if (length == 1 || at + length > text.size()) return 1;
  // The second byte's range also rules out overlong forms, surrogates and
  // code points above U+10FFFF.
  const auto second = static_cast<unsigned char>(text[at + 1]);
  const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
  const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
  if (second < low || second > high) return 1;
  for (std::size_t i = 2; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[at + i]);
    if ((next & 0xC0) != 0x80) return 1;
  }
  return length;
}

}  // namespace

std::string MakeVariableName(std::string_view path) {
  const std::size_t slash = path.find_last_of("/\\");
  if (slash != std::string_view::npos) path.remove_prefix(slash + 1);
  std::string name;
  // The path is UTF-8: each character, however many bytes it takes, gives
  // one letter of the name.
  for (std::size_t at = 0; at < path.size();) {
    char c = path[at];
    if (c == '.' || name.size() == VARIABLE_NAME_CHARS) break;
    at += Utf8CharBytes(path, at);
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    const bool keep = (c >= 'A' && c <= 'Z') || (c >= '1' && c <= '9');
    name.push_back(keep ? c : 'A');
  }
  // The calculator wants a name that starts with a letter.
  if (name.empty()) return "PLODPAK";
  if (name[0] >= '1' && name[0] <= '9') {
    name = ("A" + name).substr(0, VARIABLE_NAME_CHARS);
  }
  return name;
}

bool LayOutPackImage(const PackContents& pack, std::vector<std::uint8_t>& image,
                     std::string& error) {
  const std::size_t count = pack.levels.size();
  if (count < 1 || count > static_cast<std::size_t>(MAX_LEVELS)) {
    error = "A Plodpak holds 1 to 9 levels, not " + std::to_string(count) + ".";
    return false;
  }
  if (!CheckText(pack.m_szPassword, PASSWORD_CHARS, "password", error) ||
      !CheckText(pack.m_szAuthorName, AUTHOR_CHARS, "author name", error)) {
    return false;
  }
  for (std::size_t i = 0; i < count; ++i) {
    if (!CheckLevel(pack.levels[i], i, error)) return false;
  }

  std::vector<std::uint8_t> out(PACK_MAGIC.begin(), PACK_MAGIC.end());
  AppendString(out, ScrambledString(pack.m_szPassword));
  AppendString(out, pack.m_szAuthorName);
  Append(out, static_cast<std::uint8_t>(count));
  for (std::size_t i = 1; i < count; ++i) {
    const LevelRecord& level = pack.levels[i];
    AppendString(out, ScrambledString(FieldText(level.m_szPasscode,
                                                sizeof level.m_szPasscode)));
  }
  for (const LevelRecord& level : pack.levels) AppendLevel(out, level);
  image = std::move(out);
  return true;
}

bool EncodePackImage(const PackContents& pack, std::vector<std::uint8_t>& image,
                     std::string& error) {
  std::vector<std::uint8_t> out;
  if (!LayOutPackImage(pack, out, error)) return false;
  if (out.size() > static_cast<std::size_t>(PACK_IMAGE_MAX_BYTES)) {
    error = "The pack needs " + std::to_string(out.size()) +
            " bytes; a Plodpak holds at most " +
            std::to_string(PACK_IMAGE_MAX_BYTES) + ".";
    return false;
  }
  image = std::move(out);
  return true;
}

bool DecodePackImage(std::span<const std::uint8_t> image, PackContents& pack,
                     std::string& error) {
  if (image.size() < PACK_MAGIC.size() ||
      !std::equal(PACK_MAGIC.begin(), PACK_MAGIC.end(), image.begin())) {
    error = "The program is not a Plodpak.";
    return false;
  }
  Reader in(image.subspan(PACK_MAGIC.size()));
  PackContents result;
  std::string scrambled;
  in.String(PASSWORD_CHARS, scrambled, "password");
  result.m_szPassword = UnscrambledString(scrambled);
  in.String(AUTHOR_CHARS, result.m_szAuthorName, "author name");
  std::uint8_t count = 0;
  if (in.Byte(count, "the level count") && (count < 1 || count > MAX_LEVELS)) {
    in.Fail("The pack says it holds " + std::to_string(count) +
            " levels; a Plodpak holds 1 to 9.");
  }
  if (!in.Ok()) {
    error = in.Error();
    return false;
  }
  result.levels.resize(count);
  for (std::size_t i = 1; i < count; ++i) {
    std::string passcode;
    if (!in.String(PASSCODE_CHARS, passcode, "passcode of " + LevelLabel(i))) {
      break;
    }
    CopyText(UnscrambledString(passcode), result.levels[i].m_szPasscode,
             sizeof result.levels[i].m_szPasscode);
  }
  // A decoded first level has no passcode: the file stores none.
  result.levels[0].m_szPasscode[0] = '\0';
  for (std::size_t i = 0; i < count && in.Ok(); ++i) {
    DecodeLevel(in, result.levels[i], i);
  }
  if (!in.Ok()) {
    error = in.Error();
    return false;
  }
  pack = std::move(result);
  return true;
}

bool SavePackFile(const std::string& path, const PackContents& pack,
                  std::string& error, VariableFlavour flavour) {
  std::vector<std::uint8_t> image;
  if (!EncodePackImage(pack, image, error)) return false;
  const std::size_t limit =
      static_cast<std::size_t>(MaxVariableDataBytes(flavour));
  if (image.size() > limit) {
    error = "The pack needs " + std::to_string(image.size()) +
            " bytes; a TI-83 Plus Plodpak holds at most " +
            std::to_string(limit) + ".";
    return false;
  }
  return WriteVariableFile(path, MakePackComment(pack.m_szAuthorName),
                           MakeVariableName(path), image,
                           TYPE_PROTECTED_PROGRAM, error, flavour);
}

namespace {

// Decodes the pack image held by an already checked variable file.
bool DecodePackVariable(VariableFile&& variable, PackContents& pack,
                        std::string& error, VariableFile* container) {
  std::span<const std::uint8_t> image = variable.data;
  if (variable.plus) {
    // A TI-83 Plus file read with the TI-83 layout hands out the program's
    // own length word in front of the program.
    if (image.size() < 2) {
      error = "The TI-83 Plus program lacks its length word.";
      return false;
    }
    image = image.subspan(2);
  }
  if (!DecodePackImage(image, pack, error)) return false;
  if (container != nullptr) *container = std::move(variable);
  return true;
}

}  // namespace

bool DecodePackFileBytes(std::span<const std::uint8_t> file, PackContents& pack,
                         std::string& error, VariableFile* container) {
  VariableFile variable;
  if (!DecodeVariableFile(file, variable, error)) return false;
  return DecodePackVariable(std::move(variable), pack, error, container);
}

bool LoadPackFile(const std::string& path, PackContents& pack,
                  std::string& error, VariableFile* container) {
  VariableFile variable;
  if (!ReadVariableFile(path, variable, error)) return false;
  return DecodePackVariable(std::move(variable), pack, error, container);
}
