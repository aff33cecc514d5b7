// The canvas at high zoom, headless, in a 1920 x 1080 canvas:
//  - a full paint of the largest level (288 x 64, every terrain pixel set,
//    49 blocks, entrance and exit) at 16 times, beside clearing an image of
//    the same size (goal: at most 3 times as long);
//  - one scroll-bar line at 16 times, to the backing image painted again
//    (goal: at most 1 ms);
//  - one zoom step (8 to 12 times and back, around the canvas's centre) to
//    the next painted frame (goal: at most 5 ms).
#include <benchmark/benchmark.h>

#include <QScrollBar>

#include "BenchApp.h"
#include "PaintScenes.h"
#include "canvas/CanvasWidget.h"
#include "model/LevelPack.h"

namespace {

struct ZoomScene {
  CLevelPack pack;
  CCanvasWidget* canvas = nullptr;
  QScrollBar* horizontal = nullptr;
  QScrollBar* vertical = nullptr;

  explicit ZoomScene(int zoom, bool classic = true) {
    BenchApp();
    pack.NewPack();
    FillLargestLevel(pack.Current());
    canvas = new CCanvasWidget(pack);
    horizontal = new QScrollBar(Qt::Horizontal);
    vertical = new QScrollBar(Qt::Vertical);
    canvas->SetScrollBars(horizontal, vertical);
    canvas->resize(1920, 1080);
    canvas->show();
    QCoreApplication::processEvents();
    canvas->SetZoom(zoom, true);
    canvas->SetClassicColours(classic);
    canvas->Screen();
  }
  ~ZoomScene() {
    delete canvas;
    delete horizontal;
    delete vertical;
    pack.DeleteAllLevels();
  }
};

void BM_FullPaintLargestLevel16x(benchmark::State& state) {
  ZoomScene scene(16);
  for (auto _ : state) {
    scene.canvas->RefreshView();
    benchmark::DoNotOptimize(scene.canvas->Screen().constBits());
  }
}
BENCHMARK(BM_FullPaintLargestLevel16x)->Unit(benchmark::kMicrosecond);

void BM_FullPaintLargestLevel16xClear(benchmark::State& state) {
  ZoomScene scene(16, false);
  for (auto _ : state) {
    scene.canvas->RefreshView();
    benchmark::DoNotOptimize(scene.canvas->Screen().constBits());
  }
}
BENCHMARK(BM_FullPaintLargestLevel16xClear)->Unit(benchmark::kMicrosecond);

void BM_ClearCanvas1920x1080(benchmark::State& state) {
  BenchApp();
  ClearImageLoop(state, 1920, 1080);
}
BENCHMARK(BM_ClearCanvas1920x1080)->Unit(benchmark::kMicrosecond);

// One line (one level pixel, 16 screen pixels) right, then back, each to
// the painted backing image; on both axes in turn.
void BM_ScrollOneLine16x(benchmark::State& state) {
  ZoomScene scene(16);
  int step = 0;
  for (auto _ : state) {
    QScrollBar* bar = (step / 2) % 2 == 0 ? scene.horizontal : scene.vertical;
    bar->triggerAction(step % 2 == 0 ? QAbstractSlider::SliderSingleStepAdd
                                     : QAbstractSlider::SliderSingleStepSub);
    benchmark::DoNotOptimize(scene.canvas->Screen().constBits());
    ++step;
  }
}
BENCHMARK(BM_ScrollOneLine16x)->Unit(benchmark::kMicrosecond);

void BM_ZoomStep(benchmark::State& state) {
  ZoomScene scene(8);
  int step = 0;
  for (auto _ : state) {
    scene.canvas->StepZoom(step++ % 2 == 0 ? 1 : -1);
    benchmark::DoNotOptimize(scene.canvas->Screen().constBits());
  }
}
BENCHMARK(BM_ZoomStep)->Unit(benchmark::kMicrosecond);

}  // namespace
