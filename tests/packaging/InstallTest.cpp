// Installs the build into a temporary root, as `cmake --install` with DESTDIR
// and as the Debian package that `cpack -G DEB` makes, and checks that a
// desktop finds the editor there: programs, launcher entry, icons and the
// file types of the packs.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QImage>
#include <QMimeDatabase>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/TempFiles.h"

namespace fs = std::filesystem;
using testsupport::MakeTempFolder;
using testsupport::ReadText;
using testsupport::WriteText;

namespace {

constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

// Runs a shell command with its output in `log`; the exit status, or -1.
int RunCommand(const std::string& command, const fs::path& log) {
  const int status =
      std::system((command + " >" + Quote(log.string()) + " 2>&1").c_str());
  if (status == -1 || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

bool HasProgram(const std::string& name) {
  return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

// What must be in an installed tree below its prefix "/usr".
struct ExpectedFile {
  std::string path;
  bool executable;
};

std::vector<ExpectedFile> ExpectedFiles() {
  std::vector<ExpectedFile> files = {
      {"usr/bin/plodderz-editor", true},
      {"usr/bin/plodpak", true},
      {"usr/share/applications/plodderz-editor.desktop", false},
      {"usr/share/mime/packages/plodderz-editor.xml", false},
      {"usr/share/icons/hicolor/scalable/apps/plodderz-editor.svg", false},
      {"usr/share/metainfo/invalid.example.PlodderzEditor.metainfo.xml", false},
      {"usr/share/man/man1/plodderz-editor.1", false},
      {"usr/share/man/man1/plodpak.1", false},
      {"usr/share/doc/plodderz-editor/plodpak.md", false},
  };
  for (int size : kIconSizes) {
    const std::string dim = std::to_string(size);
    files.push_back({"usr/share/icons/hicolor/" + dim + "x" + dim +
                         "/apps/plodderz-editor.png",
                     false});
  }
  return files;
}

void ExpectFilesUnder(const fs::path& root) {
  for (const ExpectedFile& file : ExpectedFiles()) {
    const fs::path path = root / file.path;
    EXPECT_TRUE(fs::is_regular_file(path)) << "missing: " << path;
    if (file.executable) {
      EXPECT_EQ(::access(path.c_str(), X_OK), 0) << "not executable: " << path;
    }
  }
}

// Key/value lines of the [Desktop Entry] group.
std::map<std::string, std::string> ReadDesktopEntry(const fs::path& path) {
  std::map<std::string, std::string> entry;
  std::istringstream lines(ReadText(path));
  std::string line;
  bool inGroup = false;
  while (std::getline(lines, line)) {
    if (line.empty() || line[0] == '#') continue;
    if (line[0] == '[') {
      inGroup = line == "[Desktop Entry]";
      continue;
    }
    const auto eq = line.find('=');
    if (inGroup && eq != std::string::npos) {
      entry[line.substr(0, eq)] = line.substr(eq + 1);
    }
  }
  return entry;
}

// A TI-83 variable file head: the signature, an empty comment and a variable
// header whose type byte (offset 59) says what the variable is.
std::string VariableFileHead(const char* signature, unsigned char type) {
  std::string bytes(80, '\0');
  bytes.replace(0, 8, signature);
  bytes[8] = 0x1A;
  bytes[9] = 0x0A;
  bytes[55] = 0x0B;
  bytes[59] = static_cast<char>(type);
  return bytes;
}

class Installed : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_work = MakeTempFolder("plodderz-install");
    ASSERT_FALSE(s_work.empty());
    s_root = s_work / "root";
    const fs::path log = s_work / "install.log";
    const int status = RunCommand(
        "DESTDIR=" + Quote(s_root.string()) + " " + Quote(PLODDERZ_CMAKE) +
            " --install " + Quote(PLODDERZ_BINARY_DIR) + " --prefix /usr",
        log);
    s_installed = status == 0;
    if (!s_installed) s_log = ReadText(log);
  }
  static void TearDownTestSuite() {
    if (!s_work.empty()) fs::remove_all(s_work);
  }
  void SetUp() override {
    ASSERT_TRUE(s_installed) << "cmake --install failed:\n" << s_log;
  }

  static inline fs::path s_work;
  static inline fs::path s_root;
  static inline bool s_installed = false;
  static inline std::string s_log;
};

TEST_F(Installed, PutsEveryFileInTheUsualPlace) {
  ExpectFilesUnder(s_root);
  // The scalable icon is the window icon the editor shows.
  EXPECT_EQ(
      ReadText(s_root /
               "usr/share/icons/hicolor/scalable/apps/plodderz-editor.svg"),
      ReadText(fs::path(PLODDERZ_SOURCE_DIR) / "src/resources/icon.svg"));
}

TEST_F(Installed, LauncherEntryStartsTheInstalledEditorWithItsIcon) {
  const auto entry = ReadDesktopEntry(
      s_root / "usr/share/applications/plodderz-editor.desktop");
  EXPECT_EQ(entry.count("Type") ? entry.at("Type") : "", "Application");
  EXPECT_EQ(entry.count("Name") ? entry.at("Name") : "",
            "Plodderz Level File Maker");
  EXPECT_EQ(entry.count("Terminal") ? entry.at("Terminal") : "", "false");
  // Exec names a program of the package, found on the PATH after install,
  // and passes it the one file opened with it.
  ASSERT_TRUE(entry.count("Exec"));
  EXPECT_EQ(entry.at("Exec"), "plodderz-editor %f");
  EXPECT_TRUE(fs::is_regular_file(s_root / "usr/bin/plodderz-editor"));
  // The desktop offers the editor for both kinds of pack file.
  EXPECT_EQ(entry.count("MimeType") ? entry.at("MimeType") : "",
            "application/x-ti83-program;application/x-ti83plus-program;");
  // Icon is a theme name (no path, no extension) that the theme resolves.
  ASSERT_TRUE(entry.count("Icon"));
  EXPECT_EQ(entry.at("Icon"), "plodderz-editor");
  EXPECT_TRUE(
      fs::is_regular_file(s_root / "usr/share/icons/hicolor/48x48/apps" /
                          (entry.at("Icon") + ".png")));
  // List values end with a semicolon; the main category is a registered one.
  ASSERT_TRUE(entry.count("Categories"));
  const std::string categories = entry.at("Categories");
  EXPECT_EQ(categories.back(), ';');
  EXPECT_EQ(categories.rfind("Game;", 0), 0u) << categories;

  // The freedesktop.org validator, where it is installed, has the last word.
  if (HasProgram("desktop-file-validate")) {
    const fs::path log = s_work / "desktop-validate.log";
    EXPECT_EQ(RunCommand("desktop-file-validate " +
                             Quote((s_root / "usr/share/applications/"
                                             "plodderz-editor.desktop")
                                       .string()),
                         log),
              0)
        << ReadText(log);
  }
}

TEST_F(Installed, IconsAreDrawnAtEachThemeSize) {
  for (int size : kIconSizes) {
    const std::string dim = std::to_string(size);
    const fs::path path = s_root / "usr/share/icons/hicolor" /
                          (dim + "x" + dim) / "apps/plodderz-editor.png";
    QImage image;
    ASSERT_TRUE(image.load(QString::fromStdString(path.string()))) << path;
    EXPECT_EQ(image.width(), size) << path;
    EXPECT_EQ(image.height(), size) << path;
    // Drawn, not blank: most of the square is covered, and the rounded
    // corners stay transparent.
    int opaque = 0;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        if (qAlpha(image.pixel(x, y)) > 128) ++opaque;
      }
    }
    EXPECT_GT(opaque, size * size / 2) << path;
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << path;
  }
}

// The installed type definitions, compiled as a desktop does, name .83p and
// .8xp files by their extension (in either case) and by their contents, and
// leave other TI-83 variables and strangers alone.
TEST_F(Installed, MimeDatabaseNamesPackFiles) {
  if (!HasProgram("update-mime-database")) {
    GTEST_SKIP() << "update-mime-database (shared-mime-info) is not installed";
  }
  const fs::path share = s_root / "usr/share";
  ASSERT_EQ(
      RunCommand("update-mime-database " + Quote((share / "mime").string()),
                 s_work / "mime.log"),
      0)
      << ReadText(s_work / "mime.log");
  // Only these data folders: the system's own database stays out of it.
  ::setenv("XDG_DATA_DIRS", share.c_str(), 1);
  ::setenv("XDG_DATA_HOME", (s_work / "nohome").c_str(), 1);

  const fs::path files = s_work / "files";
  fs::create_directory(files);
  struct Case {
    const char* name;
    std::string contents;
    const char* type;
  };
  const Case cases[] = {
      {"PACK.83p", "", "application/x-ti83-program"},
      {"pack.83P", "", "application/x-ti83-program"},
      {"pack.8xp", "", "application/x-ti83plus-program"},
      {"noext-83", VariableFileHead("**TI83**", 0x06),
       "application/x-ti83-program"},
      {"noext-83-open", VariableFileHead("**TI83**", 0x05),
       "application/x-ti83-program"},
      {"noext-8x", VariableFileHead("**TI83F*", 0x06),
       "application/x-ti83plus-program"},
      // A TI-83 picture variable: same signature, another type.
      {"picture", VariableFileHead("**TI83**", 0x07), ""},
      {"stranger", std::string(80, 'x'), ""},
  };
  QMimeDatabase database;
  for (const Case& c : cases) {
    const fs::path path = files / c.name;
    WriteText(path, c.contents);
    const QString type =
        database.mimeTypeForFile(QString::fromStdString(path.string())).name();
    if (*c.type != '\0') {
      EXPECT_EQ(type.toStdString(), c.type) << c.name;
    } else {
      EXPECT_FALSE(type.startsWith(QStringLiteral("application/x-ti83")))
          << c.name;
    }
  }
}

// With only the installed tree as the desktop's data, the editor is the
// default application of both pack types.
TEST_F(Installed, XdgMimeNamesTheEditorForPackFiles) {
  for (const char* program :
       {"xdg-mime", "update-desktop-database", "update-mime-database"}) {
    if (!HasProgram(program)) GTEST_SKIP() << program << " is not installed";
  }
  // A copy of the tree, so that the caches made here stay out of the others.
  const fs::path share = s_work / "xdg/share";
  fs::create_directories(share);
  fs::copy(s_root / "usr/share", share, fs::copy_options::recursive);
  ASSERT_EQ(
      RunCommand("update-mime-database " + Quote((share / "mime").string()),
                 s_work / "xdg-mime-db.log"),
      0);
  ASSERT_EQ(RunCommand("update-desktop-database " +
                           Quote((share / "applications").string()),
                       s_work / "xdg-desktop-db.log"),
            0)
      << ReadText(s_work / "xdg-desktop-db.log");
  const std::string env =
      "env -u XDG_CURRENT_DESKTOP -u KDE_FULL_SESSION "
      "-u GNOME_DESKTOP_SESSION_ID -u DESKTOP_SESSION "
      "XDG_DATA_DIRS=" +
      Quote(share.string()) +
      " XDG_DATA_HOME=" + Quote((s_work / "xdg/home").string()) +
      " XDG_CONFIG_HOME=" + Quote((s_work / "xdg/config").string()) +
      " XDG_CONFIG_DIRS=" + Quote((s_work / "xdg/config").string()) + " ";
  for (const char* type :
       {"application/x-ti83-program", "application/x-ti83plus-program"}) {
    const fs::path log = s_work / "xdg-mime.log";
    EXPECT_EQ(RunCommand(env + "xdg-mime query default " + type, log), 0)
        << ReadText(log);
    EXPECT_EQ(ReadText(log), "plodderz-editor.desktop\n") << type;
  }
}

// The AppStream metainfo that software centres read validates, and names
// the launcher entry and the file types.
TEST_F(Installed, MetainfoValidatesAndNamesTheLauncher) {
  const fs::path metainfo =
      s_root / "usr/share/metainfo/invalid.example.PlodderzEditor.metainfo.xml";
  const std::string text = ReadText(metainfo);
  EXPECT_NE(text.find("<launchable type=\"desktop-id\">plodderz-editor.desktop"
                      "</launchable>"),
            std::string::npos);
  EXPECT_NE(text.find("<mediatype>application/x-ti83plus-program</mediatype>"),
            std::string::npos);
  if (!HasProgram("appstreamcli")) {
    GTEST_SKIP() << "appstreamcli (appstream) is not installed";
  }
  const fs::path log = s_work / "appstream.log";
  EXPECT_EQ(
      RunCommand("appstreamcli validate --no-net " + Quote(metainfo.string()),
                 log),
      0)
      << ReadText(log);
}

// The manual pages are well-formed and say what each program takes.
TEST_F(Installed, ManualPagesDescribeBothPrograms) {
  const struct {
    const char* page;
    const char* says;
  } kPages[] = {{"plodderz-editor.1", "\\-\\-version"},
                {"plodpak.1", "plodpak verify"}};
  for (const auto& p : kPages) {
    const fs::path page = s_root / "usr/share/man/man1" / p.page;
    EXPECT_NE(ReadText(page).find(p.says), std::string::npos) << p.page;
    if (!HasProgram("man")) continue;
    const fs::path log = s_work / "man.log";
    // Every request known and every line formatted: no warnings at all.
    EXPECT_EQ(
        RunCommand("MANWIDTH=80 man --warnings -l " + Quote(page.string()) +
                       " 2>&1 >/dev/null | "
                       "(! grep .)",
                   log),
        0)
        << p.page << ":\n"
        << ReadText(log);
  }
}

// The Debian package holds the same files under /usr and depends on Debian's
// Qt 6 packages. Packing a sanitizer build is pointless: its programs need
// the sanitizer runtime.
TEST_F(Installed, DebianPackageHoldsTheProgramsAndDependsOnQt) {
#ifdef PLODDERZ_SANITIZE
  GTEST_SKIP() << "a sanitizer build is not packaged";
#else
  for (const char* program : {"dpkg-deb", "dpkg-shlibdeps"}) {
    if (!HasProgram(program)) GTEST_SKIP() << program << " is not installed";
  }
  const fs::path out = s_work / "cpack";
  const fs::path log = s_work / "cpack.log";
  ASSERT_EQ(
      RunCommand(
          "cd " + Quote(PLODDERZ_BINARY_DIR) + " && " + Quote(PLODDERZ_CPACK) +
              " -G DEB --config CPackConfig.cmake -B " + Quote(out.string()),
          log),
      0)
      << ReadText(log);
  std::vector<fs::path> debs;
  for (const auto& entry : fs::directory_iterator(out)) {
    if (entry.path().extension() == ".deb") debs.push_back(entry.path());
  }
  ASSERT_EQ(debs.size(), 1u) << ReadText(log);
  const fs::path deb = debs.front();

  const fs::path fields = s_work / "fields.txt";
  ASSERT_EQ(
      RunCommand("dpkg-deb -f " + Quote(deb.string()) + " Package Depends",
                 fields),
      0)
      << ReadText(fields);
  const std::string control = ReadText(fields);
  EXPECT_NE(control.find("Package: plodderz-editor"), std::string::npos)
      << control;
  for (const char* package : {"libqt6core6", "libqt6gui6", "libqt6widgets6",
                              "libqt6svg6", "qt6-qpa-plugins"}) {
    EXPECT_NE(control.find(package), std::string::npos)
        << "Depends lacks " << package << ":\n"
        << control;
  }

  const fs::path unpacked = s_work / "deb-root";
  ASSERT_EQ(RunCommand("dpkg -x " + Quote(deb.string()) + " " +
                           Quote(unpacked.string()),
                       s_work / "dpkg.log"),
            0)
      << ReadText(s_work / "dpkg.log");
  ExpectFilesUnder(unpacked);
  // Everything lives below /usr, as Debian packages do.
  for (const auto& entry : fs::directory_iterator(unpacked)) {
    EXPECT_EQ(entry.path().filename(), "usr") << entry.path();
  }
#endif
}

}  // namespace
