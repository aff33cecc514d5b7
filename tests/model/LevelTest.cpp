#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "model/Level.h"

namespace {

// Fills the level's bitmap with a pattern that differs in every byte.
void FillPattern(LevelRecord& level) {
  for (int i = 0; i < level.BitmapBytes(); ++i) {
    level.m_bitmap[i] = static_cast<std::uint8_t>(i * 37 + 11);
  }
}

LevelObject Block(int col, int row) {
  return {static_cast<std::uint8_t>(OBJ_BLOCK), static_cast<std::uint8_t>(col),
          static_cast<std::uint8_t>(row)};
}

std::vector<LevelObject> BlocksInUse(const LevelRecord& level) {
  return {level.m_objects + FIRST_BLOCK_SLOT,
          level.m_objects + level.SlotsInUse()};
}

TEST(CLevelTest, DefaultsAndSerialNames) {
  ASSERT_EQ(CLevel::s_nLiveCount, 0);
  std::vector<std::unique_ptr<CLevel>> levels;
  for (int i = 0; i < MAX_LEVELS; ++i)
    levels.push_back(std::make_unique<CLevel>());
  EXPECT_EQ(CLevel::s_nLiveCount, MAX_LEVELS);

  const CLevel& first = *levels[0];
  EXPECT_EQ(first.m_nSerial, 0u);
  EXPECT_STREQ(first.m_szName, "Level 1 Name");
  EXPECT_EQ(first.m_nWidthBytes, 12);
  EXPECT_EQ(first.m_nHeight, 64);
  EXPECT_EQ(first.m_nPopulation, 20);
  EXPECT_EQ(first.m_nToSave, 20);
  EXPECT_EQ(first.m_nSpawnInterval, 15);
  EXPECT_EQ(first.m_nTime, 1200);
  EXPECT_EQ(first.m_nBlockCount, 0);
  EXPECT_FALSE(first.HasEntranceAndExit());
  for (std::int8_t skill : first.m_nSkills) EXPECT_EQ(skill, 30);
  for (int i = 0; i < DEFAULT_BITMAP_BYTES; ++i)
    ASSERT_EQ(first.m_bitmap[i], 0);

  EXPECT_STREQ(levels[1]->m_szName, "Level 2 Name");
  EXPECT_STREQ(levels[8]->m_szName, "Level 9 Name");
  for (const auto& level : levels) {
    ASSERT_EQ(std::strlen(level->m_szPasscode), 4u);
    for (int i = 0; i < 4; ++i) {
      EXPECT_GE(level->m_szPasscode[i], 'A');
      EXPECT_LE(level->m_szPasscode[i], 'Z');
    }
  }
  levels.clear();
  EXPECT_EQ(CLevel::s_nLiveCount, 0);
}

TEST(CLevelTest, InitClearsAnEnlargedLevelAndKeepsSerial) {
  auto keep0 = std::make_unique<CLevel>();
  auto level = std::make_unique<CLevel>();  // serial 1
  while (level->m_nWidthBytes < 36) level->AddColumn();
  FillPattern(*level);
  level->PlaceObject({8, 8}, OBJ_ENTRANCE);
  level->PlaceObject({16, 8}, OBJ_BLOCK);
  std::strcpy(level->m_szName, "Renamed");
  level->Init();
  EXPECT_EQ(level->m_nWidthBytes, 12);
  EXPECT_EQ(level->m_nHeight, 64);
  EXPECT_EQ(level->m_nBlockCount, 0);
  EXPECT_FALSE(level->HasEntranceAndExit());
  EXPECT_STREQ(level->m_szName, "Level 2 Name");
  for (int i = 0; i < level->BitmapBytes(); ++i)
    ASSERT_EQ(level->m_bitmap[i], 0);
}

TEST(LevelRecordTest, WidenThenNarrowKeepsEveryPixel) {
  LevelRecord level;
  FillPattern(level);
  const LevelRecord before = level;
  level.AddColumn();
  ASSERT_EQ(level.m_nWidthBytes, 13);
  for (int y = 0; y < level.m_nHeight; ++y) {
    for (int x = 0; x < 96; ++x) {
      ASSERT_EQ(level.GetPixel(x, y), before.GetPixel(x, y)) << x << "," << y;
    }
    for (int x = 96; x < 104; ++x) ASSERT_FALSE(level.GetPixel(x, y));
  }
  level.RemoveColumn();
  EXPECT_TRUE(level.SameLevelAs(before));
}

TEST(LevelRecordTest, AddRowClearsTheNewRowAndRemoveRowDropsIt) {
  LevelRecord level;
  FillPattern(level);
  // Stale bytes behind the bitmap must not show in the new row.
  std::memset(level.m_bitmap + level.BitmapBytes(), 0xFF, 12);
  level.AddRow();
  EXPECT_EQ(level.m_nHeight, 65);
  for (int x = 0; x < 96; ++x) EXPECT_FALSE(level.GetPixel(x, 64));
  level.RemoveRow();
  EXPECT_EQ(level.m_nHeight, 64);
}

struct ClipCase {
  const char* what;
  int widthBytes, height;
  LevelObject object;
  void (*shrink)(LevelRecord&);
  bool kept;
};

TEST(LevelRecordTest, ShrinkDropsObjectsOutside) {
  const ClipCase cases[] = {
      {"entrance at col 10 survives 13->12",
       13,
       64,
       {OBJ_ENTRANCE, 10, 0},
       [](LevelRecord& l) { l.RemoveColumn(); },
       true},
      {"exit at col 11 is dropped 13->12",
       13,
       64,
       {OBJ_EXIT, 11, 0},
       [](LevelRecord& l) { l.RemoveColumn(); },
       false},
      {"row 150 kept at height 166",
       12,
       167,
       {OBJ_ENTRANCE, 0, 150},
       [](LevelRecord& l) { l.RemoveRow(); },
       true},
      {"row 150 dropped below 166",
       12,
       166,
       {OBJ_ENTRANCE, 0, 150},
       [](LevelRecord& l) { l.RemoveRow(); },
       false},
      {"row 200 is an ordinary unsigned row",
       12,
       192,
       {OBJ_EXIT, 0, 200},
       [](LevelRecord& l) { l.RemoveRow(); },
       false},
  };
  for (const ClipCase& c : cases) {
    LevelRecord level;
    level.m_nWidthBytes = c.widthBytes;
    level.m_nHeight = c.height;
    const int slot = c.object.kind == OBJ_ENTRANCE ? ENTRANCE_SLOT : EXIT_SLOT;
    level.m_objects[slot] = c.object;
    c.shrink(level);
    EXPECT_EQ(level.m_objects[slot].kind != OBJ_NONE, c.kept) << c.what;
  }
}

TEST(LevelRecordTest, ClipMovesTheLastBlockIntoTheGap) {
  struct Case {
    const char* what;
    std::vector<int>
        cols;  // blocks 1..n in slot order; col 11 lies outside at width 12
    std::vector<int> expected;
  };
  const Case cases[] = {
      {"only block 2 outside", {0, 11, 2, 4, 6}, {0, 6, 2, 4}},
      {"blocks 4 and 5 outside", {0, 2, 4, 11, 11}, {0, 2, 4}},
      {"all outside", {11, 11, 11}, {}},
      {"first and last outside", {11, 2, 11}, {2}},
  };
  for (const Case& c : cases) {
    LevelRecord level;
    level.m_nWidthBytes = 13;
    for (int col : c.cols) level.PlaceObject({8 * col, 0}, OBJ_BLOCK);
    level.RemoveColumn();
    std::vector<LevelObject> expected;
    for (int col : c.expected) expected.push_back(Block(col, 0));
    EXPECT_EQ(BlocksInUse(level), expected) << c.what;
  }
}

TEST(LevelRecordTest, PlaceAndPopObjects) {
  LevelRecord level;
  level.PlaceObject({17, 5},
                    OBJ_ENTRANCE);  // x is divided down to a byte column
  level.PlaceObject({40, 30}, OBJ_ENTRANCE);
  EXPECT_EQ(level.m_objects[ENTRANCE_SLOT], (LevelObject{OBJ_ENTRANCE, 5, 30}));
  EXPECT_FALSE(level.HasEntranceAndExit());
  level.PlaceObject({0, 0}, OBJ_EXIT);
  EXPECT_TRUE(level.HasEntranceAndExit());

  level.PlaceObject({8, 1}, OBJ_BLOCK);
  level.PlaceObject({16, 2}, OBJ_BLOCK);
  level.PlaceObject({24, 3}, OBJ_BLOCK);
  EXPECT_EQ(level.PopLastBlock(), (Point{24, 3}));
  EXPECT_EQ(level.m_nBlockCount, 2);
}

TEST(LevelRecordTest, AFiftiethBlockIsNotRecorded) {
  LevelRecord level;
  for (int i = 0; i < MAX_BLOCKS; ++i) level.PlaceObject({0, i}, OBJ_BLOCK);
  const LevelRecord before = level;
  level.PlaceObject({8, 8}, OBJ_BLOCK);
  EXPECT_EQ(level.m_nBlockCount, MAX_BLOCKS);
  EXPECT_TRUE(level.SameLevelAs(before));
  EXPECT_EQ(level.m_objects[OBJECT_SLOTS - 1].kind, OBJ_NONE);
}

TEST(LevelRecordTest, LargestSizesKeepTheBitmapInsideItsStorage) {
  LevelRecord wide;
  while ((wide.m_nWidthBytes + 1) * wide.m_nHeight <= MAX_BITMAP_BYTES)
    wide.AddColumn();
  EXPECT_EQ(wide.m_nWidthBytes, 36);
  EXPECT_GT(wide.m_nWidthBytes * (wide.m_nHeight + 1), MAX_BITMAP_BYTES);

  LevelRecord tall;
  while (tall.m_nWidthBytes * (tall.m_nHeight + 1) <= MAX_BITMAP_BYTES)
    tall.AddRow();
  EXPECT_EQ(tall.m_nHeight, 192);
  tall.SetPixel(95, 191, true);
  EXPECT_EQ(tall.m_bitmap[MAX_BITMAP_BYTES - 1], 0x01);
}

}  // namespace
