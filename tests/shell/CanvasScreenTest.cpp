// The canvas shows the level after every change: whatever the tools and
// commands paint directly is what a full paint from the level draws, in
// both colour schemes and at several zooms.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <cstring>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "FrameDriver.h"
#include "ShownFrameFixture.h"
#include "canvas/CanvasWidget.h"
#include "shell/CommandIds.h"
#include "shell/EditorFrame.h"

namespace {

struct ScreenCase {
  const char* name;
  std::function<void(FrameDriver&)> act;
};
void PrintTo(const ScreenCase& c, std::ostream* os) { *os << c.name; }

// A solid block of terrain, drawn with the filled rectangle and the black
// pen, so that neighbouring black cells meet across and down.
void SolidTerrain(FrameDriver& drive) {
  drive.Frame().OnCommand(IDT_TOOL_FILLED_RECTANGLE);
  drive.Drag({4, 4}, {20, 14});
  drive.Frame().OnCommand(IDT_PEN_SMALL_BLACK);
}

void Select(FrameDriver& drive, Point from, Point to) {
  drive.Frame().OnCommand(IDT_TOOL_SELECT);
  drive.Drag(from, to);
}

const ScreenCase kCases[] = {
    {"DeleteASelection",
     [](FrameDriver& d) {
       Select(d, {6, 6}, {15, 11});
       d.Frame().OnCommand(IDM_EDIT_DELETE);
     }},
    {"CutASelection",
     [](FrameDriver& d) {
       Select(d, {2, 2}, {12, 9});
       d.Frame().OnCommand(IDM_EDIT_CUT);
     }},
    {"MoveASelectionAndPutItDown",
     [](FrameDriver& d) {
       Select(d, {6, 6}, {12, 9});
       d.Drag({8, 7}, {14, 12});
       d.Frame().OnCommand(IDK_CANCEL);
     }},
    {"UndoAndRedoAShape",
     [](FrameDriver& d) {
       d.Frame().OnCommand(IDT_TOOL_FILLED_ELLIPSE);
       d.Drag({8, 2}, {26, 18});
       d.Frame().OnCommand(IDM_EDIT_UNDO);
       d.Frame().OnCommand(IDM_EDIT_REDO);
     }},
    {"DragAShapeOverTerrain",
     [](FrameDriver& d) {
       d.Frame().OnCommand(IDT_TOOL_FILLED_RECTANGLE);
       d.Press({10, 8});
       d.Move({24, 18}, true);
       d.Move({16, 12}, true);  // the shape shrinks back over the terrain
     }},
    {"RubOutWithThePens",
     [](FrameDriver& d) {
       d.Frame().OnCommand(IDT_PEN_LARGE_WHITE);
       d.Drag({6, 6}, {18, 12});
       d.Frame().OnCommand(IDT_PEN_SMALL_WHITE);
       d.Drag({4, 4}, {20, 4});
     }},
    {"DrawBesideAndThroughTerrain",
     [](FrameDriver& d) {
       d.Drag({4, 15}, {20, 15});  // just below the block: lines join
       d.Frame().OnCommand(IDT_PEN_LARGE_BLACK);
       d.Drag({22, 8}, {26, 12});
       d.Frame().OnCommand(IDT_TOOL_LINE);
       d.Drag({2, 3}, {24, 3});
     }},
    {"FillWhite",
     [](FrameDriver& d) {
       d.Frame().OnCommand(IDT_PEN_SMALL_WHITE);
       d.Frame().OnCommand(IDT_TOOL_FILL);
       d.Press({10, 10});
       d.Release({10, 10});
     }},
    {"PlaceObjectsOverTerrainAndTakeOneAway",
     [](FrameDriver& d) {
       d.Place(IDT_PLACE_BLOCK, {12, 10});
       d.Place(IDT_PLACE_BLOCK, {28, 10});
       d.Frame().OnCommand(IDT_REMOVE_BLOCK);
       d.Frame().OnCommand(IDT_PEN_SMALL_WHITE);
       d.Drag({4, 10}, {30, 10});  // through the block that stays
     }},
    {"MoveThePlacementPreviewOverTerrain",
     [](FrameDriver& d) {
       d.Frame().OnCommand(IDT_PLACE_ENTRANCE);
       d.Move({12, 10}, false);
       d.Move({15, 12}, false);
       d.Move({30, 20}, false);
     }},
};

class CanvasScreenTest
    : public ShownFrameFixture<CEditorFrame>,
      public ::testing::WithParamInterface<std::tuple<ScreenCase, bool, int>> {
};

TEST_P(CanvasScreenTest, ShowsWhatAFullPaintDraws) {
  const auto& [test, classic, zoom] = GetParam();
  FrameDriver drive(*frame, platform);
  frame->SetClassicColours(classic);
  frame->Canvas().SetZoom(zoom, true);
  frame->Canvas().ScrollToLevelPoint({16, 10});
  SolidTerrain(drive);
  ASSERT_TRUE(frame->Canvas().Screen() == frame->Canvas().PaintedAfresh());
  test.act(drive);
  const QImage shown = frame->Canvas().Screen().copy();
  const QImage fresh = frame->Canvas().PaintedAfresh();
  ASSERT_EQ(shown.size(), fresh.size());
  int differ = 0;
  QPoint first;
  for (int y = 0; y < shown.height(); ++y) {
    for (int x = 0; x < shown.width(); ++x) {
      if (shown.pixel(x, y) == fresh.pixel(x, y)) continue;
      if (differ++ == 0) first = {x, y};
    }
  }
  EXPECT_EQ(differ, 0) << "first stale pixel at client (" << first.x() << ", "
                       << first.y() << ")";
}

INSTANTIATE_TEST_SUITE_P(Actions, CanvasScreenTest,
                         ::testing::Combine(::testing::ValuesIn(kCases),
                                            ::testing::Bool(),
                                            ::testing::Values(4, 6, 16)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) +
                                  (std::get<1>(info.param) ? "_Classic"
                                                           : "_Clear") +
                                  "_" +
                                  std::to_string(std::get<2>(info.param)) + "x";
                         });

}  // namespace

namespace {

// A click at the canvas's top rows, scrolled so that the first rows of the
// widget lie in the block of a pixel row whose cell is never painted there
// (the vertical origin is a multiple of the zoom, ten rows down): it
// changes a pixel only when the status bar's readout names one, and that
// pixel's cell is on screen.
class TopRowClickTest : public ShownFrameFixture<CEditorFrame>,
                        public ::testing::WithParamInterface<int> {
 protected:
  void Send(QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    QWidget& canvas = frame->Canvas();
    const QPointF local(at);
    const Qt::MouseButton button =
        type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, local, canvas.mapToGlobal(local), button, held,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&canvas, &event);
  }
};

TEST_P(TopRowClickTest, ChangesOnlyThePixelTheReadoutNames) {
  const int zoom = GetParam();
  CLevel& level = frame->Pack().Current();
  while (level.m_nHeight < MAX_HEIGHT) level.AddRow();
  frame->Canvas().SetZoom(zoom, true);
  frame->Canvas().RefreshView();
  CanvasView& view = frame->Logic().View();
  const int tools[] = {IDT_PEN_SMALL_BLACK, IDT_PEN_LARGE_BLACK,
                       IDT_TOOL_LINE,       IDT_TOOL_FILLED_RECTANGLE,
                       IDT_TOOL_FILL,       IDT_PLACE_BLOCK};
  for (const int tool : tools) {
    for (int row = 0; row < zoom + 3; ++row) {
      SCOPED_TRACE(::testing::Message() << "zoom " << zoom << ", tool " << tool
                                        << ", client row " << row);
      std::memset(level.m_bitmap, 0, level.BitmapBytes());
      while (level.m_nBlockCount > 0) level.PopLastBlock();
      view.m_nOriginY = 10 * zoom;
      frame->Canvas().RefreshView();
      ASSERT_EQ(view.m_nOriginY, 10 * zoom);
      frame->OnCommand(tool);
      const QPoint at(view.CellClientRect({40, 0}).left + 1, row);
      Send(QEvent::MouseMove, at, Qt::NoButton);
      const QString readout = frame->PixelLabel()->text();
      const LevelRecord before = frame->Pack().Contents().levels[0];
      Send(QEvent::MouseButtonPress, at, Qt::LeftButton);
      Send(QEvent::MouseButtonRelease, at, Qt::NoButton);
      const LevelRecord after = frame->Pack().Contents().levels[0];
      if (readout.isEmpty()) {
        int changed = 0;
        Point one{-1, -1};
        for (int i = 0; i < level.BitmapBytes(); ++i) {
          if (before.m_bitmap[i] == after.m_bitmap[i]) continue;
          ++changed;
          one = {8 * (i % level.m_nWidthBytes), i / level.m_nWidthBytes};
        }
        EXPECT_TRUE(after.SameLevelAs(before))
            << "a click changed " << changed << " terrain bytes the readout "
            << "does not name, e.g. near (" << one.x << ", " << one.y << ")";
        continue;
      }
      const Point named = frame->Logic().ClientToLevel({at.x(), at.y()});
      EXPECT_EQ(readout,
                QStringLiteral("Pixel: %1, %2").arg(named.x).arg(named.y));
      EXPECT_TRUE(view.RowBelowBars(named.y));
      EXPECT_GT(view.CellClientRect(named).bottom, 0);
      if (tool == IDT_PEN_SMALL_BLACK || tool == IDT_TOOL_LINE ||
          tool == IDT_TOOL_FILLED_RECTANGLE) {
        EXPECT_TRUE(frame->Pack().Current().GetPixel(named.x, named.y));
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Zooms, TopRowClickTest,
                         ::testing::Values(4, 3, 6, 16));

}  // namespace
