#include <gtest/gtest.h>

#include "LevelOfSize.h"
#include "canvas/ViewGeometry.h"
#include "model/Level.h"

namespace {

struct ClampCase {
  const char* name;
  int widthBytes, height;
  int cx, cy, bar, gap;
  int startX, startY;
  int expectX, expectY;
};

class ClampViewTest : public ::testing::TestWithParam<ClampCase> {};

TEST_P(ClampViewTest, CentresOrClampsAndRoundsTowardZero) {
  const ClampCase& c = GetParam();
  const LevelRecord level = LevelOfSize(c.widthBytes, c.height);
  CanvasView view;
  view.OnSize(c.cx, c.cy, c.bar, c.gap, level);
  view.m_nOriginX = c.startX;
  view.m_nOriginY = c.startY;
  view.ClampView(level);
  EXPECT_EQ(view.m_nOriginX, c.expectX);
  EXPECT_EQ(view.m_nOriginY, c.expectY);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClampViewTest,
    ::testing::Values(
        // (384 - 784) / 2: the default level centred in a wide window.
        ClampCase{"CentredWide", 12, 64, 784, 200, 0, 2, 0, 0, -200, 0},
        ClampCase{"UpperBoundRounded", 12, 64, 200, 200, 0, 2, 1000, 1000, 432,
                  304},  // 433 and 307 rounded toward zero
        ClampCase{"LowerBound", 12, 64, 200, 200, 0, 2, -100, -100, -48, -48},
        ClampCase{"NegativeRounds", 12, 64, 200, 200, 0, 2, -50, -47, -48, -44},
        ClampCase{"PositiveRounds", 12, 64, 200, 200, 0, 2, 50, 51, 48, 48},
        // Canvas 398 rows high > 256: (256 - 398) / 2 = -71 -> -68.
        ClampCase{"CentredTall", 12, 64, 200, 400, 0, 2, 0, 0, 0, -68},
        // The bar height raises the vertical bound: 30 + 256 + 51 = 337.
        ClampCase{"BarHeightInBound", 12, 64, 200, 200, 30, 2, 0, 1000, 0, 336},
        ClampCase{"WidestLevel", 36, 64, 1000, 200, 0, 2, 2000, 0, 1200, 0}),
    [](const auto& info) { return std::string(info.param.name); });

struct ScrollCase {
  const char* name;
  int start;
  int code;
  int position;
  int expectOrigin;
};

class HScrollTest : public ::testing::TestWithParam<ScrollCase> {};

// W = 12 in a client area 200 pixels wide.
TEST_P(HScrollTest, MovesOriginWithinBounds) {
  const ScrollCase& c = GetParam();
  const LevelRecord level = LevelOfSize(12, 64);
  CanvasView view;
  view.OnSize(200, 150, 0, 2, level);
  view.m_nOriginX = c.start;
  const ScrollResult result = view.OnHScroll(c.code, c.position, level);
  EXPECT_EQ(result.origin, c.expectOrigin);
  EXPECT_EQ(view.m_nOriginX, c.expectOrigin);
  EXPECT_EQ(result.delta, c.start - c.expectOrigin);
  EXPECT_EQ(view.HorizontalBar(level).pos, c.expectOrigin);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HScrollTest,
    ::testing::Values(
        ScrollCase{"LineLeftAtLowerBound", -48, SB_LINELEFT, 0, -48},
        ScrollCase{"LineRight", 0, SB_LINERIGHT, 0, 4},
        ScrollCase{"PageLeftBelowBound", -20, SB_PAGELEFT, 0, -48},
        ScrollCase{"PageRight", 0, SB_PAGERIGHT, 0, 200},
        ScrollCase{"ThumbTrackRounds", 0, SB_THUMBTRACK, 103, 100},
        // 32W + 52 - 200, applied after rounding and not rounded itself.
        ScrollCase{"ThumbTrackUpperBound", 0, SB_THUMBTRACK, 300, 236},
        ScrollCase{"ThumbPositionIgnored", 8, SB_THUMBPOSITION, 100, 8},
        ScrollCase{"EndScrollIgnored", 8, SB_ENDSCROLL, 0, 8}),
    [](const auto& info) { return std::string(info.param.name); });

class VScrollTest : public ::testing::TestWithParam<ScrollCase> {};

// H = 64, a client area 200 pixels high under a 20-pixel bar: upper bound
// 4H + 55 + B - 200 = 131.
TEST_P(VScrollTest, MovesOriginWithinBounds) {
  const ScrollCase& c = GetParam();
  const LevelRecord level = LevelOfSize(12, 64);
  CanvasView view;
  view.OnSize(100, 200, 20, 2, level);
  view.m_nOriginY = c.start;
  const ScrollResult result = view.OnVScroll(c.code, c.position, level);
  EXPECT_EQ(result.origin, c.expectOrigin);
  EXPECT_EQ(result.delta, c.start - c.expectOrigin);
  EXPECT_EQ(view.VerticalBar(level).pos, c.expectOrigin);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VScrollTest,
    ::testing::Values(
        ScrollCase{"LineUpAtLowerBound", -48, SB_LINEUP, 0, -48},
        ScrollCase{"LineDown", 100, SB_LINEDOWN, 0, 104},
        ScrollCase{"LineDownToUpperBound", 128, SB_LINEDOWN, 0, 131},
        ScrollCase{"PageUp", 100, SB_PAGEUP, 0, -48},
        ScrollCase{"ThumbTrackUpperBound", 0, SB_THUMBTRACK, 500, 131}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScrollTest, ADisabledBarKeepsTheCentredLevelInPlace) {
  const LevelRecord level = LevelOfSize(12, 64);
  CanvasView view;
  view.OnSize(784, 600, 0, 2, level);
  ASSERT_EQ(view.m_nOriginX, -200);
  ASSERT_FALSE(view.HorizontalBar(level).Enabled());
  const int originY = view.m_nOriginY;
  for (int code : {SB_LINELEFT, SB_LINERIGHT, SB_PAGELEFT, SB_THUMBTRACK}) {
    EXPECT_EQ(view.OnHScroll(code, 0, level).delta, 0) << code;
    EXPECT_EQ(view.OnVScroll(code, 0, level).delta, 0) << code;
  }
  EXPECT_EQ(view.m_nOriginX, -200);
  EXPECT_EQ(view.m_nOriginY, originY);
}

TEST(ScrollBarTest, RangesPagesAndQtValues) {
  const LevelRecord level = LevelOfSize(12, 64);
  CanvasView view;
  view.OnSize(200, 100, 10, 2, level);
  view.m_nOriginX = 40;
  view.m_nOriginY = -48;
  const ScrollBarSettings h = view.HorizontalBar(level);
  EXPECT_EQ(h.min, -48);
  EXPECT_EQ(h.max, 433);
  EXPECT_EQ(h.page, 200);
  EXPECT_EQ(h.pos, 40);
  EXPECT_TRUE(h.Enabled());
  EXPECT_EQ(h.QtMaximum(), 234);
  const ScrollBarSettings v = view.VerticalBar(level);
  EXPECT_EQ(v.max, 10 + 256 + 51);
  EXPECT_EQ(v.page, 100);

  view.OnSize(784, 100, 10, 2, level);  // centred at -200
  const ScrollBarSettings wide = view.HorizontalBar(level);
  EXPECT_FALSE(wide.Enabled());
  EXPECT_EQ(wide.QtMaximum(), -48);
  EXPECT_EQ(wide.QtValue(), -48);
}

struct MapCase {
  int pixelsOutside;  // client pixels left of / above the outline line
  int expect;
};

// With the origin at (-48, -48) and no bar, the outline's left line is
// client column 48 and its top line client row 49.
TEST(ClientToLevelTest, PointsNearTheOutlineTruncateTowardZero) {
  const LevelRecord level = LevelOfSize(12, 64);
  CanvasView view;
  view.OnSize(200, 200, 0, 2, level);
  view.m_nOriginX = -48;
  view.m_nOriginY = -48;
  ASSERT_EQ(view.OutlineClientRect(level).left, 48);
  ASSERT_EQ(view.OutlineClientRect(level).top, 49);
  for (const MapCase c :
       {MapCase{0, 0}, {1, 0}, {3, 0}, {4, -1}, {7, -1}, {8, -2}}) {
    EXPECT_EQ(view.ClientToLevel({48 - c.pixelsOutside, 100}).x, c.expect)
        << c.pixelsOutside;
  }
  // Rows count from the top line (logical row 1), like columns from the
  // left line: every pixel of a cell, its bottom row too, is in its row.
  for (const MapCase c : {MapCase{0, 0}, {3, 0}, {4, -1}, {8, -2}}) {
    EXPECT_EQ(view.ClientToLevel({100, 49 - c.pixelsOutside}).y, c.expect)
        << c.pixelsOutside;
  }
}

TEST(ClientToLevelTest, EveryPixelOfACellMapsBackToItsLevelPixel) {
  const LevelRecord level = LevelOfSize(12, 64);
  for (int bar : {0, 7, 30}) {
    CanvasView view;
    view.OnSize(300, 300, bar, 2, level);
    view.m_nOriginX = 20;
    view.m_nOriginY = 36;
    for (const Point p : {Point{0, 0}, Point{5, 7}, Point{95, 63}}) {
      const Rect cell = view.CellClientRect(p);
      EXPECT_EQ(cell.Width(), 3);
      EXPECT_EQ(cell.Height(), 3);
      const Point corner = view.LevelToClient(p);
      EXPECT_EQ(cell.left, corner.x + 1);
      EXPECT_EQ(cell.top, corner.y + 2);
      for (int y = cell.top; y < cell.bottom; ++y) {
        for (int x = cell.left; x < cell.right; ++x) {
          EXPECT_EQ(view.ClientToLevel({x, y}), p) << bar;
        }
      }
    }
  }
}

TEST(IsInLevelTest, Bounds) {
  const LevelRecord level = LevelOfSize(13, 70);
  struct Case {
    Point p;
    bool inside;
  };
  for (const Case c : {Case{{0, 0}, true},
                       {{103, 69}, true},
                       {{104, 0}, false},
                       {{0, 70}, false},
                       {{-1, 5}, false},
                       {{5, -1}, false}}) {
    EXPECT_EQ(IsInLevel(level, c.p), c.inside) << c.p.x << "," << c.p.y;
  }
}

}  // namespace
