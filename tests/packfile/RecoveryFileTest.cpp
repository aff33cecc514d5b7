#include <gtest/gtest.h>

#include <cstring>

#include "packfile/RecoveryFile.h"

namespace {

// Two levels: the second of the largest size, full of terrain, with every
// block; texts a pack file could not hold or Save As would refuse.
RecoveryRecord FullRecord() {
  RecoveryRecord record;
  record.pack.m_szAuthorName = "";  // no author yet
  record.pack.m_szPassword = "a password longer than ten";
  record.filePath = "/home/ann/packs/castle.8xp";
  record.savedAtSeconds = 1765360000;
  record.pack.levels.resize(2);
  std::strcpy(record.pack.levels[0].m_szPasscode, "ABCD");
  LevelRecord& big = record.pack.levels[1];
  big.m_nWidthBytes = MAX_WIDTH_BYTES;
  big.m_nHeight = MAX_BITMAP_BYTES / MAX_WIDTH_BYTES;
  std::memset(big.m_bitmap, 0xA5, MAX_BITMAP_BYTES);
  std::strcpy(big.m_szPasscode, "XY");  // too short for Save As
  std::strcpy(big.m_szName, "Twenty-nine characters long!!");
  big.PlaceObject({8, 0}, OBJ_ENTRANCE);  // no exit
  for (int i = 0; i < MAX_BLOCKS; ++i) {
    big.PlaceObject({8 * (i % 30), 16 * (i / 30)}, OBJ_BLOCK);
  }
  big.m_nSkills[3] = -1;
  big.m_nTime = 99999;
  record.currentLevel = 1;
  return record;
}

TEST(RecoveryFileTest, KeepsEverythingNeededToCarryOn) {
  const RecoveryRecord record = FullRecord();
  const std::vector<std::uint8_t> bytes = EncodeRecoveryFile(record);
  EXPECT_LE(bytes.size(), RECOVERY_FILE_MAX_BYTES);
  RecoveryRecord read;
  std::string error;
  ASSERT_TRUE(DecodeRecoveryFile(bytes, read, error)) << error;
  EXPECT_EQ(read.pack.m_szAuthorName, record.pack.m_szAuthorName);
  EXPECT_EQ(read.pack.m_szPassword, record.pack.m_szPassword);
  EXPECT_EQ(read.filePath, record.filePath);
  EXPECT_EQ(read.savedAtSeconds, record.savedAtSeconds);
  EXPECT_EQ(read.currentLevel, 1);
  ASSERT_EQ(read.pack.levels.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_TRUE(read.pack.levels[i].SameLevelAs(record.pack.levels[i])) << i;
  }
  EXPECT_STREQ(read.pack.levels[0].m_szPasscode, "ABCD");
  EXPECT_EQ(read.pack.levels[1].m_nBlockCount, MAX_BLOCKS);
}

TEST(RecoveryFileTest, RefusesDamagedCopiesAndLeavesTheRecordAlone) {
  const std::vector<std::uint8_t> good = EncodeRecoveryFile(FullRecord());
  const auto cut = [&](std::size_t n) {
    return std::vector<std::uint8_t>(good.begin(), good.begin() + n);
  };
  auto flipped = good;
  flipped[good.size() / 2] ^= 0x10;
  auto foreign = good;
  foreign[0] = 'X';
  const struct {
    const char* what;
    std::vector<std::uint8_t> bytes;
    const char* error;
  } kCases[] = {
      {"empty", {}, "not a recovery copy"},
      {"foreign", foreign, "not a recovery copy"},
      {"cut short", cut(good.size() - 100), "checksum mismatch"},
      {"one byte changed", flipped, "checksum mismatch"},
      {"checksum only", cut(16), "checksum mismatch"},
  };
  for (const auto& c : kCases) {
    RecoveryRecord read;
    read.filePath = "untouched";
    std::string error;
    EXPECT_FALSE(DecodeRecoveryFile(c.bytes, read, error)) << c.what;
    EXPECT_NE(error.find(c.error), std::string::npos)
        << c.what << ": " << error;
    EXPECT_EQ(read.filePath, "untouched") << c.what;
  }
}

// A copy whose checksum is right but whose contents are out of range (as a
// copy of another version, or one made by hand, could be) is refused too.
TEST(RecoveryFileTest, ValidatesWhatTheChecksumCovers) {
  const struct {
    const char* what;
    void (*spoil)(RecoveryRecord&);
    const char* error;
  } kCases[] = {
      {"current level past the end",
       [](RecoveryRecord& r) { r.currentLevel = 2; }, "current level"},
      {"too narrow",
       [](RecoveryRecord& r) { r.pack.levels[0].m_nWidthBytes = 11; }, "size"},
      {"too much terrain",
       [](RecoveryRecord& r) { r.pack.levels[1].m_nHeight = MAX_HEIGHT; },
       "size"},
      {"object outside",
       [](RecoveryRecord& r) {
         r.pack.levels[0].m_objects[0] = {OBJ_ENTRANCE, 200, 0};
       },
       "objects"},
      {"exit in the entrance slot",
       [](RecoveryRecord& r) {
         r.pack.levels[0].m_objects[0] = {OBJ_EXIT, 0, 0};
       },
       "objects"},
  };
  for (const auto& c : kCases) {
    RecoveryRecord record = FullRecord();
    c.spoil(record);
    // The encoder seals whatever it is given.
    const std::vector<std::uint8_t> bytes = EncodeRecoveryFile(record);
    RecoveryRecord read;
    std::string error;
    EXPECT_FALSE(DecodeRecoveryFile(bytes, read, error)) << c.what;
    EXPECT_NE(error.find(c.error), std::string::npos)
        << c.what << ": " << error;
  }
}

// A copy of a later format is told apart from a damaged one, so that it can
// be kept for the editor that made it: only the version differs.
TEST(RecoveryFileTest, TellsACopyOfANewerFormatFromADamagedOne) {
  const std::vector<std::uint8_t> current = EncodeRecoveryFile(FullRecord());
  const struct {
    char version;
    bool newer;
  } kCases[] = {
      {'1', false}, {'2', true}, {'9', true}, {'0', false}, {'A', false}};
  for (const auto& c : kCases) {
    std::vector<std::uint8_t> bytes = current;
    bytes[7] = static_cast<std::uint8_t>(c.version);
    EXPECT_EQ(IsNewerRecoveryFile(bytes), c.newer) << c.version;
    RecoveryRecord read;
    std::string error;
    const bool decoded = DecodeRecoveryFile(bytes, read, error);
    EXPECT_EQ(decoded, c.version == '1') << c.version << ": " << error;
    if (c.newer) {
      EXPECT_EQ(error, "the copy was made by a newer version of the editor");
    }
  }
  // Not a copy at all, whatever its eighth byte.
  EXPECT_FALSE(IsNewerRecoveryFile(std::vector<std::uint8_t>{'P', 'L', 'O'}));
  const std::string other = "PLODLVL2";
  EXPECT_FALSE(IsNewerRecoveryFile(
      std::vector<std::uint8_t>(other.begin(), other.end())));
}

}  // namespace
