#pragma once

// What the overview's picture must show of a level, pixel for pixel: used by
// the picture's own tests and by those of the panel in the frame.
#include <gtest/gtest.h>

#include "canvas/OverviewPicture.h"
#include "canvas/Sprites.h"

namespace overviewtest {

// The colour a level pixel must have: an object's ink where a sprite's pixel
// covers it (later slots over earlier ones), else terrain or paper.
inline std::uint32_t Expected(const LevelRecord& level,
                              const CanvasPalette& palette, Point p) {
  std::uint32_t colour =
      level.GetPixel(p.x, p.y) ? palette.terrain : palette.paper;
  for (int slot = 0; slot < level.SlotsInUse(); ++slot) {
    const LevelObject& o = level.m_objects[slot];
    if (o.kind == OBJ_NONE) continue;
    const int dx = p.x - 8 * o.col;
    const int dy = p.y - o.row;
    if (dx < 0 || dx >= 16 || dy < 0 || dy >= 16) continue;
    if (GetSprite(o.kind)[16 * (dx / 8) + dy] & (0x80u >> (dx % 8))) {
      colour = palette.Of(ObjectInk(o.kind));
    }
  }
  return colour;
}

inline void ExpectShows(const COverviewPicture& picture,
                        const LevelRecord& level,
                        const CanvasPalette& palette) {
  const int scale = picture.Scale();
  ASSERT_EQ(picture.Width(), level.WidthPixels() * scale);
  ASSERT_EQ(picture.Height(), level.m_nHeight * scale);
  int wrong = 0;
  for (int y = 0; y < picture.Height(); ++y) {
    for (int x = 0; x < picture.Width(); ++x) {
      const std::uint32_t want =
          Expected(level, palette, {x / scale, y / scale});
      if (picture.Pixels()[y * picture.Width() + x] != want && wrong++ < 5) {
        ADD_FAILURE() << "picture pixel (" << x << ", " << y << ")";
      }
    }
  }
  EXPECT_EQ(wrong, 0);
}

}  // namespace overviewtest
