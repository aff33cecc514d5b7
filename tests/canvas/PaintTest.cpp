#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "CanvasFixture.h"
#include "canvas/Sprites.h"

namespace {

std::vector<PaintedCell> Sorted(std::vector<PaintedCell> cells) {
  std::sort(cells.begin(), cells.end(), [](const auto& a, const auto& b) {
    return std::tie(a.level.y, a.level.x, a.white) <
           std::tie(b.level.y, b.level.x, b.white);
  });
  return cells;
}

// The black cells a sprite at byte column col, row row paints.
void AddSpriteCells(std::vector<PaintedCell>& cells, int kind, int col,
                    int row) {
  const Sprite& sprite = GetSprite(kind);
  for (int i = 0; i < 32; ++i) {
    for (int j = 0; j < 8; ++j) {
      if (sprite[i] & (0x80u >> j)) {
        cells.push_back({{8 * col + 8 * (i / 16) + j, row + i % 16}, false});
      }
    }
  }
}

using FullPaintTest = CanvasTest;

TEST_F(FullPaintTest, PaintsEachSetPixelAndEachObjectBlackOverTheBackground) {
  canvas.OnSize(800, 600);  // the whole level shows
  Level().SetPixel(0, 0, true);
  Level().SetPixel(7, 0, true);
  Level().SetPixel(8, 0, true);  // a run across a byte boundary
  Level().SetPixel(95, 63, true);
  Level().SetPixel(20, 12, true);  // under the entrance's clear pixels
  Level().PlaceObject({16, 10}, OBJ_ENTRANCE);
  Level().PlaceObject({40, 30}, OBJ_BLOCK);
  Level().PlaceObject({64, 40}, OBJ_EXIT);

  canvas.OnPaint();

  EXPECT_EQ(painter.backgrounds, 1);
  EXPECT_EQ(painter.lastOutline, canvas.View().OutlineClientRect(Level()));
  std::vector<PaintedCell> expected = {{{0, 0}, false},
                                       {{7, 0}, false},
                                       {{8, 0}, false},
                                       {{95, 63}, false},
                                       {{20, 12}, false}};
  AddSpriteCells(expected, OBJ_ENTRANCE, 2, 10);
  AddSpriteCells(expected, OBJ_BLOCK, 5, 30);
  AddSpriteCells(expected, OBJ_EXIT, 8, 40);
  EXPECT_EQ(Sorted(painter.cells), Sorted(expected));
  for (std::size_t i = 0; i < painter.cells.size(); ++i) {
    EXPECT_EQ(painter.rects[i],
              canvas.View().CellClientRect(painter.cells[i].level));
  }
}

TEST_F(FullPaintTest, SkipsCellsAboveTheCanvasTop) {
  std::memset(Level().m_bitmap, 0xFF, Level().BitmapBytes());
  canvas.View().m_nOriginY = 40;  // row 10 is the first below the bars

  canvas.OnPaint();

  ASSERT_FALSE(painter.cells.empty());
  int top = 1000;
  for (const PaintedCell& c : painter.cells) top = std::min(top, c.level.y);
  EXPECT_EQ(top, 10);

  // Direct painting follows the same rule: the pixel changes, its cell
  // is not painted.
  painter.Clear();
  canvas.PlotPixel({3, 9}, PLOT_CLEAR, true);
  EXPECT_FALSE(Level().GetPixel(3, 9));
  EXPECT_TRUE(painter.cells.empty());
  canvas.PlotPixel({3, 10}, PLOT_CLEAR, true);
  EXPECT_EQ(painter.cells.size(), 1u);
}

TEST_F(FullPaintTest, ObjectOnAHighRowIsDrawnAtItsRows) {
  Level().m_nHeight = 180;
  std::memset(Level().m_bitmap, 0, Level().BitmapBytes());
  Level().PlaceObject({0, 150}, OBJ_EXIT);
  canvas.OnSize(800, 800);

  canvas.OnPaint();

  std::vector<PaintedCell> expected;
  AddSpriteCells(expected, OBJ_EXIT, 0, 150);
  EXPECT_EQ(Sorted(painter.cells), Sorted(expected));
  EXPECT_EQ(expected.front().level.y, 152);  // the exit's rows 0-1 are clear
  EXPECT_EQ(expected.back().level.y, 165);
}

// Renders into a pixel buffer, as the canvas widget does with its image.
class ScreenTest : public ::testing::TestWithParam<std::tuple<int, int, int>> {
 protected:
  CLevelPack pack;
};

TEST_P(ScreenTest, CellsSitInsideTheGridSquares) {
  const auto [bar, gap, scrollSteps] = GetParam();
  ASSERT_TRUE(pack.NewPack());
  CLevel& level = pack.Current();
  for (int i = 0; i < level.BitmapBytes(); ++i) {
    level.m_bitmap[i] = static_cast<std::uint8_t>(i * 37 + 0x5A);
  }
  const int width = 260, height = 190;
  std::vector<std::uint32_t> pixels(width * height, 0x12345678u);
  PixelBufferPainter screen(pixels.data(), width, height, width);
  CCanvasLogic canvas(pack, screen);
  canvas.OnSize(width, height, bar, gap);
  for (int i = 0; i < scrollSteps; ++i) {
    canvas.OnHScroll(SB_LINERIGHT, 0);
    canvas.OnVScroll(SB_LINEDOWN, 0);
  }

  canvas.OnPaint();

  const CanvasView& view = canvas.View();
  const Rect outline = view.OutlineClientRect(level);
  int checked = 0;
  for (int y = 0; y < level.m_nHeight; ++y) {
    if (!view.RowBelowBars(y)) continue;
    for (int x = 0; x < level.WidthPixels(); ++x) {
      const Rect cell = view.CellClientRect({x, y});
      if (cell.left < 1 || cell.top < 1 || cell.right > width ||
          cell.bottom > height) {
        continue;
      }
      const std::uint32_t colour = level.GetPixel(x, y)
                                       ? PixelBufferPainter::kBlack
                                       : PixelBufferPainter::kWhite;
      for (int cy = cell.top; cy < cell.bottom; ++cy) {
        for (int cx = cell.left; cx < cell.right; ++cx) {
          ASSERT_EQ(screen.Pixel(cx, cy), colour) << x << "," << y;
        }
      }
      // The grid lines to the left and above are black.
      for (int k = -1; k < 3; ++k) {
        ASSERT_EQ(screen.Pixel(cell.left - 1, cell.top + k),
                  PixelBufferPainter::kBlack)
            << x << "," << y;
        ASSERT_EQ(screen.Pixel(cell.left + k, cell.top - 1),
                  PixelBufferPainter::kBlack)
            << x << "," << y;
      }
      ++checked;
    }
  }
  EXPECT_GT(checked, 1000);
  // Outside the outline the screen is erased to white; the outline is black.
  if (outline.left > 0) {
    EXPECT_EQ(screen.Pixel(outline.left - 1, height - 1),
              PixelBufferPainter::kWhite);
    EXPECT_EQ(screen.Pixel(outline.left, height - 1),
              PixelBufferPainter::kBlack);
  }
  if (outline.top > 0) {
    EXPECT_EQ(screen.Pixel(width - 1, outline.top - 1),
              PixelBufferPainter::kWhite);
  }
}

INSTANTIATE_TEST_SUITE_P(BarsGapsAndScrolls, ScreenTest,
                         ::testing::Combine(::testing::Values(0, 3, 30),
                                            ::testing::Values(0, 2),
                                            ::testing::Values(0, 13)));

// A run of set pixels fills one rectangle: the grid lines between black
// cells are black too. One call per row keeps a full paint cheap.
TEST(BatchingTest, AFullRowOfTerrainIsOneRun) {
  struct RunCounter : RecordingPainter {
    void PaintBlackRun(Point first, const Rect& span, int count) override {
      ++runs;
      EXPECT_EQ(span.Width(), 4 * count - 1);
      EXPECT_EQ(span.Height(), 3);
      ICanvasPainter::PaintBlackRun(first, span, count);
    }
    int runs = 0;
  } painter;
  CLevelPack pack;
  ASSERT_TRUE(pack.NewPack());
  std::memset(pack.Current().m_bitmap, 0xFF, pack.Current().BitmapBytes());
  CCanvasLogic canvas(pack, painter);
  canvas.OnSize(800, 600);
  canvas.OnPaint();
  EXPECT_EQ(painter.runs, 64);
  EXPECT_EQ(painter.cells.size(), 96u * 64u);
}

}  // namespace
