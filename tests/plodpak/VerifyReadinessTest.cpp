// verify tells a damaged file, a sound file the game cannot play yet and a
// ready one apart, by its exit status and its lines.

#include <gtest/gtest.h>

#include <cstring>

#include "PlodpakSupport.h"
#include "packfile/PackFile.h"

namespace plodpak_test {
namespace {

// A ready two-level pack: no errors, and its to-save count leaves no spare
// Plodder on level 2, which is only a note.
PackContents ReadyPack() {
  PackContents pack = RandomPack(40, 2);
  for (LevelRecord& level : pack.levels) {
    std::memset(level.m_bitmap, 0, sizeof level.m_bitmap);
    level.m_nBlockCount = 0;
    level.m_objects[ENTRANCE_SLOT] = {OBJ_ENTRANCE, 2, 0};
    level.m_objects[EXIT_SLOT] = {OBJ_EXIT, 6, 20};
    const int below = 36 * level.m_nWidthBytes;
    level.m_bitmap[below + 6] = level.m_bitmap[below + 7] = 0xFF;
    level.m_nPopulation = 10;
    level.m_nToSave = 5;
  }
  std::strcpy(pack.levels[1].m_szPasscode, "QWER");
  pack.levels[1].m_nToSave = 10;
  return pack;
}

TEST(PlodpakVerifyReadiness, DamagedNotReadyAndReadyHaveTheirOwnStatus) {
  TempFolder folder;
  std::string error;
  PackContents notReady = ReadyPack();
  notReady.levels[1].m_objects[EXIT_SLOT] = {};
  ASSERT_TRUE(SavePackFile(folder / "ready.83p", ReadyPack(), error)) << error;
  ASSERT_TRUE(SavePackFile(folder / "draft.83p", notReady, error)) << error;
  std::vector<std::uint8_t> bytes = ReadBytes(folder / "ready.83p");
  bytes[bytes.size() - 1] ^= 0x01;  // the checksum no longer matches
  WriteBytes(folder / "damaged.83p", bytes);

  const std::string ready = folder / "ready.83p";
  const std::string draft = folder / "draft.83p";
  const std::string damaged = folder / "damaged.83p";
  const ToolResult readyRun = RunPlodpak({"verify", ready});
  EXPECT_EQ(readyRun.status, 0);
  EXPECT_EQ(readyRun.out.rfind(ready + ": ok (2 levels, ", 0), 0u)
      << readyRun.out;
  EXPECT_EQ(readyRun.err, ready +
                              ": note: level 2 asks to save 10 of 10 "
                              "Plodders: none to spare\n");

  const ToolResult draftRun = RunPlodpak({"verify", draft});
  EXPECT_EQ(draftRun.status, 3);
  EXPECT_EQ(draftRun.out.rfind(
                draft + ": not ready for the calculator (2 levels, ", 0),
            0u)
      << draftRun.out;
  EXPECT_EQ(draftRun.err,
            draft + ": error: level 2 has no exit\n" + draft +
                ": note: level 2 asks to save 10 of 10 Plodders: none to "
                "spare\n");

  // The worst file decides: damaged over not ready over ready.
  EXPECT_EQ(RunPlodpak({"verify", ready, draft}).status, 3);
  EXPECT_EQ(RunPlodpak({"verify", draft, damaged, ready}).status, 2);
  EXPECT_EQ(RunPlodpak({"verify", damaged}).status, 2);
}

// A script reading the help learns what status 3 means.
TEST(PlodpakVerifyReadiness, HelpNamesTheStatuses) {
  const ToolResult help = RunPlodpak({"verify", "--help"});
  EXPECT_NE(help.out.find("3 verify only: every file is\nsound but one is not "
                          "ready"),
            std::string::npos)
      << help.out;
}

}  // namespace
}  // namespace plodpak_test
