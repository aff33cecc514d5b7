// The password reaches export and build from a file or standard input as
// well as from the command line, and a manifest may leave it out.

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>

#include "PlodpakSupport.h"
#include "packfile/PackFile.h"

namespace plodpak_test {
namespace {

namespace fs = std::filesystem;

// A saved two-level pack whose password is "pw5".
struct SavedPack {
  TempFolder folder;
  PackContents pack = RandomPack(5, 2);
  std::string path = folder / "p.83p";

  SavedPack() {
    std::string error;
    EXPECT_EQ(pack.m_szPassword, "pw5");
    EXPECT_TRUE(SavePackFile(path, pack, error)) << error;
  }
};

// How a password is handed over: the words on the command line, the text of
// pw.txt (written when `file` is set) and standard input.
struct PasswordSource {
  const char* label;
  std::vector<std::string> words;
  const char* file;
  const char* input;
};

ToolResult RunWithSource(std::vector<std::string> args,
                         const PasswordSource& source, const TempFolder& dir) {
  if (source.file) WriteText(dir / "pw.txt", source.file);
  for (std::string word : source.words) {
    const std::size_t at = word.find("@pw.txt");
    if (at != std::string::npos) word.replace(at, 7, dir / "pw.txt");
    args.push_back(word);
  }
  return RunPlodpakWithInput(args, source.input);
}

class PlodpakPasswordSource : public testing::TestWithParam<PasswordSource> {};

TEST_P(PlodpakPasswordSource, ExportTakesTheRightPasswordOnly) {
  const PasswordSource& source = GetParam();
  SavedPack saved;
  const ToolResult result =
      RunWithSource({"export", saved.path, "--out", saved.folder / "out"},
                    source, saved.folder);
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_TRUE(fs::exists(saved.folder / "out/pack.json"));

  // The same source holding a wrong password (one letter's case changed).
  PasswordSource wrong = source;
  std::string file = source.file ? source.file : "";
  std::string input = source.input;
  for (std::string* text : {&file, &input}) {
    const std::size_t at = text->find("pw5");
    if (at != std::string::npos) text->replace(at, 3, "Pw5");
  }
  for (std::string& word : wrong.words) {
    if (word == "pw5") word = "Pw5";
  }
  wrong.file = source.file ? file.c_str() : nullptr;
  wrong.input = input.c_str();
  const ToolResult refused =
      RunWithSource({"export", saved.path, "--out", saved.folder / "no"}, wrong,
                    saved.folder);
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(refused.err, saved.path + ": wrong password (Wrong. Try again.)\n");
  EXPECT_FALSE(fs::exists(saved.folder / "no"));
}

INSTANTIATE_TEST_SUITE_P(
    Sources, PlodpakPasswordSource,
    testing::Values(
        PasswordSource{"Word", {"--password", "pw5"}, nullptr, ""},
        PasswordSource{
            "FileWithLineBreak", {"--password-file", "@pw.txt"}, "pw5\n", ""},
        PasswordSource{
            "FileWithoutLineBreak", {"--password-file=@pw.txt"}, "pw5", ""},
        PasswordSource{"FileWithCarriageReturn",
                       {"--password-file", "@pw.txt"},
                       "pw5\r\n",
                       ""},
        PasswordSource{"StandardInput",
                       {"--password", "-"},
                       nullptr,
                       "pw5\nleft unread\n"}),
    [](const auto& info) { return std::string(info.param.label); });

struct BadSource {
  const char* label;
  std::vector<std::string> words;
  const char* file;  // nullptr: pw.txt does not exist
  const char* input;
  int status;
  std::string message;  // "@" stands for the folder
};

class PlodpakBadPasswordSource : public testing::TestWithParam<BadSource> {};

TEST_P(PlodpakBadPasswordSource, IsRefusedWithItsReasonAndWritesNothing) {
  const BadSource& c = GetParam();
  SavedPack saved;
  for (const char* command : {"export", "build"}) {
    SCOPED_TRACE(command);
    std::vector<std::string> args = {command, saved.path, "--out",
                                     saved.folder / "out"};
    const ToolResult result = RunWithSource(
        args, PasswordSource{c.label, c.words, c.file, c.input}, saved.folder);
    EXPECT_EQ(result.status, c.status);
    std::string message = c.message;
    const std::size_t at = message.find('@');
    if (at != std::string::npos) message.replace(at, 1, saved.folder.Path());
    EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
    EXPECT_FALSE(fs::exists(saved.folder / "out"));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Sources, PlodpakBadPasswordSource,
    testing::Values(
        BadSource{"MissingFile",
                  {"--password-file", "@pw.txt"},
                  nullptr,
                  "",
                  2,
                  "Cannot open \"@/pw.txt\""},
        BadSource{"EmptyFile",
                  {"--password-file", "@pw.txt"},
                  "\n",
                  "",
                  2,
                  "@/pw.txt: password: must not be empty"},
        BadSource{"TwoLines",
                  {"--password-file", "@pw.txt"},
                  "pw5\nmore\n",
                  "",
                  2,
                  "@/pw.txt: password: has a second line"},
        BadSource{"TwoLinesAfterCarriageReturn",
                  {"--password-file", "@pw.txt"},
                  "pw5\r\nmore",
                  "",
                  2,
                  "@/pw.txt: password: has a second line"},
        // A carriage return that ends no line is a stray character.
        BadSource{"LoneCarriageReturn",
                  {"--password-file", "@pw.txt"},
                  "\r",
                  "",
                  2,
                  "@/pw.txt: password: must be printable ASCII (character 1 "
                  "is not)"},
        BadSource{"CarriageReturnAtTheEnd",
                  {"--password-file", "@pw.txt"},
                  "pw5\r",
                  "",
                  2,
                  "@/pw.txt: password: must be printable ASCII (character 4 "
                  "is not)"},
        BadSource{"TooLong",
                  {"--password-file", "@pw.txt"},
                  "password123\n",
                  "",
                  2,
                  "@/pw.txt: password: 11 characters; at most 10"},
        BadSource{"EmptyInput",
                  {"--password", "-"},
                  nullptr,
                  "",
                  2,
                  "standard input: password: must not be empty"},
        BadSource{"BothWays",
                  {"--password", "pw5", "--password-file", "@pw.txt"},
                  "pw5",
                  "",
                  64,
                  "give the password once"}),
    [](const auto& info) { return std::string(info.param.label); });

// A pack kept in version control without its password: export leaves it
// out, build takes it from a password file or standard input and gives back
// the same file, byte for byte.
TEST(PlodpakNoPassword, ExportThenBuildWithThePasswordElsewhere) {
  SavedPack saved;
  const ToolResult exported =
      RunPlodpak({"export", saved.path, "--password", "pw5", "--no-password",
                  "--out", saved.folder / "out"});
  ASSERT_EQ(exported.status, 0) << exported.err;
  const std::string manifest = saved.folder / "out/pack.json";
  const std::string json = ReadText(manifest);
  EXPECT_EQ(json.find("password"), std::string::npos) << json;
  EXPECT_EQ(json.find("pw5"), std::string::npos) << json;

  fs::create_directory(saved.folder.Path() / "again");
  const std::string rebuilt = saved.folder / "again/p.83p";
  const ToolResult without = RunPlodpak({"build", manifest, "--out", rebuilt});
  EXPECT_EQ(without.status, 2);
  EXPECT_EQ(without.err,
            manifest +
                ": password: missing; give it in the manifest or with "
                "--password-file FILE or --password -\n");
  EXPECT_FALSE(fs::exists(rebuilt));

  WriteText(saved.folder / "pw.txt", "pw5\n");
  const ToolResult fromFile =
      RunPlodpak({"build", manifest, "--out", rebuilt, "--password-file",
                  saved.folder / "pw.txt"});
  ASSERT_EQ(fromFile.status, 0) << fromFile.err;
  EXPECT_EQ(ReadBytes(rebuilt), ReadBytes(saved.path));

  fs::remove(rebuilt);
  const ToolResult fromInput = RunPlodpakWithInput(
      {"build", manifest, "--out", rebuilt, "--password", "-"}, "pw5\n");
  ASSERT_EQ(fromInput.status, 0) << fromInput.err;
  EXPECT_EQ(ReadBytes(rebuilt), ReadBytes(saved.path));
}

// A password given to build replaces the manifest's; one the manifest could
// not hold is refused.
TEST(PlodpakBuildPassword, GivenPasswordReplacesTheManifests) {
  TempFolder folder;
  const std::string manifest =
      SaveManifest(folder.Path(), WriteSampleManifest(folder.Path()));
  ASSERT_EQ(RunPlodpak({"build", manifest, "--out", folder / "a.83p",
                        "--password", "other"})
                .status,
            0);
  PackContents pack;
  std::string error;
  ASSERT_TRUE(LoadPackFile(folder / "a.83p", pack, error)) << error;
  EXPECT_EQ(pack.m_szPassword, "other");

  const ToolResult refused =
      RunPlodpak({"build", manifest, "--out", folder / "b.83p", "--password",
                  std::string(11, 'p')});
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(refused.err, "--password: password: 11 characters; at most 10\n");
  EXPECT_FALSE(fs::exists(folder / "b.83p"));
}

}  // namespace
}  // namespace plodpak_test
