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
