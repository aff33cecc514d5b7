// Start-up: constructing the main frame (menu, six bars, canvas, cursors, a
// new pack) and painting its first frame, offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPixmap>

#include "BenchApp.h"
#include "shell/EditorFrame.h"
#include "uikit/Platform.h"

namespace {

// The frame is deleted outside the timed part, with the events its
// deletion posts.
void Discard(CEditorFrame* frame) {
  delete frame;
  QCoreApplication::processEvents();
}

void BM_StartupConstructFrame(benchmark::State& state) {
  BenchApp();
  QtPlatform platform;
  for (auto _ : state) {
    auto* frame = new CEditorFrame(platform);
    benchmark::DoNotOptimize(frame);
    state.PauseTiming();
    Discard(frame);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_StartupConstructFrame)->Unit(benchmark::kMillisecond);

// Construction, showing the window and rendering all of it (bars, canvas
// with the level, scroll bars, status bar) once, as its first paint does.
void BM_StartupFirstPaint(benchmark::State& state) {
  BenchApp();
  QtPlatform platform;
  for (auto _ : state) {
    auto* frame = new CEditorFrame(platform);
    frame->show();
    const QPixmap firstFrame = frame->grab();
    benchmark::DoNotOptimize(firstFrame.cacheKey());
    state.PauseTiming();
    Discard(frame);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_StartupFirstPaint)->Unit(benchmark::kMillisecond);

}  // namespace
