// Where build and export write: never over their own inputs, a file of the
// kind its name says with the program name its characters make, and an
// export folder that holds one whole export or is left as it was.

#include <gtest/gtest.h>

#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "PlodpakSupport.h"
#include "packfile/PackFile.h"

namespace plodpak_test {
namespace {

namespace fs = std::filesystem;

// Every file under `folder` (names relative to it, folders marked "/") with
// its bytes, to tell that a refused command changed nothing.
std::map<std::string, std::vector<std::uint8_t>> Snapshot(
    const fs::path& folder) {
  std::map<std::string, std::vector<std::uint8_t>> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = fs::relative(entry.path(), folder).string();
    if (entry.is_symlink()) {
      files[name + " -> " + fs::read_symlink(entry.path()).string()];
    } else if (entry.is_directory()) {
      files[name + "/"];
    } else {
      files[name] = ReadBytes(entry.path());
    }
  }
  return files;
}

// A folder holding the sample manifest with its two pictures, the pack built
// from it (p.83p, password "secret"), a password file, links to them, and in
// sub/ a copy of the pack named pack.json and a password file named
// level-1.png.
struct Inputs {
  TempFolder folder;
  std::string manifest;

  Inputs() {
    manifest = SaveManifest(folder.Path(), WriteSampleManifest(folder.Path()));
    WriteText(folder / "pw.txt", "secret\n");
    fs::create_directory(folder.Path() / "sub");
    fs::create_symlink("level-2.png", folder.Path() / "picture-link.png");
    fs::create_symlink("../pack.json", folder.Path() / "sub/manifest-link");
    fs::create_hard_link(folder.Path() / "pack.json",
                         folder.Path() / "hard.json");
    const ToolResult built =
        RunPlodpak({"build", manifest, "--out", folder / "p.83p"});
    EXPECT_EQ(built.status, 0) << built.err;
    fs::copy_file(folder / "p.83p", folder / "sub/pack.json");
    WriteText(folder / "sub/level-1.png", "secret\n");
  }
};

struct OverwriteCase {
  const char* label;
  // "@" stands for the folder of Inputs.
  std::vector<std::string> args;
  const char* message;
};

class PlodpakRefusesToOverwriteAnInput
    : public testing::TestWithParam<OverwriteCase> {};

TEST_P(PlodpakRefusesToOverwriteAnInput, NamesItAndWritesNothing) {
  const OverwriteCase& c = GetParam();
  Inputs inputs;
  const auto before = Snapshot(inputs.folder.Path());
  std::vector<std::string> args;
  for (std::string arg : c.args) {
    if (arg[0] == '@') arg.replace(0, 1, inputs.folder.Path().string());
    args.push_back(arg);
  }
  // Relative spellings are taken from inside the folder.
  const ToolResult result = RunPlodpak(args, inputs.folder.Path());
  EXPECT_EQ(result.status, 64) << result.err;
  std::string message = c.message;
  const std::size_t at = message.find('@');
  if (at != std::string::npos) {
    message.replace(at, 1, inputs.folder.Path().string());
  }
  EXPECT_NE(result.err.find("plodpak: " + message), std::string::npos)
      << result.err;
  EXPECT_EQ(Snapshot(inputs.folder.Path()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Outputs, PlodpakRefusesToOverwriteAnInput,
    testing::Values(
        OverwriteCase{"TheManifest",
                      {"build", "pack.json", "--out", "pack.json"},
                      "pack.json is the manifest; the output must not "
                      "replace an input"},
        OverwriteCase{"TheManifestWithDot",
                      {"build", "pack.json", "--out", "./pack.json"},
                      "./pack.json is the manifest (pack.json)"},
        OverwriteCase{"TheManifestThroughALink",
                      {"build", "@/pack.json", "--out", "sub/manifest-link"},
                      "sub/manifest-link is the manifest (@/pack.json)"},
        OverwriteCase{"TheManifestThroughAHardLink",
                      {"build", "pack.json", "--out", "hard.json"},
                      "hard.json is the manifest (pack.json)"},
        OverwriteCase{"APicture",
                      {"build", "pack.json", "--out", "sub/../level-1.png"},
                      "sub/../level-1.png is the terrain picture of level 1 "
                      "(level-1.png)"},
        OverwriteCase{
            "APictureThroughALink",
            {"build", "@/pack.json", "--out", "picture-link.png", "--8xp"},
            "picture-link.png is the terrain picture of level 2 "
            "(@/level-2.png)"},
        OverwriteCase{"ThePasswordFile",
                      {"build", "pack.json", "--out", "pw.txt",
                       "--password-file", "./pw.txt"},
                      "pw.txt is the password file (./pw.txt)"},
        // export's inputs, standing where it would write: the pack file
        // as the manifest, the password file as a picture.
        OverwriteCase{"ThePackFileByExport",
                      {"export", "sub/pack.json", "--password", "secret",
                       "--out", "@/sub"},
                      "@/sub/pack.json is the pack file (sub/pack.json)"},
        OverwriteCase{"ThePasswordFileByExport",
                      {"export", "p.83p", "--password-file", "sub/level-1.png",
                       "--out", "./sub/"},
                      "./sub/level-1.png is the password file "
                      "(sub/level-1.png)"}),
    [](const auto& info) { return std::string(info.param.label); });

struct FlavourCase {
  const char* name;
  bool xpOption;
  bool plus;
};

// The file's kind follows its name's extension in either case, as in the
// editor; --8xp makes a TI-83 Plus file of any other name.
TEST(PlodpakBuildOutput, TheKindOfFileFollowsItsName) {
  const FlavourCase cases[] = {
      {"c.83p", false, false}, {"c.8xp", false, true},
      {"C.8XP", false, true},  {"c.8Xp", true, true},
      {"c.bin", false, false}, {"c.bin", true, true},
      {"c", true, true},       {"c.8xp.83p", false, false},
  };
  Inputs inputs;
  for (const FlavourCase& c : cases) {
    SCOPED_TRACE(std::string(c.name) + (c.xpOption ? " --8xp" : ""));
    const std::string target = inputs.folder / c.name;
    std::vector<std::string> args = {"build", inputs.manifest, "--out", target};
    if (c.xpOption) args.push_back("--8xp");
    const ToolResult result = RunPlodpak(args);
    ASSERT_EQ(result.status, 0) << result.err;
    PackContents pack;
    VariableFile container;
    std::string error;
    ASSERT_TRUE(LoadPackFile(target, pack, error, &container)) << error;
    EXPECT_EQ(container.plus, c.plus);
    fs::remove(target);
  }
}

// The program name has one letter per character of the file name, however
// many bytes the character takes, in the file and in build's report.
TEST(PlodpakBuildOutput, ProgramNameCountsCharactersOfTheFileName) {
  const std::pair<const char*, const char*> cases[] = {
      {"\xC3\x84\xC3\x96\xC3\x9C.83p", "AAA"},               // ÄÖÜ
      {"Burg \xE2\x82\xAC\xF0\x9F\x98\x80.8xp", "BURGAAA"},  // € and an emoji
      {"9\xC3\xA9t\xC3\xA9.83p", "A9ATA"},                   // a digit first
  };
  Inputs inputs;
  for (const auto& [name, variable] : cases) {
    SCOPED_TRACE(variable);
    const std::string target = inputs.folder / name;
    const ToolResult result =
        RunPlodpak({"build", inputs.manifest, "--out", target});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find(std::string(", variable ") + variable + "\n"),
              std::string::npos)
        << result.out;
    PackContents pack;
    VariableFile container;
    std::string error;
    ASSERT_TRUE(LoadPackFile(target, pack, error, &container)) << error;
    EXPECT_EQ(container.name, variable);
  }
}

// A picture whose reader notes a damaged detail (an ancillary chunk with a
// wrong checksum) or fails on it: plodpak's own words only.
TEST(PlodpakBuildOutput, KeepsThePictureReadersNotesOffTheTerminal) {
  Inputs inputs;
  std::vector<std::uint8_t> png = ReadBytes(inputs.folder / "level-1.png");
  ASSERT_GT(png.size(), 33u);
  // After the signature and the header chunk: a "tEXt" chunk holding "a\0b"
  // with a wrong checksum, which libpng notes and skips.
  const std::uint8_t text[] = {0,   0, 0,   3, 't', 'E', 'X', 't',
                               'a', 0, 'b', 0, 0,   0,   1};
  png.insert(png.begin() + 33, std::begin(text), std::end(text));
  WriteBytes(inputs.folder / "level-1.png", png);

  const ToolResult noted =
      RunPlodpak({"build", inputs.manifest, "--out", inputs.folder / "a.83p"});
  EXPECT_EQ(noted.status, 0);
  EXPECT_EQ(noted.err, "");

  // Cut short inside its picture data: the reader fails.
  png.resize(png.size() - 30);
  WriteBytes(inputs.folder / "level-1.png", png);
  const ToolResult failed =
      RunPlodpak({"build", inputs.manifest, "--out", inputs.folder / "b.83p"});
  EXPECT_EQ(failed.status, 2);
  EXPECT_EQ(
      failed.err.rfind(inputs.folder / "level-1.png: level 1: terrain: ", 0),
      0u)
      << failed.err;
  EXPECT_EQ(failed.err.find("libpng"), std::string::npos) << failed.err;
  EXPECT_EQ(std::count(failed.err.begin(), failed.err.end(), '\n'), 1)
      << failed.err;
}

// A two-level pack saved as p.83p in its own folder, password "pw5".
struct ExportSource {
  TempFolder folder;
  std::string path = folder / "p.83p";

  ExportSource() {
    std::string error;
    EXPECT_TRUE(SavePackFile(path, RandomPack(5, 2), error)) << error;
  }

  ToolResult ExportTo(const fs::path& out) const {
    return RunPlodpak({"export", path, "--password", "pw5", "--out", out});
  }
};

std::set<std::string> Names(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

const std::set<std::string> kExportNames = {"level-1.png", "level-2.png",
                                            "pack.json"};

// A new folder (and the folders above it) is made; nothing else is left
// beside it, and it has the permissions of any new folder.
TEST(PlodpakExportFolder, ANewFolderHoldsTheExport) {
  ExportSource source;
  const fs::path out = source.folder.Path() / "a/b/new";
  const ToolResult result = source.ExportTo(out);
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(Names(out), kExportNames);
  EXPECT_EQ(Names(out.parent_path()), std::set<std::string>{"new"});
  fs::create_directory(source.folder.Path() / "plain");
  EXPECT_EQ(fs::status(out).permissions(),
            fs::status(source.folder.Path() / "plain").permissions());
}

// Into a folder that exists, the export's files replace their namesakes
// (keeping their permissions); the author's other files, a larger earlier
// export's pictures among them, stay as they were.
TEST(PlodpakExportFolder, AnExistingFolderKeepsItsOtherFiles) {
  ExportSource source;
  const fs::path out = source.folder.Path() / "out";
  fs::create_directory(out);
  WriteText(out / "notes.txt", "mine");
  WriteText(out / "level-3.png", "an earlier third level");
  WriteText(out / "pack.json", "{}");
  fs::permissions(out / "pack.json",
                  fs::perms::owner_read | fs::perms::owner_write);
  const ToolResult result = source.ExportTo(out);
  ASSERT_EQ(result.status, 0) << result.err;
  std::set<std::string> expected = kExportNames;
  expected.insert({"notes.txt", "level-3.png"});
  EXPECT_EQ(Names(out), expected);
  EXPECT_EQ(ReadText(out / "notes.txt"), "mine");
  EXPECT_EQ(ReadText(out / "level-3.png"), "an earlier third level");
  EXPECT_NE(ReadText(out / "pack.json").find("\"levels\""), std::string::npos);
  EXPECT_EQ(fs::status(out / "pack.json").permissions(),
            fs::perms::owner_read | fs::perms::owner_write);
}

// Something export cannot replace stands where its second picture goes: it
// fails before the first file is written, and leaves the folder as it was.
TEST(PlodpakExportFolder, AFailedExportLeavesTheFolderAsItWas) {
  ExportSource source;
  const fs::path out = source.folder.Path() / "out";
  fs::create_directories(out / "level-2.png");
  WriteText(out / "level-2.png/inside.txt", "mine");
  WriteText(out / "level-1.png", "an earlier picture");
  const auto before = Snapshot(out);
  const ToolResult result = source.ExportTo(out);
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, (out / "level-2.png").string() +
                            ": is in the way and is not a file; nothing was "
                            "exported\n");
  EXPECT_EQ(Snapshot(out), before);
}

}  // namespace
}  // namespace plodpak_test
