// libFuzzer target for the pack file decoder and the recovery copy reader. Each
// input is decoded as a whole file, as the same file with its checksum mended
// (so that mutations reach the pack image behind the container's checksum), and
// as a bare pack image. Whatever decodes must be a valid pack that encodes
// again and decodes to the same levels.
//
// The build makes it with clang++ when clang is found, and ctest runs it for
// 20000 inputs from the seed corpus in tests/packfile/corpus. To fuzz longer,
// scripts/fuzz.sh runs every target; or, from the build folder:
//
//   mkdir -p /tmp/pack-corpus
//   tests/fuzz/pack_file_fuzzer /tmp/pack-corpus \
//       ../tests/packfile/corpus -max_len=10000 -max_total_time=3600
//
// New interesting inputs collect in /tmp/pack-corpus; a crash leaves a
// crash-* file to replay with `pack_file_fuzzer crash-...`.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include "check/PackCheck.h"
#include "fuzz/FuzzCheck.h"
#include "packfile/LevelClip.h"
#include "packfile/PackFile.h"
#include "packfile/RecoveryFile.h"

namespace {

using fuzzcheck::Require;

void CheckDecodedLevels(const PackContents& pack) {
  Require(!pack.levels.empty() && pack.levels.size() <= MAX_LEVELS);
  for (const LevelRecord& level : pack.levels) {
    fuzzcheck::RequireLevelInRange(level);
  }
}

void CheckDecoded(const PackContents& pack) {
  CheckDecodedLevels(pack);
  Require(pack.m_szPassword.size() <= 10 && pack.m_szAuthorName.size() <= 28);
  // plodpak verify checks every pack it decodes: any decoded pack can be
  // checked, and a problem of a level names a level of the pack.
  for (const PackProblem& problem : CheckPack(pack)) {
    Require(problem.level >= -1 &&
            problem.level < static_cast<int>(pack.levels.size()));
    Require(!problem.text.empty());
  }
  // A pack with only printable texts encodes again, to the same levels.
  std::vector<std::uint8_t> image;
  std::string error;
  if (!EncodePackImage(pack, image, error)) return;
  PackContents again;
  Require(DecodePackImage(image, again, error));
  Require(again.m_szPassword == pack.m_szPassword &&
          again.m_szAuthorName == pack.m_szAuthorName &&
          again.levels.size() == pack.levels.size());
  for (std::size_t i = 0; i < pack.levels.size(); ++i) {
    Require(again.levels[i].SameLevelAs(pack.levels[i]));
  }
}

void Decode(std::span<const std::uint8_t> file) {
  PackContents pack;
  std::string error;
  if (DecodePackFileBytes(file, pack, error)) {
    CheckDecoded(pack);
  } else {
    Require(!error.empty() && pack.levels.empty());
  }
}

}  // namespace

// The input as a level on the clipboard: the magic word, then the bytes.
void DecodeClip(std::span<const std::uint8_t> bytes) {
  std::vector<std::uint8_t> clip = {'P', 'L', 'O', 'D', 'L', 'V', 'L', '1'};
  clip.insert(clip.end(), bytes.begin(), bytes.end());
  LevelRecord level;
  std::string error;
  if (!DecodeLevelClip(clip, level, error)) {
    Require(!error.empty());
    return;
  }
  PackContents pack;
  pack.levels.push_back(level);
  pack.m_szAuthorName = "a";
  pack.m_szPassword = "p";
  CheckDecoded(pack);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::span<const std::uint8_t> input(data, size);
  Decode(input);
  DecodeClip(input);

  if (size >= 74 && size <= 10000) {
    std::vector<std::uint8_t> mended(input.begin(), input.end());
    const std::size_t at = 72 + (mended[70] | mended[71] << 8);
    if (at + 2 <= mended.size()) {
      unsigned sum = 0;
      for (std::size_t i = 55; i < at; ++i) sum += mended[i];
      mended[at] = static_cast<std::uint8_t>(sum);
      mended[at + 1] = static_cast<std::uint8_t>(sum >> 8);
      Decode(mended);
    }
  }

  PackContents pack;
  std::string error;
  if (DecodePackImage(input, pack, error)) CheckDecoded(pack);

  // As a recovery copy: the same bytes, and the bytes sealed with a right
  // checksum so that mutations reach the fields behind it. What decodes
  // must hold valid levels and encode to the same bytes again.
  const std::vector<std::uint8_t> sealed = fuzzcheck::SealedRecoveryCopy(input);
  for (const auto& bytes :
       {std::vector<std::uint8_t>(input.begin(), input.end()), sealed}) {
    RecoveryRecord record;
    if (!DecodeRecoveryFile(bytes, record, error)) continue;
    Require(record.currentLevel >= 0 &&
            record.currentLevel < static_cast<int>(record.pack.levels.size()));
    CheckDecodedLevels(record.pack);
    Require(EncodeRecoveryFile(record) == bytes);
  }
  return 0;
}
