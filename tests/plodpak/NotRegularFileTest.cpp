// Every file plodpak reads must be a regular file: a pipe, a socket, a
// device, a folder, a dangling link or a link loop is refused at once with
// the reason, by every command and for every file a command reads, and
// nothing is written. A run that blocks fails (RunPlodpak bounds it).
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonObject>

#include "PlodpakSupport.h"
#include "packfile/PackFile.h"
#include "support/NotRegularFiles.h"

namespace plodpak_test {
namespace {

namespace fs = std::filesystem;

// One place a command reads a file: the command line with the file's path
// put in for "@", and whether the report goes to standard output.
struct Reader {
  const char* what;
  std::vector<std::string> args;
  bool onOut = false;
};

TEST(PlodpakNotRegularFile, EveryReaderRefusesItAtOnceWithTheReason) {
  TempFolder dir;
  const std::vector<testsupport::NotRegularFile> files =
      testsupport::MakeNotRegularFiles(dir.Path());
  std::string error;
  const std::string pack = dir / "p.83p";
  ASSERT_TRUE(SavePackFile(pack, RandomPack(5, 2), error)) << error;
  QJsonObject manifest = WriteSampleManifest(dir.Path());
  const std::string good = SaveManifest(dir.Path(), manifest);
  const std::string out = dir / "out";

  const Reader readers[] = {
      {"verify", {"verify", "@"}, true},
      {"info", {"info", "@"}},
      {"export", {"export", "@", "--password", "pw5", "--out", out}},
      {"export's password file",
       {"export", pack, "--password-file", "@", "--out", out}},
      {"build's manifest", {"build", "@", "--out", out}},
      {"build's password file",
       {"build", good, "--password-file", "@", "--out", out}},
      {"build's picture", {"build", "manifest", "--out", out}},
  };
  for (const testsupport::NotRegularFile& file : files) {
    // A manifest whose first picture is the file.
    QJsonArray levels = manifest["levels"].toArray();
    QJsonObject first = levels[0].toObject();
    first["terrain"] = QString::fromStdString(file.path);
    levels[0] = first;
    QJsonObject pointing = manifest;
    pointing["levels"] = levels;
    fs::create_directories(dir / "m");
    const std::string withPicture = SaveManifest(dir / "m", pointing);

    for (const Reader& reader : readers) {
      SCOPED_TRACE(std::string(reader.what) + " on " + file.what);
      std::vector<std::string> args = reader.args;
      for (std::string& arg : args) {
        if (arg == "@") arg = file.path;
        if (arg == "manifest") arg = withPicture;
      }
      const ToolResult result = RunPlodpak(args);
      EXPECT_EQ(result.status, 2);
      const std::string& report = reader.onOut ? result.out : result.err;
      EXPECT_NE(report.find("\"" + file.path + "\" " + file.reason),
                std::string::npos)
          << report;
      EXPECT_FALSE(fs::exists(out));
    }
  }
}

}  // namespace
}  // namespace plodpak_test
