// export and build against packs the editor's own save code wrote: what
// plodpak builds from an export is the same file, byte for byte.

#include <gtest/gtest.h>

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstring>
#include <random>

#include "PlodpakSupport.h"
#include "packfile/PackFile.h"

namespace plodpak_test {
namespace {

struct RoundTripCase {
  const char* label;
  unsigned seed;
  int levels;
  VariableFlavour flavour;
};

class PlodpakExportBuildRoundTrip
    : public testing::TestWithParam<RoundTripCase> {};

TEST_P(PlodpakExportBuildRoundTrip, RebuildsTheSameFile) {
  const RoundTripCase& c = GetParam();
  TempFolder folder;
  const bool plus = c.flavour == VariableFlavour::TI83Plus;
  const std::string original = folder / (plus ? "My Pack.8xp" : "My Pack.83p");
  const PackContents pack = RandomPack(c.seed, c.levels);
  std::string error;
  ASSERT_TRUE(SavePackFile(original, pack, error, c.flavour)) << error;

  const ToolResult exported =
      RunPlodpak({"export", original, "--password", pack.m_szPassword, "--out",
                  folder / "out"});
  ASSERT_EQ(exported.status, 0) << exported.err;

  // Built under the same file name in another folder, so the variable name
  // (made from the file name) is the same too.
  std::filesystem::create_directory(folder.Path() / "again");
  const std::string rebuilt =
      folder / (plus ? "again/My Pack.8xp" : "again/My Pack.83p");
  std::vector<std::string> args = {"build", folder / "out/pack.json", "--out",
                                   rebuilt};
  if (plus) args.push_back("--8xp");
  const ToolResult built = RunPlodpak(args);
  ASSERT_EQ(built.status, 0) << built.err;
  EXPECT_EQ(ReadBytes(rebuilt), ReadBytes(original));
}

INSTANTIATE_TEST_SUITE_P(
    Packs, PlodpakExportBuildRoundTrip,
    testing::Values(
        RoundTripCase{"OneLevel", 1, 1, VariableFlavour::TI83},
        RoundTripCase{"NineLevels", 2, 9, VariableFlavour::TI83},
        RoundTripCase{"FourLevels", 3, 4, VariableFlavour::TI83},
        RoundTripCase{"NineLevelsPlus", 4, 9, VariableFlavour::TI83Plus},
        RoundTripCase{"TwoLevelsPlus", 5, 2, VariableFlavour::TI83Plus}),
    [](const testing::TestParamInfo<RoundTripCase>& info) {
      return std::string(info.param.label);
    });

// The exported pictures and manifest say exactly what the pack holds.
TEST(PlodpakExport, WritesTheLevelsAsPicturesAndManifest) {
  TempFolder folder;
  const PackContents pack = RandomPack(7, 3);
  std::string error;
  ASSERT_TRUE(SavePackFile(folder / "p.83p", pack, error)) << error;
  const ToolResult result =
      RunPlodpak({"export", folder / "p.83p", "--password", pack.m_szPassword,
                  "--out", folder / "new/sub"});
  ASSERT_EQ(result.status, 0) << result.err;

  for (std::size_t i = 0; i < pack.levels.size(); ++i) {
    const LevelRecord& level = pack.levels[i];
    const std::string picture =
        folder / ("new/sub/level-" + std::to_string(i + 1) + ".png");
    const QImage image(QString::fromStdString(picture));
    ASSERT_FALSE(image.isNull()) << picture;
    EXPECT_EQ(image.depth(), 1) << picture;
    ASSERT_EQ(image.width(), level.WidthPixels());
    ASSERT_EQ(image.height(), level.m_nHeight);
    int mismatches = 0;
    for (int y = 0; y < level.m_nHeight; ++y) {
      for (int x = 0; x < level.WidthPixels(); ++x) {
        const bool terrain = level.GetPixel(x, y);
        const QRgb expected = terrain ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
        if (image.pixel(x, y) != expected) ++mismatches;
      }
    }
    EXPECT_EQ(mismatches, 0) << picture;
  }

  const QJsonObject manifest =
      QJsonDocument::fromJson(
          QByteArray::fromStdString(ReadText(folder / "new/sub/pack.json")))
          .object();
  EXPECT_EQ(manifest["format"].toInt(), 1);
  EXPECT_EQ(manifest["author"].toString().toStdString(), pack.m_szAuthorName);
  EXPECT_EQ(manifest["password"].toString().toStdString(), pack.m_szPassword);
  const QJsonArray levels = manifest["levels"].toArray();
  ASSERT_EQ(levels.size(), 3);
  // The file stores no passcode for the first level, so none is exported.
  EXPECT_FALSE(levels[0].toObject().contains("passcode"));
  const QJsonObject second = levels[1].toObject();
  const LevelRecord& level = pack.levels[1];
  EXPECT_EQ(second["passcode"].toString().toStdString(), level.m_szPasscode);
  EXPECT_EQ(second["name"].toString().toStdString(), level.m_szName);
  EXPECT_EQ(second["to_save"].toInt(), level.m_nToSave);
  EXPECT_EQ(second["skills"].toObject()["miners"].toInt(),
            level.m_nSkills[SKILL_MINERS]);
  EXPECT_EQ(second["terrain"].toString(), "level-2.png");
  EXPECT_EQ(second["exit"].toObject()["x"].toInt(),
            8 * level.m_objects[EXIT_SLOT].col);
  EXPECT_EQ(second["exit"].toObject()["y"].toInt(),
            level.m_objects[EXIT_SLOT].row);
  EXPECT_EQ(second["blocks"].toArray().size(), level.m_nBlockCount);
}

TEST(PlodpakExport, KeepsTheManifestKeyOrder) {
  TempFolder folder;
  std::string error;
  ASSERT_TRUE(SavePackFile(folder / "p.83p", RandomPack(8, 2), error));
  ASSERT_EQ(RunPlodpak({"export", folder / "p.83p", "--password", "pw8",
                        "--out", folder / "out"})
                .status,
            0);
  const std::string text = ReadText(folder / "out/pack.json");
  const char* keys[] = {"\"format\"",  "\"author\"",         "\"password\"",
                        "\"levels\"",  "\"name\"",           "\"population\"",
                        "\"to_save\"", "\"spawn_interval\"", "\"time\"",
                        "\"skills\"",  "\"bashers\"",        "\"miners\"",
                        "\"terrain\"", "\"entrance\"",       "\"exit\"",
                        "\"blocks\"",  "\"passcode\""};
  std::size_t at = 0;
  for (const char* key : keys) {
    const std::size_t found = text.find(key, at);
    ASSERT_NE(found, std::string::npos) << key << " missing or out of order";
    at = found;
  }
}

// A level saved without an exit (the editor's plain Save allows it) exports
// without the key, and build then refuses it, as Save As would.
TEST(PlodpakExport, LeavesOutAMissingExitWhichBuildThenRefuses) {
  TempFolder folder;
  PackContents pack = RandomPack(9, 2);
  pack.levels[1].m_objects[EXIT_SLOT].kind = OBJ_NONE;
  std::string error;
  ASSERT_TRUE(SavePackFile(folder / "p.83p", pack, error)) << error;
  ASSERT_EQ(RunPlodpak({"export", folder / "p.83p", "--password", "pw9",
                        "--out", folder / "out"})
                .status,
            0);
  const QJsonArray levels =
      QJsonDocument::fromJson(
          QByteArray::fromStdString(ReadText(folder / "out/pack.json")))
          .object()["levels"]
          .toArray();
  EXPECT_TRUE(levels[0].toObject().contains("exit"));
  EXPECT_FALSE(levels[1].toObject().contains("exit"));
  EXPECT_TRUE(levels[1].toObject().contains("entrance"));

  const ToolResult built = RunPlodpak(
      {"build", folder / "out/pack.json", "--out", folder / "q.83p"});
  EXPECT_EQ(built.status, 2);
  EXPECT_NE(built.err.find("level 2: exit: missing"), std::string::npos)
      << built.err;
  EXPECT_FALSE(std::filesystem::exists(folder / "q.83p"));
}

TEST(PlodpakExport, RefusesAWrongPasswordAndWritesNothing) {
  TempFolder folder;
  std::string error;
  ASSERT_TRUE(SavePackFile(folder / "p.83p", RandomPack(10, 1), error));
  // The password is "pw10"; case counts, as in the editor's prompt.
  for (const std::string wrong : {"PW10", "pw1", "", "pw10 "}) {
    SCOPED_TRACE("password \"" + wrong + "\"");
    const ToolResult result =
        RunPlodpak({"export", folder / "p.83p", "--password", wrong, "--out",
                    folder / "out"});
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("Wrong. Try again."), std::string::npos)
        << result.err;
    EXPECT_FALSE(std::filesystem::exists(folder / "out"));
  }
}

// The manifest plodpak reads is the one it writes: a hand-made manifest
// built, exported and built again gives the same file.
TEST(PlodpakBuild, HandMadeManifestSurvivesExportAndRebuild) {
  TempFolder folder;
  const std::string manifest =
      SaveManifest(folder.Path(), WriteSampleManifest(folder.Path()));
  ASSERT_EQ(RunPlodpak({"build", manifest, "--out", folder / "ann.83p"}).status,
            0);
  ASSERT_EQ(RunPlodpak({"export", folder / "ann.83p", "--password", "secret",
                        "--out", folder / "out"})
                .status,
            0);
  std::filesystem::create_directory(folder.Path() / "again");
  ASSERT_EQ(RunPlodpak({"build", folder / "out/pack.json", "--out",
                        folder / "again/ann.83p"})
                .status,
            0);
  EXPECT_EQ(ReadBytes(folder / "again/ann.83p"), ReadBytes(folder / "ann.83p"));

  PackContents pack;
  std::string error;
  ASSERT_TRUE(LoadPackFile(folder / "ann.83p", pack, error)) << error;
  ASSERT_EQ(pack.levels.size(), 2u);
  const LevelRecord& second = pack.levels[1];
  EXPECT_EQ(second.m_nWidthBytes, 14);
  EXPECT_EQ(second.m_nHeight, 72);
  EXPECT_STREQ(second.m_szPasscode, "WXYZ");
  EXPECT_EQ(second.m_nSpawnInterval, 220);
  EXPECT_EQ(second.m_nTime, 20000);
  EXPECT_EQ(second.m_objects[EXIT_SLOT], (LevelObject{OBJ_EXIT, 12, 56}));
  // The sample picture is white with a black band of 8 rows at the bottom.
  EXPECT_FALSE(second.GetPixel(0, 63));
  EXPECT_TRUE(second.GetPixel(0, 64));
  EXPECT_TRUE(second.GetPixel(111, 71));
  EXPECT_EQ(pack.levels[0].m_objects[FIRST_BLOCK_SLOT],
            (LevelObject{OBJ_BLOCK, 3, 40}));
  EXPECT_EQ(pack.m_szAuthorName, "Ann");
  EXPECT_EQ(pack.m_szPassword, "secret");
}

// A pack one byte over what a TI-83 Plus file holds: it builds as a TI-83
// file, identical to the editor's, and is refused with --8xp.
TEST(PlodpakBuild, RefusesAPackTooLargeForTheTi83PlusOnly) {
  PackContents pack;
  pack.m_szAuthorName = "A";
  pack.m_szPassword = "p";
  std::mt19937 random(11);
  // Bytes that are never part of a run and need no escape cost one byte.
  auto plainByte = [&random] {
    std::uint8_t byte;
    do {
      byte = static_cast<std::uint8_t>(random());
    } while (byte == 0x00 || byte == 0xFF || byte == 0x80);
    return byte;
  };
  for (int i = 0; i < 5; ++i) {
    LevelRecord level;
    level.m_nWidthBytes = 36;
    level.m_nHeight = 64;
    level.m_objects[ENTRANCE_SLOT] = {OBJ_ENTRANCE, 0, 0};
    level.m_objects[EXIT_SLOT] = {OBJ_EXIT, 2, 0};
    std::strcpy(level.m_szName, "");
    std::strcpy(level.m_szPasscode, i == 0 ? "" : "ABCD");
    for (int b = 0; b < level.BitmapBytes(); ++b) {
      level.m_bitmap[b] = i < 4 ? plainByte() : 0;
    }
    pack.levels.push_back(level);
  }
  // Grow the fifth level's noise, then pad a name to exactly 9925 bytes.
  const std::size_t target = 9925;
  std::vector<std::uint8_t> image;
  std::string error;
  LevelRecord& last = pack.levels[4];
  bool hit = false;
  for (int noise = 0; noise < last.BitmapBytes() && !hit; ++noise) {
    last.m_bitmap[noise] = plainByte();
    ASSERT_TRUE(EncodePackImage(pack, image, error)) << error;
    if (image.size() <= target && target - image.size() <= NAME_CHARS) {
      const std::size_t pad = target - image.size();
      std::memset(last.m_szName, 'n', pad);
      last.m_szName[pad] = '\0';
      hit = true;
    }
  }
  ASSERT_TRUE(hit);
  ASSERT_TRUE(EncodePackImage(pack, image, error)) << error;
  ASSERT_EQ(image.size(), target);

  TempFolder folder;
  ASSERT_TRUE(SavePackFile(folder / "big.83p", pack, error)) << error;
  ASSERT_EQ(RunPlodpak({"export", folder / "big.83p", "--password", "p",
                        "--out", folder / "out"})
                .status,
            0);
  const std::string manifest = folder / "out/pack.json";

  const ToolResult plus =
      RunPlodpak({"build", manifest, "--out", folder / "big.8xp", "--8xp"});
  EXPECT_EQ(plus.status, 2);
  EXPECT_NE(plus.err.find(manifest + ": "), std::string::npos) << plus.err;
  EXPECT_NE(plus.err.find("9924"), std::string::npos) << plus.err;
  EXPECT_FALSE(std::filesystem::exists(folder / "big.8xp"));

  std::filesystem::create_directory(folder.Path() / "again");
  const ToolResult plain =
      RunPlodpak({"build", manifest, "--out", folder / "again/big.83p"});
  ASSERT_EQ(plain.status, 0) << plain.err;
  EXPECT_EQ(ReadBytes(folder / "again/big.83p"), ReadBytes(folder / "big.83p"));
}

}  // namespace
}  // namespace plodpak_test
