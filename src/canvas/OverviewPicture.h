#pragma once

#include <cstdint>
#include <vector>

#include "canvas/CanvasPainter.h"
#include "model/Geometry.h"
#include "model/Level.h"

// The whole level as a small picture: `Scale()` x `Scale()` picture pixels
// for each level pixel, the terrain with the objects' sprites over it, in a
// palette's paper, terrain and object inks. It keeps the level it last
// showed, so an update redraws only the pixels whose terrain or objects
// changed: one pen plot redraws one byte's eight pixels.
class COverviewPicture {
 public:
  // Brings the picture up to `level` and returns the level pixels redrawn
  // (empty when nothing changed). A new size redraws everything.
  Rect Update(const LevelRecord& level);

  // The palette and the scale (1 or more); a change redraws everything at
  // the next update.
  void SetPalette(const CanvasPalette& palette);
  void SetScale(int scale);
  int Scale() const { return m_nScale; }

  // The picture, row by row, Width() x Height() pixels as 0xAARRGGBB.
  const std::uint32_t* Pixels() const { return m_pixels.data(); }
  int Width() const { return m_nWidth; }
  int Height() const { return m_nHeight; }
  // The colour the picture shows for level pixel p: what an update drew.
  std::uint32_t At(Point p) const {
    return m_pixels[static_cast<std::size_t>(p.y * m_nScale * m_nWidth +
                                             p.x * m_nScale)];
  }

 private:
  void Draw(const Rect& area);

  LevelRecord m_shown;
  bool m_bValid = false;  // m_shown and m_pixels agree
  CanvasPalette m_palette = CanvasPalette::Classic();
  int m_nScale = 1;
  int m_nWidth = 0;
  int m_nHeight = 0;
  std::vector<std::uint32_t> m_pixels;
};

// The calculator's screen, in level pixels.
inline constexpr int kCalculatorScreenWidth = 96;
inline constexpr int kCalculatorScreenHeight = 64;

// The level pixels the calculator's screen shows when centred on `pointer`,
// moved inside the level (a level narrower or lower than the screen keeps
// the rectangle at its left or top edge).
Rect CalculatorScreenAt(const LevelRecord& level, Point pointer);
