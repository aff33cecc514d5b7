#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ShownFrameFixture.h"
#include "canvas/CanvasWidget.h"
#include "canvas/SelectTool.h"
#include "canvas/Shapes.h"
#include "dialogs/HelpDialogs.h"
#include "model/LevelPack.h"
#include "packfile/PackFile.h"
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

  // The screen as a fresh full paint draws it.
  QImage FullPaintOf() {
    Canvas().RefreshView();
    return Canvas().Screen().copy();
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
  // The object and pen bars name their commands and keys in tooltips too;
  // the shortcut list names the pens by their keys.
  for (int id : kObjectBarCommands) {
    EXPECT_FALSE(frame->Action(id)->toolTip().isEmpty()) << id;
  }
  for (int id : kPenBarCommands) {
    EXPECT_FALSE(frame->Action(id)->toolTip().isEmpty()) << id;
  }
  bool penListed = false;
  for (const ShortcutRow& row : ShortcutRowsOf(*frame)) {
    if (row.command == "Small black pen (B)" && row.keys == "B") {
      penListed = true;
    }
  }
  EXPECT_TRUE(penListed);
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

// ---- Selection ----

class SelectionTest : public DrawingToolsTest {
 protected:
  // A filled block from a to b, drawn as one step.
  void Block(Point a, Point b) {
    frame->OnCommand(IDT_TOOL_FILLED_RECTANGLE);
    Press(a);
    Release(b);
  }
  void Select(Point a, Point b) {
    frame->OnCommand(IDT_TOOL_SELECT);
    Press(a);
    Drag(b);
    Release(b);
  }
  CSelectTool& Selection() { return Logic().Selection(); }
};

TEST_F(SelectionTest, DraggingTheSelectionMovesItsPixelsInOneStep) {
  Block({10, 10}, {13, 13});
  const Bytes drawn = Terrain();
  Select({8, 8}, {15, 15});
  EXPECT_TRUE(Logic().OverlayShown());
  EXPECT_EQ(Terrain(), drawn) << "the border is not in the level";
  const int steps = History().StepCount();
  Press({9, 9});
  Drag({29, 9});
  Release({29, 9});
  EXPECT_TRUE(Selection().Floating());
  EXPECT_EQ(Terrain(), drawn) << "the float is not in the level";
  EXPECT_TRUE(ShownBlack({31, 11}));
  EXPECT_FALSE(ShownBlack({11, 11}));
  EXPECT_EQ(History().StepCount(), steps);
  Canvas().setFocus();
  QTest::keyClick(&Canvas(), Qt::Key_Return);
  EXPECT_FALSE(Selection().Floating());
  EXPECT_EQ(Terrain(),
            With(With(drawn, RectanglePixels({10, 10}, {13, 13}, true), false),
                 RectanglePixels({30, 10}, {33, 13}, true), true));
  EXPECT_EQ(History().UndoText().toStdString(), "Move Selection");
  frame->OnCommand(IDM_EDIT_UNDO);
  EXPECT_EQ(Terrain(), drawn);
}

TEST_F(SelectionTest, EscapeDropsAFloatAndAClickOutsideCommitsIt) {
  Block({10, 10}, {13, 13});
  const Bytes drawn = Terrain();
  Select({10, 10}, {13, 13});
  Canvas().setFocus();
  QTest::keyClick(&Canvas(), Qt::Key_Right, Qt::ShiftModifier);
  QTest::keyClick(&Canvas(), Qt::Key_Down);
  EXPECT_TRUE(Selection().Floating());
  QTest::keyClick(frame, Qt::Key_Escape);
  EXPECT_FALSE(Selection().HasSelection());
  EXPECT_FALSE(Logic().OverlayShown());
  EXPECT_EQ(Terrain(), drawn);

  Select({10, 10}, {13, 13});
  QTest::keyClick(&Canvas(), Qt::Key_Left);
  Press({50, 40});  // outside: commits, starts a new rectangle
  Release({50, 40});
  EXPECT_FALSE(Selection().HasSelection());
  EXPECT_EQ(Terrain(),
            With(With(drawn, RectanglePixels({13, 10}, {13, 13}, true), false),
                 RectanglePixels({9, 10}, {9, 13}, true), true));
}

// Cut in one level, paste into another: the float stands at the top-left
// of the part of the level in view and is committed by Enter.
TEST_F(SelectionTest, ACutPastesIntoAnotherLevel) {
  Block({20, 20}, {22, 21});
  Select({20, 20}, {22, 21});
  const Bytes level1Before = Terrain();
  QTest::keyClick(frame, Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(Terrain(), With(level1Before,
                            RectanglePixels({20, 20}, {22, 21}, true), false));
  EXPECT_EQ(History().UndoText().toStdString(), "Cut");
  platform.answers = {IPlatform::Answer::Yes};
  frame->OnNotify(IDC_LEVEL_NUMBER_SPIN, 1);
  ASSERT_EQ(Pack().m_nCurLevel, 1);
  const Bytes empty = Terrain();
  QTest::keyClick(frame, Qt::Key_V, Qt::ControlModifier);
  EXPECT_TRUE(Selection().Floating());
  EXPECT_EQ(Terrain(), empty);
  Canvas().setFocus();
  QTest::keyClick(&Canvas(), Qt::Key_Enter);
  EXPECT_EQ(Terrain(),
            With(empty, RectanglePixels({0, 0}, {2, 1}, true), true));
  EXPECT_EQ(History().UndoText().toStdString(), "Paste");
}

// Copy puts black on white on the system clipboard; Paste takes a picture
// from it, a pixel being terrain when darker than middle grey over white.
TEST_F(SelectionTest, TheSystemClipboardCarriesPictures) {
  Block({0, 0}, {1, 0});
  Select({0, 0}, {2, 0});
  QTest::keyClick(frame, Qt::Key_C, Qt::ControlModifier);
  const QImage copied = QGuiApplication::clipboard()->image();
  ASSERT_EQ(copied.size(), QSize(3, 1));
  EXPECT_EQ(copied.pixel(0, 0), qRgb(0, 0, 0));
  EXPECT_EQ(copied.pixel(1, 0), qRgb(0, 0, 0));
  EXPECT_EQ(copied.pixel(2, 0), qRgb(255, 255, 255));

  QImage picture(4, 1, QImage::Format_ARGB32);
  picture.setPixel(0, 0, qRgba(100, 100, 100, 255));  // dark grey: terrain
  picture.setPixel(1, 0, qRgba(200, 200, 200, 255));  // light grey: none
  picture.setPixel(2, 0, qRgba(0, 0, 0, 100));        // faint black: none
  picture.setPixel(3, 0, qRgba(0, 0, 0, 200));        // strong black: terrain
  QGuiApplication::clipboard()->setImage(picture);
  frame->OnCommand(IDM_EDIT_SELECT_ALL);
  frame->OnCommand(IDM_EDIT_DELETE);
  const Bytes empty = Terrain();
  frame->OnCommand(IDM_EDIT_PASTE);
  frame->OnCommand(IDT_TOOL_LINE);  // a command commits the float
  EXPECT_EQ(Terrain(), With(empty, {{0, 0}, {3, 0}}, true));
}

// A level change or a save while a paste floats commits it first: the
// saved file and the level hold what was seen, the other level nothing.
TEST_F(SelectionTest, ALevelChangeOrASaveCommitsTheFloatFirst) {
  Pack().Current().PlaceObject({0, 40}, OBJ_ENTRANCE);
  Pack().Current().PlaceObject({40, 40}, OBJ_EXIT);
  Pack().m_szAuthorName = "Ann";
  Pack().m_szPassword = "pw";
  TerrainClip clip{2, 2, {1, 1, 1, 1}};
  frame->OnCommand(IDT_TOOL_SELECT);
  Selection().Paste(clip, {4, 4});
  const Bytes empty = Terrain();
  QTemporaryDir dir;
  platform.fileNames = {dir.filePath("pack.83p")};
  frame->OnCommand(IDM_FILE_SAVE_AS);
  const Bytes committed =
      With(empty, RectanglePixels({4, 4}, {5, 5}, true), true);
  EXPECT_EQ(Terrain(), committed);
  EXPECT_FALSE(Pack().m_bModified);
  PackContents saved;
  std::string error;
  ASSERT_TRUE(
      LoadPackFile(dir.filePath("pack.83p").toStdString(), saved, error))
      << error;
  EXPECT_EQ(Bytes(saved.levels[0].m_bitmap,
                  saved.levels[0].m_bitmap + saved.levels[0].BitmapBytes()),
            committed);

  Selection().Paste(clip, {20, 20});
  platform.answers = {IPlatform::Answer::Yes};
  frame->OnNotify(IDC_LEVEL_NUMBER_SPIN, 1);
  EXPECT_FALSE(Logic().OverlayShown());
  EXPECT_EQ(Terrain(), empty) << "the new level";
  const CLevel& first = Pack().Level(0);
  EXPECT_TRUE(first.GetPixel(20, 20));
  EXPECT_TRUE(first.GetPixel(21, 21));
}

TEST_F(SelectionTest, TheEditMenuHoldsTheSelectionsCommandsAfterRedo) {
  QMenu* edit = frame->Action(IDM_EDIT_UNDO)->associatedObjects().isEmpty()
                    ? nullptr
                    : qobject_cast<QMenu*>(
                          frame->Action(IDM_EDIT_UNDO)->associatedObjects()[0]);
  ASSERT_NE(edit, nullptr);
  QStringList items;
  for (QAction* a : edit->actions()) {
    items << (a->isSeparator()
                  ? QStringLiteral("-")
                  : a->text().section(' ', 0, 0) + QLatin1Char(' ') +
                        a->shortcut().toString());
  }
  EXPECT_EQ(items, (QStringList{"&Undo Ctrl+Z", "&Redo Ctrl+Y", "-",
                                "Cu&t Ctrl+X", "&Copy Ctrl+C", "&Paste Ctrl+V",
                                "&Delete Del", "-", "Select Ctrl+A", "-",
                                "Flip Shift+H", "Flip Shift+V"}));
}

TEST_F(SelectionTest, FlipsActOnTheSelectionOrTheWholeLevel) {
  Block({0, 0}, {2, 0});
  const Bytes drawn = Terrain();
  const int right = Level().WidthPixels() - 1;
  const int bottom = Level().m_nHeight - 1;
  frame->OnCommand(IDM_EDIT_FLIP_HORIZONTAL);
  EXPECT_EQ(Terrain(),
            With(Bytes(drawn.size()),
                 RectanglePixels({right - 2, 0}, {right, 0}, true), true));
  frame->OnCommand(IDM_EDIT_FLIP_VERTICAL);
  EXPECT_EQ(
      Terrain(),
      With(Bytes(drawn.size()),
           RectanglePixels({right - 2, bottom}, {right, bottom}, true), true));
  EXPECT_EQ(History().UndoText().toStdString(), "Flip Vertical");
  frame->OnCommand(IDM_EDIT_UNDO);
  frame->OnCommand(IDM_EDIT_UNDO);
  EXPECT_EQ(Terrain(), drawn);
  // Only the selection's pixels: the block's left end within 0..3.
  Select({0, 0}, {3, 0});
  frame->OnCommand(IDM_EDIT_FLIP_HORIZONTAL);
  EXPECT_EQ(Terrain(), With(Bytes(drawn.size()),
                            RectanglePixels({1, 0}, {3, 0}, true), true));
}

// ---- Objects ----

// The mover drags an object to the byte column nearest the pointer, never
// where it would not fit, as one step; Delete removes a block and keeps the
// other blocks in their order.
TEST_F(DrawingToolsTest, TheMoverDragsAndDeletesObjects) {
  for (int i = 0; i < 3; ++i) Level().PlaceObject({16 * i, 20}, OBJ_BLOCK);
  Level().PlaceObject({64, 40}, OBJ_EXIT);
  Canvas().RefreshView();
  QTest::keyClick(frame, Qt::Key_V);
  ASSERT_EQ(Logic().CurrentCursor(), ToolCursor::MoveObject);
  Press({20, 25});  // the second block, 4 pixels into it
  Drag({45, 30});
  EXPECT_EQ(Level().m_objects[FIRST_BLOCK_SLOT + 1].col, 2) << "not yet";
  Release({47, 31});
  // 47 - 4 = 43: column 5 is nearest (40); the row follows the pointer.
  EXPECT_EQ(Level().m_objects[FIRST_BLOCK_SLOT + 1].col, 5);
  EXPECT_EQ(Level().m_objects[FIRST_BLOCK_SLOT + 1].row, 26);
  EXPECT_EQ(History().UndoText().toStdString(), "Move Object");
  EXPECT_TRUE(Pack().m_bModified);

  // Past the bottom edge it stays at the last place that fits.
  Press({50, 30});
  Drag({50, 50});
  Drag({50, 200});
  Release({50, 200});
  EXPECT_EQ(Level().m_objects[FIRST_BLOCK_SLOT + 1].row, 46);

  frame->OnCommand(IDM_EDIT_UNDO);
  frame->OnCommand(IDM_EDIT_UNDO);
  EXPECT_EQ(Level().m_objects[FIRST_BLOCK_SLOT + 1].col, 2);
  EXPECT_EQ(Level().m_objects[FIRST_BLOCK_SLOT + 1].row, 20);

  // Delete the first block: the second and third keep their order.
  Press({2, 22});
  Release({2, 22});
  frame->OnCommand(IDM_EDIT_DELETE);
  EXPECT_EQ(Level().m_nBlockCount, 2);
  EXPECT_EQ(Level().m_objects[FIRST_BLOCK_SLOT].col, 2);
  EXPECT_EQ(Level().m_objects[FIRST_BLOCK_SLOT + 1].col, 4);
  EXPECT_EQ(Level().m_objects[FIRST_BLOCK_SLOT + 2].kind, OBJ_NONE);
  EXPECT_EQ(History().UndoText().toStdString(), "Delete");
  // The exit goes from its slot.
  Press({70, 45});
  Release({70, 45});
  frame->OnCommand(IDM_EDIT_DELETE);
  EXPECT_EQ(Level().m_objects[EXIT_SLOT].kind, OBJ_NONE);
  EXPECT_EQ(Canvas().Screen(), FullPaintOf());
}

}  // namespace
