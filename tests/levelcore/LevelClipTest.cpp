// A level through the clipboard format and a copy inserted into a pack.

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "model/LevelCopies.h"
#include "packfile/LevelClip.h"

namespace {

LevelRecord SampleLevel() {
  LevelRecord level;
  level.m_nWidthBytes = 20;
  level.m_nHeight = 100;
  for (int x = 10; x < 150; ++x) level.SetPixel(x, 90, true);
  level.PlaceObject({16, 8}, OBJ_ENTRANCE);
  level.PlaceObject({64, 74}, OBJ_EXIT);
  level.PlaceObject({120, 40}, OBJ_BLOCK);
  level.m_nPopulation = 33;
  level.m_nToSave = 12;
  level.m_nSkills[SKILL_MINERS] = 7;
  std::strcpy(level.m_szName, "Long Drop");
  std::strcpy(level.m_szPasscode, "QUAY");
  return level;
}

TEST(LevelClip, RoundTripKeepsEveryFieldAndThePasscode) {
  const LevelRecord level = SampleLevel();
  LevelRecord back;
  std::string error;
  ASSERT_TRUE(DecodeLevelClip(EncodeLevelClip(level), back, error)) << error;
  EXPECT_TRUE(back.SameLevelAs(level));

  LevelRecord shortCode = SampleLevel();
  std::strcpy(shortCode.m_szPasscode, "AB");
  ASSERT_TRUE(DecodeLevelClip(EncodeLevelClip(shortCode), back, error));
  EXPECT_STREQ(back.m_szPasscode, "AB");
}

TEST(LevelClip, RefusesWhatIsNotExactlyOneLevel) {
  const std::vector<std::uint8_t> good = EncodeLevelClip(SampleLevel());
  const struct {
    const char* name;
    std::function<void(std::vector<std::uint8_t>&)> damage;
  } cases[] = {
      {"empty", [](auto& b) { b.clear(); }},
      {"other magic", [](auto& b) { b[7] = '2'; }},
      {"header only", [](auto& b) { b.resize(12); }},
      {"cut image", [](auto& b) { b.resize(b.size() - 3); }},
      {"control character in passcode", [](auto& b) { b[9] = 0x07; }},
      {"character after the end", [](auto& b) { b[9] = 0; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::uint8_t> bytes = good;
    c.damage(bytes);
    LevelRecord level;
    const LevelRecord before = level;
    std::string error;
    EXPECT_FALSE(DecodeLevelClip(bytes, level, error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(level.SameLevelAs(before));
  }
}

TEST(LevelCopies, InsertsAfterTheGivenPlaceAndMakesItCurrent) {
  CLevelPack pack;
  ASSERT_TRUE(pack.NewPack());
  ASSERT_TRUE(pack.AddLevel());
  ASSERT_TRUE(pack.AddLevel());
  std::strcpy(pack.Level(0).m_szName, "A");
  std::strcpy(pack.Level(1).m_szName, "B");
  std::strcpy(pack.Level(2).m_szName, "C");
  pack.m_nCurLevel = 1;
  LevelRecord copy = SampleLevel();
  ASSERT_TRUE(InsertLevelCopy(pack, 2, copy));
  ASSERT_EQ(pack.Count(), 4);
  EXPECT_EQ(pack.m_nCurLevel, 2);
  EXPECT_STREQ(pack.Level(1).m_szName, "B");
  EXPECT_TRUE(pack.Level(2).SameLevelAs(copy));
  EXPECT_STREQ(pack.Level(3).m_szName, "C");
  EXPECT_EQ(pack.Level(2).m_nSerial, 3u);  // the new level's own serial
}

TEST(LevelCopies, AFreshPasscodeIsFourCapitalsNoLevelHas) {
  CLevelPack pack;
  ASSERT_TRUE(pack.NewPack());
  for (int i = 1; i < MAX_LEVELS - 1; ++i) ASSERT_TRUE(pack.AddLevel());
  for (int round = 0; round < 200; ++round) {
    LevelRecord level;
    GiveFreshPasscode(pack, level);
    ASSERT_EQ(std::strlen(level.m_szPasscode), 4u);
    for (int i = 0; i < 4; ++i) {
      EXPECT_TRUE(level.m_szPasscode[i] >= 'A' && level.m_szPasscode[i] <= 'Z');
    }
    for (int i = 0; i < pack.Count(); ++i) {
      EXPECT_STRNE(pack.Level(i).m_szPasscode, level.m_szPasscode);
    }
  }
}

// A copy's name tells it from every level of the pack and fits the name's
// 29 characters, cutting the name and never the suffix.
TEST(LevelCopies, ACopyIsNamedApartFromEveryLevelWithinTheNamesLength) {
  const std::string full(NAME_CHARS, 'x');  // a name of 29 characters
  const struct {
    std::vector<std::string> pack;  // the pack's names
    std::string copied;             // the name of the level copied
    std::string expected;
  } cases[] = {
      {{"Cave"}, "Cave", "Cave (copy)"},
      {{"Cave", "Cave (copy)"}, "Cave", "Cave (copy 2)"},
      // A copy of a copy counts on from the base name.
      {{"Cave", "Cave (copy)"}, "Cave (copy)", "Cave (copy 2)"},
      {{"Cave", "Cave (copy)", "Cave (copy 2)"},
       "Cave (copy 2)",
       "Cave (copy 3)"},
      // A gap is filled first.
      {{"Cave", "Cave (copy 2)"}, "Cave (copy 2)", "Cave (copy)"},
      // Brackets that are not a copy suffix stay in the name.
      {{"Hall (copy 0)"}, "Hall (copy 0)", "Hall (copy 0) (copy)"},
      {{"Hall (copy x)"}, "Hall (copy x)", "Hall (copy x) (copy)"},
      {{"Hall (copy)"}, "Hall (copy)", "Hall (copy 2)"},
      // Long names are cut so the suffix fits; no space is left doubled.
      {{full}, full, std::string(22, 'x') + " (copy)"},
      {{full, std::string(22, 'x') + " (copy)"},
       full,
       std::string(20, 'x') + " (copy 2)"},
      {{"abcdefghijklmnopqrstu  vwxyz"},
       "abcdefghijklmnopqrstu  vwxyz",
       "abcdefghijklmnopqrstu (copy)"},
      {{""}, "", "(copy)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.copied);
    CLevelPack pack;
    ASSERT_TRUE(pack.NewPack());
    for (std::size_t i = 1; i < c.pack.size(); ++i)
      ASSERT_TRUE(pack.AddLevel());
    for (std::size_t i = 0; i < c.pack.size(); ++i) {
      std::strcpy(pack.Level(static_cast<int>(i)).m_szName, c.pack[i].c_str());
    }
    LevelRecord copy;
    std::memset(copy.m_szName, 'z', sizeof copy.m_szName);
    std::strcpy(copy.m_szName, c.copied.c_str());
    GiveCopyName(pack, copy);
    EXPECT_EQ(std::string(copy.m_szName), c.expected);
    ASSERT_LE(std::strlen(copy.m_szName), std::size_t{NAME_CHARS});
    // The rest of the buffer is cleared, as every name's is.
    for (std::size_t i = std::strlen(copy.m_szName); i < sizeof copy.m_szName;
         ++i) {
      EXPECT_EQ(copy.m_szName[i], 0) << i;
    }
  }
}

// Nine levels all named alike still give a name no level has.
TEST(LevelCopies, AFullPackOfCopiesStillGivesAFreeName) {
  CLevelPack pack;
  ASSERT_TRUE(pack.NewPack());
  for (int i = 1; i < MAX_LEVELS; ++i) ASSERT_TRUE(pack.AddLevel());
  std::strcpy(pack.Level(0).m_szName, "A");
  for (int i = 1; i < MAX_LEVELS; ++i) {
    LevelRecord copy = pack.Level(i - 1);
    GiveCopyName(pack, copy);
    std::strcpy(pack.Level(i).m_szName, copy.m_szName);
  }
  EXPECT_STREQ(pack.Level(1).m_szName, "A (copy)");
  EXPECT_STREQ(pack.Level(8).m_szName, "A (copy 8)");
}

}  // namespace
