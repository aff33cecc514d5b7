// Picture files reach the terrain only as regular files of a bounded size:
// the editor's Import Terrain Image and plodpak's build read them the same
// way, and neither may block on a pipe or read a device without end.
#include <gtest/gtest.h>

#include <QImage>

#include "imageio/TerrainImage.h"
#include "support/NotRegularFiles.h"
#include "support/TempFiles.h"

namespace {

using namespace std::chrono_literals;

struct Outcome {
  bool ok = false;
  std::string error;
  bool levelTouched = false;
};

using Read = bool (*)(const std::string&, LevelRecord&, std::string&);

Outcome ReadWith(Read read, const std::string& path) {
  LevelRecord level;
  const LevelRecord before = level;
  Outcome out;
  out.ok = read(path, level, out.error);
  out.levelTouched = !level.SameLevelAs(before);
  return out;
}

const std::pair<const char*, Read> kReaders[] = {
    {"ReadTerrainFile", ReadTerrainFile},
    {"ImportTerrainFile", ImportTerrainFile},
};

TEST(PictureFile, WhatIsNotARegularFileIsRefusedAtOnce) {
  const testsupport::TempFolder dir("plodderz-picture");
  for (const auto& file : testsupport::MakeNotRegularFiles(dir.Path())) {
    for (const auto& [name, read] : kReaders) {
      SCOPED_TRACE(std::string(name) + " on " + file.what);
      const std::optional<Outcome> out = testsupport::FinishesWithin(
          5s, [read = read, path = file.path] { return ReadWith(read, path); });
      ASSERT_TRUE(out.has_value()) << "the reader did not return";
      EXPECT_FALSE(out->ok);
      EXPECT_EQ(out->error, "\"" + file.path + "\" " + file.reason);
      EXPECT_FALSE(out->levelTouched);
    }
  }
}

TEST(PictureFile, ReadsAPictureFileAndRefusesOneTooLargeUnread) {
  const testsupport::TempFolder dir("plodderz-picture");
  QImage image(96, 64, QImage::Format_Mono);
  image.fill(0);
  image.setPixel(5, 7, 1);
  ASSERT_TRUE(image.save(QString::fromStdString(dir / "p.png"), "png"));
  for (const auto& [name, read] : kReaders) {
    SCOPED_TRACE(name);
    LevelRecord level;
    std::string error;
    ASSERT_TRUE(read(dir / "p.png", level, error)) << error;
    EXPECT_EQ(level.WidthPixels(), 96);
  }
  // A file past the limit is refused by its size before any decoding.
  std::vector<std::uint8_t> big = testsupport::ReadBytes(dir / "p.png");
  big.resize(PICTURE_FILE_MAX_BYTES + 1);
  testsupport::WriteBytes(dir / "big.png", big);
  const Outcome out = ReadWith(ImportTerrainFile, dir / "big.png");
  EXPECT_FALSE(out.ok);
  EXPECT_EQ(out.error, "\"" + dir / "big.png" + "\" is longer than " +
                           std::to_string(PICTURE_FILE_MAX_BYTES) + " bytes");
}

}  // namespace
