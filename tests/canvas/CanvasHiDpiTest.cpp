// The canvas on a screen of device pixel ratio 2 (QT_SCALE_FACTOR=2, set
// before the application starts): it draws in device pixels, so a level
// pixel at 4x is an 8 x 8 block of them with a 1-pixel grid line, and a
// pointer position maps to the pixel drawn under it.
#include <gtest/gtest.h>

#include <QImage>
#include <QMouseEvent>

#include "canvas/CanvasWidget.h"
#include "model/LevelPack.h"
#include "support/QtTestApp.h"

namespace {

// Before main, so before the one QApplication reads it.
const bool kScaled = qputenv("QT_SCALE_FACTOR", "2");

constexpr QRgb kBlack = 0xFF000000u;
constexpr QRgb kWhite = 0xFFFFFFFFu;

class CanvasHiDpiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(kScaled);
    QtTestApp();
    pack.NewPack();
    canvas = new CCanvasWidget(pack);
    canvas->resize(300, 200);
    canvas->show();
    ProcessEvents();
  }
  void TearDown() override {
    delete canvas;
    pack.DeleteAllLevels();
  }

  void Click(QPointF at) {
    for (QEvent::Type type :
         {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
      const bool press = type == QEvent::MouseButtonPress;
      QMouseEvent event(type, at, canvas->mapToGlobal(at), Qt::LeftButton,
                        press ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
      QCoreApplication::sendEvent(canvas, &event);
    }
  }

  CLevelPack pack;
  CCanvasWidget* canvas = nullptr;
};

TEST_F(CanvasHiDpiTest, DrawsInDevicePixelsAndMapsPointersToThem) {
  ASSERT_EQ(canvas->devicePixelRatioF(), 2.0);
  const QImage& screen = canvas->Screen();
  EXPECT_EQ(screen.width(), 600);
  EXPECT_EQ(screen.height(), 400);
  EXPECT_EQ(canvas->UserZoom(), 4);
  const CanvasView& view = canvas->Logic().View();
  EXPECT_EQ(view.Zoom(), 8);

  // A click in the middle of a cell as the widget sees it (half the device
  // pixels) sets that pixel and paints its 7 x 7 device-pixel cell.
  const Point pixel{10, 5};
  const Rect cell = view.CellClientRect(pixel);
  ASSERT_EQ(cell.Width(), 7);
  Click(
      QPointF((cell.left + cell.right) / 4.0, (cell.top + cell.bottom) / 4.0));
  EXPECT_TRUE(pack.Current().GetPixel(pixel.x, pixel.y));
  EXPECT_EQ(pack.Current().GetPixel(pixel.x + 1, pixel.y), false);
  const QImage& after = canvas->Screen();
  for (int y = cell.top; y < cell.bottom; ++y) {
    for (int x = cell.left; x < cell.right; ++x) {
      ASSERT_EQ(after.pixel(x, y), kBlack) << x << "," << y;
    }
  }
  // One device pixel of grid line, then the next cell, white.
  EXPECT_EQ(after.pixel(cell.right, cell.top), kBlack);
  EXPECT_EQ(after.pixel(cell.right + 1, cell.top), kWhite);
  EXPECT_EQ(after.pixel(cell.right + 7, cell.top), kWhite);
  EXPECT_EQ(after.pixel(cell.right + 8, cell.top), kBlack);

  // Every zoom doubles in device pixels; 1x has no grid.
  canvas->SetZoom(1, true);
  EXPECT_EQ(view.Zoom(), 2);
  EXPECT_EQ(view.CellClientRect(pixel).Width(), 2);
  canvas->FitLevel();
  // 96 x 64 at 3x is 576 x 384 of the 600 x 400 device pixels.
  EXPECT_EQ(canvas->UserZoom(), 3);
}

}  // namespace
