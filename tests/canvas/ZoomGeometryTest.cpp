// The view at every zoom: level pixel <-> client point both ways, zooming
// around a point, Fit, scroll steps and the painted picture.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LevelOfSize.h"
#include "canvas/CanvasPainter.h"
#include "canvas/ViewGeometry.h"
#include "model/Level.h"

namespace {

struct ZoomCase {
  int zoom;
  bool grid;
};

std::string ZoomName(const ::testing::TestParamInfo<ZoomCase>& info) {
  return std::to_string(info.param.zoom) + "x" +
         (info.param.grid ? "Grid" : "NoGrid");
}

std::vector<ZoomCase> AllZooms() {
  std::vector<ZoomCase> cases;
  for (int z : kZoomLevels) {
    cases.push_back({z, true});
    if (z >= 4) cases.push_back({z, false});  // below 4 there is no grid
  }
  return cases;
}

class ZoomGeometryTest : public ::testing::TestWithParam<ZoomCase> {
 protected:
  // The widest level in a canvas smaller than it at every zoom but 1x, so
  // that it scrolls instead of centring.
  void SetUp() override {
    view.m_nZoom = GetParam().zoom;
    view.m_bGrid = GetParam().grid;
    view.OnSize(200, 60, 0, 2, level);
  }

  LevelRecord level = LevelOfSize(36, 64);
  CanvasView view;
};

// Every client point of a pixel's cell maps back to that pixel, the cell
// has the zoom's size, and the points between cells (the grid line) belong
// to the pixel to their right and below; at negative origins, positive
// ones and the last position the scroll bar reaches.
TEST_P(ZoomGeometryTest, CellsMapBackToTheirPixelAtEveryScrollPosition) {
  const int z = GetParam().zoom;
  const bool gridShown = GetParam().grid && z >= 4;
  const int size = gridShown ? z - 1 : z;
  const int lastX = view.OnHScroll(SB_THUMBTRACK, 1 << 20, level).origin;
  view.m_nOriginX = MIN_ORIGIN;
  for (int originX : {MIN_ORIGIN, -7 * z, 0, 5 * z + 3, lastX}) {
    for (int originY : {MIN_ORIGIN, -z, 11 * z}) {
      view.m_nOriginX = originX;
      view.m_nOriginY = originY;
      for (Point p : {Point{0, 0}, Point{1, 2}, Point{37, 9}, Point{287, 63}}) {
        const Rect cell = view.CellClientRect(p);
        ASSERT_EQ(cell.Width(), size) << originX << "," << originY;
        ASSERT_EQ(cell.Height(), size);
        const Point corner = view.LevelToClient(p);
        EXPECT_EQ(cell.left, corner.x + 1);
        EXPECT_EQ(cell.top, corner.y + 2);
        for (Point c : {Point{cell.left, cell.top},
                        Point{cell.right - 1, cell.bottom - 1},
                        Point{cell.left, cell.bottom - 1}}) {
          ASSERT_EQ(view.ClientToLevel(c), p)
              << "zoom " << z << " origin " << originX << "," << originY;
        }
        // One pixel past the cell is the next pixel's block.
        EXPECT_EQ(view.ClientToLevel({cell.right, cell.bottom}),
                  (Point{p.x + 1, p.y + 1}));
        if (gridShown) {
          // The grid line left of and above the cell belongs to it.
          EXPECT_EQ(view.ClientToLevel({cell.left - 1, cell.top - 1}), p);
        }
      }
    }
  }
}

TEST_P(ZoomGeometryTest, ScrollLinesAreOneLevelPixelAndStopAtTheBounds) {
  const int z = GetParam().zoom;
  view.m_nOriginX = 0;
  view.m_nOriginY = 0;
  EXPECT_EQ(view.OnHScroll(SB_LINERIGHT, 0, level).delta, -z);
  EXPECT_EQ(view.OnVScroll(SB_LINEDOWN, 0, level).delta, -z);
  EXPECT_EQ(view.m_nOriginX, z);
  EXPECT_EQ(view.m_nOriginY, z);
  // The far end: the whole level's outline in reach, and no further.
  const int last = view.OnHScroll(SB_THUMBTRACK, 1 << 20, level).origin;
  const int bound = 8 * z * 36 + 52 - 200;
  EXPECT_EQ(last, z == 4 ? bound : RoundTowardZero(bound, z));
  // A later clamp (a refresh) leaves the far end where it is.
  CanvasView clamped = view;
  clamped.ClampView(level);
  if (z != 4) {
    EXPECT_EQ(clamped.m_nOriginX, last);
  }
  EXPECT_EQ(view.OnHScroll(SB_LINERIGHT, 0, level).delta, 0);
  EXPECT_LE(view.OutlineClientRect(level).right, 200);
  view.OnHScroll(SB_THUMBTRACK, -1000, level);
  EXPECT_EQ(view.m_nOriginX, MIN_ORIGIN);
  // The bar's range follows the zoom.
  EXPECT_EQ(view.HorizontalBar(level).max, 8 * z * 36 + 49);
  EXPECT_EQ(view.VerticalBar(level).max, z * 64 + 51);
}

// Zooming to any other level around a point keeps the level pixel under
// that point, where the level reaches far enough around it.
TEST_P(ZoomGeometryTest, ZoomAroundAPointKeepsThePixelUnderIt) {
  const LevelRecord big = LevelOfSize(36, 192);
  for (ZoomCase to : AllZooms()) {
    for (Point client : {Point{100, 30}, Point{3, 57}, Point{190, 2}}) {
      CanvasView v;
      v.m_nZoom = GetParam().zoom;
      v.m_bGrid = GetParam().grid;
      v.OnSize(200, 60, 0, 2, big);
      // About pixel (144, 96) under the point, which every zoom can keep
      // there.
      v.m_nOriginX = 144 * v.m_nZoom - client.x + 1;
      v.m_nOriginY = 96 * v.m_nZoom + 2 - client.y;
      v.ClampView(big);
      const Point before = v.ClientToLevel(client);
      ASSERT_NEAR(before.x, 144, 1);
      ASSERT_NEAR(before.y, 96, 1);
      v.SetZoomAround(to.zoom, to.grid, client, big);
      EXPECT_EQ(v.ClientToLevel(client), before)
          << GetParam().zoom << " -> " << to.zoom << " at " << client.x << ","
          << client.y;
      EXPECT_EQ(v.m_nOriginX % to.zoom, 0);
    }
  }
}

// A full paint of one set pixel: its cell black, the grid from 4x up on
// the zoom's pitch, nothing else.
TEST_P(ZoomGeometryTest, PaintedCellAndGridFollowTheZoom) {
  const int z = GetParam().zoom;
  const LevelRecord small = LevelOfSize(12, 64);
  CanvasView v;
  v.m_nZoom = z;
  v.m_bGrid = GetParam().grid;
  v.OnSize(300, 200, 0, 2, small);
  v.m_nOriginX = MIN_ORIGIN;
  v.m_nOriginY = MIN_ORIGIN;
  std::vector<std::uint32_t> pixels(300 * 200);
  PixelBufferPainter painter(pixels.data(), 300, 200, 300);
  painter.SetGridPitch(v.GridPitch());
  painter.PaintBackground(v.OutlineClientRect(small), v.GridPhase());
  const Point p{2, 1};
  const Rect cell = v.CellClientRect(p);
  painter.PaintCell(p, cell, false);
  const auto black = [&](int x, int y) {
    return painter.Pixel(x, y) == PixelBufferPainter::kBlack;
  };
  for (int y = cell.top; y < cell.bottom; ++y) {
    for (int x = cell.left; x < cell.right; ++x) ASSERT_TRUE(black(x, y));
  }
  // The cells around it inside the outline are white; the lines between
  // them black only with the grid.
  const bool grid = v.GridShown();
  const Rect next = v.CellClientRect({p.x + 1, p.y});
  EXPECT_FALSE(black(next.left, next.top));
  EXPECT_EQ(black(cell.right, cell.top), grid);
  EXPECT_EQ(black(cell.left, cell.bottom), grid);
  EXPECT_EQ(black(cell.right, cell.bottom), grid);
  // The outline encloses every cell and lies just outside them.
  const Rect outline = v.OutlineClientRect(small);
  const Rect last = v.CellClientRect({95, 63});
  EXPECT_EQ(outline.right - 1, last.right);
  EXPECT_EQ(outline.bottom - 1, last.bottom);
  EXPECT_EQ(outline.left + 1, v.CellClientRect({0, 0}).left);
  EXPECT_EQ(outline.top + 1, v.CellClientRect({0, 0}).top);
  if (outline.right <= 300 && outline.bottom <= 200) {
    EXPECT_TRUE(black(outline.right - 1, last.top));
    EXPECT_TRUE(black(last.left, outline.bottom - 1));
    EXPECT_EQ(black(last.left - 1, last.top), grid);
  }
}

INSTANTIATE_TEST_SUITE_P(EveryZoom, ZoomGeometryTest,
                         ::testing::ValuesIn(AllZooms()), ZoomName);

// At 4x a point a little left of or above the outline still gives pixel 0
// (truncation toward zero, as the view always did); at other zooms a point
// belongs to the block it is in, outside the level.
TEST(ZoomGeometry, PointsOutsideTheLevelKeepTheirSideAwayFrom4x) {
  const LevelRecord level = LevelOfSize(12, 64);
  for (int z : kZoomLevels) {
    CanvasView view;
    view.m_nZoom = z;
    view.OnSize(2000, 2000, 0, 2, level);
    const Rect outline = view.OutlineClientRect(level);
    const Point outside =
        view.ClientToLevel({outline.left - 1, outline.top - 1});
    if (z == 4) {
      EXPECT_EQ(outside, (Point{0, 0}));
    } else {
      EXPECT_LT(outside.x, 0) << z;
      EXPECT_LT(outside.y, 0) << z;
    }
  }
}

TEST(ZoomGeometry, NextZoomLevelWalksTheListAndStopsAtItsEnds) {
  const struct {
    int zoom, step, expect;
  } cases[] = {{4, 1, 6},  {4, -1, 3}, {1, -1, 1}, {16, 1, 16},  {12, 1, 16},
               {2, -1, 1}, {5, 1, 6},  {5, -1, 4}, {20, -1, 16}, {0, 1, 1}};
  for (const auto& c : cases) {
    EXPECT_EQ(NextZoomLevel(c.zoom, c.step), c.expect)
        << c.zoom << " step " << c.step;
  }
  EXPECT_TRUE(IsZoomLevel(12));
  EXPECT_FALSE(IsZoomLevel(5));
  EXPECT_FALSE(IsZoomLevel(0));
}

struct FitCase {
  const char* name;
  int widthBytes, height;
  int cx, cy;
  int expect;
};

class FitZoomTest : public ::testing::TestWithParam<FitCase> {};

// Fit gives the largest zoom whose outline lies wholly in the canvas once
// centred; the next zoom up would not fit.
TEST_P(FitZoomTest, LargestZoomAtWhichTheWholeLevelShows) {
  const FitCase& c = GetParam();
  const LevelRecord level = LevelOfSize(c.widthBytes, c.height);
  CanvasView view;
  view.OnSize(c.cx, c.cy, 0, 2, level);
  const int fit = view.FitZoom(level);
  EXPECT_EQ(fit, c.expect);
  const auto inside = [&](int zoom) {
    CanvasView v = view;
    v.m_nZoom = zoom;
    v.ClampView(level);
    const Rect o = v.OutlineClientRect(level);
    return o.left >= 0 && o.top >= v.m_rcCanvas.top && o.right <= c.cx &&
           o.bottom <= c.cy;
  };
  if (IsZoomLevel(c.expect) && (c.expect > 1 || inside(1))) {
    EXPECT_TRUE(inside(fit));
  }
  if (NextZoomLevel(fit, 1) != fit) {
    EXPECT_FALSE(inside(NextZoomLevel(fit, 1)));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FitZoomTest,
    ::testing::Values(FitCase{"SmallestInLarge", 12, 64, 1920, 1080, 16},
                      FitCase{"SmallestInSmall", 12, 64, 300, 200, 3},
                      FitCase{"WidestInLarge", 36, 64, 1920, 1080, 6},
                      FitCase{"WidestInSmall", 36, 64, 300, 200, 1},
                      FitCase{"TallestInLarge", 12, 192, 1920, 1080, 4},
                      FitCase{"TallestInSmall", 12, 192, 300, 200, 1},
                      FitCase{"DefaultWindow", 12, 64, 684, 380, 4},
                      // Nothing fits: the smallest zoom all the same.
                      FitCase{"NothingFits", 36, 64, 100, 60, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ZoomGeometry, FitCountsADevicePixelRatio) {
  const LevelRecord level = LevelOfSize(12, 64);
  CanvasView view;
  view.OnSize(1920, 1080, 0, 2, level);
  // At ratio 2 a zoom draws twice as many client pixels: 8x is 16 here.
  EXPECT_EQ(view.FitZoom(level, 2.0), 8);
}

TEST(ZoomGeometry, VisibleLevelRectIsThePartOfTheLevelInView) {
  const LevelRecord level = LevelOfSize(36, 64);
  CanvasView view;
  view.m_nZoom = 8;
  view.OnSize(400, 202, 0, 2, level);
  view.m_nOriginX = 80;  // level x 10 at client 0
  view.m_nOriginY = 0;
  // Client columns 0..399 show x 10..59; rows 2..201 show y 0..24.
  EXPECT_EQ(view.VisibleLevelRect(level), (Rect{10, 0, 60, 25}));
  view.m_nOriginX = MIN_ORIGIN;
  EXPECT_EQ(view.VisibleLevelRect(level).left, 0);
  view.m_nZoom = 1;
  view.ClampView(level);  // the whole level shows, centred
  EXPECT_EQ(view.VisibleLevelRect(level), (Rect{0, 0, 288, 64}));
}

}  // namespace
