// Pictures of any size into a level, levels into pictures and thumbnails.

#include <gtest/gtest.h>

#include <QImage>
#include <cstring>

#include "canvas/Sprites.h"
#include "imageio/TerrainImage.h"

namespace {

struct FitCase {
  int width;
  int height;
  int widthBytes;  // 0: refused
  int rows;
};

TEST(FitTerrainFromImage, RoundsUpRaisesAndRefusesAtTheLimits) {
  const FitCase cases[] = {
      {96, 64, 12, 64},  {1, 1, 12, 64},      {97, 64, 13, 64},
      {100, 70, 13, 70}, {288, 64, 36, 64},   {281, 64, 36, 64},
      {289, 64, 0, 0},   {96, 192, 12, 192},  {96, 193, 0, 0},
      {97, 192, 0, 0},   {192, 96, 24, 96},   {185, 96, 24, 96},
      {193, 96, 0, 0},   {144, 128, 18, 128}, {145, 128, 0, 0},
  };
  for (const FitCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
    QImage image(c.width, c.height, QImage::Format_RGB32);
    image.fill(Qt::black);
    LevelRecord level;
    level.PlaceObject({16, 0}, OBJ_ENTRANCE);
    const LevelRecord before = level;
    std::string error;
    const bool fits = FitTerrainFromImage(image, level, error);
    EXPECT_EQ(fits, c.widthBytes != 0) << error;
    if (!fits) {
      EXPECT_NE(error.find("at most 288 pixels wide and 192 pixels high, with "
                           "at most 2304 bytes"),
                std::string::npos)
          << error;
      EXPECT_TRUE(level.SameLevelAs(before));
      continue;
    }
    EXPECT_EQ(level.m_nWidthBytes, c.widthBytes);
    EXPECT_EQ(level.m_nHeight, c.rows);
    // The picture is terrain; what was added to reach a level size is not.
    EXPECT_TRUE(level.GetPixel(c.width - 1, c.height - 1));
    if (c.width < level.WidthPixels()) {
      EXPECT_FALSE(level.GetPixel(c.width, 0));
    }
    if (c.height < level.m_nHeight) {
      EXPECT_FALSE(level.GetPixel(0, c.height));
    }
  }
}

TEST(FitTerrainFromImage, DarkerThanMiddleGreyOverWhiteIsTerrain) {
  const struct {
    QRgb pixel;
    bool terrain;
  } cases[] = {
      {qRgba(0, 0, 0, 255), true},       {qRgba(255, 255, 255, 255), false},
      {qRgba(127, 127, 127, 255), true}, {qRgba(128, 128, 128, 255), false},
      {qRgba(0, 0, 0, 0), false},        {qRgba(0, 0, 0, 128), true},
      {qRgba(0, 0, 0, 127), false},      {qRgba(255, 0, 0, 255), true},
      {qRgba(0, 255, 0, 255), false},
  };
  QImage image(static_cast<int>(std::size(cases)), 1, QImage::Format_ARGB32);
  for (int i = 0; i < image.width(); ++i) image.setPixel(i, 0, cases[i].pixel);
  LevelRecord level;
  std::string error;
  ASSERT_TRUE(FitTerrainFromImage(image, level, error)) << error;
  for (int i = 0; i < image.width(); ++i) {
    EXPECT_EQ(level.GetPixel(i, 0), cases[i].terrain) << i;
  }
}

TEST(FitTerrainFromImage, DropsObjectsThatNoLongerFit) {
  LevelRecord level;
  while (level.m_nWidthBytes < 20) level.AddColumn();
  while (level.m_nHeight < 100) level.AddRow();
  level.PlaceObject({8, 8}, OBJ_ENTRANCE);
  level.PlaceObject({8, 80}, OBJ_EXIT);
  level.PlaceObject({144, 8}, OBJ_BLOCK);
  level.PlaceObject({16, 30}, OBJ_BLOCK);
  QImage image(96, 64, QImage::Format_Mono);
  image.fill(0);
  std::string error;
  ASSERT_TRUE(FitTerrainFromImage(image, level, error)) << error;
  EXPECT_EQ(level.m_objects[ENTRANCE_SLOT].kind, OBJ_ENTRANCE);
  EXPECT_EQ(level.m_objects[EXIT_SLOT].kind, OBJ_NONE);
  ASSERT_EQ(level.m_nBlockCount, 1);
  EXPECT_EQ(level.m_objects[FIRST_BLOCK_SLOT].col, 2);
}

TEST(FitTerrainFromImage, RefusesAnEmptyPicture) {
  LevelRecord level;
  std::string error;
  EXPECT_FALSE(FitTerrainFromImage(QImage(), level, error));
  EXPECT_EQ(error, "The picture is empty.");
}

LevelRecord Drawn() {
  LevelRecord level;
  level.m_nWidthBytes = 13;
  level.m_nHeight = 70;
  for (int i = 0; i < level.BitmapBytes(); ++i) {
    level.m_bitmap[i] = static_cast<std::uint8_t>(i * 73 % 256);
  }
  return level;
}

TEST(LevelPicture, ExportThenImportGivesTheSameTerrain) {
  for (int scale : {1, 3}) {
    const LevelRecord level = Drawn();
    const QImage picture = LevelPicture(level, false, scale);
    ASSERT_EQ(picture.size(), QSize(104 * scale, 70 * scale));
    const QImage back = scale == 1
                            ? picture
                            : picture.scaled(104, 70, Qt::IgnoreAspectRatio,
                                             Qt::FastTransformation);
    LevelRecord read;
    std::string error;
    ASSERT_TRUE(FitTerrainFromImage(back, read, error)) << error;
    EXPECT_EQ(std::memcmp(read.m_bitmap, level.m_bitmap, 13 * 70), 0);
    // Every pixel of a level pixel's square has its colour.
    EXPECT_EQ(picture.pixel(scale * 5 + scale - 1, scale * 9 + scale - 1),
              level.GetPixel(5, 9) ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
  }
}

TEST(LevelPicture, DrawsTheObjectsOnlyWhenAsked) {
  LevelRecord level;
  level.PlaceObject({40, 20}, OBJ_EXIT);
  // Every pixel of the exit's 16 x 16 square as its sprite has it.
  const Sprite& sprite = GetSprite(OBJ_EXIT);
  const QImage bare = LevelPicture(level, false, 1);
  const QImage drawn = LevelPicture(level, true, 1);
  for (int r = 0; r < 16; ++r) {
    for (int c = 0; c < 16; ++c) {
      const bool black = (sprite[r + 16 * (c / 8)] & (0x80u >> (c % 8))) != 0;
      EXPECT_EQ(drawn.pixel(40 + c, 20 + r),
                black ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
      EXPECT_EQ(bare.pixel(40 + c, 20 + r), qRgb(255, 255, 255));
    }
  }
}

TEST(LevelThumbnail, FitsItsBoxAndIsAsDarkAsTheTerrain) {
  LevelRecord level;
  level.m_nWidthBytes = 36;
  level.m_nHeight = 64;
  std::memset(level.m_bitmap, 0xFF, 36 * 32);  // the upper half is terrain
  const QImage thumb = LevelThumbnail(level, 72, 48);
  ASSERT_EQ(thumb.size(), QSize(72, 16));  // 4 x 4 level pixels a pixel
  EXPECT_EQ(qGray(thumb.pixel(0, 0)), 0);
  EXPECT_EQ(qGray(thumb.pixel(71, 15)), 255);

  LevelRecord tall;
  tall.m_nHeight = 192;
  tall.SetPixel(0, 0, true);  // one pixel of nine: light grey
  const QImage small = LevelThumbnail(tall, 72, 48);
  ASSERT_EQ(small.size(), QSize(24, 48));
  EXPECT_EQ(qGray(small.pixel(0, 0)), 255 - 255 / 16);
}

}  // namespace
