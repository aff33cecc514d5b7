// The canvas widget headless: what the logic paints lands in the backing
// image, the image follows the widget's size, and strokes end when the mouse
// is taken away.
#include <gtest/gtest.h>

#include <QFocusEvent>
#include <QImage>
#include <QKeyEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <functional>
#include <vector>

#include "canvas/CanvasWidget.h"
#include "model/LevelPack.h"
#include "support/QtTestApp.h"

namespace {

constexpr QRgb kBlack = 0xFF000000u;
constexpr QRgb kWhite = 0xFFFFFFFFu;

class CanvasWidgetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QtTestApp();
    pack.NewPack();
    canvas = new CCanvasWidget(pack);
    canvas->resize(500, 320);
    canvas->show();
    ProcessEvents();
  }
  void TearDown() override {
    delete canvas;
    pack.DeleteAllLevels();
  }

  CCanvasLogic& Logic() { return canvas->Logic(); }
  CLevel& Level() { return pack.Current(); }
  QPoint CellPoint(Point level) {
    const Rect cell = Logic().View().CellClientRect(level);
    return {cell.left + 1, cell.top + 1};
  }
  QRgb CellColour(Point level) {
    return canvas->Screen().pixel(CellPoint(level));
  }
  QImage FullPaint() {
    canvas->RefreshView();
    return canvas->Screen().copy();
  }

  // A level of 192 x 96 pixels, larger than the canvas both ways, scrolled
  // by the two bars.
  void ScrollALargeLevel(QScrollBar& h, QScrollBar& v) {
    while (Level().m_nWidthBytes < 24) Level().AddColumn();
    while (Level().m_nHeight < 96) Level().AddRow();
    canvas->SetScrollBars(&h, &v);
    canvas->RefreshView();
    ASSERT_TRUE(h.isEnabled());
    ASSERT_TRUE(v.isEnabled());
  }

  CLevelPack pack;
  CCanvasWidget* canvas = nullptr;
};

TEST_F(CanvasWidgetTest, BackingImageIsTheWidgetSizeAndShowsTheLevel) {
  EXPECT_EQ(canvas->Screen().size(), QSize(500, 320));
  canvas->resize(640, 400);
  ProcessEvents();
  EXPECT_EQ(canvas->Screen().size(), QSize(640, 400));

  // Outline corners black, cells of empty terrain white, set terrain black.
  Level().SetPixel(0, 0, true);
  Level().SetPixel(95, 63, true);
  FullPaint();
  const Rect outline = Logic().View().OutlineClientRect(Level());
  const QImage& screen = canvas->Screen();
  EXPECT_EQ(screen.pixel(outline.left, outline.top), kBlack);
  EXPECT_EQ(screen.pixel(outline.right - 1, outline.bottom - 1), kBlack);
  EXPECT_EQ(CellColour({0, 0}), kBlack);
  EXPECT_EQ(CellColour({95, 63}), kBlack);
  EXPECT_EQ(CellColour({1, 0}), kWhite);
  // Outside the outline the canvas is white.
  EXPECT_EQ(screen.pixel(outline.left - 2, outline.top - 2), kWhite);
}

TEST_F(CanvasWidgetTest, PenStrokePaintsCellsDirectlyAndLineBetweenEvents) {
  FullPaint();
  MousePress(canvas, CellPoint({10, 10}));
  EXPECT_EQ(QWidget::mouseGrabber(), canvas);
  // One far move: every pixel between is drawn.
  MouseMove(canvas, CellPoint({30, 10}), true);
  MouseRelease(canvas, CellPoint({30, 10}));
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
  for (int x = 10; x <= 30; ++x) {
    EXPECT_TRUE(Level().GetPixel(x, 10)) << x;
    EXPECT_EQ(CellColour({x, 10}), kBlack) << x;
  }
  EXPECT_EQ(CellColour({31, 10}), kWhite);
  // Direct painting and a full paint agree.
  const QImage direct = canvas->Screen().copy();
  EXPECT_EQ(FullPaint(), direct);
  // After the release, moving draws nothing.
  MouseMove(canvas, CellPoint({30, 40}), false);
  EXPECT_FALSE(Level().GetPixel(30, 40));
}

TEST_F(CanvasWidgetTest, DirectPaintingRepaintsOnlyTheChangedCells) {
  FullPaint();
  ProcessEvents();  // Qt's own paint of the shown widget
  const int paints = canvas->FullPaints();
  MousePress(canvas, CellPoint({3, 3}));
  MouseMove(canvas, CellPoint({20, 9}), true);
  MouseRelease(canvas, CellPoint({20, 9}));
  Logic().ChoosePlacementTool(OBJ_BLOCK);
  MouseMove(canvas, CellPoint({50, 30}), false);
  Logic().RemovePreview();
  ProcessEvents();
  EXPECT_EQ(canvas->FullPaints(), paints);
  EXPECT_EQ(CellColour({20, 9}), kBlack);
}

TEST_F(CanvasWidgetTest, StrokeEndsWhenTheMouseIsTakenAway) {
  const QEvent::Type kWaysOut[] = {QEvent::UngrabMouse, QEvent::FocusOut,
                                   QEvent::WindowDeactivate};
  for (QEvent::Type type : kWaysOut) {
    MousePress(canvas, CellPoint({5, 5}));
    ASSERT_TRUE(Logic().IsDrawing());
    if (type == QEvent::FocusOut) {
      QFocusEvent event(type, Qt::ActiveWindowFocusReason);
      QCoreApplication::sendEvent(canvas, &event);
    } else {
      QEvent event(type);
      QCoreApplication::sendEvent(canvas, &event);
    }
    EXPECT_FALSE(Logic().IsDrawing()) << type;
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr) << type;
    // The next move with the button seemingly held draws nothing.
    MouseMove(canvas, CellPoint({40, 40}), true);
    EXPECT_FALSE(Level().GetPixel(40, 40)) << type;
    MouseRelease(canvas, CellPoint({40, 40}));
  }
}

TEST_F(CanvasWidgetTest, PreviewFollowsThePointerAndLeavesNoTrace) {
  Level().SetPixel(44, 22, true);
  const QImage before = FullPaint();
  Logic().ChoosePlacementTool(OBJ_ENTRANCE);

  MouseMove(canvas, CellPoint({40, 20}), false);
  ASSERT_TRUE(Logic().PreviewShown());
  // The entrance sprite's top-left pixel is set: inverted on screen.
  EXPECT_EQ(CellColour({40, 20}), kBlack);
  // Its set pixel over terrain shows white (inverted).
  EXPECT_EQ(CellColour({44, 22}), Level().GetPixel(44, 22) ? kBlack : kWhite);

  MouseMove(canvas, CellPoint({60, 30}), false);
  EXPECT_EQ(CellColour({40, 20}), kWhite);
  Logic().RemovePreview();
  canvas->FlushUpdates();
  EXPECT_EQ(canvas->Screen(), before);
  EXPECT_TRUE(Level().GetPixel(44, 22));
}

TEST_F(CanvasWidgetTest, ReplacedEntranceIsGoneAfterTheNextPaint) {
  Logic().ChoosePlacementTool(OBJ_ENTRANCE);
  MousePress(canvas, CellPoint({8, 4}));
  MouseRelease(canvas, CellPoint({8, 4}));
  Logic().ChoosePlacementTool(OBJ_ENTRANCE);
  MousePress(canvas, CellPoint({48, 30}));
  MouseRelease(canvas, CellPoint({48, 30}));
  ProcessEvents();
  // The old entrance's top-left pixel (the sprite's corner) is white again.
  EXPECT_EQ(Level().m_objects[ENTRANCE_SLOT],
            (LevelObject{OBJ_ENTRANCE, 6, 30}));
  EXPECT_EQ(CellColour({8, 4}), kWhite);
  EXPECT_EQ(CellColour({48, 30}), kBlack);
}

TEST_F(CanvasWidgetTest, ScrollBarsCarryLineAndThumbSteps) {
  while (Level().m_nWidthBytes < MAX_WIDTH_BYTES) Level().AddColumn();
  QScrollBar h(Qt::Horizontal);
  QScrollBar v(Qt::Vertical);
  canvas->SetScrollBars(&h, &v);
  canvas->RefreshView();
  ASSERT_TRUE(h.isEnabled());
  const ScrollBarSettings s = Logic().HorizontalBar();
  EXPECT_EQ(h.minimum(), s.min);
  EXPECT_EQ(h.maximum(), s.QtMaximum());
  EXPECT_EQ(h.pageStep(), s.page);

  h.triggerAction(QAbstractSlider::SliderToMinimum);  // the thumb to -48
  EXPECT_EQ(Logic().View().m_nOriginX, -48);
  h.triggerAction(QAbstractSlider::SliderSingleStepAdd);
  h.triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(Logic().View().m_nOriginX, -40);
  h.triggerAction(QAbstractSlider::SliderSingleStepSub);
  EXPECT_EQ(Logic().View().m_nOriginX, -44);
  EXPECT_EQ(h.value(), -44);

  // Dragging the thumb puts the origin on it, rounded to a multiple of 4.
  h.setSliderDown(true);
  h.setSliderPosition(103);
  h.setSliderDown(false);
  EXPECT_EQ(Logic().View().m_nOriginX, 100);
  EXPECT_EQ(h.value(), 100);

  // A full paint then shows level pixel 0 where the origin puts it.
  Level().SetPixel(30, 5, true);
  FullPaint();
  EXPECT_EQ(CellColour({30, 5}), kBlack);

  // A canvas wider than the level: centred, and the bar disabled.
  Level().m_nWidthBytes = MIN_WIDTH_BYTES;
  canvas->RefreshView();
  EXPECT_FALSE(h.isEnabled());
}

// The canvas follows the bar's value whatever moved it: the context menu's
// "Scroll here" sets the value, its "Top"/"Bottom" and the keys on a
// focused bar trigger actions.
TEST_F(CanvasWidgetTest, CanvasFollowsTheScrollBarWhateverMovesIt) {
  QScrollBar h(Qt::Horizontal);
  QScrollBar v(Qt::Vertical);
  ScrollALargeLevel(h, v);
  const auto key = [](QScrollBar& bar, Qt::Key k) {
    QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
    QCoreApplication::sendEvent(&bar, &press);
  };
  struct Case {
    const char* name;
    bool horizontal;
    std::function<void(QScrollBar&)> move;
    int origin;  // expected; kAny: wherever the bar now stands
  };
  constexpr int kAny = 1 << 20;
  const std::vector<Case> cases = {
      {"scroll here", true, [](QScrollBar& b) { b.setValue(103); }, 100},
      {"scroll here, vertical", false, [](QScrollBar& b) { b.setValue(57); },
       56},
      {"bottom", false,
       [](QScrollBar& b) { b.triggerAction(QAbstractSlider::SliderToMaximum); },
       kAny},
      {"page key", true, [&](QScrollBar& b) { key(b, Qt::Key_PageDown); },
       kAny},
      {"end key", false, [&](QScrollBar& b) { key(b, Qt::Key_End); }, kAny},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QScrollBar& bar = c.horizontal ? h : v;
    bar.triggerAction(QAbstractSlider::SliderToMinimum);
    const int& origin =
        c.horizontal ? Logic().View().m_nOriginX : Logic().View().m_nOriginY;
    ASSERT_EQ(origin, MIN_ORIGIN);
    c.move(bar);
    EXPECT_NE(origin, MIN_ORIGIN);
    if (c.origin != kAny) {
      EXPECT_EQ(origin, c.origin);
    }
    EXPECT_EQ(origin % 4, 0);
    const ScrollBarSettings s =
        c.horizontal ? Logic().HorizontalBar() : Logic().VerticalBar();
    EXPECT_EQ(bar.value(), s.QtValue()) << "the bar shows the origin";
  }
}

// The wheel scrolls by what the event says: 120 units of angle are three
// lines (12 pixels), smaller events add up, and a touchpad's pixel delta is
// taken as it is; the view moves in whole 4-pixel lines.
TEST_F(CanvasWidgetTest, WheelScrollsByTheEventsDelta) {
  QScrollBar h(Qt::Horizontal);
  QScrollBar v(Qt::Vertical);
  ScrollALargeLevel(h, v);
  const auto wheel = [&](QPoint pixels, QPoint angle) {
    const QPointF at(50, 50);
    QWheelEvent event(at, canvas->mapToGlobal(at), pixels, angle, Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(canvas, &event);
  };
  struct Case {
    const char* name;
    QPoint pixels;  // per event
    QPoint angle;
    std::vector<int> moved;  // origin moved after each event (down +)
  };
  const std::vector<Case> cases = {
      {"a notch down", {}, {0, -120}, {12}},
      {"a notch up", {}, {0, 120}, {-12}},
      {"eighth notches", {}, {0, -15}, {0, 0, 4, 4, 4, 8, 8, 12}},
      {"pixels", {0, -5}, {0, -40}, {4, 8, 12, 20}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    v.triggerAction(QAbstractSlider::SliderToMinimum);
    v.setValue(32);  // room both ways
    const int start = Logic().View().m_nOriginY;
    std::vector<int> moved;
    for (std::size_t i = 0; i < c.moved.size(); ++i) {
      wheel(c.pixels, c.angle);
      moved.push_back(Logic().View().m_nOriginY - start);
    }
    EXPECT_EQ(moved, c.moved);
    EXPECT_EQ(v.value(), Logic().View().m_nOriginY);
  }
}

}  // namespace
