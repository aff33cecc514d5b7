// The overview's picture against the level it shows, what an update redraws,
// and where the calculator screen's frame stands.

#include <gtest/gtest.h>

#include "canvas/OverviewExpected.h"

namespace {

using overviewtest::ExpectShows;

struct Change {
  const char* name;
  void (*apply)(LevelRecord&);
  Rect redrawn;  // what the update must redraw, no more
};

const Change kChanges[] = {
    {"nothing", [](LevelRecord&) {}, {}},
    {"one pixel set",
     [](LevelRecord& l) { l.SetPixel(21, 30, true); },
     {16, 30, 24, 31}},
    {"one pixel cleared",
     [](LevelRecord& l) { l.SetPixel(3, 5, false); },
     {0, 5, 8, 6}},
    {"a short stroke",
     [](LevelRecord& l) {
       for (int x = 30; x < 42; ++x) l.SetPixel(x, 12, true);
     },
     {24, 12, 48, 13}},
    {"an entrance placed",
     [](LevelRecord& l) {
       l.PlaceObject({40, 20}, OBJ_ENTRANCE);
     },
     {40, 20, 56, 36}},
    {"the exit moved",
     [](LevelRecord& l) {
       l.PlaceObject({64, 40}, OBJ_EXIT);
     },
     {8, 8, 80, 56}},
    {"the last block removed",
     [](LevelRecord& l) { l.PopLastBlock(); },
     {72, 2, 88, 18}},
    {"a column added", [](LevelRecord& l) { l.AddColumn(); }, {0, 0, 104, 64}},
};

class OverviewPictureTest : public ::testing::TestWithParam<int> {
 protected:
  // Terrain along the top and left, an exit and a block.
  static LevelRecord Start() {
    LevelRecord level;
    for (int x = 0; x < 96; ++x) level.SetPixel(x, 0, true);
    for (int y = 0; y < 64; ++y) level.SetPixel(3, y, true);
    level.PlaceObject({8, 8}, OBJ_EXIT);
    level.PlaceObject({72, 2}, OBJ_BLOCK);
    return level;
  }
};

TEST_P(OverviewPictureTest, AnUpdateRedrawsOnlyWhatChangedAndShowsTheLevel) {
  for (const CanvasPalette& palette :
       {CanvasPalette::Classic(), CanvasPalette::Clear()}) {
    for (const Change& change : kChanges) {
      SCOPED_TRACE(change.name);
      COverviewPicture picture;
      picture.SetScale(GetParam());
      picture.SetPalette(palette);
      LevelRecord level = Start();
      EXPECT_EQ(picture.Update(level), (Rect{0, 0, 96, 64}));
      change.apply(level);
      EXPECT_EQ(picture.Update(level), change.redrawn);
      ExpectShows(picture, level, palette);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Scales, OverviewPictureTest, ::testing::Values(1, 2));

TEST(OverviewPicture, APaletteOrScaleChangeRedrawsEverything) {
  COverviewPicture picture;
  LevelRecord level;
  level.PlaceObject({16, 16}, OBJ_ENTRANCE);
  picture.Update(level);
  ExpectShows(picture, level, CanvasPalette::Classic());
  picture.SetPalette(CanvasPalette::Clear());
  EXPECT_EQ(picture.Update(level), (Rect{0, 0, 96, 64}));
  ExpectShows(picture, level, CanvasPalette::Clear());
  picture.SetScale(2);
  EXPECT_EQ(picture.Update(level), (Rect{0, 0, 96, 64}));
  ExpectShows(picture, level, CanvasPalette::Clear());
  // The objects never take the terrain's colour in clear colours.
  EXPECT_NE(CanvasPalette::Clear().Of(Ink::Entrance),
            CanvasPalette::Clear().terrain);
}

TEST(CalculatorScreen, StaysInsideTheLevelAroundThePointer) {
  LevelRecord wide;  // 288 x 64
  while (wide.m_nWidthBytes < MAX_WIDTH_BYTES) wide.AddColumn();
  LevelRecord tall;  // 96 x 192
  while (tall.m_nHeight < MAX_HEIGHT) tall.AddRow();
  const LevelRecord smallest;  // 96 x 64: the screen's own size
  const struct {
    const char* name;
    const LevelRecord& level;
    Point pointer;
    Rect framed;
  } kCases[] = {
      {"centred", wide, {150, 32}, {102, 0, 198, 64}},
      {"left edge", wide, {10, 32}, {0, 0, 96, 64}},
      {"right edge", wide, {287, 63}, {192, 0, 288, 64}},
      {"outside, left and above", wide, {-40, -9}, {0, 0, 96, 64}},
      {"outside, right", wide, {900, 30}, {192, 0, 288, 64}},
      {"tall, middle", tall, {50, 100}, {0, 68, 96, 132}},
      {"tall, bottom", tall, {0, 191}, {0, 128, 96, 192}},
      {"smallest level", smallest, {70, 50}, {0, 0, 96, 64}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CalculatorScreenAt(c.level, c.pointer), c.framed);
  }
}

}  // namespace
