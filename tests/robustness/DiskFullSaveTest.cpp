// Saving from the editor's window when the disk fills up in the middle of
// the write. The save runs in a child process whose files may not grow past
// a few hundred bytes (RLIMIT_FSIZE, with SIGXFSZ ignored so the write
// fails with EFBIG instead of killing the process). The editor must say so,
// keep the pack marked as changed, and leave the previous file byte for byte
// as it was, with no temporary file left beside it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "model/LevelPack.h"
#include "packfile/PackFile.h"
#include "shell/CommandIds.h"
#include "shell/EditorFrame.h"
#include "support/QtTestApp.h"
#include "support/ScriptedPlatform.h"
#include "support/TempFiles.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;
using testsupport::EntryNames;
using testsupport::ReadBytes;

constexpr rlim_t kFileSizeLimit = 512;

// A pack that saves to several kilobytes: three levels of ragged terrain,
// each with an entrance and an exit, passcodes and security information.
void FillPack(CLevelPack& pack) {
  std::mt19937 rng(83);
  std::uniform_int_distribution<int> byte(0, 255);
  while (pack.Count() < 3) pack.AddLevel();
  for (int i = 0; i < pack.Count(); ++i) {
    CLevel& level = pack.Level(i);
    for (int b = 0; b < level.BitmapBytes(); ++b) {
      level.m_bitmap[b] = static_cast<std::uint8_t>(byte(rng));
    }
    level.PlaceObject({8, 8}, OBJ_ENTRANCE);
    level.PlaceObject({48, 40}, OBJ_EXIT);
  }
  pack.m_szAuthorName = "Tester";
  pack.m_szPassword = "secret";
  pack.m_bModified = true;
}

// What the child found; each failed check sets one bit of its exit code.
enum Fault : int {
  SAVED_ANYWAY = 1,       // the save claimed success or cleared the flag
  NO_MESSAGE = 2,         // no "Save Error" message naming the file
  PATH_CHANGED = 4,       // the remembered path changed
  UNEXPECTED_DIALOG = 8,  // a prompt the script did not plan for
};

std::string Describe(int code) {
  std::string text;
  if (code & SAVED_ANYWAY) text += " the pack counted as saved;";
  if (code & NO_MESSAGE) text += " no Save Error message naming the file;";
  if (code & PATH_CHANGED) text += " the remembered path changed;";
  if (code & UNEXPECTED_DIALOG) text += " an unplanned prompt appeared;";
  return text;
}

struct SaveCase {
  const char* name;
  int command;              // IDM_FILE_SAVE or IDM_FILE_SAVE_AS
  bool targetIsRemembered;  // Save: the pack's own file; Save As: a new name
};

void PrintTo(const SaveCase& c, std::ostream* os) { *os << c.name; }

class DiskFullSave : public ::testing::TestWithParam<SaveCase> {
 protected:
  testsupport::TempFolder m_dir{"plodderz-diskfull"};
};

TEST_P(DiskFullSave, ReportsKeepsTheFlagAndThePreviousFile) {
  const SaveCase& c = GetParam();
  // The file saved before: a valid one-level pack, smaller than the limit.
  const fs::path previous = m_dir.Path() / "PACK.83p";
  {
    PackContents small;
    small.m_szAuthorName = "Tester";
    small.m_szPassword = "secret";
    small.levels.resize(1);
    small.levels[0].PlaceObject({8, 8}, OBJ_ENTRANCE);
    small.levels[0].PlaceObject({48, 40}, OBJ_EXIT);
    std::string error;
    ASSERT_TRUE(SavePackFile(previous.string(), small, error)) << error;
  }
  const Bytes before = ReadBytes(previous);
  ASSERT_LT(before.size(), kFileSizeLimit);
  const fs::path target =
      c.targetIsRemembered ? previous : m_dir.Path() / "NEW.83p";

  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{kFileSizeLimit, kFileSizeLimit};
    ::setrlimit(RLIMIT_FSIZE, &limit);

    QtTestApp();
    ScriptedPlatform platform;
    auto* frame = new CEditorFrame(platform);
    CLevelPack& pack = frame->Pack();
    FillPack(pack);
    const std::string remembered =
        c.targetIsRemembered ? previous.string() : std::string();
    pack.m_szFilePath = remembered;
    // The failure report is the one message box the save should show.
    platform.answers.push_back(IPlatform::Answer::Ok);
    if (!c.targetIsRemembered) {
      platform.fileNames.push_back(QString::fromStdString(target.string()));
    }
    frame->OnCommand(c.command);

    int faults = 0;
    if (!pack.m_bModified) faults |= SAVED_ANYWAY;
    bool reported = false;
    for (const auto& message : platform.messages) {
      if (message.caption == QStringLiteral("Save Error") &&
          message.text.contains(QString::fromStdString(target.string()))) {
        reported = true;
      }
    }
    if (!reported) faults |= NO_MESSAGE;
    if (pack.m_szFilePath != remembered) faults |= PATH_CHANGED;
    if (platform.unexpected != 0) faults |= UNEXPECTED_DIALOG;
    // Leave at once: the child must not run the parent's remaining tests.
    ::_exit(faults);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status))
      << "the save crashed (signal "
      << (WIFSIGNALED(status) ? WTERMSIG(status) : 0) << ")";
  EXPECT_EQ(WEXITSTATUS(status), 0) << Describe(WEXITSTATUS(status));
  EXPECT_EQ(ReadBytes(previous), before);
  // Nothing else in the folder: no half-written target, no temporary file.
  EXPECT_EQ(EntryNames(m_dir.Path()), std::vector<std::string>{"PACK.83p"});
}

INSTANTIATE_TEST_SUITE_P(
    Commands, DiskFullSave,
    ::testing::Values(SaveCase{"SaveOverTheRememberedFile", IDM_FILE_SAVE,
                               true},
                      SaveCase{"SaveAsANewFile", IDM_FILE_SAVE_AS, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
