// The canvas widget's painting speed, headless:
//  - a full paint of the largest level (288 x 64, every terrain pixel set,
//    49 blocks, entrance and exit) into the widget's backing image, beside
//    clearing an image of the same size (goal: at most 5 times as long);
//  - one mouse move of the large and of the small black pen across the
//    whole width of a 288-pixel level (goal: at most 1 ms).
// Each also in clear colours (the objects in inks of their own, the grid
// light, lines between cells of one ink in that ink).
#include <benchmark/benchmark.h>

#include <QImage>
#include <QMouseEvent>
#include <cstring>

#include "BenchApp.h"
#include "PaintScenes.h"
#include "canvas/CanvasWidget.h"
#include "model/LevelPack.h"

namespace {

// A pack whose level is 36 bytes wide and 64 rows high, shown in a canvas
// large enough to hold all of it (1200 x 300 pixels).
struct Scene {
  CLevelPack pack;
  CCanvasWidget* canvas = nullptr;

  explicit Scene(bool fill, bool classic = true) {
    BenchApp();
    pack.NewPack();
    CLevel& level = pack.Current();
    while (level.m_nWidthBytes < MAX_WIDTH_BYTES) level.AddColumn();
    if (fill) FillLargestLevel(level);
    canvas = new CCanvasWidget(pack);
    canvas->resize(1200, 300);
    canvas->show();
    QCoreApplication::processEvents();
    canvas->SetClassicColours(classic);
    canvas->RefreshView();
  }
  ~Scene() {
    delete canvas;
    pack.DeleteAllLevels();
  }
};

void SendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton b,
               Qt::MouseButtons held) {
  QMouseEvent event(type, QPointF(at), w->mapToGlobal(QPointF(at)), b, held,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(w, &event);
}

void BM_FullPaintLargestLevel(benchmark::State& state) {
  Scene scene(true);
  for (auto _ : state) {
    scene.canvas->RefreshView();
    benchmark::DoNotOptimize(scene.canvas->Screen().constBits());
  }
}
BENCHMARK(BM_FullPaintLargestLevel)->Unit(benchmark::kMicrosecond);

void BM_FullPaintLargestLevelClear(benchmark::State& state) {
  Scene scene(true, false);
  for (auto _ : state) {
    scene.canvas->RefreshView();
    benchmark::DoNotOptimize(scene.canvas->Screen().constBits());
  }
}
BENCHMARK(BM_FullPaintLargestLevelClear)->Unit(benchmark::kMicrosecond);

void BM_ClearSameArea(benchmark::State& state) {
  BenchApp();
  ClearImageLoop(state, 1200, 300);
}
BENCHMARK(BM_ClearSameArea)->Unit(benchmark::kMicrosecond);

// One mouse move event from the left edge of a 288-pixel level to its right
// edge with the button held: the pen plots its footprint along all 288
// pixels of the line and paints every changed cell at once. The level is
// cleared again between iterations, outside the timed part.
void BM_PenMoveAcrossWidth(benchmark::State& state, ToolCursor pen,
                           bool classic) {
  Scene scene(false, classic);
  CCanvasWidget* canvas = scene.canvas;
  canvas->Logic().OnSelectPen(pen);
  CLevel& level = scene.pack.Current();
  const CanvasView& view = canvas->Logic().View();
  const Rect left = view.CellClientRect({0, 32});
  const Rect right = view.CellClientRect({287, 32});
  const QPoint from(left.left + 1, left.top + 1);
  const QPoint to(right.left + 1, right.top + 1);
  for (auto _ : state) {
    state.PauseTiming();
    std::memset(level.m_bitmap, 0,
                static_cast<std::size_t>(level.BitmapBytes()));
    SendMouse(canvas, QEvent::MouseButtonPress, from, Qt::LeftButton,
              Qt::LeftButton);
    state.ResumeTiming();
    SendMouse(canvas, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    benchmark::DoNotOptimize(canvas->Screen().constBits());
    state.PauseTiming();
    SendMouse(canvas, QEvent::MouseButtonRelease, to, Qt::LeftButton,
              Qt::NoButton);
    state.ResumeTiming();
  }
}
BENCHMARK_CAPTURE(BM_PenMoveAcrossWidth, large, ToolCursor::LargeBlack, true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PenMoveAcrossWidth, small, ToolCursor::SmallBlack, true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PenMoveAcrossWidth, large_clear, ToolCursor::LargeBlack,
                  false)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PenMoveAcrossWidth, small_clear, ToolCursor::SmallBlack,
                  false)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
