// libFuzzer target for the editor's own level format on the clipboard, which
// any other program can fill. Each input is read as it is and behind the
// format's magic word. A level that is read is valid, encodes to the same
// level when copied again and reads again to the same level; a refused input
// leaves the level it was read into as it was.
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "packfile/LevelClip.h"

using fuzzcheck::Require;

namespace {

void Check(std::span<const std::uint8_t> bytes) {
  LevelRecord sentinel;
  sentinel.m_nWidthBytes = 99;  // no decoded level has this width
  LevelRecord level = sentinel;
  std::string error;
  if (!DecodeLevelClip(bytes, level, error)) {
    Require(!error.empty());
    Require(std::memcmp(&level, &sentinel, sizeof level) == 0);
    return;
  }
  fuzzcheck::RequireLevelInRange(level);
  // A level whose texts a pack file cannot hold gives nothing to copy.
  const std::vector<std::uint8_t> again = EncodeLevelClip(level);
  if (again.empty()) return;
  LevelRecord reread;
  Require(DecodeLevelClip(again, reread, error));
  Require(reread.SameLevelAs(level));
  Require(std::strcmp(reread.m_szPasscode, level.m_szPasscode) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::span<const std::uint8_t> input(data, size);
  Check(input);
  std::vector<std::uint8_t> clip = {'P', 'L', 'O', 'D', 'L', 'V', 'L', '1'};
  clip.insert(clip.end(), input.begin(), input.end());
  Check(clip);
  return 0;
}
