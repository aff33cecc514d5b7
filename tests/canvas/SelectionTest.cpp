#include <gtest/gtest.h>

#include "CanvasFixture.h"
#include "canvas/SelectTool.h"

namespace {

class SelectionMoveTest : public CanvasTest {
 protected:
  CSelectTool& Selection() { return canvas.Selection(); }
};

// A 4 x 4 block at each edge moved 2 pixels past it: what crosses the edge
// is cut off when the move is committed, and the place it left is empty.
TEST_F(SelectionMoveTest, MovesPastEachEdgeAreCutOffWhenCommitted) {
  const int right = Level().WidthPixels() - 1;
  const int bottom = Level().m_nHeight - 1;
  const struct {
    const char* edge;
    Point topLeft;
    CanvasKey key;
    Point delta;
  } cases[] = {
      {"left", {0, 20}, CanvasKey::Left, {-2, 0}},
      {"right", {right - 3, 20}, CanvasKey::Right, {2, 0}},
      {"top", {20, 0}, CanvasKey::Up, {0, -2}},
      {"bottom", {20, bottom - 3}, CanvasKey::Down, {0, 2}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.edge);
    Level().Init();
    canvas.ChooseTool(ToolCursor::Select);
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 4; ++x) {
        Level().SetPixel(c.topLeft.x + x, c.topLeft.y + y, true);
      }
    }
    canvas.OnLButtonDown(ClientOf(c.topLeft));
    canvas.OnMouseMove(ClientOf(c.topLeft + Point{3, 3}));
    canvas.OnLButtonUp(ClientOf(c.topLeft + Point{3, 3}));
    ASSERT_TRUE(Selection().HasSelection());
    canvas.OnKey(c.key);
    canvas.OnKey(c.key);
    ASSERT_TRUE(Selection().Floating());
    EXPECT_EQ(Level().GetPixel(c.topLeft.x, c.topLeft.y), true)
        << "the level is untouched until the commit";
    EXPECT_TRUE(canvas.OnKey(CanvasKey::Enter));
    int count = 0;
    for (int y = 0; y < Level().m_nHeight; ++y) {
      for (int x = 0; x < Level().WidthPixels(); ++x) {
        if (!Level().GetPixel(x, y)) continue;
        ++count;
        const Point from = Point{x, y} - c.delta;
        EXPECT_TRUE(from.x >= c.topLeft.x && from.x < c.topLeft.x + 4 &&
                    from.y >= c.topLeft.y && from.y < c.topLeft.y + 4)
            << x << "," << y;
      }
    }
    EXPECT_EQ(count, 8) << "half the block stays inside";
    EXPECT_FALSE(Selection().Floating());
  }
}

// The overlay shows pixels without changing the level or the modified flag,
// and a full paint draws it over the level.
TEST_F(SelectionMoveTest, TheOverlayNeverTouchesTheLevel) {
  const auto before = Terrain();
  canvas.ShowOverlay({{{2, 2}, PLOT_SET}, {{3, 2}, PLOT_INVERT}, {{500, 2}}});
  EXPECT_EQ(canvas.Overlay().size(), 2u) << "pixels outside are left out";
  EXPECT_EQ(Terrain(), before);
  EXPECT_FALSE(pack.m_bModified);
  painter.Clear();
  canvas.OnPaint();
  ASSERT_GE(painter.cells.size(), 2u);
  EXPECT_EQ(painter.cells[painter.cells.size() - 2],
            (PaintedCell{{2, 2}, false}));
  EXPECT_EQ(painter.cells.back(), (PaintedCell{{3, 2}, false}));
  painter.Clear();
  canvas.ClearOverlay();
  EXPECT_EQ(painter.cells,
            (std::vector<PaintedCell>{{{2, 2}, true}, {{3, 2}, true}}));
}

}  // namespace
