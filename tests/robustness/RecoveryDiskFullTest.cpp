// The recovery copy when the disk fills up while it is written. The writes
// run in a child process whose files may not grow past a few kilobytes
// (RLIMIT_FSIZE, with SIGXFSZ ignored so a write fails with EFBIG): a small
// copy fits, a larger one does not. The last good copy must stay whole and
// readable, no temporary file may be left, and the editor is told once.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QString>
#include <string>
#include <vector>

#include "packfile/RecoveryFile.h"
#include "shell/Recovery.h"
#include "support/TempFiles.h"

namespace {

constexpr rlim_t kFileSizeLimit = 4096;

// What the child found; each failed check sets one bit of its exit code.
enum Fault : int {
  SETUP_FAILED = 1,    // the store or the first, small copy failed
  WRITTEN_ANYWAY = 2,  // the copy too large for the disk counted as written
  COPY_LOST = 4,       // the last good copy is gone or changed
  LEFT_BEHIND = 8,     // a temporary file is left in the folder
  NOT_TOLD_ONCE = 16,  // the failure was not reported exactly once
};

RecoveryRecord Record(int levels, const char* author) {
  RecoveryRecord record;
  record.pack.levels.resize(static_cast<std::size_t>(levels));
  record.pack.m_szAuthorName = author;
  for (LevelRecord& level : record.pack.levels) {
    for (int b = 0; b < level.BitmapBytes(); ++b) {
      level.m_bitmap[b] = static_cast<std::uint8_t>(b * 7);
    }
  }
  return record;
}

int RunChild(const std::string& folder) {
  CRecoveryStore store(QString::fromStdString(folder));
  QString error;
  if (!store.Open(error)) return SETUP_FAILED;
  const RecoveryRecord good = Record(1, "good");
  std::string why;
  if (!store.Write(good, why)) return SETUP_FAILED;
  const std::vector<std::uint8_t> goodBytes = EncodeRecoveryFile(good);
  if (goodBytes.size() >= kFileSizeLimit) return SETUP_FAILED;

  int faults = 0;
  int told = 0;
  bool modified = true;
  CRecoveryKeeper keeper(
      store,
      [&](RecoveryRecord& record) {
        record = Record(9, "too large");
        return modified;
      },
      [&](const QString&) { ++told; });
  keeper.PackChanged(true);
  // The copy the editor makes when asked to wait, a background write, and
  // the first way again: each fails, the editor is told once.
  if (keeper.WriteNow(true)) faults |= WRITTEN_ANYWAY;
  store.WriteInBackground(EncodeRecoveryFile(Record(9, "again")));
  store.Flush();
  if (keeper.WriteNow(true)) faults |= WRITTEN_ANYWAY;
  if (store.Write(Record(9, "third"), why) ||
      why.find("File too large") == std::string::npos) {
    faults |= WRITTEN_ANYWAY;
  }
  if (told != 1) faults |= NOT_TOLD_ONCE;

  if (testsupport::ReadBytes(store.CopyPath().toStdString()) != goodBytes) {
    faults |= COPY_LOST;
  }
  // The copy and this editor's lock, nothing else.
  if (testsupport::EntryNames(folder).size() != 2) faults |= LEFT_BEHIND;
  modified = false;
  keeper.PackChanged(false);
  return faults;
}

TEST(RecoveryDiskFull, TheLastGoodCopyStaysAndTheEditorIsToldOnce) {
  const testsupport::TempFolder dir("plodderz-recovery-full");
  const std::string folder = dir / "recovery";
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{kFileSizeLimit, kFileSizeLimit};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::_exit(RunChild(folder));
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "the child died";
  EXPECT_EQ(WEXITSTATUS(status), 0)
      << "faults (see the Fault bits): " << WEXITSTATUS(status);
}

}  // namespace
