// The overview's repaint after one pen plot (goal: at most 0.2 ms): the
// largest level (288 x 64, every terrain pixel set, 49 blocks, entrance and
// exit) shown in the Overview panel beside its canvas; each iteration flips
// one terrain pixel (outside the timed part) and times the panel bringing
// its picture up to the level and painting what changed.
#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include "BenchApp.h"
#include "PaintScenes.h"
#include "canvas/CanvasWidget.h"
#include "model/LevelPack.h"
#include "shell/OverviewPanel.h"

namespace {

void BM_OverviewAfterPenPlot(benchmark::State& state) {
  BenchApp();
  CLevelPack pack;
  pack.NewPack();
  CLevel& level = pack.Current();
  FillLargestLevel(level);
  auto* canvas = new CCanvasWidget(pack);
  canvas->resize(800, 300);
  canvas->show();
  auto* overview = new COverviewPanel(pack, *canvas, nullptr);
  overview->resize(620, 200);  // room for two pixels per level pixel
  overview->show();
  QCoreApplication::processEvents();
  overview->Sync();
  QCoreApplication::processEvents();
  int step = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const int x = (step * 37) % level.WidthPixels();
    const int y = (step * 11) % level.m_nHeight;
    level.SetPixel(x, y, !level.GetPixel(x, y));
    ++step;
    state.ResumeTiming();
    overview->Sync();
    QCoreApplication::processEvents();
  }
  state.counters["scale"] = overview->Picture().Scale();
  delete overview;
  delete canvas;
  pack.DeleteAllLevels();
}
BENCHMARK(BM_OverviewAfterPenPlot)->Unit(benchmark::kMicrosecond);

}  // namespace
