// The pack check on small packs: one problem at a time against a clean pack,
// the order of the errors, and the size limits of both file kinds.

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "check/PackCheck.h"

namespace {

void Ground(LevelRecord& level, int y, int fromCol, int toCol) {
  for (int b = fromCol; b < toCol; ++b) {
    level.m_bitmap[y * level.m_nWidthBytes + b] = 0xFF;
  }
}

// Two 96 x 64 levels the check has nothing to say about: the entrance in
// the air, the exit standing on a strip of ground clear of both edges, a
// Plodder to spare.
LevelRecord CleanLevel(const char* passcode) {
  LevelRecord level;
  level.m_objects[ENTRANCE_SLOT] = {OBJ_ENTRANCE, 3, 8};
  level.m_objects[EXIT_SLOT] = {OBJ_EXIT, 6, 40};
  Ground(level, 56, 2, 10);
  level.m_nToSave = 10;
  std::strcpy(level.m_szPasscode, passcode);
  return level;
}

PackContents CleanPack() {
  PackContents pack;
  pack.m_szAuthorName = "Ann";
  pack.m_szPassword = "secret";
  pack.levels = {CleanLevel(""), CleanLevel("ABCD"), CleanLevel("WXYZ")};
  return pack;
}

void AddBlock(LevelRecord& level, int col, int row) {
  level.m_objects[FIRST_BLOCK_SLOT + level.m_nBlockCount++] = {
      OBJ_BLOCK, static_cast<std::uint8_t>(col),
      static_cast<std::uint8_t>(row)};
}

// A problem as a case expects it; what it marks is tested apart.
struct Expected {
  ProblemSeverity severity;
  ProblemKind kind;
  int level;
  Point at;
  std::string text;
};

struct ProblemCase {
  const char* name;
  std::function<void(PackContents&)> change;
  // Expected problems, in order: kind, level, text, place (x < 0: none).
  std::vector<Expected> expected;
};

constexpr auto E = ProblemSeverity::Error;
constexpr auto W = ProblemSeverity::Warning;
constexpr auto N = ProblemSeverity::Note;

class PackCheckFinds : public testing::TestWithParam<ProblemCase> {};

TEST_P(PackCheckFinds, ExactlyTheProblemOfTheLevel) {
  PackContents pack = CleanPack();
  GetParam().change(pack);
  const std::vector<PackProblem> found = CheckPack(pack);
  const std::vector<Expected>& expected = GetParam().expected;
  ASSERT_EQ(found.size(), expected.size());
  for (std::size_t i = 0; i < found.size(); ++i) {
    SCOPED_TRACE(expected[i].text);
    EXPECT_EQ(found[i].severity, expected[i].severity);
    EXPECT_EQ(found[i].kind, expected[i].kind);
    EXPECT_EQ(found[i].level, expected[i].level);
    EXPECT_EQ(found[i].at, expected[i].at);
    EXPECT_EQ(found[i].text, expected[i].text);
  }
}

INSTANTIATE_TEST_SUITE_P(
    OneAtATime, PackCheckFinds,
    testing::Values(
        ProblemCase{"Clean", [](PackContents&) {}, {}},
        ProblemCase{"ShortPasscode",
                    [](PackContents& p) {
                      std::strcpy(p.levels[2].m_szPasscode, "ABC");
                    },
                    {{E,
                      ProblemKind::PasscodeLength,
                      2,
                      {-1, -1},
                      "level 3's passcode is not four characters"}}},
        ProblemCase{"FirstLevelPasscodeIsNeverChecked",
                    [](PackContents& p) {
                      std::strcpy(p.levels[0].m_szPasscode, "ab");
                    },
                    {}},
        ProblemCase{
            "NoEntrance",
            [](PackContents& p) { p.levels[0].m_objects[ENTRANCE_SLOT] = {}; },
            {{E,
              ProblemKind::NoEntrance,
              0,
              {-1, -1},
              "level 1 has no entrance"}}},
        ProblemCase{
            "NoExit",
            [](PackContents& p) { p.levels[1].m_objects[EXIT_SLOT] = {}; },
            {{E, ProblemKind::NoExit, 1, {-1, -1}, "level 2 has no exit"}}},
        ProblemCase{"NoAuthor",
                    [](PackContents& p) { p.m_szAuthorName.clear(); },
                    {{E,
                      ProblemKind::NoSecurityInfo,
                      -1,
                      {-1, -1},
                      "the pack has no author or password"}}},
        ProblemCase{"NoPassword",
                    [](PackContents& p) { p.m_szPassword.clear(); },
                    {{E,
                      ProblemKind::NoSecurityInfo,
                      -1,
                      {-1, -1},
                      "the pack has no author or password"}}},
        ProblemCase{"TextTheFileCannotHold",
                    [](PackContents& p) { p.m_szAuthorName = "Ann\n"; },
                    {{E,
                      ProblemKind::PackTooLarge,
                      -1,
                      {-1, -1},
                      "the pack cannot be saved: The author name holds a "
                      "character the calculator cannot store (only printable "
                      "ASCII is allowed)."}}},
        ProblemCase{"TerrainAtTheLeftEdge",
                    [](PackContents& p) { p.levels[1].SetPixel(7, 30, true); },
                    {{W,
                      ProblemKind::NearEdge,
                      1,
                      {7, 30},
                      "level 2 has terrain within 8 pixels of the left edge"}}},
        ProblemCase{
            "TerrainAtTheRightEdge",
            [](PackContents& p) { p.levels[1].SetPixel(88, 3, true); },
            {{W,
              ProblemKind::NearEdge,
              1,
              {88, 3},
              "level 2 has terrain within 8 pixels of the right edge"}}},
        ProblemCase{"TerrainJustInsideTheMarginsIsFine",
                    [](PackContents& p) {
                      p.levels[1].SetPixel(8, 3, true);
                      p.levels[1].SetPixel(87, 3, true);
                    },
                    {}},
        ProblemCase{"BlockAtTheLeftEdge",
                    [](PackContents& p) { AddBlock(p.levels[0], 0, 0); },
                    {{W,
                      ProblemKind::NearEdge,
                      0,
                      {0, 0},
                      "level 1's block 1 is within 8 pixels of the left "
                      "edge"}}},
        ProblemCase{"EntranceAtTheRightEdge",
                    [](PackContents& p) {
                      p.levels[2].m_objects[ENTRANCE_SLOT].col = 10;
                    },
                    {{W,
                      ProblemKind::NearEdge,
                      2,
                      {80, 8},
                      "level 3's entrance is within 8 pixels of the right "
                      "edge"}}},
        ProblemCase{
            "ExitInTheAir",
            [](PackContents& p) { p.levels[0].m_objects[EXIT_SLOT].row = 30; },
            {{W,
              ProblemKind::ExitNotOnGround,
              0,
              {48, 30},
              "level 1's exit has no ground right under it"}}},
        ProblemCase{"ExitAtTheBottomHasNoGround",
                    [](PackContents& p) {
                      LevelRecord& l = p.levels[0];
                      for (int x = 16; x < 80; ++x) l.SetPixel(x, 56, false);
                      l.m_objects[EXIT_SLOT].row = 48;
                    },
                    {{W,
                      ProblemKind::ExitNotOnGround,
                      0,
                      {48, 48},
                      "level 1's exit has no ground right under it"}}},
        ProblemCase{"ExitOnOnePixelOfGround",
                    [](PackContents& p) {
                      LevelRecord& l = p.levels[0];
                      for (int x = 48; x < 64; ++x) l.SetPixel(x, 56, false);
                      l.SetPixel(63, 56, true);
                    },
                    {}},
        ProblemCase{
            "ExitSunkIntoTheGround",
            [](PackContents& p) { p.levels[0].m_objects[EXIT_SLOT].row = 41; },
            {{W,
              ProblemKind::ExitNotOnGround,
              0,
              {48, 41},
              "level 1's exit has no ground right under it"},
             {W,
              ProblemKind::ObjectOverTerrain,
              0,
              {51, 56},
              "level 1's exit overlaps terrain"}}},
        // The entrance at (24, 8) draws its top nine rows; its row 8 only
        // at x 24 to 26 and 37 to 39.
        ProblemCase{"EntranceOverTerrain",
                    [](PackContents& p) { p.levels[1].SetPixel(39, 16, true); },
                    {{W,
                      ProblemKind::ObjectOverTerrain,
                      1,
                      {39, 16},
                      "level 2's entrance overlaps terrain"}}},
        ProblemCase{"TerrainInAGapOfTheEntrancesPicture",
                    [](PackContents& p) { p.levels[1].SetPixel(30, 16, true); },
                    {}},
        ProblemCase{"TerrainUnderTheEntrancesPictureInsideItsBox",
                    [](PackContents& p) { p.levels[1].SetPixel(39, 23, true); },
                    {}},
        // An entrance at (8, 44) draws rows 44 to 52; ground from row 56
        // lies inside its 16 x 16 box but touches none of its pixels.
        ProblemCase{"EntranceAboveGroundThatFillsTheRestOfItsBox",
                    [](PackContents& p) {
                      LevelRecord& l = p.levels[0];
                      l.m_objects[ENTRANCE_SLOT] = {OBJ_ENTRANCE, 1, 44};
                      for (int y = 56; y < 64; ++y) Ground(l, y, 1, 11);
                    },
                    {}},
        // The exit draws nothing in its top two rows and its outer columns.
        ProblemCase{"TerrainBesideTheExitsPictureInsideItsBox",
                    [](PackContents& p) {
                      p.levels[0].SetPixel(48, 45, true);
                      p.levels[0].SetPixel(55, 41, true);
                    },
                    {}},
        ProblemCase{"BlocksMayStandInTerrain",
                    [](PackContents& p) { AddBlock(p.levels[1], 2, 50); },
                    {}},
        ProblemCase{"BlockOverlapsTheEntrance",
                    [](PackContents& p) { AddBlock(p.levels[2], 4, 16); },
                    {{W,
                      ProblemKind::ObjectsOverlap,
                      2,
                      {32, 16},
                      "level 3's block 1 overlaps the entrance"}}},
        ProblemCase{"BlockInTheEntrancesEmptyRows",
                    [](PackContents& p) { AddBlock(p.levels[2], 4, 17); },
                    {}},
        ProblemCase{"TwoBlocksOverlap",
                    [](PackContents& p) {
                      AddBlock(p.levels[2], 8, 0);
                      AddBlock(p.levels[2], 9, 15);
                      AddBlock(p.levels[2], 6, 0);  // touches, no overlap
                    },
                    {{W,
                      ProblemKind::ObjectsOverlap,
                      2,
                      {72, 15},
                      "level 3's block 2 overlaps block 1"}}},
        ProblemCase{"SamePasscode",
                    [](PackContents& p) {
                      std::strcpy(p.levels[2].m_szPasscode, "ABCD");
                    },
                    {{W,
                      ProblemKind::SamePasscode,
                      2,
                      {-1, -1},
                      "level 3 has the same passcode as level 2"}}},
        ProblemCase{"PasscodeWithADigit",
                    [](PackContents& p) {
                      std::strcpy(p.levels[1].m_szPasscode, "AB1D");
                    },
                    {{W,
                      ProblemKind::PasscodeNotLetters,
                      1,
                      {-1, -1},
                      "level 2's passcode holds more than the letters A to "
                      "Z"}}},
        ProblemCase{"NoSpare",
                    [](PackContents& p) { p.levels[0].m_nToSave = 20; },
                    {{N,
                      ProblemKind::NoSpare,
                      0,
                      {-1, -1},
                      "level 1 asks to save 20 of 20 Plodders: none to "
                      "spare"}}}),
    [](const auto& info) { return std::string(info.param.name); });

// What a problem marks when it is shown: the pixels the entrance draws over
// terrain (not the rest of its box), the terrain in a margin as runs, the
// boxes of the objects concerned; nothing for a problem of no place.
TEST(PackCheckMarks, ThePixelsOrObjectsConcerned) {
  const struct {
    const char* what;
    std::function<void(PackContents&)> change;
    ProblemKind kind;
    std::vector<Rect> marks;
  } cases[] = {
      {"entrance over a strip of ground",
       [](PackContents& p) {
         Ground(p.levels[1], 16, 3, 5);  // x 24 to 39 of the entrance's row 8
       },
       ProblemKind::ObjectOverTerrain,
       {{24, 16, 27, 17}, {37, 16, 40, 17}}},
      {"terrain in the left margin",
       [](PackContents& p) {
         p.levels[1].SetPixel(2, 30, true);
         p.levels[1].SetPixel(3, 30, true);
         p.levels[1].SetPixel(6, 30, true);
         p.levels[1].SetPixel(0, 31, true);
       },
       ProblemKind::NearEdge,
       {{2, 30, 4, 31}, {6, 30, 7, 31}, {0, 31, 1, 32}}},
      {"block over the entrance",
       [](PackContents& p) { AddBlock(p.levels[1], 4, 16); },
       ProblemKind::ObjectsOverlap,
       {{24, 8, 40, 24}, {32, 16, 48, 32}}},
      {"exit in the air",
       [](PackContents& p) { p.levels[1].m_objects[EXIT_SLOT].row = 30; },
       ProblemKind::ExitNotOnGround,
       {{48, 30, 64, 46}}},
      {"same passcode",
       [](PackContents& p) { std::strcpy(p.levels[2].m_szPasscode, "ABCD"); },
       ProblemKind::SamePasscode,
       {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    PackContents pack = CleanPack();
    c.change(pack);
    const std::vector<PackProblem> found = CheckPack(pack);
    ASSERT_EQ(found.size(), 1u) << found[0].text;
    EXPECT_EQ(found[0].kind, c.kind);
    EXPECT_EQ(found[0].marks, c.marks);
  }
}

// The errors come in the order Save As stops at them, whatever the levels,
// and before every warning.
TEST(PackCheckOrder, ErrorsInSaveAsOrderThenWarnings) {
  PackContents pack = CleanPack();
  pack.levels[0].m_objects[EXIT_SLOT] = {};
  pack.levels[0].m_nToSave = 20;
  std::strcpy(pack.levels[2].m_szPasscode, "AB");
  pack.levels[1].m_objects[ENTRANCE_SLOT] = {};
  pack.m_szPassword.clear();
  const std::vector<PackProblem> found = CheckPack(pack);
  std::vector<ProblemKind> kinds;
  for (const PackProblem& p : found) kinds.push_back(p.kind);
  EXPECT_EQ(kinds, (std::vector<ProblemKind>{
                       ProblemKind::PasscodeLength, ProblemKind::NoExit,
                       ProblemKind::NoEntrance, ProblemKind::NoSecurityInfo,
                       ProblemKind::NoSpare}));
  EXPECT_EQ(CountErrors(found), 4);
}

// Noise terrain does not compress: nine of the largest levels are far over
// what either file holds, and a TI-83 Plus file holds two bytes less.
TEST(PackCheckSize, NamesTheLimitOfTheFileKind) {
  PackContents pack = CleanPack();
  pack.levels.resize(5, CleanLevel("QRST"));
  for (LevelRecord& level : pack.levels) {
    level.m_nWidthBytes = 36;
    for (int i = 0; i < level.BitmapBytes(); ++i) {
      level.m_bitmap[i] = static_cast<std::uint8_t>(i * 37 % 251 | 0x11);
    }
    // The noise touches the edges and buries the objects: keep only errors.
  }
  auto sizeProblem = [](const PackContents& p, VariableFlavour flavour) {
    for (const PackProblem& problem : CheckPack(p, flavour)) {
      if (problem.kind == ProblemKind::PackTooLarge) return problem.text;
    }
    return std::string();
  };
  EXPECT_NE(sizeProblem(pack, VariableFlavour::TI83)
                .find("; a TI-83 file holds at most 9926"),
            std::string::npos);
  EXPECT_NE(sizeProblem(pack, VariableFlavour::TI83Plus)
                .find("; a TI-83 Plus file holds at most 9924"),
            std::string::npos);
}

}  // namespace
