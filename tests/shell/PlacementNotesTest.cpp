// A placement or an object's drop that cannot fit says why in the status
// bar, through the real frame; what is shown and placed stays as it was.
#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QStatusBar>
#include <cstdint>
#include <string>
#include <vector>

#include "ShownFrameFixture.h"
#include "canvas/CanvasWidget.h"
#include "shell/CommandIds.h"
#include "shell/EditorFrame.h"

namespace {

class PlacementNotesTest : public ShownFrameFixture<CEditorFrame> {
 protected:
  CLevel& Level() { return frame->Pack().Current(); }
  CCanvasLogic& Logic() { return frame->Logic(); }
  std::string Note() {
    return frame->statusBar()->currentMessage().toStdString();
  }

  // A mouse event at the cell of a level pixel, or at a client point.
  void Send(QEvent::Type type, QPoint local, Qt::MouseButton button,
            Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(local),
                      frame->Canvas().mapToGlobal(QPointF(local)), button, held,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&frame->Canvas(), &event);
  }
  void Hover(QPoint at) {
    Send(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
  }
  void Drag(QPoint at) {
    Send(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
  }
  void Press(QPoint at) {
    Send(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
  }
  void Release(QPoint at) {
    Send(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
  }
  void Click(QPoint at) {
    Press(at);
    Release(at);
  }
  std::vector<std::uint8_t> Terrain() {
    return {Level().m_bitmap, Level().m_bitmap + Level().BitmapBytes()};
  }
};

// On a 96 x 64 level: the pointer's box reaches past the bottom or the right
// edge. The outline follows no pointer there, and a click places nothing and
// keeps the tool, but both say why.
TEST_F(PlacementNotesTest, APlacementThatCannotFitSaysWhy) {
  const struct {
    int command;
    Point at;
    const char* note;
  } cases[] = {
      {IDT_PLACE_BLOCK,
       {40, 50},
       "A metal block is 16 rows high: it does not fit here"},
      {IDT_PLACE_BLOCK,
       {90, 20},
       "A metal block is 16 pixels wide: it does not fit here"},
      {IDT_PLACE_ENTRANCE,
       {89, 10},
       "The entrance is 16 pixels wide: it does not fit here"},
      {IDT_PLACE_ENTRANCE,
       {0, 63},
       "The entrance is 16 rows high: it does not fit here"},
      {IDT_PLACE_EXIT,
       {30, 49},
       "The exit is 16 rows high: it does not fit here"},
      // Both edges at once: the rows are named.
      {IDT_PLACE_EXIT,
       {95, 60},
       "The exit is 16 rows high: it does not fit here"},
  };
  const std::vector<std::uint8_t> terrain = Terrain();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.note);
    frame->OnCommand(c.command);
    frame->ShowStatus(QString());
    Hover(CellPoint(c.at));
    EXPECT_EQ(Note(), c.note);
    EXPECT_FALSE(Logic().PreviewShown());

    frame->ShowStatus(QString());
    Click(CellPoint(c.at));
    EXPECT_EQ(Note(), c.note);
    EXPECT_TRUE(Logic().PlacementInForce());
    EXPECT_FALSE(Level().HasEntranceAndExit());
    EXPECT_EQ(Level().m_nBlockCount, 0);
    EXPECT_EQ(Level().m_objects[ENTRANCE_SLOT].kind, OBJ_NONE);
    EXPECT_EQ(Level().m_objects[EXIT_SLOT].kind, OBJ_NONE);
    EXPECT_EQ(Terrain(), terrain);
  }
  EXPECT_FALSE(frame->Pack().m_bModified);
}

// Where the box fits there is no such note, and a click left of the level,
// where no box can stand, asks for a click inside it.
TEST_F(PlacementNotesTest, APlacementThatFitsOrMissesTheLevel) {
  frame->OnCommand(IDT_PLACE_BLOCK);
  frame->ShowStatus(QString());
  Hover(CellPoint({40, 48}));
  EXPECT_EQ(Note(), "");
  EXPECT_TRUE(Logic().PreviewShown());

  const Rect outline = Logic().View().OutlineClientRect(Level());
  const QPoint farLeft(outline.left - 60, outline.top + 40);
  Hover(farLeft);
  EXPECT_EQ(Note(), "") << "the pointer is only passing outside the level";
  Click(farLeft);
  EXPECT_EQ(Note(), "Click inside the level to place a metal block");
  EXPECT_TRUE(Logic().PlacementInForce());
  EXPECT_EQ(Level().m_nBlockCount, 0);

  Click(CellPoint({40, 48}));
  EXPECT_EQ(Level().m_nBlockCount, 1);
}

// The mover keeps an object at the last place that fits, and says why when
// the pointer asks for more.
TEST_F(PlacementNotesTest, TheMoverSaysWhyADropStopsShort) {
  Level().PlaceObject({16, 20}, OBJ_ENTRANCE);
  frame->Canvas().RefreshView();
  frame->OnCommand(IDT_TOOL_MOVE_OBJECT);
  frame->ShowStatus(QString());
  Press(CellPoint({20, 25}));
  Drag(CellPoint({20, 40}));
  EXPECT_EQ(Note(), "");
  Drag(CellPoint({20, 62}));
  EXPECT_EQ(Note(), "The entrance is 16 rows high: it does not fit here");
  frame->ShowStatus(QString());
  Release(CellPoint({20, 62}));
  EXPECT_EQ(Note(), "The entrance is 16 rows high: it does not fit here");
  EXPECT_EQ(Level().m_objects[ENTRANCE_SLOT].row, 35);
  EXPECT_EQ(Level().m_objects[ENTRANCE_SLOT].col, 2);

  frame->ShowStatus(QString());
  Press(CellPoint({20, 40}));
  Drag(CellPoint({84, 40}));
  Drag(CellPoint({94, 40}));
  Release(CellPoint({94, 40}));
  EXPECT_EQ(Note(), "The entrance is 16 pixels wide: it does not fit here");
  EXPECT_EQ(Level().m_objects[ENTRANCE_SLOT].col, 10);
}

}  // namespace
