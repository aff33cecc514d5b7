// Every rule the editor enforces before a save, refused by build with a
// message that names the file, the level and the field, exit status 2 and
// no file written.

#include <gtest/gtest.h>

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstring>
#include <functional>

#include "PlodpakSupport.h"

namespace plodpak_test {
namespace {

using Edit = std::function<void(QJsonObject& root, const TempFolder& folder)>;

// Changes level `index` (0-based) of the manifest in place.
void EditLevel(QJsonObject& root, int index,
               const std::function<void(QJsonObject&)>& edit) {
  QJsonArray levels = root["levels"].toArray();
  QJsonObject level = levels[index].toObject();
  edit(level);
  levels[index] = level;
  root["levels"] = levels;
}

Edit SetLevel(int index, const char* key, QJsonValue value) {
  return [=](QJsonObject& root, const TempFolder&) {
    EditLevel(root, index, [&](QJsonObject& level) { level[key] = value; });
  };
}

Edit RemoveFromLevel(int index, const char* key) {
  return [=](QJsonObject& root, const TempFolder&) {
    EditLevel(root, index, [&](QJsonObject& level) { level.remove(key); });
  };
}

Edit SetSkill(const char* skill, QJsonValue value) {
  return [=](QJsonObject& root, const TempFolder&) {
    EditLevel(root, 0, [&](QJsonObject& level) {
      QJsonObject skills = level["skills"].toObject();
      if (value.isUndefined()) {
        skills.remove(skill);
      } else {
        skills[skill] = value;
      }
      level["skills"] = skills;
    });
  };
}

Edit SetRoot(const char* key, QJsonValue value) {
  return [=](QJsonObject& root, const TempFolder&) {
    if (value.isUndefined()) {
      root.remove(key);
    } else {
      root[key] = value;
    }
  };
}

QJsonObject Point(int x, int y) { return {{"x", x}, {"y", y}}; }

QJsonArray Blocks(int count) {
  QJsonArray blocks;
  for (int i = 0; i < count; ++i) blocks.append(Point(8 * (i % 10), 0));
  return blocks;
}

QJsonArray CopiesOfFirstLevel(const QJsonObject& root, int count) {
  QJsonArray levels;
  QJsonObject level = root["levels"].toArray()[0].toObject();
  level["passcode"] = "ABCD";
  for (int i = 0; i < count; ++i) levels.append(level);
  return levels;
}

Edit Picture(int width, int height) {
  return [=](QJsonObject&, const TempFolder& folder) {
    QImage image(width, height, QImage::Format_Mono);
    image.fill(0);
    ASSERT_TRUE(image.save(QString::fromStdString(folder / "level-1.png")));
  };
}

// Writes the manifest's text with `added` after the first `after` in it: a
// key given twice, which a JSON object cannot hold.
Edit AddToText(const char* after, const char* added) {
  return [=](QJsonObject& root, const TempFolder& folder) {
    std::string text = QJsonDocument(root).toJson().toStdString();
    const std::size_t at = text.find(after);
    ASSERT_NE(at, std::string::npos) << after;
    text.insert(at + std::strlen(after), added);
    WriteText(folder / "pack.json", text);
  };
}

Edit ManifestText(const char* text) {
  return [=](QJsonObject&, const TempFolder& folder) {
    WriteText(folder / "pack.json", text);
  };
}

struct BadManifest {
  const char* label;
  Edit edit;
  // Expected in the error output; "@" stands for the manifest's folder.
  const char* message;
};

const QJsonValue kMissing = QJsonValue(QJsonValue::Undefined);

const BadManifest kBadManifests[] = {
    // The pack's own fields.
    {"FormatMissing", SetRoot("format", kMissing),
     "@/pack.json: format: missing"},
    {"FormatTwo", SetRoot("format", 2), "@/pack.json: format: unsupported"},
    {"AuthorEmpty", SetRoot("author", ""),
     "@/pack.json: author: must not be empty"},
    {"AuthorMissing", SetRoot("author", kMissing),
     "@/pack.json: author: missing"},
    {"AuthorTooLong", SetRoot("author", QString(26, 'a')),
     "@/pack.json: author: 26 characters; at most 25"},
    {"AuthorNotAscii", SetRoot("author", QString::fromUtf8("Zo\xc3\xab")),
     "@/pack.json: author: must be printable ASCII (character 3 is not)"},
    {"PasswordEmpty", SetRoot("password", ""),
     "@/pack.json: password: must not be empty"},
    {"PasswordTooLong", SetRoot("password", QString(11, 'p')),
     "@/pack.json: password: 11 characters; at most 10"},
    {"PasswordControlChar", SetRoot("password", "a\tb"),
     "@/pack.json: password: must be printable ASCII (character 2 is not)"},
    {"PasswordNumber", SetRoot("password", 1234),
     "@/pack.json: password: must be a string"},
    {"UnknownPackKey", SetRoot("autor", "x"),
     "@/pack.json: unknown key \"autor\""},
    {"NoLevels", SetRoot("levels", QJsonArray{}),
     "@/pack.json: levels: a pack needs at least one level"},
    {"TenLevels",
     [](QJsonObject& root, const TempFolder&) {
       root["levels"] = CopiesOfFirstLevel(root, 10);
     },
     "@/pack.json: levels: 10 levels; a pack holds at most 9"},
    {"LevelsNotArray", SetRoot("levels", QJsonObject{}),
     "@/pack.json: levels: must be an array"},

    // Texts of a level.
    {"PasscodeMissingOnLevel2", RemoveFromLevel(1, "passcode"),
     "@/pack.json: level 2: passcode: missing; levels 2 to 9 need a "
     "four-character passcode"},
    {"PasscodeShortOnLevel2", SetLevel(1, "passcode", "ABC"),
     "@/pack.json: level 2: passcode: must be exactly 4 characters (it has 3)"},
    {"PasscodeLongOnLevel2", SetLevel(1, "passcode", "ABCDE"),
     "@/pack.json: level 2: passcode: must be exactly 4 characters (it has 5)"},
    {"PasscodeTooLongOnLevel1", SetLevel(0, "passcode", "ABCDE"),
     "@/pack.json: level 1: passcode: 5 characters; at most 4"},
    {"PasscodeLowerCaseOnLevel2", SetLevel(1, "passcode", "ABcD"),
     "@/pack.json: level 2: passcode: must not hold lower-case letters (the "
     "editor types passcodes in capitals)"},
    {"PasscodeLowerCaseOnLevel1", SetLevel(0, "passcode", "z"),
     "@/pack.json: level 1: passcode: must not hold lower-case letters (the "
     "editor types passcodes in capitals)"},
    {"NameTooLong", SetLevel(0, "name", QString(30, 'n')),
     "@/pack.json: level 1: name: 30 characters; at most 29"},
    {"NameNotAscii", SetLevel(1, "name", QString::fromUtf8("caf\xc3\xa9")),
     "@/pack.json: level 2: name: must be printable ASCII (character 4 is "
     "not)"},

    // Numbers: the population dialog's bounds.
    {"PopulationZero", SetLevel(0, "population", 0),
     "@/pack.json: level 1: population: 0 is out of range (1 to 50)"},
    {"PopulationAbove", SetLevel(0, "population", 51),
     "@/pack.json: level 1: population: 51 is out of range (1 to 50)"},
    {"PopulationFraction", SetLevel(0, "population", 1.5),
     "@/pack.json: level 1: population: 1.5 is not a whole number"},
    {"PopulationText", SetLevel(0, "population", "20"),
     "@/pack.json: level 1: population: must be a whole number"},
    {"PopulationMissing", RemoveFromLevel(0, "population"),
     "@/pack.json: level 1: population: missing"},
    {"ToSaveZero", SetLevel(1, "to_save", 0),
     "@/pack.json: level 2: to_save: 0 is out of range (1 to 50)"},
    {"ToSaveAbovePopulation", SetLevel(1, "to_save", 11),
     "@/pack.json: level 2: to_save: 11 is more than the population (10)"},
    {"SpawnIntervalAbove", SetLevel(0, "spawn_interval", 221),
     "@/pack.json: level 1: spawn_interval: 221 is out of range (1 to 220)"},
    {"SpawnIntervalZero", SetLevel(0, "spawn_interval", 0),
     "@/pack.json: level 1: spawn_interval: 0 is out of range (1 to 220)"},
    {"TimeZero", SetLevel(0, "time", 0),
     "@/pack.json: level 1: time: 0 is out of range (1 to 20000)"},
    {"TimeAbove", SetLevel(0, "time", 20001),
     "@/pack.json: level 1: time: 20001 is out of range (1 to 20000)"},
    {"TimeHuge", SetLevel(0, "time", 1e300),
     "@/pack.json: level 1: time: 1.0000000000000001e+300 is out of range"},
    {"SkillAbove", SetSkill("miners", 51),
     "@/pack.json: level 1: skills: miners: 51 is out of range (0 to 50)"},
    {"SkillNegative", SetSkill("bashers", -1),
     "@/pack.json: level 1: skills: bashers: -1 is out of range (0 to 50)"},
    {"SkillMissing", SetSkill("floaters", kMissing),
     "@/pack.json: level 1: skills: floaters: missing"},
    {"SkillUnknown", SetSkill("swimmers", 3),
     "@/pack.json: level 1: skills: unknown key \"swimmers\""},
    {"SkillsMissing", RemoveFromLevel(0, "skills"),
     "@/pack.json: level 1: skills: missing"},
    {"UnknownLevelKey", SetLevel(1, "spawn", 3),
     "@/pack.json: level 2: unknown key \"spawn\""},

    // Objects.
    {"EntranceMissing", RemoveFromLevel(0, "entrance"),
     "@/pack.json: level 1: entrance: missing; every level needs an entrance "
     "and an exit"},
    {"ExitMissing", RemoveFromLevel(1, "exit"),
     "@/pack.json: level 2: exit: missing; every level needs an entrance and "
     "an exit"},
    {"EntranceOffColumn", SetLevel(0, "entrance", Point(20, 10)),
     "@/pack.json: level 1: entrance: x 20 is not a multiple of 8"},
    {"EntranceNegative", SetLevel(0, "entrance", Point(16, -1)),
     "@/pack.json: level 1: entrance: y: -1 is out of range"},
    {"EntranceNotObject", SetLevel(0, "entrance", QJsonArray{16, 10}),
     "@/pack.json: level 1: entrance: must be an object with \"x\" and \"y\""},
    {"ExitPastRightEdge", SetLevel(0, "exit", Point(88, 10)),
     "@/pack.json: level 1: exit: (88, 10) puts the 16 x 16 object outside "
     "the 96 x 64 level"},
    {"ExitPastBottomOfLevel2", SetLevel(1, "exit", Point(96, 57)),
     "@/pack.json: level 2: exit: (96, 57) puts the 16 x 16 object outside "
     "the 112 x 72 level"},
    {"BlockPastBottom",
     SetLevel(0, "blocks", QJsonArray{Point(0, 0), Point(24, 49)}),
     "@/pack.json: level 1: block 2: (24, 49) puts the 16 x 16 object outside "
     "the 96 x 64 level"},
    {"FiftyBlocks", SetLevel(0, "blocks", Blocks(50)),
     "@/pack.json: level 1: blocks: 50 blocks; a level holds at most 49"},

    // Pictures.
    {"PictureMissing", SetLevel(0, "terrain", "nowhere.png"),
     "@/nowhere.png: level 1: terrain: cannot read the picture"},
    {"PictureNotAPicture",
     [](QJsonObject&, const TempFolder& folder) {
       WriteText(folder / "level-1.png", "not a picture");
     },
     "@/level-1.png: level 1: terrain: cannot read the picture"},
    {"PictureWidthOffStep", Picture(100, 64),
     "@/level-1.png: level 1: terrain: the picture is 100 x 64 pixels; a "
     "level is 96 to 288 pixels wide in steps of 8"},
    {"PictureTooNarrow", Picture(88, 64),
     "@/level-1.png: level 1: terrain: the picture is 88 x 64 pixels; a level "
     "is 96 to 288 pixels wide"},
    {"PictureTooWide", Picture(296, 64),
     "@/level-1.png: level 1: terrain: the picture is 296 x 64 pixels"},
    {"PictureTooHigh", Picture(96, 193),
     "@/level-1.png: level 1: terrain: the picture is 96 x 193 pixels; a "
     "level is 64 to 192 pixels high"},
    {"PictureTooLow", Picture(96, 63),
     "@/level-1.png: level 1: terrain: the picture is 96 x 63 pixels"},
    {"PictureTooManyBytes", Picture(288, 72),
     "@/level-1.png: level 1: terrain: the picture is 288 x 72 pixels, 2592 "
     "bytes of bitmap; a level holds at most 2304"},

    // The file as a whole.
    {"NotJson",
     [](QJsonObject&, const TempFolder& folder) {
       WriteText(folder / "pack.json", "{\n  \"format\": 1,\n  oops\n}");
     },
     "@/pack.json: not valid JSON: "},
    {"NotAnObject",
     [](QJsonObject&, const TempFolder& folder) {
       WriteText(folder / "pack.json", "[1, 2]");
     },
     "@/pack.json: must hold one JSON object"},
    {"NullManifest", ManifestText("null"),
     "@/pack.json: must hold one JSON object (it holds null)"},
    {"NumberManifest", ManifestText(" 12\n"),
     "@/pack.json: must hold one JSON object (it holds a number)"},
    {"StringManifest", ManifestText("\"pack\""),
     "@/pack.json: must hold one JSON object (it holds a string)"},
    {"ArrayManifest", ManifestText("[{\"format\": 1}]"),
     "@/pack.json: must hold one JSON object (it holds an array)"},
    {"TwoValues", ManifestText("null null"), "@/pack.json: not valid JSON: "},

    // A key given twice, at every level of the manifest; the spelling with
    // escapes is the same key.
    {"AuthorTwice", AddToText("\"author\": \"Ann\",", "\"author\": \"Bob\","),
     "@/pack.json: key \"author\" is given more than once"},
    {"AuthorTwiceEscaped",
     AddToText("\"author\": \"Ann\",", "\"auth\\u006fr\": \"Bob\","),
     "@/pack.json: key \"author\" is given more than once"},
    {"LevelKeyTwice",
     AddToText("\"passcode\": \"WXYZ\",", "\"passcode\": \"ABCD\","),
     "@/pack.json: level 2: key \"passcode\" is given more than once"},
    {"SkillTwice", AddToText("\"miners\": 30", ", \"miners\": 3"),
     "@/pack.json: level 1: skills: key \"miners\" is given more than once"},
    {"BlockCoordinateTwice", AddToText("\"x\": 24,", "\"x\": 32,"),
     "@/pack.json: level 1: block 1: key \"x\" is given more than once"},
    {"EntranceCoordinateTwice", AddToText("\"x\": 16,", "\"x\": 8,"),
     "@/pack.json: level 1: entrance: key \"x\" is given more than once"},

    {"PackTooLarge",
     [](QJsonObject& root, const TempFolder& folder) {
       // Nine levels of 2304 bytes of noise cannot be compressed into 9926.
       QImage image(288, 64, QImage::Format_Mono);
       for (int y = 0; y < 64; ++y) {
         for (int x = 0; x < 288; ++x) {
           image.setPixel(x, y,
                          static_cast<uint>((x * 7 + y * 13 + x * y) % 3 == 0));
         }
       }
       ASSERT_TRUE(image.save(QString::fromStdString(folder / "level-1.png")));
       root["levels"] = CopiesOfFirstLevel(root, 9);
     },
     "@/pack.json: The pack needs "},
};

class PlodpakBuildRefuses : public testing::TestWithParam<BadManifest> {};

TEST_P(PlodpakBuildRefuses, NamesTheProblemAndWritesNothing) {
  const BadManifest& bad = GetParam();
  TempFolder folder;
  QJsonObject root = WriteSampleManifest(folder.Path());
  bad.edit(root, folder);
  // Edits of the text itself have written pack.json already.
  std::string manifest = folder / "pack.json";
  if (!std::filesystem::exists(manifest)) {
    manifest = SaveManifest(folder.Path(), root);
  }

  const std::string target = folder / "out.83p";
  const ToolResult result = RunPlodpak({"build", manifest, "--out", target});
  EXPECT_EQ(result.status, 2) << result.err;
  std::string expected = bad.message;
  expected.replace(expected.find('@'), 1, folder.Path().string());
  EXPECT_NE(result.err.find(expected), std::string::npos)
      << "expected: " << expected << "\ngot: " << result.err;
  EXPECT_FALSE(std::filesystem::exists(target));
}

INSTANTIATE_TEST_SUITE_P(Manifests, PlodpakBuildRefuses,
                         testing::ValuesIn(kBadManifests),
                         [](const testing::TestParamInfo<BadManifest>& info) {
                           return std::string(info.param.label);
                         });

TEST(PlodpakBuild, ReportsEveryProblemAtOnce) {
  TempFolder folder;
  QJsonObject root = WriteSampleManifest(folder.Path());
  root["author"] = "";
  SetLevel(0, "population", 0)(root, folder);
  SetLevel(1, "passcode", "AB")(root, folder);
  const std::string manifest = SaveManifest(folder.Path(), root);
  const ToolResult result =
      RunPlodpak({"build", manifest, "--out", folder / "out.83p"});
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.err.find("author: must not be empty"), std::string::npos);
  EXPECT_NE(result.err.find("level 1: population: 0"), std::string::npos);
  EXPECT_NE(result.err.find("level 2: passcode: must be exactly 4"),
            std::string::npos);
}

TEST(PlodpakBuild, KeepsAnExistingFileWhenRefusing) {
  TempFolder folder;
  QJsonObject root = WriteSampleManifest(folder.Path());
  const std::string target = folder / "out.83p";
  WriteText(target, "previous contents");
  SetLevel(0, "time", 0)(root, folder);
  const ToolResult result =
      RunPlodpak({"build", SaveManifest(folder.Path(), root), "--out", target});
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(ReadText(target), "previous contents");
}

// The limits themselves are accepted.
TEST(PlodpakBuild, AcceptsEveryBoundary) {
  TempFolder folder;
  QJsonObject root = WriteSampleManifest(folder.Path());
  root["author"] = QString(25, '~');
  root["password"] = QString(10, ' ');
  EditLevel(root, 0, [](QJsonObject& level) {
    level["name"] = QString(29, 'n');
    level["population"] = 1;
    level["to_save"] = 1;
    level["spawn_interval"] = 1;
    level["time"] = 1;
    level["entrance"] = Point(80, 48);  // bottom-right corner of 96 x 64
    level["blocks"] = Blocks(49);
    level.remove("passcode");
  });
  EditLevel(root, 1, [](QJsonObject& level) {
    level["name"] = "";
    level["population"] = 50;
    level["to_save"] = 50;
    level["passcode"] = "    ";
    level["exit"] = Point(272, 48);  // bottom-right corner of 288 x 64
  });
  QImage image(288, 64, QImage::Format_Mono);
  image.fill(1);
  ASSERT_TRUE(image.save(QString::fromStdString(folder / "level-2.png")));
  const ToolResult result = RunPlodpak(
      {"build", SaveManifest(folder.Path(), root), "--out", folder / "b.83p"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("2 levels"), std::string::npos) << result.out;
}

}  // namespace
}  // namespace plodpak_test
