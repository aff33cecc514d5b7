#pragma once

#include <benchmark/benchmark.h>

#include <QImage>

#include "model/Level.h"

// What the painting benchmarks share: the largest level with every terrain
// pixel set, an entrance, an exit and 49 blocks; and a plain white fill of
// an image, the floor any full paint stands on.
inline void FillLargestLevel(CLevel& level) {
  while (level.m_nWidthBytes < MAX_WIDTH_BYTES) level.AddColumn();
  for (int i = 0; i < level.BitmapBytes(); ++i) level.m_bitmap[i] = 0xFF;
  level.PlaceObject({0, 0}, OBJ_ENTRANCE);
  level.PlaceObject({272, 48}, OBJ_EXIT);
  for (int i = 0; i < MAX_BLOCKS; ++i) {
    level.PlaceObject({8 * (i % 34), 16 * (i / 34)}, OBJ_BLOCK);
  }
}

inline void ClearImageLoop(benchmark::State& state, int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::white);
    benchmark::DoNotOptimize(image.constBits());
  }
}
