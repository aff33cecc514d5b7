#pragma once

#include "model/Level.h"

// A level record of the given size (bitmap bytes wide, rows high) and
// nothing else: what the view's geometry reads.
inline LevelRecord LevelOfSize(int widthBytes, int height) {
  LevelRecord level;
  level.m_nWidthBytes = widthBytes;
  level.m_nHeight = height;
  return level;
}
