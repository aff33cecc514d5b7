// verify and info read a pack without its password and reveal nothing
// inside it; the command line itself is checked before anything runs.

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <functional>

#include "PlodpakSupport.h"
#include "packfile/PackFile.h"

namespace plodpak_test {
namespace {

// Mends the checksum of a TI-83 layout file after its bytes were changed.
void MendChecksum(std::vector<std::uint8_t>& file) {
  unsigned sum = 0;
  for (std::size_t i = 55; i + 2 < file.size(); ++i) sum += file[i];
  file[file.size() - 2] = static_cast<std::uint8_t>(sum & 0xFF);
  file[file.size() - 1] = static_cast<std::uint8_t>((sum >> 8) & 0xFF);
}

// The pack image starts at offset 72: magic (5), scrambled password and its
// zero, author and its zero, then the level count byte.
std::size_t LevelCountOffset(const PackContents& pack) {
  return 72 + 5 + pack.m_szPassword.size() + 1 + pack.m_szAuthorName.size() + 1;
}

struct Damage {
  const char* label;
  std::function<void(std::vector<std::uint8_t>&, const PackContents&)> apply;
};

const Damage kDamages[] = {
    {"Empty", [](auto& f, auto&) { f.clear(); }},
    {"CutToHalf", [](auto& f, auto&) { f.resize(f.size() / 2); }},
    {"LastByteMissing", [](auto& f, auto&) { f.pop_back(); }},
    {"ChecksumWrong", [](auto& f, auto&) { f.back() ^= 0x01; }},
    {"DataByteChanged", [](auto& f, auto&) { f[100] ^= 0x40; }},
    {"SignatureWrong", [](auto& f, auto&) { f[2] = 'X'; }},
    {"LongerThanAnyPack", [](auto& f, auto&) { f.resize(10001, 0); }},
    {"NotAPlodpak",
     [](auto& f, auto&) {
       f[74] = 'x';  // "plo" -> "xlo"
       MendChecksum(f);
     }},
    {"NoLevels",
     [](auto& f, auto& pack) {
       f[LevelCountOffset(pack)] = 0;
       MendChecksum(f);
     }},
    {"TenLevels",
     [](auto& f, auto& pack) {
       f[LevelCountOffset(pack)] = 10;
       MendChecksum(f);
     }},
    {"LengthWordPastEnd",
     [](auto& f, auto&) {
       f[70] = 0xFF;
       f[71] = 0x0F;
     }},
    {"ImageCutShort",
     [](auto& f, auto&) {
       // A consistent container around the first half of the image.
       const std::size_t keep = (f.size() - 74) / 2;
       std::vector<std::uint8_t> shorter(f.begin(), f.begin() + 72 + keep);
       shorter.resize(shorter.size() + 2);
       const auto length = static_cast<unsigned>(keep);
       shorter[53] = static_cast<std::uint8_t>((length + 17) & 0xFF);
       shorter[54] = static_cast<std::uint8_t>((length + 17) >> 8);
       shorter[57] = shorter[68] =
           static_cast<std::uint8_t>((length + 2) & 0xFF);
       shorter[58] = shorter[69] = static_cast<std::uint8_t>((length + 2) >> 8);
       shorter[70] = static_cast<std::uint8_t>(length & 0xFF);
       shorter[71] = static_cast<std::uint8_t>(length >> 8);
       MendChecksum(shorter);
       f = shorter;
     }},
};

class PlodpakVerifyRefuses : public testing::TestWithParam<Damage> {};

TEST_P(PlodpakVerifyRefuses, ADamagedFileAmongGoodOnes) {
  TempFolder folder;
  const PackContents pack = RandomPack(21, 3);
  std::string error;
  ASSERT_TRUE(SavePackFile(folder / "good.83p", pack, error)) << error;
  std::vector<std::uint8_t> bytes = ReadBytes(folder / "good.83p");
  GetParam().apply(bytes, pack);
  WriteBytes(folder / "bad.83p", bytes);

  const ToolResult result = RunPlodpak(
      {"verify", folder / "good.83p", folder / "bad.83p", folder / "good.83p"});
  EXPECT_EQ(result.status, 2);
  const std::string good = folder / "good.83p";
  const std::string okLine = good + ": ok (3 levels, " +
                             std::to_string(ReadBytes(good).size()) +
                             " bytes)\n";
  const std::string badPrefix = folder / "bad.83p: ";
  // One line per file, in the order given; the bad one has a reason.
  ASSERT_EQ(result.out.find(okLine), 0u) << result.out;
  const std::size_t bad = okLine.size();
  ASSERT_EQ(result.out.compare(bad, badPrefix.size(), badPrefix), 0)
      << result.out;
  const std::size_t badEnd = result.out.find('\n', bad);
  ASSERT_NE(badEnd, std::string::npos);
  EXPECT_GT(badEnd, bad + badPrefix.size() + 3) << "no reason given";
  EXPECT_EQ(result.out.substr(bad, badEnd - bad).find(": ok ("),
            std::string::npos);
  EXPECT_EQ(result.out.substr(badEnd + 1), okLine);
}

INSTANTIATE_TEST_SUITE_P(Files, PlodpakVerifyRefuses,
                         testing::ValuesIn(kDamages),
                         [](const testing::TestParamInfo<Damage>& info) {
                           return std::string(info.param.label);
                         });

TEST(PlodpakVerify, PassesValidPacksOfBothFlavours) {
  TempFolder folder;
  std::string error;
  ASSERT_TRUE(SavePackFile(folder / "a.83p", RandomPack(22, 1), error));
  ASSERT_TRUE(SavePackFile(folder / "b.8xp", RandomPack(23, 9), error,
                           VariableFlavour::TI83Plus));
  const ToolResult result =
      RunPlodpak({"verify", folder / "a.83p", folder / "b.8xp"});
  EXPECT_EQ(result.status, 0) << result.out;
  EXPECT_NE(result.out.find(folder / "a.83p: ok (1 level, "), std::string::npos)
      << result.out;
  EXPECT_NE(result.out.find(folder / "b.8xp: ok (9 levels, "),
            std::string::npos)
      << result.out;
}

TEST(PlodpakVerify, ReportsAMissingFile) {
  TempFolder folder;
  const ToolResult result = RunPlodpak({"verify", folder / "none.83p"});
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.out.rfind(folder / "none.83p: ", 0), 0u) << result.out;
}

TEST(PlodpakInfo, ShowsTheContainerAndNothingInside) {
  TempFolder folder;
  PackContents pack = RandomPack(24, 2);
  pack.m_szAuthorName = "Ann";
  pack.m_szPassword = "hushhush";
  std::string error;
  ASSERT_TRUE(SavePackFile(folder / "my pack.83p", pack, error)) << error;
  const std::size_t fileBytes = ReadBytes(folder / "my pack.83p").size();

  const ToolResult text = RunPlodpak({"info", folder / "my pack.83p"});
  ASSERT_EQ(text.status, 0) << text.err;
  for (const std::string& line : std::vector<std::string>{
           "signature:     TI-83 (**TI83**)", "variable name: MYAPACK",
           "type:          0x06 (protected program)",
           "comment:       Plodpak by Ann",
           "file size:     " + std::to_string(fileBytes) + " bytes",
           "pack image:    " + std::to_string(fileBytes - 74) + " bytes",
           "levels:        2"}) {
    EXPECT_NE(text.out.find(line + "\n"), std::string::npos) << line << "\n"
                                                             << text.out;
  }

  const ToolResult json =
      RunPlodpak({"info", "--json", folder / "my pack.83p"});
  ASSERT_EQ(json.status, 0) << json.err;
  QJsonParseError parseError;
  const QJsonObject facts =
      QJsonDocument::fromJson(QByteArray::fromStdString(json.out), &parseError)
          .object();
  ASSERT_EQ(parseError.error, QJsonParseError::NoError) << json.out;
  EXPECT_EQ(facts["signature"].toString(), "TI-83");
  EXPECT_EQ(facts["variable_name"].toString(), "MYAPACK");
  EXPECT_EQ(facts["type"].toInt(), 6);
  EXPECT_EQ(facts["comment"].toString(), "Plodpak by Ann");
  EXPECT_EQ(facts["file_bytes"].toInteger(), static_cast<qint64>(fileBytes));
  EXPECT_EQ(facts["image_bytes"].toInteger(),
            static_cast<qint64>(fileBytes - 74));
  EXPECT_EQ(facts["levels"].toInt(), 2);

  for (const ToolResult* result : {&text, &json}) {
    EXPECT_EQ(result->out.find("hushhush"), std::string::npos);
    EXPECT_EQ(result->out.find(pack.levels[1].m_szPasscode), std::string::npos);
  }
}

TEST(PlodpakInfo, TellsATi83PlusFile) {
  TempFolder folder;
  std::string error;
  ASSERT_TRUE(SavePackFile(folder / "p.8xp", RandomPack(25, 1), error,
                           VariableFlavour::TI83Plus));
  const std::size_t fileBytes = ReadBytes(folder / "p.8xp").size();
  const ToolResult result = RunPlodpak({"info", folder / "p.8xp", "--json"});
  ASSERT_EQ(result.status, 0) << result.err;
  const QJsonObject facts =
      QJsonDocument::fromJson(QByteArray::fromStdString(result.out)).object();
  EXPECT_EQ(facts["signature"].toString(), "TI-83 Plus");
  // 76 bytes of container: the longer variable header and the length word.
  EXPECT_EQ(facts["image_bytes"].toInteger(),
            static_cast<qint64>(fileBytes - 76));
}

// A comment from a hand-made file cannot send control sequences to the
// terminal.
TEST(PlodpakInfo, EscapesControlBytesOfTheComment) {
  TempFolder folder;
  std::string error;
  ASSERT_TRUE(SavePackFile(folder / "p.83p", RandomPack(26, 1), error));
  std::vector<std::uint8_t> bytes = ReadBytes(folder / "p.83p");
  bytes[11] = 0x1B;                     // ESC at the comment's first character
  WriteBytes(folder / "p.83p", bytes);  // the comment is not in the checksum
  const ToolResult result = RunPlodpak({"info", folder / "p.83p"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out.find('\x1B'), std::string::npos);
  EXPECT_NE(result.out.find("comment:       \\x1Blodpak by"), std::string::npos)
      << result.out;
}

TEST(PlodpakInfo, RefusesADamagedFile) {
  TempFolder folder;
  WriteText(folder / "junk.83p", "**TI83**junk");
  const ToolResult result = RunPlodpak({"info", folder / "junk.83p"});
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.err.rfind(folder / "junk.83p: ", 0), 0u) << result.err;
  EXPECT_TRUE(result.out.empty());
}

struct BadCommandLine {
  const char* label;
  std::vector<std::string> args;
  const char* message;
};

class PlodpakUsageError : public testing::TestWithParam<BadCommandLine> {};

TEST_P(PlodpakUsageError, PrintsTheUsageAndExits64) {
  const ToolResult result = RunPlodpak(GetParam().args);
  EXPECT_EQ(result.status, 64);
  EXPECT_NE(result.err.find(std::string("plodpak: ") + GetParam().message),
            std::string::npos)
      << result.err;
  EXPECT_NE(result.err.find("Usage: plodpak"), std::string::npos);
  EXPECT_TRUE(result.out.empty());
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, PlodpakUsageError,
    testing::Values(
        BadCommandLine{"Nothing", {}, "a command is needed"},
        BadCommandLine{"UnknownCommand", {"pack", "x"}, "unknown command pack"},
        BadCommandLine{"VerifyWithoutFile", {"verify"}, "verify needs a FILE"},
        BadCommandLine{
            "InfoTwoFiles", {"info", "a", "b"}, "info needs one FILE"},
        BadCommandLine{"InfoUnknownOption",
                       {"info", "a", "--password", "x"},
                       "unknown option --password for info"},
        BadCommandLine{"JsonTakesNoValue",
                       {"info", "a", "--json=yes"},
                       "--json takes no value"},
        BadCommandLine{"ExportWithoutPassword",
                       {"export", "a.83p", "--out", "d"},
                       "export needs --password"},
        BadCommandLine{"ExportWithoutOut",
                       {"export", "a.83p", "--password", "p"},
                       "export needs --out"},
        BadCommandLine{
            "BuildWithoutOut", {"build", "m.json"}, "build needs --out"},
        BadCommandLine{"OutWithoutValue",
                       {"build", "m.json", "--out"},
                       "--out needs a value"},
        BadCommandLine{"BuildTwoManifests",
                       {"build", "a.json", "b.json", "--out", "x.83p"},
                       "build needs one MANIFEST"},
        BadCommandLine{
            "XpOnExport",
            {"export", "a.83p", "--password", "p", "--out", "d", "--8xp"},
            "unknown option --8xp for export"},
        // A second value would silently replace the first.
        BadCommandLine{"PasswordTwice",
                       {"build", "m.json", "--out", "x.83p", "--password", "a",
                        "--password=b"},
                       "--password is given more than once"},
        BadCommandLine{"PasswordFileTwice",
                       {"export", "a.83p", "--out", "d", "--password-file",
                        "p1", "--password-file", "p2"},
                       "--password-file is given more than once"},
        BadCommandLine{"OutTwice",
                       {"build", "m.json", "--out", "x.83p", "--out=y.83p"},
                       "--out is given more than once"},
        BadCommandLine{"ExportOutEmpty",
                       {"export", "a.83p", "--password", "p", "--out", ""},
                       "--out names no folder: it is empty"},
        BadCommandLine{"BuildOutEmpty",
                       {"build", "m.json", "--out="},
                       "--out names no file: it is empty"},
        // --8xp cannot make a TI-83 Plus file under a TI-83 name.
        BadCommandLine{"XpWithTi83Name",
                       {"build", "m.json", "--out", "x.83p", "--8xp"},
                       "--8xp writes a TI-83 Plus file, but x.83p has the "
                       "TI-83 extension .83p"},
        BadCommandLine{"XpWithTi83NameInCapitals",
                       {"build", "m.json", "--8xp", "--out", "dir/X.83P"},
                       "--8xp writes a TI-83 Plus file, but dir/X.83P has "
                       "the TI-83 extension .83p"}),
    [](const testing::TestParamInfo<BadCommandLine>& info) {
      return std::string(info.param.label);
    });

TEST(PlodpakHelp, ShowsEveryCommandAndExitsZero) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{
           {"--help"}, {"-h"}, {"help"}, {"build", "x.json", "--help"}}) {
    const ToolResult result = RunPlodpak(args);
    EXPECT_EQ(result.status, 0);
    for (const char* usage : {"verify FILE...", "info FILE [--json]",
                              "export FILE --password PW --out DIR",
                              "build MANIFEST.json --out FILE.83p [--8xp]"}) {
      EXPECT_NE(result.out.find(usage), std::string::npos) << usage;
    }
  }
}

// Option values and operands are never taken for a request of help.
TEST(PlodpakCommandLine, HelpWordsAsValuesAreValues) {
  TempFolder folder;
  std::string error;
  PackContents pack = RandomPack(28, 1);
  pack.m_szPassword = "-h";
  ASSERT_TRUE(SavePackFile(folder / "help", pack, error)) << error;
  const ToolResult verified = RunPlodpak({"verify", "help"}, folder.Path());
  EXPECT_EQ(verified.status, 0);
  EXPECT_EQ(verified.out.rfind("help: ok (1 level, ", 0), 0u) << verified.out;
  const ToolResult exported = RunPlodpak(
      {"export", "help", "--password", "-h", "--out", "o"}, folder.Path());
  EXPECT_EQ(exported.status, 0) << exported.err;
  EXPECT_TRUE(std::filesystem::exists(folder / "o/pack.json"));
}

// Options may take "=" and may come before the operands; "--" ends them.
TEST(PlodpakCommandLine, AcceptsTheUsualOptionForms) {
  TempFolder folder;
  std::string error;
  ASSERT_TRUE(SavePackFile(folder / "-odd.83p", RandomPack(27, 1), error));
  const ToolResult result =
      RunPlodpak({"export", "--password=pw27", "--out=o", "--", "-odd.83p"},
                 folder.Path().string());
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_TRUE(std::filesystem::exists(folder / "o/pack.json"));
}

}  // namespace
}  // namespace plodpak_test
