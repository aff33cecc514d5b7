// Zoom, Show Grid and panning through the real frame, headless.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <algorithm>
#include <cstdint>
#include <vector>

#include "ShownFrameFixture.h"
#include "canvas/CanvasWidget.h"
#include "canvas/SelectTool.h"
#include "shell/CommandIds.h"
#include "shell/EditorFrame.h"
#include "shell/FrameHistory.h"
#include "shell/FrameSession.h"
#include "shell/Settings.h"

namespace {

class ZoomFrameTest : public ShownFrameFixture<CEditorFrame> {
 protected:
  CLevel& Level() { return frame->Pack().Current(); }
  CCanvasWidget& Canvas() { return frame->Canvas(); }
  const CanvasView& View() { return frame->Logic().View(); }
  QLabel* ZoomLabel() {
    return frame->statusBar()->findChild<QLabel*>(QStringLiteral("zoomLabel"));
  }
  int Steps() { return frame->History().History().StepCount(); }

  QTemporaryDir dir;  // outlives the frame, which writes settings on close

  QImage ScreenNow() { return Canvas().Screen().copy(); }

  void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button,
             Qt::MouseButtons held) {
    const QPointF local(at);
    QMouseEvent event(type, local, Canvas().mapToGlobal(local), button, held,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&Canvas(), &event);
  }
  void Drag(QPoint from, QPoint to, Qt::MouseButton button) {
    Mouse(QEvent::MouseButtonPress, from, button, button);
    Mouse(QEvent::MouseMove, to, Qt::NoButton, button);
    Mouse(QEvent::MouseButtonRelease, to, button, Qt::NoButton);
  }
  void Wheel(QPoint at, int angle, Qt::KeyboardModifiers mods) {
    const QPointF local(at);
    QWheelEvent event(local, Canvas().mapToGlobal(local), QPoint(),
                      QPoint(0, angle), Qt::NoButton, mods, Qt::NoScrollPhase,
                      false);
    QCoreApplication::sendEvent(&Canvas(), &event);
  }
  // Stretches of terrain so that a changed picture shows.
  void DrawSomething() {
    for (int x = 3; x < 60; x += 3) Level().SetPixel(x, x / 2, true);
    Level().SetPixel(95, 63, true);
    Canvas().RefreshView();
  }
};

// Zooming in and out, by each command and by Ctrl+wheel, and back to 4x
// gives the very picture of before, byte for byte; Show Grid off and on
// too.
TEST_F(ZoomFrameTest, BackTo4xTheCanvasIsByteIdentical) {
  DrawSomething();
  const QImage before = ScreenNow();
  ASSERT_EQ(ZoomLabel()->text(), QStringLiteral("4x"));
  const std::vector<std::vector<int>> roads = {
      {IDM_VIEW_ZOOM_IN, IDM_VIEW_ZOOM_IN, IDM_VIEW_ZOOM_IN, IDM_VIEW_ZOOM_OUT,
       IDM_VIEW_ZOOM_OUT, IDM_VIEW_ZOOM_OUT},
      {IDM_VIEW_ZOOM_OUT, IDM_VIEW_ZOOM_OUT, IDM_VIEW_ZOOM_OUT,
       IDM_VIEW_ACTUAL_SIZE},
      {IDM_VIEW_ZOOM_IN, IDM_VIEW_ZOOM_IN, IDM_VIEW_ZOOM_IN, IDM_VIEW_ZOOM_IN,
       IDM_VIEW_ACTUAL_SIZE},
      {IDM_VIEW_SHOW_GRID, IDM_VIEW_SHOW_GRID},
      {IDM_VIEW_FIT_LEVEL, IDM_VIEW_ACTUAL_SIZE},
  };
  for (const auto& road : roads) {
    for (std::size_t i = 0; i < road.size(); ++i) {
      frame->OnCommand(road[i]);
      if (i + 1 < road.size() && road[i] != IDM_VIEW_FIT_LEVEL) {
        EXPECT_NE(ScreenNow(), before) << "command " << road[i];
      }
    }
    EXPECT_EQ(Canvas().UserZoom(), 4);
    EXPECT_TRUE(ScreenNow() == before) << "after road from " << road.front();
  }
  const QPoint at(150, 120);
  Wheel(at, 120, Qt::ControlModifier);
  Wheel(at, 240, Qt::ControlModifier);
  EXPECT_EQ(ZoomLabel()->text(), QStringLiteral("12x"));
  Wheel(at, -360, Qt::ControlModifier);
  EXPECT_TRUE(ScreenNow() == before);
}

// A pen click at 1, 8 and 16 times, also scrolled, sets the pixel drawn
// under the pointer and repaints exactly its cell.
TEST_F(ZoomFrameTest, PenClickSetsThePixelUnderThePointerAndPaintsItsCell) {
  for (int zoom : {1, 8, 16}) {
    for (int lines : {0, 7}) {
      SCOPED_TRACE(testing::Message() << zoom << "x, scrolled " << lines);
      frame->Pack().m_bModified = false;
      frame->OnCommand(IDM_FILE_NEW);
      Canvas().SetZoom(zoom, true);
      for (int i = 0; i < lines; ++i) {
        Wheel({100, 100}, -120, Qt::ShiftModifier);  // three pixels right
        Wheel({100, 100}, -120, {});
      }
      const QImage before = ScreenNow();
      // Off the canvas's middle, where the level is at every zoom.
      const QPoint pointer(Canvas().width() / 2 + 13,
                           Canvas().height() / 2 + 7);
      const Point pixel = View().ClientToLevel({pointer.x(), pointer.y()});
      ASSERT_TRUE(frame->Logic().IsInLevel(pixel));
      Mouse(QEvent::MouseButtonPress, pointer, Qt::LeftButton, Qt::LeftButton);
      Mouse(QEvent::MouseButtonRelease, pointer, Qt::LeftButton, Qt::NoButton);
      int set = 0;
      for (int y = 0; y < Level().m_nHeight; ++y) {
        for (int x = 0; x < Level().WidthPixels(); ++x) {
          set += Level().GetPixel(x, y) ? 1 : 0;
        }
      }
      EXPECT_EQ(set, 1);
      EXPECT_TRUE(Level().GetPixel(pixel.x, pixel.y));
      const Rect cell = View().CellClientRect(pixel);
      EXPECT_EQ(cell.Width(), zoom >= 4 ? zoom - 1 : zoom);
      // The cell is the one under the pointer (or right of and below the
      // grid line it is on).
      EXPECT_TRUE(pointer.x() >= cell.left - 1 && pointer.x() < cell.right &&
                  pointer.y() >= cell.top - 1 && pointer.y() < cell.bottom)
          << pointer.x() << "," << pointer.y();
      const QImage after = ScreenNow();
      for (int y = 0; y < after.height(); ++y) {
        for (int x = 0; x < after.width(); ++x) {
          const bool inCell = x >= cell.left && x < cell.right &&
                              y >= cell.top && y < cell.bottom;
          if (inCell) {
            ASSERT_EQ(after.pixel(x, y), 0xFF000000u) << x << "," << y;
          } else {
            ASSERT_EQ(after.pixel(x, y), before.pixel(x, y)) << x << "," << y;
          }
        }
      }
      // And the same as a full paint of the level.
      Canvas().RefreshView();
      EXPECT_TRUE(ScreenNow() == after);
    }
  }
}

// Scrolled anywhere, up to the ends, a later refresh (which clamps the view
// again) moves nothing: the screen stays as it was.
TEST_F(ZoomFrameTest, ARefreshAfterAScrollMovesNothing) {
  DrawSomething();
  frame->OnCommand(IDT_TOOL_SELECT);
  frame->OnCommand(IDM_EDIT_SELECT_ALL);  // its border is drawn over it all
  for (int zoom : {16, 12}) {
    Canvas().SetZoom(zoom, true);
    // 120 a notch, three level pixels: far enough to reach both ends.
    for (int angle : {-120, -4800, 120, -120, 4800, -360}) {
      for (Qt::KeyboardModifiers mods :
           {Qt::KeyboardModifiers(),
            Qt::KeyboardModifiers(Qt::ShiftModifier)}) {
        Wheel({200, 100}, angle, mods);
        const QImage scrolled = ScreenNow();
        Canvas().RefreshView();
        ASSERT_TRUE(ScreenNow() == scrolled)
            << zoom << "x, angle " << angle << ", origin " << View().m_nOriginX
            << "," << View().m_nOriginY;
      }
    }
  }
}

TEST_F(ZoomFrameTest, CtrlWheelKeepsThePixelUnderThePointer) {
  Canvas().SetZoom(8, true);  // the default level scrolls at 8x
  for (QPoint at : {QPoint(40, 30), QPoint(300, 200), QPoint(600, 50)}) {
    const Point before = View().ClientToLevel({at.x(), at.y()});
    Wheel(at, 120, Qt::ControlModifier);
    EXPECT_EQ(Canvas().UserZoom(), 12);
    EXPECT_EQ(View().ClientToLevel({at.x(), at.y()}), before);
    Wheel(at, -120, Qt::ControlModifier);
    EXPECT_EQ(View().ClientToLevel({at.x(), at.y()}), before);
  }
  // Half notches add up: a touchpad's small steps zoom once per notch.
  Wheel({40, 30}, 60, Qt::ControlModifier);
  EXPECT_EQ(Canvas().UserZoom(), 8);
  Wheel({40, 30}, 60, Qt::ControlModifier);
  EXPECT_EQ(Canvas().UserZoom(), 12);
}

// The middle button and Space with the left button drag the view; neither
// draws nor makes an undo step, and the left button draws again once Space
// is up.
TEST_F(ZoomFrameTest, MiddleButtonAndSpaceDragPanTheView) {
  Canvas().SetZoom(16, true);
  Canvas().setAttribute(Qt::WA_UnderMouse);  // the pointer over the canvas
  const int steps = Steps();
  const int x0 = View().m_nOriginX;
  const int y0 = View().m_nOriginY;
  Drag({300, 200}, {300 - 64, 200 - 32}, Qt::MiddleButton);
  EXPECT_EQ(View().m_nOriginX, x0 + 64);
  EXPECT_EQ(View().m_nOriginY, y0 + 32);

  QTest::keyPress(&Canvas(), Qt::Key_Space);
  Drag({300, 200}, {300 + 48, 200 + 16}, Qt::LeftButton);
  EXPECT_EQ(View().m_nOriginX, x0 + 16);
  EXPECT_EQ(View().m_nOriginY, y0 + 16);
  QTest::keyRelease(&Canvas(), Qt::Key_Space);
  EXPECT_FALSE(frame->Pack().m_bModified);
  EXPECT_EQ(Steps(), steps);
  Mouse(QEvent::MouseButtonPress, {300, 200}, Qt::LeftButton, Qt::LeftButton);
  Mouse(QEvent::MouseButtonRelease, {300, 200}, Qt::LeftButton, Qt::NoButton);
  EXPECT_TRUE(frame->Pack().m_bModified);
}

// The view commands leave the level and its tools alone: a floating
// selection stays afloat and no step is made.
TEST_F(ZoomFrameTest, ViewCommandsLeaveAFloatAfloat) {
  Level().SetPixel(10, 10, true);
  frame->OnCommand(IDT_TOOL_SELECT);
  frame->OnCommand(IDM_EDIT_SELECT_ALL);
  QTest::keyClick(&Canvas(), Qt::Key_Right);
  ASSERT_TRUE(frame->Logic().Selection().Floating());
  const int steps = Steps();
  for (int id : {IDM_VIEW_ZOOM_IN, IDM_VIEW_SHOW_GRID, IDM_VIEW_FIT_LEVEL,
                 IDM_VIEW_ZOOM_OUT, IDM_VIEW_ACTUAL_SIZE}) {
    frame->OnCommand(id);
    EXPECT_TRUE(frame->Logic().Selection().Floating()) << id;
  }
  EXPECT_EQ(Steps(), steps);
  frame->OnCommand(IDK_CANCEL);  // drops the float before the window closes
}

TEST_F(ZoomFrameTest, ViewMenuStatusBarAndScrollSteps) {
  // The items and their keys, after Problems.
  QMenu* view = nullptr;
  for (QAction* menu : frame->menuBar()->actions()) {
    if (menu->text() == QStringLiteral("&View")) view = menu->menu();
  }
  ASSERT_NE(view, nullptr);
  QStringList items;
  for (QAction* a : view->actions()) {
    if (!a->isSeparator()) items << a->text();
  }
  EXPECT_EQ(items.mid(items.indexOf(QStringLiteral("Zoom &In"))),
            (QStringList{"Zoom &In", "Zoom &Out", "&Actual Size", "&Fit Level",
                         "Show &Grid"}));
  EXPECT_TRUE(frame->Action(IDM_VIEW_ZOOM_IN)
                  ->shortcuts()
                  .contains(QKeySequence(Qt::CTRL | Qt::Key_Equal)));
  EXPECT_EQ(frame->Action(IDM_VIEW_ACTUAL_SIZE)->shortcut(),
            QKeySequence(Qt::CTRL | Qt::Key_0));
  EXPECT_TRUE(frame->Action(IDM_VIEW_SHOW_GRID)->isChecked());

  // The zoom label stands right before the pixel label.
  QList<QLabel*> labels = frame->statusBar()->findChildren<QLabel*>(
      QString(), Qt::FindDirectChildrenOnly);
  labels.removeIf([](QLabel* l) { return !l->isVisible(); });
  std::sort(labels.begin(), labels.end(), [](QLabel* a, QLabel* b) {
    return a->geometry().left() < b->geometry().left();
  });
  const qsizetype pixelAt = labels.indexOf(frame->PixelLabel());
  ASSERT_GT(pixelAt, 0);
  EXPECT_EQ(labels[pixelAt - 1], ZoomLabel());

  // The ends of the list disable their way on; a scroll line is a pixel.
  for (int i = 0; i < 6; ++i) frame->OnCommand(IDM_VIEW_ZOOM_IN);
  EXPECT_EQ(ZoomLabel()->text(), QStringLiteral("16x"));
  EXPECT_FALSE(frame->Action(IDM_VIEW_ZOOM_IN)->isEnabled());
  QScrollBar* horizontal = nullptr;
  for (QScrollBar* bar : Canvas().parentWidget()->findChildren<QScrollBar*>(
           QString(), Qt::FindDirectChildrenOnly)) {
    if (bar->orientation() == Qt::Horizontal && bar->isEnabled()) {
      horizontal = bar;
    }
  }
  ASSERT_NE(horizontal, nullptr);
  EXPECT_EQ(horizontal->singleStep(), 16);
  const int origin = View().m_nOriginX;
  horizontal->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(View().m_nOriginX, origin + 16);
  for (int i = 0; i < 8; ++i) frame->OnCommand(IDM_VIEW_ZOOM_OUT);
  EXPECT_EQ(ZoomLabel()->text(), QStringLiteral("1x"));
  EXPECT_FALSE(frame->Action(IDM_VIEW_ZOOM_OUT)->isEnabled());
  EXPECT_TRUE(frame->Action(IDM_VIEW_ZOOM_IN)->isEnabled());
}

// The zoom and Show Grid are remembered; a stored value that is not a zoom
// level, or no value at all, gives 4x with the grid.
TEST_F(ZoomFrameTest, ZoomAndGridComeBackFromTheSettings) {
  const QString path = dir.filePath(QStringLiteral("editor.conf"));
  {
    CEditorSettings settings(path);
    EXPECT_EQ(settings.Zoom(), 4);
    EXPECT_TRUE(settings.ShowGrid());
    settings.SetView(12, false);
    settings.Sync();
  }
  frame->Session().UseSettings(std::make_unique<CEditorSettings>(path));
  EXPECT_EQ(Canvas().UserZoom(), 12);
  EXPECT_FALSE(Canvas().GridOn());
  EXPECT_EQ(ZoomLabel()->text(), QStringLiteral("12x"));
  EXPECT_FALSE(frame->Action(IDM_VIEW_SHOW_GRID)->isChecked());

  for (const char* bad : {"5", "0", "-4", "abc", "16.5", ""}) {
    {
      QSettings raw(path, QSettings::IniFormat);
      raw.setValue(QStringLiteral("view/zoom"), QString::fromLatin1(bad));
      raw.setValue(QStringLiteral("view/showGrid"), QStringLiteral("maybe"));
    }
    const CEditorSettings settings(path);
    EXPECT_EQ(settings.Zoom(), 4) << bad;
    EXPECT_TRUE(settings.ShowGrid()) << bad;
  }
}

}  // namespace
