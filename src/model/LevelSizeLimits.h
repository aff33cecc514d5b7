#pragma once

#include <string>

#include "model/Level.h"

// Why one step of the resize arrows leaves the level as it is: `columns` is
// -1 for a byte column less, +1 for one more; `rows` the same for a row.
// "The level cannot be wider: 104 x 192 would need 2496 bytes of bitmap; a
// level holds at most 2304."
inline std::string ResizeLimitText(const LevelRecord& level, int columns,
                                   int rows) {
  if (columns < 0) {
    return "The level is as narrow as a level can be: " +
           std::to_string(8 * MIN_WIDTH_BYTES) + " pixels.";
  }
  if (rows < 0) {
    return "The level is as low as a level can be: " +
           std::to_string(MIN_HEIGHT) + " rows.";
  }
  const int widthBytes = level.m_nWidthBytes + (columns > 0);
  const int height = level.m_nHeight + (rows > 0);
  return std::string("The level cannot be ") +
         (columns > 0 ? "wider: " : "taller: ") +
         std::to_string(8 * widthBytes) + " x " + std::to_string(height) +
         " would need " + std::to_string(widthBytes * height) +
         " bytes of bitmap; a level holds at most " +
         std::to_string(MAX_BITMAP_BYTES) + ".";
}
