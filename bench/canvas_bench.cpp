// The canvas logic alone: full paint of each shape of the largest bitmap
// (2304 bytes: 36 x 64 to 12 x 192 bytes x rows) into a plain pixel buffer,
// against clearing the same window area.
#include <benchmark/benchmark.h>

#include <QImage>
#include <cstring>

#include "canvas/CanvasLogic.h"
#include "model/LevelPack.h"

namespace {

// Level shapes of the largest bitmap (2304 bytes), by width in bytes.
int HeightFor(int widthBytes) { return MAX_BITMAP_BYTES / widthBytes; }

// A window that shows the whole level with the scrolling margins around it.
QImage WindowFor(int widthBytes) {
  QImage image(32 * widthBytes + 100, 4 * HeightFor(widthBytes) + 100,
               QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

void BM_LogicClearWindow(benchmark::State& state) {
  QImage image = WindowFor(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    image.fill(Qt::white);
    benchmark::DoNotOptimize(image.constBits());
  }
}

void BM_LogicFullPaint(benchmark::State& state) {
  const int widthBytes = static_cast<int>(state.range(0));
  CLevelPack pack;
  pack.NewPack();
  CLevel& level = pack.Current();
  level.m_nWidthBytes = widthBytes;
  level.m_nHeight = HeightFor(widthBytes);
  std::memset(level.m_bitmap, 0xFF, level.BitmapBytes());
  level.PlaceObject({0, 0}, OBJ_ENTRANCE);
  level.PlaceObject({16, 0}, OBJ_EXIT);
  for (int i = 0; i < MAX_BLOCKS; ++i) {
    level.PlaceObject({8 * (i % (widthBytes - 1)), 16 + i % 40}, OBJ_BLOCK);
  }

  QImage image = WindowFor(widthBytes);
  PixelBufferPainter painter(reinterpret_cast<std::uint32_t*>(image.bits()),
                             image.width(), image.height(),
                             static_cast<int>(image.bytesPerLine() / 4));
  CCanvasLogic canvas(pack, painter);
  canvas.OnSize(image.width(), image.height());
  for (auto _ : state) {
    canvas.OnPaint();
    benchmark::DoNotOptimize(image.constBits());
  }
}

BENCHMARK(BM_LogicClearWindow)->Arg(36)->Arg(24)->Arg(18)->Arg(12);
BENCHMARK(BM_LogicFullPaint)->Arg(36)->Arg(24)->Arg(18)->Arg(12);

}  // namespace
