#include "packfile/RegularFile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "packfile/PackFile.h"
#include "packfile/SafeWrite.h"
#include "support/NotRegularFiles.h"
#include "support/TempFiles.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;

struct Outcome {
  bool ok = false;
  std::string error;
};

// Every reader of the core, each bounded in time: a reader that blocks on a
// pipe or reads a device without end fails here.
TEST(RegularFile, EveryReaderRefusesWhatIsNotARegularFileAtOnce) {
  const testsupport::TempFolder dir("plodderz-regular");
  using Reader = Outcome (*)(const std::string&);
  const std::pair<const char*, Reader> readers[] = {
      {"ReadRegularFile",
       [](const std::string& path) {
         Bytes bytes{7};
         Outcome out;
         out.ok = ReadRegularFile(path, 100, bytes, out.error);
         if (bytes != Bytes{7}) out.error += " (the bytes were touched)";
         return out;
       }},
      {"ReadWholeFile",
       [](const std::string& path) {
         Bytes bytes;
         Outcome out;
         out.ok = ReadWholeFile(path, 100, bytes, out.error);
         return out;
       }},
      {"LoadPackFile",
       [](const std::string& path) {
         PackContents pack;
         Outcome out;
         out.ok = LoadPackFile(path, pack, out.error);
         return out;
       }},
  };
  for (const auto& file : testsupport::MakeNotRegularFiles(dir.Path())) {
    for (const auto& [name, read] : readers) {
      SCOPED_TRACE(std::string(name) + " on " + file.what);
      const std::optional<Outcome> out = testsupport::FinishesWithin(
          5s, [read = read, path = file.path] { return read(path); });
      ASSERT_TRUE(out.has_value()) << "the reader did not return";
      EXPECT_FALSE(out->ok);
      EXPECT_EQ(out->error, "\"" + file.path + "\" " + file.reason);
    }
  }
}

TEST(RegularFile, ReadsARegularFileAlsoThroughALink) {
  const testsupport::TempFolder dir("plodderz-regular");
  testsupport::WriteBytes(dir / "ten", Bytes(10, 3));
  std::filesystem::create_symlink(dir / "ten", dir / "link");
  for (const std::string& path : {dir / "ten", dir / "link"}) {
    Bytes bytes;
    std::string error;
    ASSERT_TRUE(ReadRegularFile(path, 10, bytes, error)) << error;
    EXPECT_EQ(bytes, Bytes(10, 3));
  }
  // The limit is exact: one byte more is refused, and nothing is read into
  // the caller's bytes.
  Bytes bytes{1};
  std::string error;
  EXPECT_FALSE(ReadRegularFile(dir / "ten", 9, bytes, error));
  EXPECT_EQ(error, "\"" + dir / "ten" + "\" is longer than 9 bytes");
  EXPECT_EQ(bytes, Bytes{1});
}

TEST(RegularFile, ALinkToAPipeIsRefusedAsThePipe) {
  const testsupport::TempFolder dir("plodderz-regular");
  testsupport::MakeNotRegularFiles(dir.Path());
  std::filesystem::create_symlink(dir / "pipe.83p", dir / "to-pipe");
  EXPECT_EQ(NotRegularFileReason(dir / "to-pipe"),
            "is a named pipe, not a regular file");
  // A missing path is left to the open, which says so in the system's
  // words, as before.
  EXPECT_EQ(NotRegularFileReason(dir / "none"), "");
  Bytes bytes;
  std::string error;
  EXPECT_FALSE(ReadRegularFile(dir / "none", 10, bytes, error));
  EXPECT_EQ(error,
            "Cannot open \"" + dir / "none" + "\": No such file or directory");
}

}  // namespace
