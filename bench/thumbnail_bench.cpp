// A thumbnail of the largest level (2304 bytes of bitmap, each shape) for
// the level order dialog: terrain everywhere in a noisy pattern and every
// object slot in use, so no byte is skipped as empty.
#include <benchmark/benchmark.h>

#include "imageio/TerrainImage.h"

namespace {

void BM_ThumbnailLargestLevel(benchmark::State& state) {
  LevelRecord level;
  level.m_nWidthBytes = static_cast<int>(state.range(0));
  level.m_nHeight = MAX_BITMAP_BYTES / level.m_nWidthBytes;
  for (int i = 0; i < level.BitmapBytes(); ++i) {
    level.m_bitmap[i] = static_cast<std::uint8_t>(i * 73 % 251 | 1);
  }
  for (int slot = 0; slot < OBJECT_SLOTS - 1; ++slot) {
    level.PlaceObject({8 * (slot % (level.m_nWidthBytes - 1)), slot % 48},
                      slot == 0   ? OBJ_ENTRANCE
                      : slot == 1 ? OBJ_EXIT
                                  : OBJ_BLOCK);
  }
  for (auto _ : state) {
    const QImage thumb = LevelThumbnail(level, 72, 48);
    benchmark::DoNotOptimize(thumb.constBits());
  }
}

BENCHMARK(BM_ThumbnailLargestLevel)->Arg(36)->Arg(24)->Arg(12);

}  // namespace
