#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "model/LevelPack.h"

namespace {

// A pack whose levels are named by a letter each, for following them around.
class LevelPackTest : public ::testing::Test {
 protected:
  void MakeLevels(const std::string& names, int current) {
    pack.NewPack();
    while (pack.Count() < static_cast<int>(names.size())) pack.AddLevel();
    for (int i = 0; i < pack.Count(); ++i) {
      pack.Level(i).m_szName[0] = names[static_cast<std::size_t>(i)];
      pack.Level(i).m_szName[1] = '\0';
    }
    pack.m_nCurLevel = current;
  }
  std::string Names() const {
    std::string names;
    for (int i = 0; i < pack.Count(); ++i) names += pack.Level(i).m_szName;
    return names;
  }
  std::string CurrentName() const { return pack.Current().m_szName; }

  CLevelPack pack;
};

TEST_F(LevelPackTest, NewPackHasOneDefaultLevelAndKeepsPathAndFlag) {
  MakeLevels("ABCDEFGHI", 5);
  pack.m_szAuthorName = "Ann";
  pack.m_szPassword = "secret";
  pack.m_szFilePath = "/tmp/x.83p";
  pack.m_bModified = true;
  ASSERT_TRUE(pack.NewPack());
  EXPECT_EQ(pack.Count(), 1);
  EXPECT_EQ(pack.m_nCurLevel, 0);
  EXPECT_STREQ(pack.Current().m_szName, "Level 1 Name");
  EXPECT_EQ(pack.Current().m_nSerial, 0u);
  EXPECT_TRUE(pack.m_szAuthorName.empty());
  EXPECT_TRUE(pack.m_szPassword.empty());
  EXPECT_EQ(pack.m_szFilePath, "/tmp/x.83p");
  EXPECT_TRUE(pack.m_bModified);
}

TEST_F(LevelPackTest, DeleteLevelKeepsTheCurrentLevel) {
  struct Case {
    const char* levels;
    int current;
    int deleted;
    const char* remaining;
    char currentAfter;
  };
  const Case cases[] = {
      {"PQR", 1, 0, "QR", 'Q'}, {"PQR", 1, 1, "PR", 'P'},
      {"PQR", 1, 2, "PQ", 'Q'}, {"PQR", 0, 0, "QR", 'Q'},
      {"PQR", 2, 0, "QR", 'R'}, {"PQR", 2, 2, "PQ", 'Q'},
  };
  for (const Case& c : cases) {
    MakeLevels(c.levels, c.current);
    pack.DeleteLevel(c.deleted);
    EXPECT_EQ(Names(), c.remaining) << c.levels << " del " << c.deleted;
    EXPECT_EQ(CurrentName(), std::string(1, c.currentAfter));
    EXPECT_EQ(CLevel::s_nLiveCount, pack.Count());
  }
}

TEST_F(LevelPackTest, SwapLevelsKeepsTheCurrentLevel) {
  struct Case {
    int current, swapped;
    const char* order;
    int currentAfter;
  };
  const Case cases[] = {
      {1, 0, "QPR", 0}, {1, 1, "PRQ", 2}, {0, 1, "PRQ", 0}, {2, 1, "PRQ", 1}};
  for (const Case& c : cases) {
    MakeLevels("PQR", c.current);
    const std::string before = CurrentName();
    pack.SwapLevels(c.swapped);
    EXPECT_EQ(Names(), c.order);
    EXPECT_EQ(pack.m_nCurLevel, c.currentAfter);
    EXPECT_EQ(CurrentName(), before);
  }
}

TEST_F(LevelPackTest, AddLevelAppendsWithTheNextSerial) {
  MakeLevels("ABCD", 1);
  ASSERT_TRUE(pack.AddLevel());
  EXPECT_EQ(pack.Count(), 5);
  EXPECT_EQ(pack.m_nCurLevel, 1);
  EXPECT_STREQ(pack.Level(4).m_szName, "Level 5 Name");

  // Deleting the second of three and adding one reuses serial 2.
  MakeLevels("ABC", 0);
  pack.DeleteLevel(1);
  pack.AddLevel();
  EXPECT_EQ(pack.Level(2).m_nSerial, 2u);
  EXPECT_STREQ(pack.Level(2).m_szName, "Level 3 Name");
}

TEST_F(LevelPackTest, ResetUsesTheSerialNotThePosition) {
  MakeLevels("AB", 0);
  pack.SwapLevels(0);  // serial 1 is now first
  pack.m_bModified = false;
  pack.ResetLevel(0);
  EXPECT_STREQ(pack.Level(0).m_szName, "Level 2 Name");
  EXPECT_FALSE(pack.m_bModified);
}

TEST_F(LevelPackTest, ReplaceWithLoadedRebuildsEveryLevel) {
  MakeLevels("ABCDE", 3);
  PackContents loaded;
  loaded.m_szAuthorName = "Ann";
  loaded.m_szPassword = "pw";
  for (int i = 0; i < 3; ++i) {
    LevelRecord record;
    std::snprintf(record.m_szName, sizeof record.m_szName, "L%d", i);
    std::strcpy(record.m_szPasscode, i == 0 ? "" : "WXYZ");
    record.m_nTime = 100 + i;
    record.m_bitmap[0] = static_cast<std::uint8_t>(i);
    loaded.levels.push_back(record);
  }
  ASSERT_TRUE(pack.ReplaceWithLoaded(loaded));
  EXPECT_EQ(pack.Count(), 3);
  EXPECT_EQ(CLevel::s_nLiveCount, 3);
  EXPECT_EQ(pack.m_nCurLevel, 0);
  EXPECT_EQ(pack.m_szAuthorName, "Ann");
  EXPECT_EQ(pack.m_szPassword, "pw");
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(pack.Level(i).m_nSerial, static_cast<std::uint32_t>(i));
    EXPECT_EQ(pack.Level(i).m_nTime, 100 + i);
  }
  EXPECT_EQ(std::strlen(pack.Level(0).m_szPasscode), 4u);  // a fresh one
  EXPECT_STREQ(pack.Level(1).m_szPasscode, "WXYZ");

  const PackContents back = pack.Contents();
  ASSERT_EQ(back.levels.size(), 3u);
  EXPECT_TRUE(back.levels[2].SameLevelAs(loaded.levels[2]));
}

TEST(LevelPackLifetimeTest, DestroyingThePackReleasesEveryLevel) {
  {
    CLevelPack pack;
    pack.NewPack();
    for (int i = 1; i < MAX_LEVELS; ++i) pack.AddLevel();
    EXPECT_EQ(CLevel::s_nLiveCount, MAX_LEVELS);
  }
  EXPECT_EQ(CLevel::s_nLiveCount, 0);
}

}  // namespace
