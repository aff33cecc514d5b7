// The real editor as a process: its own main(), offscreen, driven by the
// test build's driver (tests/desktop/EditorDriver.cpp). Opening a file from
// the command line, the command line's exit codes, and crash recovery after
// the editor was killed.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QThread>
#include <chrono>
#include <memory>
#include <thread>

#include "ProcessSupport.h"
#include "packfile/PackFile.h"
#include "support/NotRegularFiles.h"
#include "support/QtTestApp.h"

namespace fs = std::filesystem;
using desktoptest::DriverRun;
using desktoptest::EditorHome;
using desktoptest::ParseReport;
using testsupport::ReadText;
using testsupport::WriteText;

namespace {

constexpr int kRunMs = 30000;

class EditorProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    QtTestApp();
    home.MakeFolders();
  }

  std::string ReportPath(const std::string& tag) const {
    return (home.Path() / (tag + ".report")).string();
  }
  std::string LogPath(const std::string& tag) const {
    return (home.Path() / (tag + ".log")).string();
  }
  std::map<std::string, std::string> Report(const std::string& tag) const {
    return ParseReport(ReadText(ReportPath(tag)));
  }
  std::string Log(const std::string& tag) const {
    return ReadText(LogPath(tag));
  }

  // Starts the driven editor; its reports and message log carry `tag`.
  std::unique_ptr<QProcess> Start(const DriverRun& run,
                                  const std::string& tag) {
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment env = home.Environment();
    env.insert(QStringLiteral("PLODDERZ_DRIVER_STEPS"), run.steps);
    env.insert(QStringLiteral("PLODDERZ_DRIVER_ANSWERS"), run.answers);
    env.insert(QStringLiteral("PLODDERZ_DRIVER_PASSWORD"), run.password);
    env.insert(QStringLiteral("PLODDERZ_DRIVER_REPORT"),
               QString::fromStdString(ReportPath(tag)));
    env.insert(QStringLiteral("PLODDERZ_DRIVER_LOG"),
               QString::fromStdString(LogPath(tag)));
    process->setProcessEnvironment(env);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (!run.workingDirectory.isEmpty()) {
      process->setWorkingDirectory(run.workingDirectory);
    }
    process->start(QStringLiteral(PLODDERZ_DRIVER_EXE), run.arguments);
    EXPECT_TRUE(process->waitForStarted(kRunMs));
    return process;
  }

  // Runs the driven editor to its end; its exit code, or -1.
  int Run(const DriverRun& run, const std::string& tag) {
    std::unique_ptr<QProcess> process = Start(run, tag);
    if (!process->waitForFinished(kRunMs)) {
      process->kill();
      process->waitForFinished();
      ADD_FAILURE() << tag << ": the editor did not end";
      return -1;
    }
    return process->exitStatus() == QProcess::NormalExit ? process->exitCode()
                                                         : -1;
  }

  // Waits until the report says "ready".
  bool WaitReady(QProcess& process, const std::string& tag) {
    const auto until =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kRunMs);
    while (std::chrono::steady_clock::now() < until) {
      if (Report(tag).count("ready") != 0) return true;
      if (process.state() == QProcess::NotRunning) return false;
      process.waitForFinished(50);
    }
    return false;
  }

  static void Kill(QProcess& process) {
    ::kill(static_cast<pid_t>(process.processId()), SIGKILL);
    process.waitForFinished(kRunMs);
  }

  QStringList RecoveryEntries(const QString& pattern) const {
    return QDir(home.RecoveryFolder())
        .entryList({pattern}, QDir::Files, QDir::Name);
  }

  // A saved pack of two levels with a password.
  std::string SavedPack(const std::string& name, std::string& imageHex) const {
    PackContents pack = desktoptest::SaveablePack(2);
    pack.m_szPassword = "SECRET";
    pack.levels[1].SetPixel(30, 40, true);
    const std::string path = (home.Path() / name).string();
    std::string error;
    EXPECT_TRUE(SavePackFile(path, pack, error)) << error;
    std::vector<std::uint8_t> image;
    EXPECT_TRUE(EncodePackImage(pack, image, error));
    imageHex = QByteArray(reinterpret_cast<const char*>(image.data()),
                          static_cast<qsizetype>(image.size()))
                   .toHex()
                   .toStdString();
    return path;
  }

  EditorHome home;
};

// ---- Opening from the command line ----

TEST_F(EditorProcess, OpensTheFileGivenOnTheCommandLineAfterItsPassword) {
  std::string imageHex;
  const std::string path = SavedPack("given.83p", imageHex);
  // Given by a name relative to the working folder: the pack keeps its
  // whole path.
  ASSERT_EQ(Run({"report,close",
                 "",
                 "SECRET",
                 {QStringLiteral("given.83p")},
                 QString::fromStdString(home.Path().string())},
                "open"),
            0);
  const auto report = Report("open");
  EXPECT_EQ(report.at("path"), path);
  EXPECT_EQ(report.at("image"), imageHex);
  EXPECT_EQ(report.at("modified"), "0");
  EXPECT_EQ(report.at("title"), "Plodderz Level File Maker - given.83p");
  EXPECT_EQ(Log("open"), "");  // nothing else was asked
}

TEST_F(EditorProcess, ADamagedFileGivenOnTheCommandLineLeavesTheFreshPack) {
  const fs::path path = home.Path() / "damaged.83p";
  WriteText(path, "**TI83**\x1a\x0a not a pack at all");
  ASSERT_EQ(
      Run({"report,close", "", "", {QString::fromStdString(path.string())}},
          "damaged"),
      0);
  const auto report = Report("damaged");
  EXPECT_EQ(report.at("path"), "");
  EXPECT_EQ(report.at("levels"), "1");
  EXPECT_EQ(report.at("modified"), "0");
  EXPECT_EQ(Log("damaged"),
            "Uh-Oh!: " + path.string() + " is not a valid Plodpak.\n");
}

// The status bar shows a long note elided in the middle: `shown` is `full`,
// or its start and end around an ellipsis.
bool ShownAs(const std::string& shown, const std::string& full) {
  const std::string ellipsis = "\xE2\x80\xA6";
  const std::size_t at = shown.find(ellipsis);
  if (at == std::string::npos) return shown == full;
  const std::string head = shown.substr(0, at);
  const std::string tail = shown.substr(at + ellipsis.size());
  return full.size() >= head.size() + tail.size() &&
         full.compare(0, head.size(), head) == 0 &&
         full.compare(full.size() - tail.size(), tail.size(), tail) == 0;
}

// What is not a regular file is refused at once with the reason, and the
// editor goes on with its fresh pack; a pipe no longer hangs the start.
TEST_F(EditorProcess, WhatIsNotARegularFileOnTheCommandLineIsRefusedAtOnce) {
  int run = 0;
  for (const auto& file : testsupport::MakeNotRegularFiles(home.Path())) {
    SCOPED_TRACE(file.what);
    const std::string tag = "special-" + std::to_string(++run);
    ASSERT_EQ(
        Run({"report,close", "", "", {QString::fromStdString(file.path)}}, tag),
        0);
    const auto report = Report(tag);
    EXPECT_EQ(report.at("path"), "");
    EXPECT_EQ(report.at("modified"), "0");
    EXPECT_TRUE(
        ShownAs(report.at("note"), "\"" + file.path + "\" " + file.reason))
        << report.at("note");
    EXPECT_EQ(Log(tag), "Uh-Oh!: " + file.path + " is not a valid Plodpak.\n");
  }
}

// A recovery folder that cannot be made: the editor says so once, in the
// status bar, and works on without copies.
TEST_F(EditorProcess, WithoutARecoveryFolderTheEditorSaysSoAndGoesOn) {
  WriteText(home.Path() / "data" / "plodderz-editor", "not a folder");
  ASSERT_EQ(Run({"report,edit,close", "no", "", {}}, "off"), 0);
  const auto report = Report("off");
  EXPECT_TRUE(
      ShownAs(report.at("note"),
              "No recovery copies can be kept: cannot make the folder " +
                  home.RecoveryFolder().toStdString()))
      << report.at("note");
  EXPECT_EQ(Log("off"), "Ready to Exit: Save changes?\n");
}

TEST_F(EditorProcess, HelpVersionAndABadOptionAnswerByTheirExitCodes) {
  const struct {
    QStringList arguments;
    int exitCode;
    const char* stdoutHas;
    const char* stderrHas;
  } kCases[] = {
      {{"--help"}, 0, "[FILE]", ""},
      {{"-h"}, 0, "--version", ""},
      {{"--version"}, 0, "plodderz-editor 1.0.0", ""},
      {{"--no-such-option"}, 2, "", "Usage: plodderz-editor"},
      {{"one.83p", "two.83p"}, 2, "", "Usage: plodderz-editor"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.arguments.join(' ').toStdString());
    QProcess process;
    QProcessEnvironment env = home.Environment();
    // Answered before any window system is reached.
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":nowhere"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(PLODDERZ_EDITOR_EXE), c.arguments);
    ASSERT_TRUE(process.waitForFinished(kRunMs));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), c.exitCode);
    EXPECT_TRUE(process.readAllStandardOutput().contains(c.stdoutHas));
    EXPECT_TRUE(process.readAllStandardError().contains(c.stderrHas));
  }
}

// ---- Crash recovery ----

TEST_F(EditorProcess, AKilledEditorsChangesAreRecoveredByteForByte) {
  // The editor makes changes, keeps its copy, and is killed.
  std::unique_ptr<QProcess> killed =
      Start({"edit,settle,report,ready,hold", "", "", {}}, "killed");
  ASSERT_TRUE(WaitReady(*killed, "killed"));

  // A second editor started meanwhile offers nothing: the first still runs.
  ASSERT_EQ(Run({"report,close", "", "", {}}, "beside"), 0);
  EXPECT_EQ(Log("beside"), "");
  EXPECT_EQ(Report("beside").at("levels"), "1");

  Kill(*killed);
  const auto before = Report("killed");
  ASSERT_EQ(before.at("modified"), "1");
  ASSERT_EQ(before.at("levels"), "2");
  ASSERT_EQ(RecoveryEntries("*.plodrec").size(), 1);
  // The copy is the user's alone.
  struct stat info {};
  ASSERT_EQ(::stat((home.RecoveryFolder() + "/" +
                    RecoveryEntries("*.plodrec").front())
                       .toLocal8Bit()
                       .constData(),
                   &info),
            0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);

  // The next editor asks, recovers on Yes, and at exit "No" drops the copy.
  ASSERT_EQ(Run({"report,close", "yes,no", "", {}}, "recovered"), 0);
  const auto after = Report("recovered");
  EXPECT_EQ(after.at("image"), before.at("image"));
  EXPECT_EQ(after.at("passcode0"), before.at("passcode0"));
  EXPECT_EQ(after.at("current"), before.at("current"));
  EXPECT_EQ(after.at("modified"), "1");
  EXPECT_EQ(after.at("title"), "Plodderz Level File Maker*");
  const std::string log = Log("recovered");
  EXPECT_EQ(log.rfind("Recover Unsaved Changes: The editor ended without "
                      "saving the changes to a pack that was never saved.",
                      0),
            0u)
      << log;
  EXPECT_NE(log.find("Ready to Exit: Save changes?"), std::string::npos);
  EXPECT_TRUE(RecoveryEntries("*.plodrec").isEmpty());
  EXPECT_TRUE(RecoveryEntries("*.lock").isEmpty());

  // Nothing is left to offer.
  ASSERT_EQ(Run({"close", "", "", {}}, "after"), 0);
  EXPECT_EQ(Log("after"), "");
}

// The layout and the view are in the settings while the editor runs, so a
// killed editor's next start has them.
TEST_F(EditorProcess, AKilledEditorsLayoutAndViewComeBack) {
  std::unique_ptr<QProcess> killed =
      Start({"layout,laidout,report,ready,hold", "", "", {}}, "laid");
  ASSERT_TRUE(WaitReady(*killed, "laid"));
  Kill(*killed);
  const auto before = Report("laid");
  ASSERT_NE(before.at("zoom"), "4");
  ASSERT_EQ(before.at("screenFrame"), "1");
  ASSERT_EQ(before.at("penBarLeft"), "1");
  ASSERT_EQ(before.at("size"), "870x610");

  ASSERT_EQ(Run({"report,close", "", "", {}}, "back"), 0);
  const auto after = Report("back");
  for (const char* key : {"zoom", "screenFrame", "penBarLeft", "size"}) {
    EXPECT_EQ(after.at(key), before.at(key)) << key;
  }
}

TEST_F(EditorProcess, ARecoveredPackKeepsItsFileSoTheNextSaveWritesIt) {
  std::string imageHex;
  const std::string path = SavedPack("kept.83p", imageHex);
  std::unique_ptr<QProcess> killed = Start({"edit,settle,report,ready,hold",
                                            "",
                                            "SECRET",
                                            {QString::fromStdString(path)}},
                                           "killed");
  ASSERT_TRUE(WaitReady(*killed, "killed"));
  Kill(*killed);

  // Cancel keeps the copy for another time.
  ASSERT_EQ(Run({"close", "cancel", "", {}}, "later"), 0);
  EXPECT_NE(Log("later").find("the changes to " + path), std::string::npos);
  EXPECT_EQ(RecoveryEntries("*.plodrec").size(), 1);

  // Yes to the question, and Yes to "Save changes?" at exit: Save writes
  // to the pack's own file.
  ASSERT_EQ(Run({"report,close", "yes,yes", "", {}}, "saved"), 0);
  const auto report = Report("saved");
  EXPECT_EQ(report.at("path"), path);
  EXPECT_EQ(report.at("title"), "Plodderz Level File Maker - kept.83p*");
  PackContents written;
  std::string error;
  ASSERT_TRUE(LoadPackFile(path, written, error)) << error;
  std::vector<std::uint8_t> image;
  ASSERT_TRUE(EncodePackImage(written, image, error));
  EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(image.data()),
                       static_cast<qsizetype>(image.size()))
                .toHex()
                .toStdString(),
            Report("killed").at("image"));
  EXPECT_NE(Report("killed").at("image"), imageHex);
  EXPECT_TRUE(RecoveryEntries("*.plodrec").isEmpty());
}

}  // namespace
