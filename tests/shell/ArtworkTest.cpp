#include <gtest/gtest.h>

#include <QImage>

#include "shell/Artwork.h"
#include "support/QtTestApp.h"

namespace {

int OpaquePixels(const QPixmap& pixmap) {
  const QImage image = pixmap.toImage();
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qAlpha(image.pixel(x, y)) > 0) ++count;
    }
  }
  return count;
}

TEST(ArtworkTest, EveryImageIsDrawnAtTheDevicePixelRatio) {
  QtTestApp();
  const char* kImages[] = {"icon.svg",
                           "cursors/pen_small_black.svg",
                           "cursors/pen_large_black.svg",
                           "cursors/pen_small_white.svg",
                           "cursors/pen_large_white.svg",
                           "cursors/place.svg",
                           "toolbar/population.svg",
                           "toolbar/place_entrance.svg",
                           "toolbar/place_exit.svg",
                           "toolbar/place_block.svg",
                           "toolbar/remove_block.svg",
                           "toolbar/reset_level.svg",
                           "toolbar/pen_small_black.svg",
                           "toolbar/pen_large_black.svg",
                           "toolbar/pen_small_white.svg",
                           "toolbar/pen_large_white.svg"};
  for (const char* name : kImages) {
    const QPixmap one = artwork::Render(name, 22, 20, 1.0);
    const QPixmap two = artwork::Render(name, 22, 20, 2.0);
    EXPECT_EQ(two.size(), QSize(44, 40)) << name;
    EXPECT_EQ(two.devicePixelRatio(), 2.0) << name;
    EXPECT_EQ(two.deviceIndependentSize().toSize(), QSize(22, 20)) << name;
    // Drawn at full resolution: about four times the pixels of 1x.
    const int n1 = OpaquePixels(one);
    const int n2 = OpaquePixels(two);
    EXPECT_GT(n1, 0) << name;
    EXPECT_GT(n2, 3 * n1) << name;
  }
}

TEST(ArtworkTest, AMissingImageGivesATransparentPixmapOfItsSize) {
  QtTestApp();
  const QPixmap pixmap = artwork::Render("no/such.svg", 16, 15, 1.0);
  EXPECT_EQ(pixmap.size(), QSize(16, 15));
  EXPECT_EQ(OpaquePixels(pixmap), 0);
}

}  // namespace
