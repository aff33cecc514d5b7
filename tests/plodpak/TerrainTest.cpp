// Pictures to terrain and back, and manifests of texts that are not plain
// ASCII, tested on the library functions directly.

#include <gtest/gtest.h>

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <random>

#include "imageio/TerrainImage.h"
#include "plodpak/Manifest.h"

namespace plodpak {
namespace {

struct SizeCase {
  int width;
  int height;
  bool fits;
};

TEST(PlodpakTerrainSize, FollowsTheLevelLimits) {
  const SizeCase cases[] = {
      {96, 64, true},   {288, 64, true}, {96, 192, true},  {192, 96, true},
      {144, 128, true}, {104, 65, true}, {88, 64, false},  {100, 64, false},
      {296, 64, false}, {96, 63, false}, {96, 193, false}, {288, 65, false},
      {200, 96, false}, {0, 0, false},
  };
  for (const SizeCase& c : cases) {
    std::string error;
    EXPECT_EQ(CheckTerrainSize(c.width, c.height, error), c.fits)
        << c.width << " x " << c.height << ": " << error;
    EXPECT_EQ(error.empty(), c.fits);
  }
}

struct PixelCase {
  const char* label;
  QRgb argb;
  bool terrain;
};

TEST(PlodpakTerrainFromImage, TerrainIsWhatIsDark) {
  const PixelCase cases[] = {
      {"black", qRgb(0, 0, 0), true},
      {"white", qRgb(255, 255, 255), false},
      {"grey 127", qRgb(127, 127, 127), true},
      {"grey 128", qRgb(128, 128, 128), false},
      {"pure red", qRgb(255, 0, 0), true},     // luminance 76
      {"pure green", qRgb(0, 255, 0), false},  // luminance 150
      {"pure blue", qRgb(0, 0, 255), true},    // luminance 29
      {"yellow", qRgb(255, 255, 0), false},
      {"transparent black", qRgba(0, 0, 0, 0), false},
      // Black at alpha 128 over white is grey 127, at alpha 127 grey 128.
      {"black at alpha 128", qRgba(0, 0, 0, 128), true},
      {"black at alpha 127", qRgba(0, 0, 0, 127), false},
  };
  for (const PixelCase& c : cases) {
    QImage image(96, 64, QImage::Format_ARGB32);
    image.fill(Qt::white);
    image.setPixel(9, 5, c.argb);
    LevelRecord level;
    std::string error;
    ASSERT_TRUE(TerrainFromImage(image, level, error)) << error;
    EXPECT_EQ(level.GetPixel(9, 5), c.terrain) << c.label;
    // Pixel (9, 5) is bit 6 of byte 5 * 12 + 1; nothing else is set.
    EXPECT_EQ(level.m_bitmap[61], c.terrain ? 0x40 : 0x00) << c.label;
  }
}

TEST(PlodpakTerrainFromImage, TakesTheSizeAndKeepsObjects) {
  QImage image(136, 100, QImage::Format_Indexed8);
  image.setColorTable({qRgb(255, 255, 255), qRgb(10, 10, 10)});
  image.fill(1);
  LevelRecord level;
  level.m_objects[ENTRANCE_SLOT] = {OBJ_ENTRANCE, 3, 4};
  std::string error;
  ASSERT_TRUE(TerrainFromImage(image, level, error)) << error;
  EXPECT_EQ(level.m_nWidthBytes, 17);
  EXPECT_EQ(level.m_nHeight, 100);
  EXPECT_TRUE(level.GetPixel(135, 99));
  EXPECT_EQ(level.m_objects[ENTRANCE_SLOT], (LevelObject{OBJ_ENTRANCE, 3, 4}));
}

TEST(PlodpakTerrainFromImage, RefusesABadSizeAndLeavesTheLevel) {
  LevelRecord level;
  level.m_bitmap[0] = 0xAA;
  std::string error;
  EXPECT_FALSE(
      TerrainFromImage(QImage(97, 64, QImage::Format_Mono), level, error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(level.m_nWidthBytes, MIN_WIDTH_BYTES);
  EXPECT_EQ(level.m_bitmap[0], 0xAA);
}

TEST(PlodpakTerrainToImage, IsA1BitPictureOfTheBitmapAndReadsBack) {
  LevelRecord level;
  level.m_nWidthBytes = 36;
  level.m_nHeight = 64;
  std::mt19937 random(5);
  for (int i = 0; i < level.BitmapBytes(); ++i) {
    level.m_bitmap[i] = static_cast<std::uint8_t>(random());
  }
  const QImage image = TerrainToImage(level);
  EXPECT_EQ(image.depth(), 1);
  ASSERT_EQ(image.size(), QSize(288, 64));
  EXPECT_EQ(image.pixel(0, 0),
            level.GetPixel(0, 0) ? qRgb(0, 0, 0) : qRgb(255, 255, 255));

  // Through PNG bytes and back: the same bitmap.
  QImage decoded;
  ASSERT_TRUE(decoded.loadFromData(EncodePng(image), "PNG"));
  LevelRecord back;
  std::string error;
  ASSERT_TRUE(TerrainFromImage(decoded, back, error)) << error;
  EXPECT_TRUE(back.SameLevelAs(level));
}

// A hand-made pack file may hold bytes outside printable ASCII in its texts;
// the manifest still is valid JSON and says exactly which bytes they were.
TEST(PlodpakExportManifest, EscapesBytesThatAreNotPrintable) {
  PackContents pack;
  pack.m_szAuthorName = "Ann \"A\" \\";
  pack.m_szPassword = std::string("p\x01\xE9", 3);
  pack.levels.resize(2);
  std::strcpy(pack.levels[1].m_szName, "tab\there\x7F\xFF");
  std::strcpy(pack.levels[1].m_szPasscode, "\x1B[2J");
  const std::string text = ExportManifest(pack);
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    EXPECT_TRUE(c == '\n' || (byte >= 0x20 && byte <= 0x7E)) << int{byte};
  }
  QJsonParseError parseError;
  const QJsonObject root =
      QJsonDocument::fromJson(QByteArray::fromStdString(text), &parseError)
          .object();
  ASSERT_EQ(parseError.error, QJsonParseError::NoError) << text;
  EXPECT_EQ(root["author"].toString(), QString("Ann \"A\" \\"));
  EXPECT_EQ(root["password"].toString(), QString::fromLatin1("p\x01\xE9", 3));
  const QJsonObject second = root["levels"].toArray()[1].toObject();
  EXPECT_EQ(second["name"].toString(),
            QString::fromLatin1("tab\there\x7F\xFF"));
  EXPECT_EQ(second["passcode"].toString(), QString::fromLatin1("\x1B[2J"));

  // Such texts do not pass into a new pack.
  Manifest manifest;
  Problems problems;
  EXPECT_FALSE(ParseManifest(text, "m.json", manifest, problems));
  EXPECT_NE(problems.front().find("m.json: password: must be printable ASCII"),
            std::string::npos)
      << problems.front();
}

// Two spellings of one key, with escapes or without, are the same key given
// twice; keys that differ in any character are not.
TEST(PlodpakManifestKeys, AKeyIsTheSameHoweverItIsSpelt) {
  const struct {
    const char* first;
    const char* second;
    bool same;
  } cases[] = {
      {"\"a\\u00e9\"", "\"a\xC3\xA9\"", true},               // é
      {"\"\\ud83d\\ude00\"", "\"\xF0\x9F\x98\x80\"", true},  // an emoji
      {"\"a\\/b\\\"\"", "\"a/b\\u0022\"", true},
      {"\"ab\"", "\"aB\"", false},
      {"\"a\\u0000\"", "\"a\"", false},
      {"\"\\ud83d\\ude00\"", "\"\\ud83d\\ude01\"", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.first) + " and " + c.second);
    const std::string json = std::string("{\"format\": 1, \"levels\": [{") +
                             c.first + ": 1, " + c.second + ": 2}]}";
    Manifest manifest;
    Problems problems;
    EXPECT_FALSE(ParseManifest(json, "m.json", manifest, problems));
    const bool twice =
        std::any_of(problems.begin(), problems.end(), [](const auto& line) {
          return line.rfind("m.json: level 1: key ", 0) == 0 &&
                 line.find(" is given more than once") != std::string::npos;
        });
    EXPECT_EQ(twice, c.same);
  }
}

}  // namespace
}  // namespace plodpak
