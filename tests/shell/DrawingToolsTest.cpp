#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ShownFrameFixture.h"
#include "canvas/CanvasWidget.h"
#include "canvas/Shapes.h"
#include "model/LevelPack.h"
#include "shell/CommandIds.h"
#include "shell/EditorFrame.h"
#include "shell/FrameHistory.h"
#include "support/QtTestApp.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class DrawingToolsTest : public ShownFrameFixture<CEditorFrame> {
 protected:
  CLevelPack& Pack() { return frame->Pack(); }
  CLevel& Level() { return Pack().Current(); }
  CCanvasWidget& Canvas() { return frame->Canvas(); }
  CCanvasLogic& Logic() { return frame->Logic(); }
  PackHistory& History() { return frame->History().History(); }

  Bytes Terrain() {
    return {Level().m_bitmap, Level().m_bitmap + Level().BitmapBytes()};
  }

  void Send(QEvent::Type type, Point at, Qt::MouseButton button,
            Qt::MouseButtons held, bool shift = false) {
    const QPointF local(CellPoint(at));
    QMouseEvent event(type, local, Canvas().mapToGlobal(local), button, held,
                      shift ? Qt::ShiftModifier : Qt::NoModifier);
    QCoreApplication::sendEvent(&Canvas(), &event);
  }
  void Press(Point at, Qt::MouseButton button = Qt::LeftButton,
             bool shift = false) {
    Send(QEvent::MouseButtonPress, at, button, button, shift);
  }
  void Drag(Point to, Qt::MouseButton button = Qt::LeftButton,
            bool shift = false) {
    Send(QEvent::MouseMove, to, Qt::NoButton, button, shift);
  }
  void Release(Point at, Qt::MouseButton button = Qt::LeftButton,
               bool shift = false) {
    Send(QEvent::MouseButtonRelease, at, button, Qt::NoButton, shift);
  }

  bool ShownBlack(Point level) {
    return Canvas().Screen().pixel(CellPoint(level)) == qRgb(0, 0, 0);
  }

  // Terrain with `pixels` set (or cleared).
  Bytes With(Bytes terrain, const std::vector<Point>& pixels, bool black) {
    const int w = Level().m_nWidthBytes;
    for (const Point& p : pixels) {
      std::uint8_t& byte = terrain[static_cast<std::size_t>(p.y * w + p.x / 8)];
      const auto bit = static_cast<std::uint8_t>(0x80 >> (p.x % 8));
      byte = static_cast<std::uint8_t>(black ? byte | bit : byte & ~bit);
    }
    return terrain;
  }
};

struct ShapeCase {
  const char* name;
  int command;
  const char* step;
  std::function<std::vector<Point>(Point, Point)> pixels;
};

const ShapeCase kShapes[] = {
    {"line", IDT_TOOL_LINE, "Line",
     [](Point a, Point b) { return LinePixels(a, b); }},
    {"rectangle", IDT_TOOL_RECTANGLE, "Rectangle",
     [](Point a, Point b) { return RectanglePixels(a, b, false); }},
    {"filled rectangle", IDT_TOOL_FILLED_RECTANGLE, "Filled Rectangle",
     [](Point a, Point b) { return RectanglePixels(a, b, true); }},
    {"ellipse", IDT_TOOL_ELLIPSE, "Ellipse",
     [](Point a, Point b) { return EllipsePixels(a, b, false); }},
    {"filled ellipse", IDT_TOOL_FILLED_ELLIPSE, "Filled Ellipse",
     [](Point a, Point b) { return EllipsePixels(a, b, true); }},
};

// Each shape is shown over the level while dragged, never in it; the
// release writes exactly its pixels as one undo step, which undo takes back
// to the same bytes.
TEST_F(DrawingToolsTest, ADraggedShapeIsOnlyAPreviewUntilTheRelease) {
  for (const ShapeCase& c : kShapes) {
    SCOPED_TRACE(c.name);
    frame->OnCommand(c.command);
    const Bytes before = Terrain();
    const Point a{3, 4};
    const Point b{20, 13};
    Press(a);
    Drag({10, 30});
    Drag(b);
    const std::vector<Point> shape = c.pixels(a, b);
    EXPECT_EQ(Terrain(), before) << "the preview reached the level";
    EXPECT_FALSE(Pack().m_bModified);
    for (const Point& p : shape)
      EXPECT_TRUE(ShownBlack(p)) << p.x << "," << p.y;
    Release(b);
    EXPECT_FALSE(Logic().OverlayShown());
    EXPECT_EQ(Terrain(), With(before, shape, true));
    // One step: the one undo there is (the case before was undone).
    EXPECT_EQ(History().StepCount(), 1);
    EXPECT_EQ(History().UndoText().toStdString(), c.step);
    EXPECT_EQ(Canvas().Screen(), [&] {
      const QImage shown = Canvas().Screen().copy();
      Canvas().RefreshView();
      return Canvas().Screen().copy() == shown ? shown : QImage();
    }()) << "the screen is what a full paint draws";
    frame->OnCommand(IDM_EDIT_UNDO);
    EXPECT_EQ(Terrain(), before);
    EXPECT_FALSE(History().CanUndo());
    EXPECT_FALSE(Pack().m_bModified);
  }
}

TEST_F(DrawingToolsTest, EscapeDuringADragLeavesTheLevelAsItWas) {
  frame->OnCommand(IDT_TOOL_FILLED_RECTANGLE);
  const Bytes before = Terrain();
  Press({2, 2});
  Drag({30, 30});
  ASSERT_TRUE(Logic().OverlayShown());
  QTest::keyClick(frame, Qt::Key_Escape);
  EXPECT_FALSE(Logic().OverlayShown());
  EXPECT_FALSE(ShownBlack({10, 10}));
  Drag({40, 40});
  Release({40, 40});
  EXPECT_EQ(Terrain(), before);
  EXPECT_EQ(History().StepCount(), 0);
  EXPECT_FALSE(Pack().m_bModified);
}

// Shift snaps: a line to 45 degrees, a rectangle to a square.
TEST_F(DrawingToolsTest, ShiftSnapsTheShape) {
  frame->OnCommand(IDT_TOOL_LINE);
  const Bytes before = Terrain();
  Press({5, 5});
  Drag({30, 7}, Qt::LeftButton, true);
  Release({30, 7}, Qt::LeftButton, true);
  EXPECT_EQ(Terrain(), With(before, LinePixels({5, 5}, {30, 5}), true));

  frame->OnCommand(IDT_TOOL_RECTANGLE);
  const Bytes line = Terrain();
  Press({40, 10});
  Release({50, 14}, Qt::LeftButton, true);
  EXPECT_EQ(Terrain(),
            With(line, RectanglePixels({40, 10}, {50, 20}, false), true));
}

// Lines and outlines take the width of the pen chosen last, and every
// tool its colour; the right button draws with the other colour.
TEST_F(DrawingToolsTest, ShapesDrawWithThePensColourWidthAndTheRightButton) {
  frame->OnCommand(IDT_PEN_LARGE_BLACK);
  frame->OnCommand(IDT_TOOL_LINE);
  const Bytes empty = Terrain();
  Press({20, 20});
  Release({60, 20});
  const std::vector<Point> disc =
      DiscFootprint(LinePixels({20, 20}, {60, 20}), LargePenDisc(),
                    Level().WidthPixels(), Level().m_nHeight);
  EXPECT_EQ(Terrain(), With(empty, disc, true));

  // The right button rubs out with the black pen chosen.
  frame->OnCommand(IDK_PEN_SMALL);
  Press({30, 20}, Qt::RightButton);
  Release({40, 20}, Qt::RightButton);
  EXPECT_EQ(Terrain(), With(With(empty, disc, true),
                            LinePixels({30, 20}, {40, 20}), false));
  EXPECT_EQ(Logic().CurrentCursor(), ToolCursor::Line);
}

TEST_F(DrawingToolsTest, FillIsOneStepAndFillingWithTheSameColourIsNone) {
  frame->OnCommand(IDT_TOOL_RECTANGLE);
  Press({10, 10});
  Release({30, 30});
  frame->OnCommand(IDT_TOOL_FILL);
  const Bytes outline = Terrain();
  const int steps = History().StepCount();
  Press({20, 20});
  Release({20, 20});
  EXPECT_EQ(History().StepCount(), steps + 1);
  EXPECT_EQ(History().UndoText().toStdString(), "Fill");
  EXPECT_EQ(Terrain(),
            With(outline, RectanglePixels({11, 11}, {29, 29}, true), true));
  EXPECT_TRUE(ShownBlack({20, 20}));
  // The region is black already now: nothing changes, no step.
  Press({15, 15});
  Release({15, 15});
  EXPECT_EQ(History().StepCount(), steps + 1);
  frame->OnCommand(IDM_EDIT_UNDO);
  EXPECT_EQ(Terrain(), outline);
}

// A command, a level change or a save in the middle of a drag drops the
// shape: no level, step or file ever holds it.
TEST_F(DrawingToolsTest, CommandsInTheMiddleOfADragDropTheShape) {
  const Bytes before = Terrain();
  const std::vector<std::function<void()>> commands = {
      [this] { frame->OnCommand(IDT_POPULATION); },
      [this] {
        platform.answers = {IPlatform::Answer::Yes};
        frame->OnNotify(IDC_LEVEL_NUMBER_SPIN, 1);
      },
      [this] { frame->OnCommand(IDM_FILE_SAVE_AS); },
      [this] { frame->OnCommand(IDT_PEN_SMALL_WHITE); },
  };
  for (std::size_t i = 0; i < commands.size(); ++i) {
    SCOPED_TRACE(i);
    frame->OnCommand(IDT_TOOL_FILLED_ELLIPSE);
    Press({1, 1});
    Drag({40, 40});
    ASSERT_TRUE(Logic().OverlayShown());
    commands[i]();
    EXPECT_FALSE(Logic().OverlayShown());
    EXPECT_FALSE(Logic().IsDrawing());
    Drag({50, 50});
    Release({50, 50});
    for (int l = 0; l < Pack().Count(); ++l) {
      const CLevel& level = *Pack().m_apLevels[l];
      EXPECT_EQ(Bytes(level.m_bitmap, level.m_bitmap + level.BitmapBytes()),
                before);
    }
  }
  EXPECT_EQ(History().UndoText().toStdString(), "Add Level");
}

// The tool bar's buttons and the pens' keys: the pen bar keeps the pen
// chosen last checked while another tool is in force; X swaps its colour.
TEST_F(DrawingToolsTest, KeysChooseToolsAndThePenButtonFollowsTheColour) {
  QTest::keyClick(frame, Qt::Key_R);
  EXPECT_EQ(Logic().CurrentCursor(), ToolCursor::Rectangle);
  EXPECT_TRUE(frame->Action(IDT_TOOL_RECTANGLE)->isChecked());
  EXPECT_TRUE(frame->Action(IDT_PEN_SMALL_BLACK)->isChecked());
  QTest::keyClick(frame, Qt::Key_X);
  EXPECT_EQ(Logic().CurrentCursor(), ToolCursor::Rectangle);
  EXPECT_EQ(Logic().m_nPenColour, 1);
  EXPECT_TRUE(frame->Action(IDT_PEN_SMALL_WHITE)->isChecked());
  EXPECT_FALSE(frame->Action(IDT_PEN_SMALL_BLACK)->isChecked());
  QTest::keyClick(frame, Qt::Key_BracketRight);
  EXPECT_TRUE(frame->Action(IDT_PEN_LARGE_WHITE)->isChecked());
  EXPECT_EQ(Logic().CurrentCursor(), ToolCursor::Rectangle);
  // Placing from a tool gives the tool back, its button checked throughout.
  QTest::keyClick(frame, Qt::Key_D);
  EXPECT_TRUE(Logic().PlacementInForce());
  EXPECT_TRUE(frame->Action(IDT_TOOL_RECTANGLE)->isChecked());
  EXPECT_TRUE(frame->ToolLabel()->text().startsWith("Placing the exit"));
  Press({30, 20});
  Release({30, 20});
  EXPECT_EQ(Logic().CurrentCursor(), ToolCursor::Rectangle);
  EXPECT_TRUE(frame->Action(IDT_TOOL_RECTANGLE)->isChecked());
  // A pen chosen afterwards gets its own button checked; no tool is.
  QTest::keyClick(frame, Qt::Key_B);
  EXPECT_EQ(Logic().CurrentCursor(), ToolCursor::SmallBlack);
  EXPECT_TRUE(frame->Action(IDT_PEN_SMALL_BLACK)->isChecked());
  for (int id : kToolBarCommands) EXPECT_FALSE(frame->Action(id)->isChecked());
  for (int id : kToolBarCommands) {
    EXPECT_FALSE(frame->Action(id)->toolTip().isEmpty()) << id;
  }
  EXPECT_EQ(frame->Action(IDT_TOOL_LINE)->toolTip(), "Line (L)");
}

// While a bar's edit has the keyboard, the tools' letters and keys are
// typed into it.
TEST_F(DrawingToolsTest, KeysInABarEditGoToTheEdit) {
  frame->activateWindow();
  QLineEdit* name = frame->LevelNameEdit();
  name->setFocus();
  name->selectAll();
  QTest::keyClicks(name, "Rox");
  EXPECT_EQ(name->text(), "Rox");
  QTest::keyClick(name, Qt::Key_Escape);
  QTest::keyClick(name, Qt::Key_Left);
  QTest::keyClick(name, Qt::Key_Delete);
  EXPECT_EQ(name->text(), "Ro");
  EXPECT_EQ(Logic().CurrentCursor(), ToolCursor::SmallBlack);
  EXPECT_EQ(Logic().m_nPenColour, 0);
  EXPECT_EQ(std::string(Level().m_szName), "Ro");
}

// Shift+click places and keeps placing; Escape ends a placement.
TEST_F(DrawingToolsTest, ShiftClickKeepsPlacingAndEscapeEndsIt) {
  frame->OnCommand(IDT_PLACE_BLOCK);
  Drag({8, 8}, Qt::NoButton);
  Press({8, 8}, Qt::LeftButton, true);
  Release({8, 8}, Qt::LeftButton, true);
  EXPECT_TRUE(Logic().PlacementInForce());
  Drag({40, 8}, Qt::NoButton);
  Press({40, 8}, Qt::LeftButton, true);
  Release({40, 8}, Qt::LeftButton, true);
  EXPECT_EQ(Level().m_nBlockCount, 2);
  EXPECT_EQ(History().StepCount(), 2);
  Drag({60, 30}, Qt::NoButton);
  EXPECT_TRUE(Logic().PreviewShown());
  const Bytes before = Terrain();
  QTest::keyClick(frame, Qt::Key_Escape);
  EXPECT_FALSE(Logic().PlacementInForce());
  EXPECT_FALSE(Logic().PreviewShown());
  EXPECT_EQ(Logic().CurrentCursor(), ToolCursor::SmallBlack);
  EXPECT_NE(Terrain(), before) << "the preview was in the terrain";
  EXPECT_EQ(Level().m_nBlockCount, 2);
}

}  // namespace
