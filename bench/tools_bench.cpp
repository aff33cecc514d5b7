// The drawing tools in the canvas widget, headless, on the largest levels
// (288 x 64 and 96 x 192, W = 36 and 12 bytes wide), one mouse event each:
//  - a move of a line, rectangle and ellipse preview from one corner of the
//    level to the other (the preview is redrawn over the level);
//  - a small-pen move of the same length (the corner-to-corner diagonal),
//    the figure the others are stated against;
//  - a fill of an empty level and of a maze of one long winding corridor;
//  - a move of a selection of the whole level, floating, by one pixel.
// Goal for each: at most 1 ms. A full paint an event asks for (a large fill
// or float repaints the canvas at once) is counted in the event's time.
#include <benchmark/benchmark.h>

#include <QMouseEvent>
#include <cstring>

#include "BenchApp.h"
#include "canvas/CanvasWidget.h"
#include "canvas/SelectTool.h"
#include "model/LevelPack.h"

namespace {

// A pack whose level is `widthBytes` wide and as high as the 2304 bytes
// allow, in a canvas that shows all of it.
struct ToolScene {
  CLevelPack pack;
  CCanvasWidget* canvas = nullptr;

  explicit ToolScene(int widthBytes) {
    BenchApp();
    pack.NewPack();
    CLevel& level = pack.Current();
    level.m_nWidthBytes = widthBytes;
    level.m_nHeight = MAX_BITMAP_BYTES / widthBytes;
    std::memset(level.m_bitmap, 0, sizeof level.m_bitmap);
    canvas = new CCanvasWidget(pack);
    canvas->resize(32 * widthBytes + 100, 4 * level.m_nHeight + 100);
    canvas->show();
    QCoreApplication::processEvents();
    canvas->RefreshView();
  }
  ~ToolScene() {
    delete canvas;
    pack.DeleteAllLevels();
  }

  CLevel& Level() { return pack.Current(); }
  QPoint At(Point level) const {
    const Rect cell = canvas->Logic().View().CellClientRect(level);
    return {cell.left + 1, cell.top + 1};
  }
  Point Corner() { return {Level().WidthPixels() - 1, Level().m_nHeight - 1}; }
  void Send(QEvent::Type type, Point at, Qt::MouseButtons held) {
    const QPointF local(At(at));
    const Qt::MouseButton button =
        type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, local, canvas->mapToGlobal(local), button, held,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &event);
  }
  // A full paint the event asked for is part of its cost: it is done here
  // rather than left to Qt's next paint event.
  void Render() { benchmark::DoNotOptimize(canvas->Screen().constBits()); }
  void ClearTerrain() {
    std::memset(Level().m_bitmap, 0,
                static_cast<std::size_t>(Level().BitmapBytes()));
  }
};

int WidthOf(const benchmark::State& state) {
  return static_cast<int>(state.range(0));
}

// One move of a shape's preview across the level: the far corner moves by
// a pixel each time, so every event draws a new shape over the level.
void BM_ShapePreviewMove(benchmark::State& state, ToolCursor tool) {
  ToolScene scene(WidthOf(state));
  scene.canvas->Logic().ChooseTool(tool);
  scene.Send(QEvent::MouseButtonPress, {0, 0}, Qt::LeftButton);
  const Point far = scene.Corner();
  const Point near = far - Point{1, 1};
  bool flip = false;
  for (auto _ : state) {
    scene.Send(QEvent::MouseMove, flip ? near : far, Qt::LeftButton);
    scene.Render();
    flip = !flip;
  }
  scene.Send(QEvent::MouseButtonRelease, far, Qt::NoButton);
}
BENCHMARK_CAPTURE(BM_ShapePreviewMove, line, ToolCursor::Line)
    ->Arg(36)
    ->Arg(12)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ShapePreviewMove, rectangle, ToolCursor::Rectangle)
    ->Arg(36)
    ->Arg(12)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ShapePreviewMove, ellipse, ToolCursor::Ellipse)
    ->Arg(36)
    ->Arg(12)
    ->Unit(benchmark::kMicrosecond);

// The small pen along the same corner-to-corner line, one event.
void BM_SmallPenDiagonal(benchmark::State& state) {
  ToolScene scene(WidthOf(state));
  scene.canvas->Logic().OnSelectPen(ToolCursor::SmallBlack);
  for (auto _ : state) {
    state.PauseTiming();
    scene.ClearTerrain();
    scene.Send(QEvent::MouseButtonPress, {0, 0}, Qt::LeftButton);
    state.ResumeTiming();
    scene.Send(QEvent::MouseMove, scene.Corner(), Qt::LeftButton);
    scene.Render();
    state.PauseTiming();
    scene.Send(QEvent::MouseButtonRelease, scene.Corner(), Qt::NoButton);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_SmallPenDiagonal)->Arg(36)->Arg(12)->Unit(benchmark::kMicrosecond);

// A corridor one pixel wide winding through the whole level: walls on
// every other row, open at alternate ends.
void BuildMaze(CLevel& level) {
  std::memset(level.m_bitmap, 0, static_cast<std::size_t>(level.BitmapBytes()));
  const int w = level.WidthPixels();
  for (int y = 1; y < level.m_nHeight; y += 2) {
    const int gap = (y / 2) % 2 == 0 ? w - 1 : 0;
    for (int x = 0; x < w; ++x) {
      if (x != gap) level.SetPixel(x, y, true);
    }
  }
}

// One click of the fill: the whole empty level, or the whole corridor.
void BM_Fill(benchmark::State& state, bool maze) {
  ToolScene scene(WidthOf(state));
  scene.canvas->Logic().ChooseTool(ToolCursor::Fill);
  for (auto _ : state) {
    state.PauseTiming();
    if (maze) {
      BuildMaze(scene.Level());
    } else {
      scene.ClearTerrain();
    }
    state.ResumeTiming();
    scene.Send(QEvent::MouseButtonPress, {0, 0}, Qt::LeftButton);
    scene.Render();
    state.PauseTiming();
    scene.Send(QEvent::MouseButtonRelease, {0, 0}, Qt::NoButton);
    state.ResumeTiming();
  }
}
BENCHMARK_CAPTURE(BM_Fill, empty, false)
    ->Arg(36)
    ->Arg(12)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Fill, maze, true)
    ->Arg(36)
    ->Arg(12)
    ->Unit(benchmark::kMicrosecond);

// The whole level selected, lifted and dragged: one move of one pixel.
void BM_SelectionMove(benchmark::State& state) {
  ToolScene scene(WidthOf(state));
  BuildMaze(scene.Level());
  CCanvasLogic& logic = scene.canvas->Logic();
  logic.ChooseTool(ToolCursor::Select);
  logic.Selection().SelectAll();
  const Point from{10, 10};
  scene.Send(QEvent::MouseButtonPress, from, Qt::LeftButton);
  bool flip = false;
  for (auto _ : state) {
    scene.Send(QEvent::MouseMove, from + Point{flip ? 0 : 1, 0},
               Qt::LeftButton);
    scene.Render();
    flip = !flip;
  }
  scene.Send(QEvent::MouseButtonRelease, from, Qt::NoButton);
}
BENCHMARK(BM_SelectionMove)->Arg(36)->Arg(12)->Unit(benchmark::kMicrosecond);

}  // namespace
