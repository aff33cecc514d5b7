#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "canvas/CanvasLogic.h"
#include "model/LevelPack.h"

// One painted cell as the logic asked for it.
struct PaintedCell {
  Point level;
  bool white = false;
  friend bool operator==(const PaintedCell&, const PaintedCell&) = default;
};

inline void PrintTo(const PaintedCell& c, std::ostream* os) {
  *os << "(" << c.level.x << "," << c.level.y
      << (c.white ? " white)" : " black)");
}

inline void PrintTo(const Point& p, std::ostream* os) {
  *os << "(" << p.x << "," << p.y << ")";
}

// Records every call; black runs reach PaintCell one cell at a time through
// the default PaintBlackRun, so `cells` lists each painted cell.
class RecordingPainter : public ICanvasPainter {
 public:
  void PaintBackground(const Rect& outline, Point) override {
    ++backgrounds;
    lastOutline = outline;
  }
  void PaintCell(Point level, const Rect& cell, bool white) override {
    cells.push_back({level, white});
    rects.push_back(cell);
  }
  void Invalidate(const Rect& client) override {
    invalidated.push_back(client);
  }

  void Clear() {
    cells.clear();
    rects.clear();
    invalidated.clear();
  }

  int backgrounds = 0;
  Rect lastOutline;
  std::vector<PaintedCell> cells;
  std::vector<Rect> rects;
  std::vector<Rect> invalidated;
};

// A pack with one default level (12 x 64), a canvas 784 x 400 with no bars
// and the usual 2-pixel gap, scrolled so that level pixel (0, 0) has its
// logical block at client (48, 48).
class CanvasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pack.NewPack());
    pack.m_bModified = false;
    // Narrow enough that the horizontal origin is not centred.
    canvas.OnSize(300, 200, 0, 2);
    canvas.View().m_nOriginX = -48;
    canvas.View().m_nOriginY = -48;
  }

  CLevel& Level() { return pack.Current(); }

  // The client point at the centre of a level pixel's cell.
  Point ClientOf(Point level) const {
    const Rect cell = canvas.View().CellClientRect(level);
    return {cell.left + 1, cell.top + 1};
  }

  std::vector<std::uint8_t> Terrain() {
    return {Level().m_bitmap, Level().m_bitmap + Level().BitmapBytes()};
  }

  CLevelPack pack;
  RecordingPainter painter;
  CCanvasLogic canvas{pack, painter};
};
