#include "packfile/SafeWrite.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "support/TempFiles.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;
using testsupport::ReadBytes;
using testsupport::WriteBytes;

class SafeWrite : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return m_dir / name; }

  // Only the named entries are in the folder: no temporary file is left.
  void ExpectOnly(std::initializer_list<std::string> names) const {
    std::vector<std::string> expected(names);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(testsupport::EntryNames(m_dir.Path()), expected);
  }

  testsupport::TempFolder m_dir{"plodderz-safewrite"};
};

TEST_F(SafeWrite, CreatesAndReplaces) {
  const std::string path = Path("pack.83p");
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(path, Bytes{1, 2, 3}, error)) << error;
  EXPECT_EQ(ReadBytes(path), (Bytes{1, 2, 3}));
  ASSERT_TRUE(WriteFileAtomically(path, Bytes{9}, error)) << error;
  EXPECT_EQ(ReadBytes(path), Bytes{9});
  ExpectOnly({"pack.83p"});
}

// Every name the file system takes can be written, up to its 255 bytes,
// also over an existing file; the temporary file does not need a longer one.
TEST_F(SafeWrite, WritesNamesUpToTheLongestTheFileSystemTakes) {
  for (const std::size_t length : {247u, 248u, 251u, 255u}) {
    const std::string name = std::string(length - 4, 'n') + ".83p";
    const std::string path = Path(name);
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(path, Bytes{1, 2}, error))
        << length << ": " << error;
    ASSERT_TRUE(WriteFileAtomically(path, Bytes{3}, error))
        << length << ": " << error;
    EXPECT_EQ(ReadBytes(path), Bytes{3}) << length;
    ExpectOnly({name});
    fs::remove(path);
  }
}

TEST_F(SafeWrite, WritesThroughASymbolicLink) {
  WriteBytes(Path("real.83p"), Bytes{1});
  fs::create_symlink(Path("real.83p"), m_dir.Path() / "link.83p");
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(Path("link.83p"), Bytes{2, 3}, error))
      << error;
  EXPECT_TRUE(fs::is_symlink(m_dir.Path() / "link.83p"));
  EXPECT_EQ(ReadBytes(Path("real.83p")), (Bytes{2, 3}));
  ExpectOnly({"real.83p", "link.83p"});
}

TEST_F(SafeWrite, NewFileGetsUsualModeAndExistingKeepsItsMode) {
  const std::string fresh = Path("fresh.83p");
  const mode_t mask = ::umask(022);
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(fresh, Bytes{1}, error)) << error;
  ::umask(mask);
  struct stat info {};
  ASSERT_EQ(::stat(fresh.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0644u);

  ASSERT_EQ(::chmod(fresh.c_str(), 0640), 0);
  ASSERT_TRUE(WriteFileAtomically(fresh, Bytes{2}, error)) << error;
  ASSERT_EQ(::stat(fresh.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
}

// Failures that even root meets: the folder is a regular file, or the
// target is a folder.
TEST_F(SafeWrite, RefusesWhatCannotBeWritten) {
  WriteBytes(Path("plain"), Bytes{7});
  fs::create_directory(m_dir.Path() / "folder");
  struct Case {
    std::string path;
    const char* reason;
  };
  const Case cases[] = {
      {Path("plain") + "/pack.83p", "Not a directory"},
      {Path("folder"), "Is a directory"},
      {Path("missing") + "/pack.83p", "No such file"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(c.path, Bytes{1, 2}, error)) << c.path;
    EXPECT_NE(error.find(c.path), std::string::npos) << error;
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
  }
  EXPECT_EQ(ReadBytes(Path("plain")), Bytes{7});
  EXPECT_TRUE(fs::is_empty(m_dir.Path() / "folder"));
  ExpectOnly({"plain", "folder"});
}

// The disk fills up in the middle of the write: the child process may write
// at most 4096 bytes per file. The old file must survive unchanged.
TEST_F(SafeWrite, DiskFullKeepsThePreviousFile) {
  const std::string path = Path("pack.83p");
  const Bytes previous(1000, 0x5A);
  WriteBytes(path, previous);
  const Bytes larger(10000, 0xA5);

  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::string error;
    const bool written = WriteFileAtomically(path, larger, error);
    const bool named = error.find(path) != std::string::npos &&
                       error.find("too large") != std::string::npos;
    ::_exit(written ? 1 : named ? 0 : 2);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0)
      << "1: the write claimed success; 2: the reason was unclear";
  EXPECT_EQ(ReadBytes(path), previous);
  ExpectOnly({"pack.83p"});
}

TEST_F(SafeWrite, ReadWholeFile) {
  WriteBytes(Path("ten"), Bytes(10, 3));
  Bytes bytes;
  std::string error;
  ASSERT_TRUE(ReadWholeFile(Path("ten"), 10, bytes, error)) << error;
  EXPECT_EQ(bytes, Bytes(10, 3));

  bytes = {42};
  EXPECT_FALSE(ReadWholeFile(Path("ten"), 9, bytes, error));
  EXPECT_NE(error.find("longer than 9 bytes"), std::string::npos) << error;
  EXPECT_EQ(bytes, Bytes{42});

  EXPECT_FALSE(ReadWholeFile(Path("none"), 10, bytes, error));
  EXPECT_NE(error.find(Path("none")), std::string::npos) << error;
  EXPECT_NE(error.find("No such file"), std::string::npos) << error;

  EXPECT_FALSE(ReadWholeFile(m_dir.Path().string(), 10, bytes, error));
  EXPECT_NE(error.find("is a directory, not a regular file"), std::string::npos)
      << error;
}

}  // namespace
