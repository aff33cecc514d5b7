#include <gtest/gtest.h>

#include <cstring>

#include "CanvasFixture.h"

namespace {

class PlacementTest : public CanvasTest {
 protected:
  // A terrain in which every byte differs, so that any stray inversion shows.
  void FillTerrain() {
    for (int i = 0; i < Level().BitmapBytes(); ++i) {
      Level().m_bitmap[i] = static_cast<std::uint8_t>(i * 29 + 7);
    }
  }
  // Clicks at a level point (through the client point of its cell).
  CanvasAction ClickAt(Point level) {
    return canvas.OnLButtonDown(ClientOf(level));
  }
};

TEST_F(PlacementTest, ClickSnapsToTheByteColumnAndRestoresThePen) {
  canvas.OnSelectPen(ToolCursor::LargeWhite);
  canvas.ChoosePlacementTool(OBJ_EXIT);
  ASSERT_EQ(canvas.CurrentCursor(), ToolCursor::Place);
  const std::vector<std::uint8_t> before = Terrain();

  const CanvasAction action = ClickAt({13, 20});

  EXPECT_EQ(Level().m_objects[EXIT_SLOT],
            (LevelObject{OBJ_EXIT, 1, 20}));  // pixels 8-23 by 20-35
  EXPECT_TRUE(action.cursorChanged);
  EXPECT_FALSE(action.captureMouse);
  EXPECT_EQ(canvas.CurrentCursor(), ToolCursor::LargeWhite);
  EXPECT_EQ(canvas.m_nPenColour, 1);
  EXPECT_EQ(canvas.m_nToolMode, OBJ_EXIT);
  EXPECT_EQ(Terrain(), before);  // painted, never written
  EXPECT_TRUE(pack.m_bModified);
  ASSERT_FALSE(painter.cells.empty());
  for (const PaintedCell& c : painter.cells) {
    EXPECT_FALSE(c.white);
    EXPECT_GE(c.level.x, 8);
    EXPECT_LE(c.level.x, 23);
    EXPECT_GE(c.level.y, 20);
    EXPECT_LE(c.level.y, 35);
  }
}

struct SnapCase {
  const char* name;
  Point client;  // relative to the outline's top-left line pixel
  bool placed;
  int col;
  int row;
};

class PlacementSnapTest : public PlacementTest,
                          public ::testing::WithParamInterface<SnapCase> {};

// The default level (12 x 64) fits an object at columns 0 to 10 and rows 0
// to 48. The outline's left line is at logical x 0, its top line at y 1.
TEST_P(PlacementSnapTest, PlacesWhereTheBoxFits) {
  const SnapCase& c = GetParam();
  const Rect outline = canvas.View().OutlineClientRect(Level());
  canvas.ChoosePlacementTool(OBJ_ENTRANCE);

  canvas.OnLButtonDown({outline.left + c.client.x, outline.top + c.client.y});

  if (c.placed) {
    EXPECT_EQ(Level().m_objects[ENTRANCE_SLOT],
              (LevelObject{OBJ_ENTRANCE, static_cast<std::uint8_t>(c.col),
                           static_cast<std::uint8_t>(c.row)}));
    EXPECT_EQ(canvas.CurrentCursor(), ToolCursor::SmallBlack);
  } else {
    EXPECT_EQ(Level().m_objects[ENTRANCE_SLOT].kind, OBJ_NONE);
    EXPECT_EQ(canvas.CurrentCursor(), ToolCursor::Place);
    EXPECT_EQ(canvas.m_ptLast.x, -1);
    EXPECT_TRUE(painter.cells.empty());
    EXPECT_FALSE(pack.m_bModified);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, PlacementSnapTest,
    ::testing::Values(
        SnapCase{"OnTheOutline", {0, 0}, true, 0, 0},
        // Up to 31 client pixels left of the outline: level x -7 to 0.
        SnapCase{"LeftOfTheOutline", {-31, 10}, true, 0, 2},
        SnapCase{"FarLeftOfTheOutline", {-32, 10}, false, 0, 0},
        SnapCase{"ThreeAboveTheOutline", {10, -3}, true, 0, 0},
        SnapCase{"FourAboveTheOutline", {10, -4}, false, 0, 0},
        SnapCase{"LastColumnThatFits", {4 * 87, 4 * 48}, true, 10, 48},
        SnapCase{"ReachesColumn96", {4 * 88, 0}, false, 0, 0},
        SnapCase{"ReachesRow64", {0, 4 * 49}, false, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlacementTest, PreviewInvertsTheSpriteAndRemovingItRestoresTerrain) {
  FillTerrain();
  const std::vector<std::uint8_t> before = Terrain();
  canvas.ChoosePlacementTool(OBJ_BLOCK);

  canvas.OnMouseMove(ClientOf({21, 30}));  // box at column 2, row 30

  EXPECT_TRUE(canvas.PreviewShown());
  EXPECT_EQ(canvas.m_ptLast, (Point{24, 38}));
  const Sprite& sprite = GetSprite(OBJ_BLOCK);
  for (int row = 0; row < 16; ++row) {
    for (int x = 0; x < 16; ++x) {
      const std::uint32_t byte = sprite[x / 8 * 16 + row];
      const bool inverted = (byte & (0x80u >> (x % 8))) != 0;
      const int px = 16 + x, py = 30 + row;
      const bool was = (before[py * 12 + px / 8] & (0x80 >> (px % 8))) != 0;
      EXPECT_EQ(Level().GetPixel(px, py), inverted ? !was : was)
          << px << "," << py;
    }
  }
  // Each inverted pixel is painted in its new colour.
  for (const PaintedCell& c : painter.cells) {
    EXPECT_EQ(c.white, !Level().GetPixel(c.level.x, c.level.y));
  }

  canvas.OnMouseMove(ClientOf({45, 10}));  // moves: the old one goes
  canvas.OnSelectPen(ToolCursor::SmallBlack);

  EXPECT_EQ(Terrain(), before);
  EXPECT_FALSE(canvas.PreviewShown());
  EXPECT_EQ(Level().m_nBlockCount, 0);
  // A preview is no edit: hovering leaves the pack unmodified.
  EXPECT_FALSE(pack.m_bModified);
}

TEST_F(PlacementTest, MovingWithinOneColumnAndRowKeepsThePreview) {
  canvas.ChoosePlacementTool(OBJ_ENTRANCE);
  canvas.OnMouseMove(ClientOf({17, 30}));
  const std::vector<std::uint8_t> shown = Terrain();
  painter.Clear();

  canvas.OnMouseMove(ClientOf({23, 30}));

  EXPECT_TRUE(painter.cells.empty());
  EXPECT_EQ(Terrain(), shown);
}

TEST_F(PlacementTest, PreviewThatDoesNotFitIsNotDrawn) {
  canvas.ChoosePlacementTool(OBJ_ENTRANCE);
  canvas.OnMouseMove(ClientOf({90, 10}));  // box would reach column 96
  EXPECT_FALSE(canvas.PreviewShown());
  EXPECT_TRUE(painter.cells.empty());
  EXPECT_EQ(canvas.m_ptLast, (Point{96, 18}));
}

// The move that reaches a place where the box cannot fit says why, once for
// that place; a move within it, or outside the level, says nothing.
TEST_F(PlacementTest, AMoveToWhereTheBoxCannotFitSaysWhyOnce) {
  canvas.ChoosePlacementTool(OBJ_BLOCK);
  EXPECT_TRUE(canvas.OnMouseMove(ClientOf({40, 40})).status.empty());
  EXPECT_EQ(canvas.OnMouseMove(ClientOf({40, 50})).status,
            "A metal block is 16 rows high: it does not fit here");
  EXPECT_TRUE(canvas.OnMouseMove(ClientOf({43, 50})).status.empty());
  EXPECT_EQ(canvas.OnMouseMove(ClientOf({90, 20})).status,
            "A metal block is 16 pixels wide: it does not fit here");
  EXPECT_TRUE(canvas.OnMouseMove(ClientOf({100, 20})).status.empty());
  EXPECT_FALSE(canvas.PreviewShown());
}

TEST_F(PlacementTest, TwoPlacementToolsInARowKeepThePreviousPen) {
  canvas.OnSelectPen(ToolCursor::LargeBlack);
  canvas.ChoosePlacementTool(OBJ_ENTRANCE);
  canvas.OnMouseMove(ClientOf({20, 20}));
  FillTerrain();  // (after the preview: restoring must not touch the rest)
  canvas.RemovePreview();
  const std::vector<std::uint8_t> before = Terrain();
  canvas.ChoosePlacementTool(OBJ_EXIT);
  EXPECT_EQ(canvas.m_curPrevious, ToolCursor::LargeBlack);

  ClickAt({40, 20});

  EXPECT_EQ(canvas.CurrentCursor(), ToolCursor::LargeBlack);
  EXPECT_EQ(Level().m_objects[EXIT_SLOT].kind, OBJ_EXIT);
  EXPECT_EQ(Level().m_objects[ENTRANCE_SLOT].kind, OBJ_NONE);
  EXPECT_EQ(Terrain(), before);
}

TEST_F(PlacementTest, PenChosenWhilePlacingRemovesThePreviewAndPlacesNothing) {
  FillTerrain();
  const std::vector<std::uint8_t> before = Terrain();
  canvas.ChoosePlacementTool(OBJ_EXIT);
  canvas.OnMouseMove(ClientOf({30, 30}));
  ASSERT_NE(Terrain(), before);

  const CanvasAction action = canvas.OnSelectPen(ToolCursor::SmallWhite);

  EXPECT_TRUE(action.cursorChanged);
  EXPECT_EQ(canvas.CurrentCursor(), ToolCursor::SmallWhite);
  EXPECT_EQ(Terrain(), before);
  EXPECT_EQ(Level().m_objects[EXIT_SLOT].kind, OBJ_NONE);
  // The next click draws with the pen.
  ClickAt({30, 30});
  EXPECT_TRUE(canvas.IsDrawing());
}

TEST_F(PlacementTest, PreviewDrawnWhileTheButtonIsHeldIsStillRemoved) {
  FillTerrain();
  const std::vector<std::uint8_t> before = Terrain();
  canvas.ChoosePlacementTool(OBJ_BLOCK);
  ClickAt({90, 10});                       // does not fit: nothing placed
  canvas.OnMouseMove(ClientOf({30, 30}));  // button still held: a preview
  canvas.OnLButtonUp(ClientOf({30, 30}));
  canvas.OnMouseMove(ClientOf({50, 20}));  // the old preview must go
  canvas.RemovePreview();
  EXPECT_EQ(Terrain(), before);
  EXPECT_EQ(Level().m_nBlockCount, 0);
}

TEST_F(PlacementTest, FullLevelRefusesABlockAndSaysWhy) {
  for (int i = 0; i < MAX_BLOCKS; ++i)
    Level().PlaceObject({0, i % 48}, OBJ_BLOCK);
  ASSERT_EQ(Level().m_nBlockCount, MAX_BLOCKS);
  const LevelObject last = Level().m_objects[FIRST_BLOCK_SLOT + MAX_BLOCKS - 1];
  FillTerrain();
  const std::vector<std::uint8_t> before = Terrain();
  canvas.ChoosePlacementTool(OBJ_BLOCK);
  canvas.OnMouseMove(ClientOf({40, 40}));
  painter.Clear();

  const CanvasAction action = ClickAt({40, 40});

  EXPECT_EQ(action.status, "A level holds at most 49 metal blocks.");
  EXPECT_EQ(Level().m_nBlockCount, MAX_BLOCKS);
  EXPECT_EQ(Level().m_objects[FIRST_BLOCK_SLOT + MAX_BLOCKS - 1], last);
  EXPECT_EQ(Level().m_objects[FIRST_BLOCK_SLOT + MAX_BLOCKS].kind, OBJ_NONE);
  EXPECT_EQ(Terrain(), before);
  EXPECT_FALSE(pack.m_bModified);
  // Only the preview was taken away: no black block painted.
  for (const PaintedCell& c : painter.cells) {
    EXPECT_EQ(c.white, !Level().GetPixel(c.level.x, c.level.y));
  }
  EXPECT_EQ(canvas.CurrentCursor(), ToolCursor::Place);

  // The entrance and the exit have slots of their own.
  canvas.ChoosePlacementTool(OBJ_EXIT);
  EXPECT_TRUE(ClickAt({40, 40}).status.empty());
  EXPECT_EQ(Level().m_objects[EXIT_SLOT].kind, OBJ_EXIT);
}

TEST_F(PlacementTest, SecondEntranceInvalidatesTheFirst) {
  canvas.ChoosePlacementTool(OBJ_ENTRANCE);
  ClickAt({8, 4});
  EXPECT_TRUE(painter.invalidated.empty());
  canvas.ChoosePlacementTool(OBJ_ENTRANCE);

  ClickAt({40, 30});

  // The first one, byte column 1, row 4: logical (32, 16), client (80, 64).
  ASSERT_EQ(painter.invalidated.size(), 1u);
  EXPECT_EQ(painter.invalidated[0], (Rect{80, 65, 144, 129}));
  EXPECT_EQ(Level().m_objects[ENTRANCE_SLOT],
            (LevelObject{OBJ_ENTRANCE, 5, 30}));
}

TEST_F(PlacementTest, InvalidatedRectangleIsClippedToTheCanvas) {
  Level().PlaceObject({0, 0}, OBJ_BLOCK);
  canvas.View().m_nOriginY = 40;  // row 0 lies under the bars
  ASSERT_TRUE(canvas.RemoveLastBlock());
  ASSERT_EQ(painter.invalidated.size(), 1u);
  EXPECT_EQ(painter.invalidated[0].top, canvas.View().m_rcCanvas.top);
  canvas.View().m_nOriginY = 200;  // entirely above the canvas
  Level().PlaceObject({0, 0}, OBJ_BLOCK);
  canvas.RemoveLastBlock();
  EXPECT_EQ(painter.invalidated.size(), 1u);
}

TEST_F(PlacementTest, RemoveLastBlock) {
  EXPECT_FALSE(canvas.RemoveLastBlock());
  EXPECT_TRUE(painter.invalidated.empty());
  EXPECT_FALSE(pack.m_bModified);

  FillTerrain();
  const std::vector<std::uint8_t> before = Terrain();
  Level().PlaceObject({0, 0}, OBJ_BLOCK);
  Level().PlaceObject({16, 8}, OBJ_BLOCK);

  EXPECT_TRUE(canvas.RemoveLastBlock());

  EXPECT_EQ(Level().m_nBlockCount, 1);
  EXPECT_EQ(Level().m_objects[FIRST_BLOCK_SLOT],
            (LevelObject{OBJ_BLOCK, 0, 0}));
  ASSERT_EQ(painter.invalidated.size(), 1u);
  const Point corner = canvas.LevelToClient({16, 8});
  EXPECT_EQ(painter.invalidated[0],
            (Rect{corner.x, corner.y + 1, corner.x + 64, corner.y + 65}));
  EXPECT_EQ(Terrain(), before);
  // The removal changes what a save writes.
  EXPECT_TRUE(pack.m_bModified);
}

struct NearCase {
  Point p;
  bool redrawn;
};

// A block at byte column 3, row 20: the zone is columns 2 to 5 (pixels 16
// to 47) and rows 4 to 43.
TEST_F(PlacementTest, RedrawObjectsNearCoversTheZoneAroundEachObject) {
  Level().PlaceObject({24, 20}, OBJ_BLOCK);
  for (const NearCase c : {NearCase{{16, 4}, true},
                           {{47, 43}, true},
                           {{15, 20}, false},
                           {{48, 20}, false},
                           {{30, 3}, false},
                           {{30, 44}, false}}) {
    painter.Clear();
    canvas.RedrawObjectsNear(c.p);
    EXPECT_EQ(!painter.cells.empty(), c.redrawn) << c.p.x << "," << c.p.y;
  }
}

}  // namespace
