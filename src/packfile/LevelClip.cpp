#include "packfile/LevelClip.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "packfile/PackFile.h"

namespace {

constexpr std::string_view kMagic = "PLODLVL1";
constexpr std::size_t kHeader = kMagic.size() + PASSCODE_CHARS;

}  // namespace

std::vector<std::uint8_t> EncodeLevelClip(const LevelRecord& level) {
  PackContents pack;
  pack.levels.push_back(level);
  std::vector<std::uint8_t> image;
  std::string error;
  // A single level always fits a pack image; a level whose texts the file
  // cannot hold gives nothing to paste.
  if (!EncodePackImage(pack, image, error)) return {};
  std::vector<std::uint8_t> out(kMagic.begin(), kMagic.end());
  // The passcode up to its end, then zeros (not what stands behind it).
  bool ended = false;
  for (int i = 0; i < PASSCODE_CHARS; ++i) {
    ended = ended || level.m_szPasscode[i] == '\0';
    out.push_back(ended ? 0 : static_cast<std::uint8_t>(level.m_szPasscode[i]));
  }
  out.insert(out.end(), image.begin(), image.end());
  return out;
}

bool DecodeLevelClip(std::span<const std::uint8_t> bytes, LevelRecord& level,
                     std::string& error) {
  if (bytes.size() < kHeader ||
      !std::equal(kMagic.begin(), kMagic.end(), bytes.begin())) {
    error = "The clipboard holds no level of this editor.";
    return false;
  }
  // A shorter passcode is padded with zeros: no character after a zero.
  char passcode[PASSCODE_CHARS + 1] = {};
  for (int i = 0; i < PASSCODE_CHARS; ++i) {
    const auto c = static_cast<char>(bytes[kMagic.size() + i]);
    const bool ended = i > 0 && passcode[i - 1] == '\0';
    if (c != '\0' && (ended || c < 0x20 || c > 0x7E)) {
      error = "The level on the clipboard has a damaged passcode.";
      return false;
    }
    passcode[i] = c;
  }
  PackContents pack;
  if (!DecodePackImage(bytes.subspan(kHeader), pack, error)) return false;
  if (pack.levels.size() != 1) {
    error = "The clipboard holds more than one level.";
    return false;
  }
  level = pack.levels[0];
  std::memcpy(level.m_szPasscode, passcode, sizeof passcode);
  return true;
}
