// libFuzzer target for the crash-recovery copy's reader. Each input is read
// as it is and sealed with the right magic and checksum, so that mutations
// reach the fields behind them. A copy that is read holds valid levels,
// encodes to the very same bytes, and reads again to the same record; a
// refused copy leaves the record it was read into as it was.
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "packfile/RecoveryFile.h"

using fuzzcheck::Require;

namespace {

bool SameRecord(const RecoveryRecord& a, const RecoveryRecord& b) {
  if (a.currentLevel != b.currentLevel || a.filePath != b.filePath ||
      a.savedAtSeconds != b.savedAtSeconds ||
      a.pack.m_szAuthorName != b.pack.m_szAuthorName ||
      a.pack.m_szPassword != b.pack.m_szPassword ||
      a.pack.levels.size() != b.pack.levels.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.pack.levels.size(); ++i) {
    if (!a.pack.levels[i].SameLevelAs(b.pack.levels[i])) return false;
  }
  return true;
}

// A record no copy decodes to, to tell whether a refusal touched it.
RecoveryRecord Sentinel() {
  RecoveryRecord record;
  record.currentLevel = -7;
  record.filePath = "sentinel";
  record.pack.m_szAuthorName = "untouched";
  return record;
}

void Check(std::span<const std::uint8_t> bytes) {
  RecoveryRecord record = Sentinel();
  std::string error;
  if (!DecodeRecoveryFile(bytes, record, error)) {
    Require(!error.empty());
    Require(SameRecord(record, Sentinel()));
    return;
  }
  const std::size_t count = record.pack.levels.size();
  Require(count >= 1 && count <= MAX_LEVELS);
  Require(record.currentLevel >= 0 &&
          record.currentLevel < static_cast<int>(count));
  for (const LevelRecord& level : record.pack.levels) {
    Require(level.m_nWidthBytes >= MIN_WIDTH_BYTES &&
            level.m_nWidthBytes <= MAX_WIDTH_BYTES);
    Require(level.m_nHeight >= MIN_HEIGHT && level.m_nHeight <= MAX_HEIGHT);
    Require(level.BitmapBytes() <= MAX_BITMAP_BYTES);
    Require(level.m_nBlockCount >= 0 && level.m_nBlockCount <= MAX_BLOCKS);
  }
  const std::vector<std::uint8_t> again = EncodeRecoveryFile(record);
  Require(std::equal(again.begin(), again.end(), bytes.begin(), bytes.end()));
  RecoveryRecord reread;
  Require(DecodeRecoveryFile(again, reread, error));
  Require(SameRecord(reread, record));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::span<const std::uint8_t> input(data, size);
  Check(input);
  const std::vector<std::uint8_t> sealed = fuzzcheck::SealedRecoveryCopy(input);
  if (!sealed.empty()) Check(sealed);
  return 0;
}
