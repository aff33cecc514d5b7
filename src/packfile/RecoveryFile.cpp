#include "packfile/RecoveryFile.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr char kMagic[8] = {'P', 'L', 'O', 'D', 'R', 'E', 'C', '1'};

// FNV-1a, 64 bits: enough to tell a damaged copy from a whole one.
std::uint64_t Checksum(std::span<const std::uint8_t> bytes) {
  std::uint64_t hash = 14695981039346656037ull;
  for (std::uint8_t b : bytes) {
    hash ^= b;
    hash *= 1099511628211ull;
  }
  return hash;
}

class Writer {
 public:
  void U8(std::uint8_t v) { m_bytes.push_back(v); }
  void U32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) U8(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void U64(std::uint64_t v) {
    for (int i = 0; i < 8; ++i) U8(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
  void Text(std::string_view text) {
    text = text.substr(0, RECOVERY_TEXT_MAX_CHARS);
    U32(static_cast<std::uint32_t>(text.size()));
    m_bytes.insert(m_bytes.end(), text.begin(), text.end());
  }
  void Bytes(const std::uint8_t* data, std::size_t n) {
    m_bytes.insert(m_bytes.end(), data, data + n);
  }
  std::vector<std::uint8_t>& Result() { return m_bytes; }

 private:
  std::vector<std::uint8_t> m_bytes;
};

// Reads from a span; every read checks the bounds and the first failure
// stays recorded.
class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

  bool Ok() const { return m_ok; }
  bool AtEnd() const { return m_at == m_bytes.size(); }

  std::uint8_t U8() {
    if (!Need(1)) return 0;
    return m_bytes[m_at++];
  }
  std::uint32_t U32() {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= std::uint32_t{U8()} << (8 * i);
    return v;
  }
  std::uint64_t U64() {
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v |= std::uint64_t{U8()} << (8 * i);
    return v;
  }
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
  // A text of at most `maxChars`; a longer one fails the read.
  std::string Text(std::size_t maxChars) {
    const std::uint32_t n = U32();
    if (n > maxChars || !Need(n)) {
      m_ok = false;
      return {};
    }
    std::string text(reinterpret_cast<const char*>(m_bytes.data() + m_at), n);
    m_at += n;
    return text;
  }
  void Bytes(std::uint8_t* out, std::size_t n) {
    if (!Need(n)) return;
    std::memcpy(out, m_bytes.data() + m_at, n);
    m_at += n;
  }

 private:
  bool Need(std::size_t n) {
    if (!m_ok || m_bytes.size() - m_at < n) {
      m_ok = false;
      return false;
    }
    return true;
  }

  std::span<const std::uint8_t> m_bytes;
  std::size_t m_at = 0;
  bool m_ok = true;
};

void WriteLevel(Writer& out, const LevelRecord& level) {
  out.I32(level.m_nWidthBytes);
  out.I32(level.m_nHeight);
  out.I32(level.m_nPopulation);
  out.I32(level.m_nToSave);
  out.I32(level.m_nSpawnInterval);
  out.I32(level.m_nTime);
  for (std::int8_t skill : level.m_nSkills) {
    out.U8(static_cast<std::uint8_t>(skill));
  }
  out.Text(std::string_view(level.m_szName,
                            strnlen(level.m_szName, sizeof level.m_szName)));
  out.Text(
      std::string_view(level.m_szPasscode,
                       strnlen(level.m_szPasscode, sizeof level.m_szPasscode)));
  const int bytes = std::clamp(level.BitmapBytes(), 0, MAX_BITMAP_BYTES);
  out.Bytes(level.m_bitmap, static_cast<std::size_t>(bytes));
  const int blocks = std::clamp(level.m_nBlockCount, 0, MAX_BLOCKS);
  out.I32(blocks);
  for (int slot = 0; slot < FIRST_BLOCK_SLOT + blocks; ++slot) {
    out.U8(level.m_objects[slot].kind);
    out.U8(level.m_objects[slot].col);
    out.U8(level.m_objects[slot].row);
  }
}

bool KindFitsSlot(std::uint8_t kind, int slot) {
  switch (slot) {
    case ENTRANCE_SLOT:
      return kind == OBJ_NONE || kind == OBJ_ENTRANCE;
    case EXIT_SLOT:
      return kind == OBJ_NONE || kind == OBJ_EXIT;
    default:
      return kind == OBJ_BLOCK;
  }
}

bool ReadLevel(Reader& in, LevelRecord& level, std::string& error) {
  level.m_nWidthBytes = in.I32();
  level.m_nHeight = in.I32();
  level.m_nPopulation = in.I32();
  level.m_nToSave = in.I32();
  level.m_nSpawnInterval = in.I32();
  level.m_nTime = in.I32();
  for (std::int8_t& skill : level.m_nSkills) {
    skill = static_cast<std::int8_t>(in.U8());
  }
  const std::string name = in.Text(NAME_CHARS);
  const std::string passcode = in.Text(PASSCODE_CHARS);
  if (!in.Ok()) {
    error = "a level's settings or texts are cut short or too long";
    return false;
  }
  if (level.m_nWidthBytes < MIN_WIDTH_BYTES ||
      level.m_nWidthBytes > MAX_WIDTH_BYTES || level.m_nHeight < MIN_HEIGHT ||
      level.m_nHeight > MAX_HEIGHT || level.BitmapBytes() > MAX_BITMAP_BYTES) {
    error = "a level's size is out of range";
    return false;
  }
  if (name.find('\0') != std::string::npos ||
      passcode.find('\0') != std::string::npos) {
    error = "a level's name or passcode holds a zero byte";
    return false;
  }
  std::memcpy(level.m_szName, name.c_str(), name.size() + 1);
  std::memcpy(level.m_szPasscode, passcode.c_str(), passcode.size() + 1);
  std::memset(level.m_bitmap, 0, sizeof level.m_bitmap);
  in.Bytes(level.m_bitmap, static_cast<std::size_t>(level.BitmapBytes()));
  level.m_nBlockCount = in.I32();
  if (!in.Ok() || level.m_nBlockCount < 0 || level.m_nBlockCount > MAX_BLOCKS) {
    error = "a level's terrain or block count is damaged";
    return false;
  }
  for (LevelObject& object : level.m_objects) object = LevelObject{};
  for (int slot = 0; slot < level.SlotsInUse(); ++slot) {
    LevelObject& object = level.m_objects[slot];
    object.kind = in.U8();
    object.col = in.U8();
    object.row = in.U8();
    if (!in.Ok() || !KindFitsSlot(object.kind, slot) ||
        (object.kind != OBJ_NONE && !level.ObjectInside(object))) {
      error = "a level's objects are damaged";
      return false;
    }
  }
  return true;
}

}  // namespace

std::vector<std::uint8_t> EncodeRecoveryFile(const RecoveryRecord& record) {
  Writer out;
  out.Bytes(reinterpret_cast<const std::uint8_t*>(kMagic), sizeof kMagic);
  out.U64(static_cast<std::uint64_t>(record.savedAtSeconds));
  out.Text(record.filePath);
  out.Text(record.pack.m_szAuthorName);
  out.Text(record.pack.m_szPassword);
  const std::size_t count =
      std::min<std::size_t>(record.pack.levels.size(), MAX_LEVELS);
  out.U32(static_cast<std::uint32_t>(count));
  out.U32(static_cast<std::uint32_t>(record.currentLevel));
  for (std::size_t i = 0; i < count; ++i)
    WriteLevel(out, record.pack.levels[i]);
  std::vector<std::uint8_t>& bytes = out.Result();
  const std::uint64_t sum = Checksum(bytes);
  for (int i = 0; i < 8; ++i)
    bytes.push_back(static_cast<std::uint8_t>(sum >> (8 * i)));
  return std::move(bytes);
}

bool IsNewerRecoveryFile(std::span<const std::uint8_t> bytes) {
  // The magic's last character is the format's version, "1" to "9".
  constexpr std::size_t kVersionAt = sizeof kMagic - 1;
  return bytes.size() >= sizeof kMagic &&
         std::memcmp(bytes.data(), kMagic, kVersionAt) == 0 &&
         bytes[kVersionAt] > static_cast<std::uint8_t>(kMagic[kVersionAt]) &&
         bytes[kVersionAt] <= '9';
}

bool DecodeRecoveryFile(std::span<const std::uint8_t> bytes,
                        RecoveryRecord& record, std::string& error) {
  if (IsNewerRecoveryFile(bytes)) {
    error = "the copy was made by a newer version of the editor";
    return false;
  }
  if (bytes.size() < sizeof kMagic + 8 ||
      std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) {
    error = "not a recovery copy";
    return false;
  }
  if (bytes.size() > RECOVERY_FILE_MAX_BYTES) {
    error = "the copy is too large";
    return false;
  }
  const std::span<const std::uint8_t> body = bytes.first(bytes.size() - 8);
  Reader tail(bytes.last(8));
  if (tail.U64() != Checksum(body)) {
    error = "the copy is damaged or cut short (checksum mismatch)";
    return false;
  }

  Reader in(body.subspan(sizeof kMagic));
  RecoveryRecord read;
  read.savedAtSeconds = static_cast<std::int64_t>(in.U64());
  read.filePath = in.Text(RECOVERY_TEXT_MAX_CHARS);
  read.pack.m_szAuthorName = in.Text(RECOVERY_TEXT_MAX_CHARS);
  read.pack.m_szPassword = in.Text(RECOVERY_TEXT_MAX_CHARS);
  const std::uint32_t count = in.U32();
  const std::uint32_t current = in.U32();
  if (!in.Ok()) {
    error = "the copy's header is damaged";
    return false;
  }
  if (count < 1 || count > MAX_LEVELS || current >= count) {
    error = "the copy's level count or current level is out of range";
    return false;
  }
  read.currentLevel = static_cast<int>(current);
  read.pack.levels.resize(count);
  for (LevelRecord& level : read.pack.levels) {
    if (!ReadLevel(in, level, error)) return false;
  }
  if (!in.AtEnd()) {
    error = "the copy has bytes after its last level";
    return false;
  }
  record = std::move(read);
  return true;
}
