// Crash recovery in-process: the copy follows the modified flag, holds the
// pack without a placement preview, is the user's alone, each editor keeps
// its own, a damaged copy is set aside, and a recovered pack carries on
// where the author was. The copies go to a temporary folder only.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QStatusBar>
#include <cstring>

#include "canvas/CanvasWidget.h"
#include "dialogs/SecurityDialogs.h"
#include "packfile/PackFile.h"
#include "shell/CommandIds.h"
#include "shell/EditorFrame.h"
#include "shell/FrameHistory.h"
#include "shell/FrameSession.h"
#include "shell/Recovery.h"
#include "support/NotRegularFiles.h"
#include "support/QtTestApp.h"
#include "support/ScriptedPlatform.h"
#include "support/TempFiles.h"

namespace fs = std::filesystem;
using Answer = IPlatform::Answer;
using testsupport::ReadBytes;
using testsupport::TempFolder;
using testsupport::WriteText;

namespace {

mode_t ModeOf(const QString& path) {
  struct stat info {};
  if (::stat(QFile::encodeName(path).constData(), &info) != 0) return 0;
  return info.st_mode & 0777;
}

bool ReadCopy(const QString& path, RecoveryRecord& record) {
  std::string error;
  const std::vector<std::uint8_t> bytes = ReadBytes(path.toStdString());
  return DecodeRecoveryFile(bytes, record, error);
}

class RecoveryTest : public ::testing::Test {
 protected:
  void SetUp() override { QtTestApp(); }
  void TearDown() override {
    if (frame) {
      frame->Pack().m_bModified = false;
      frame->close();
      ProcessEvents();
    }
    EXPECT_EQ(CLevel::s_nLiveCount, 0);
  }

  QString Folder() const { return QString::fromStdString(folder / "recovery"); }
  CEditorFrame& Open() {
    frame = new CEditorFrame(platform);
    auto store = std::make_unique<CRecoveryStore>(Folder());
    QString error;
    EXPECT_TRUE(store->Open(error)) << error.toStdString();
    frame->Session().UseRecovery(std::move(store));
    frame->show();
    ProcessEvents();
    return *frame;
  }
  CRecoveryKeeper& Keeper() { return *frame->Session().Recovery(); }
  QString CopyPath() { return Keeper().Store().CopyPath(); }
  QStringList Entries() const {
    return QDir(Folder()).entryList(QDir::Files, QDir::Name);
  }

  TempFolder folder{"plodderz-recovery"};
  ScriptedPlatform platform;
  QPointer<CEditorFrame> frame;
};

TEST_F(RecoveryTest, TheCopyFollowsTheModifiedFlag) {
  Open();
  // Unmodified: no copy, none planned.
  EXPECT_FALSE(Keeper().WritePending());
  EXPECT_FALSE(QFile::exists(CopyPath()));

  // A change plans a write a few seconds later, not at once.
  frame->LevelNameEdit()->setText(QStringLiteral("Unsaved"));
  ASSERT_TRUE(frame->Pack().m_bModified);
  EXPECT_TRUE(Keeper().WritePending());
  EXPECT_FALSE(QFile::exists(CopyPath()));
  // As the timer does: the pack is read now, the file written on the
  // store's own thread.
  ASSERT_TRUE(Keeper().WriteNow());
  Keeper().Store().Flush();
  ASSERT_TRUE(QFile::exists(CopyPath()));
  EXPECT_FALSE(Keeper().WritePending());
  // The user's alone: the folder 0700, the copy 0600.
  EXPECT_EQ(ModeOf(Folder()), 0700u);
  EXPECT_EQ(ModeOf(CopyPath()), 0600u);

  // Moving the pointer over the canvas plans nothing.
  for (int x = 10; x < 200; x += 3) MouseMove(&frame->Canvas(), {x, 50}, false);
  ProcessEvents();
  EXPECT_FALSE(Keeper().WritePending());

  // Undoing back to the state of the file: the copy goes.
  frame->OnCommand(IDM_EDIT_UNDO);
  ASSERT_FALSE(frame->Pack().m_bModified);
  EXPECT_FALSE(QFile::exists(CopyPath()));

  // Saved: gone too.
  frame->LevelNameEdit()->setText(QStringLiteral("Saved"));
  ASSERT_TRUE(Keeper().WriteNow(true));
  frame->Pack().Current().PlaceObject({0, 30}, OBJ_ENTRANCE);
  frame->Pack().Current().PlaceObject({40, 30}, OBJ_EXIT);
  frame->Pack().m_szAuthorName = "Ann";
  frame->Pack().m_szPassword = "pw";
  platform.fileNames = {QString::fromStdString(folder / "saved.83p")};
  frame->OnCommand(IDM_FILE_SAVE_AS);
  ASSERT_FALSE(frame->Pack().m_bModified);
  EXPECT_FALSE(QFile::exists(CopyPath()));

  // "No" at exit: gone, and the lock with it once the window has closed.
  frame->LevelNameEdit()->setText(QStringLiteral("Thrown away"));
  ASSERT_TRUE(Keeper().WriteNow(true));
  platform.answers = {Answer::No};
  frame->close();
  ProcessEvents();
  ASSERT_TRUE(frame.isNull());
  EXPECT_TRUE(Entries().isEmpty()) << Entries().join(' ').toStdString();
}

TEST_F(RecoveryTest, TheCopyHoldsWhatSaveAsWouldRefuseAndNoPreview) {
  Open();
  CLevelPack& pack = frame->Pack();
  // Two levels, the second with a short passcode and no exit, no author.
  pack.AddLevel();
  pack.m_nCurLevel = 1;
  frame->RefreshView();
  frame->PasscodeEdit()->setText(QStringLiteral("AB"));
  pack.m_szPassword = "pw";
  std::strcpy(pack.Level(0).m_szPasscode, "QQQQ");
  pack.m_szFilePath = (folder / "elsewhere.83p");
  // A placement preview stands in the terrain while the copy is made.
  frame->OnCommand(IDT_PLACE_BLOCK);
  const Rect cell = frame->Logic().View().CellClientRect({40, 20});
  MouseMove(&frame->Canvas(), {cell.left + 1, cell.top + 1}, false);
  ASSERT_TRUE(frame->Logic().PreviewShown());
  ASSERT_TRUE(Keeper().WriteNow(true));
  frame->Logic().RemovePreview();
  RecoveryRecord record;
  ASSERT_TRUE(ReadCopy(CopyPath(), record));
  const PackContents clean = pack.Contents();
  ASSERT_EQ(record.pack.levels.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_TRUE(record.pack.levels[i].SameLevelAs(clean.levels[i])) << i;
  }
  EXPECT_STREQ(record.pack.levels[0].m_szPasscode, "QQQQ");
  EXPECT_STREQ(record.pack.levels[1].m_szPasscode, "AB");
  EXPECT_EQ(record.pack.m_szAuthorName, "");
  EXPECT_EQ(record.pack.m_szPassword, "pw");
  EXPECT_EQ(record.filePath, folder / "elsewhere.83p");
  EXPECT_EQ(record.currentLevel, 1);
}

TEST_F(RecoveryTest, AFailedBackgroundWriteIsShownInTheStatusBar) {
  Open();
  frame->resize(3000, 500);  // room for the whole note, path and all
  ProcessEvents();
  // A folder where the copy should go: the rename over it fails.
  ASSERT_TRUE(QDir().mkpath(CopyPath() + "/blocked"));
  frame->LevelNameEdit()->setText(QStringLiteral("Unsaved"));
  ASSERT_TRUE(Keeper().WriteNow());
  Keeper().Store().Flush();
  ProcessEvents();
  EXPECT_TRUE(frame->statusBar()->currentMessage().startsWith(
      "The recovery copy could not be written: "))
      << frame->statusBar()->currentMessage().toStdString();
  QDir(CopyPath()).removeRecursively();
}

TEST_F(RecoveryTest, EachEditorKeepsItsOwnAndOffersOnlyThoseLeftOver) {
  CRecoveryStore first(Folder());
  CRecoveryStore second(Folder());
  QString error;
  ASSERT_TRUE(first.Open(error));
  ASSERT_TRUE(second.Open(error));
  EXPECT_NE(first.CopyPath(), second.CopyPath());
  RecoveryRecord record;
  record.pack.levels.resize(1);
  std::string why;
  ASSERT_TRUE(first.Write(record, why));
  ASSERT_TRUE(second.Write(record, why));
  // Both run: neither offers the other's.
  EXPECT_TRUE(first.TakeOrphans().empty());
  EXPECT_TRUE(second.TakeOrphans().empty());

  auto third = std::make_unique<CRecoveryStore>(Folder());
  ASSERT_TRUE(third->Open(error));
  ASSERT_TRUE(third->Write(record, why));
  const QString left = third->CopyPath();
  third.reset();  // ends without removing its copy, as a crash would
  std::vector<CRecoveryStore::Orphan> orphans = first.TakeOrphans();
  ASSERT_EQ(orphans.size(), 1u);
  EXPECT_EQ(orphans[0].CopyPath(), left);
  // While one editor holds a left-over copy, no other offers it.
  EXPECT_TRUE(second.TakeOrphans().empty());
  orphans[0].Remove();
  orphans.clear();
  EXPECT_TRUE(second.TakeOrphans().empty());
  EXPECT_FALSE(QFile::exists(left));
}

TEST_F(RecoveryTest, ADamagedCopyIsSetAsideWithAMessage) {
  QDir().mkpath(Folder());
  const QString damaged = Folder() + "/1-2-0.plodrec";
  WriteText(damaged.toStdString(), "PLODREC1 and then nonsense");
  Open();
  EXPECT_FALSE(frame->Session().OfferRecovery());
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].caption, "Recover Unsaved Changes");
  EXPECT_EQ(platform.messages[0].text.toStdString(),
            "A recovery copy of unsaved changes could not be read (the copy "
            "is damaged or cut short (checksum mismatch)).\nIt has been set "
            "aside as " +
                Folder().toStdString() + "/1-2-0.damaged");
  EXPECT_FALSE(QFile::exists(damaged));
  EXPECT_TRUE(QFile::exists(Folder() + "/1-2-0.damaged"));
  EXPECT_EQ(frame->Pack().Count(), 1);
  EXPECT_FALSE(frame->Pack().m_bModified);
  // Not offered again.
  EXPECT_FALSE(frame->Session().OfferRecovery());
  EXPECT_EQ(platform.messages.size(), 1u);
}

// What is not a regular file among the copies (a pipe, a device, a folder,
// a broken link) is never read as one: it is not offered, and reading it
// anyway is refused at once with the reason.
TEST_F(RecoveryTest, WhatIsNotARegularFileAmongTheCopiesIsNeverReadAsOne) {
  using namespace std::chrono_literals;
  QDir().mkpath(Folder());
  const TempFolder others("plodderz-recovery-others");
  int n = 0;
  std::vector<testsupport::NotRegularFile> files;
  for (testsupport::NotRegularFile file :
       testsupport::MakeNotRegularFiles(others.Path())) {
    const std::string copy =
        folder / ("recovery/1-2-" + std::to_string(n++) + ".plodrec");
    fs::create_symlink(file.path, copy);
    file.path = copy;
    files.push_back(file);
  }
  CRecoveryStore store(Folder());
  QString error;
  ASSERT_TRUE(store.Open(error));
  const auto offered = testsupport::FinishesWithin(
      5s, [&store] { return store.TakeOrphans().size(); });
  ASSERT_TRUE(offered.has_value()) << "looking for copies did not return";
  EXPECT_EQ(*offered, 0u);
  for (const auto& file : files) {
    SCOPED_TRACE(file.what);
    const auto refused = testsupport::FinishesWithin(5s, [path = file.path] {
      CRecoveryStore::Orphan orphan(QString::fromStdString(path), QString(),
                                    -1);
      RecoveryRecord record;
      std::string why;
      return orphan.Read(record, why) ? std::string("read") : why;
    });
    ASSERT_TRUE(refused.has_value()) << "reading the copy did not return";
    EXPECT_EQ(*refused, "\"" + file.path + "\" " + file.reason);
  }
}

// A copy a newer editor made is sound but unreadable here: it is kept aside
// under a name no editor deletes, said once, and left alone afterwards.
TEST_F(RecoveryTest, ANewerEditorsCopyIsKeptAsideAndNeverDeleted) {
  QDir().mkpath(Folder());
  RecoveryRecord record;
  record.pack.levels.resize(1);
  std::vector<std::uint8_t> bytes = EncodeRecoveryFile(record);
  bytes[7] = '2';  // the format's version
  const QString copy = Folder() + "/1-2-0.plodrec";
  testsupport::WriteBytes(copy.toStdString(), bytes);
  // One already set aside before keeps its name: the new one gets another.
  testsupport::WriteBytes((Folder() + "/9-9-0.newer").toStdString(), bytes);
  Open();
  EXPECT_FALSE(frame->Session().OfferRecovery());
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text.toStdString(),
            "A recovery copy of unsaved changes was made by a newer version "
            "of the editor, which this one cannot read.\nIt has been set "
            "aside as " +
                Folder().toStdString() +
                "/1-2-0.newer; open it with the newer version to recover the "
                "changes.");
  EXPECT_EQ(ReadBytes((Folder() + "/1-2-0.newer").toStdString()), bytes);
  // Nothing asks about it again or removes it: not a later start, not the
  // editor's own copy coming and going, not its end.
  EXPECT_FALSE(frame->Session().OfferRecovery());
  frame->LevelNameEdit()->setText(QStringLiteral("Unsaved"));
  ASSERT_TRUE(Keeper().WriteNow(true));
  Keeper().Discard();
  frame->Pack().m_bModified = false;
  frame->close();
  ProcessEvents();
  CRecoveryStore later(Folder());
  QString error;
  ASSERT_TRUE(later.Open(error));
  EXPECT_TRUE(later.TakeOrphans().empty());
  EXPECT_EQ(platform.messages.size(), 1u);
  EXPECT_TRUE(QFile::exists(Folder() + "/1-2-0.newer"));
  EXPECT_TRUE(QFile::exists(Folder() + "/9-9-0.newer"));
}

// A recovery folder that cannot be made: the store says why, the frame runs
// without copies, and editing writes nothing and shows no failure.
TEST_F(RecoveryTest, AFolderThatCannotBeMadeTurnsRecoveryOff) {
  WriteText(folder / "recovery", "a file where the folder should be");
  auto store = std::make_unique<CRecoveryStore>(Folder() + "/inside");
  QString error;
  EXPECT_FALSE(store->Open(error));
  EXPECT_EQ(error, "cannot make the folder " + Folder() + "/inside");
  frame = new CEditorFrame(platform);
  frame->Session().UseRecovery(std::move(store));
  frame->show();
  frame->LevelNameEdit()->setText(QStringLiteral("Unsaved"));
  frame->UpdatePackInfo();
  EXPECT_EQ(frame->Session().Recovery(), nullptr);
  EXPECT_FALSE(frame->Session().OfferRecovery());
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_TRUE(frame->Pack().m_bModified);
}

TEST_F(RecoveryTest, YesRecoversAsModifiedWithItsFileNoDiscards) {
  QDir().mkpath(Folder());
  RecoveryRecord record;
  record.pack.levels.resize(3);
  record.pack.levels[2].SetPixel(5, 5, true);
  std::strcpy(record.pack.levels[0].m_szPasscode, "ABCD");
  std::strcpy(record.pack.levels[1].m_szName, "Middle");
  record.pack.m_szAuthorName = "Bo";
  record.currentLevel = 2;
  record.filePath = folder / "original.83p";
  record.savedAtSeconds = 1700000000;
  const std::vector<std::uint8_t> bytes = EncodeRecoveryFile(record);
  testsupport::WriteBytes((Folder() + "/7-7-0.plodrec").toStdString(), bytes);
  testsupport::WriteBytes((Folder() + "/8-8-0.plodrec").toStdString(), bytes);

  Open();
  platform.answers = {Answer::No, Answer::Yes};
  ASSERT_TRUE(frame->Session().OfferRecovery());
  ASSERT_EQ(platform.messages.size(), 2u);
  EXPECT_TRUE(platform.messages[0].text.startsWith(
      "The editor ended without saving the changes to " +
      QString::fromStdString(record.filePath) + ".\nThey were last kept on "));
  CLevelPack& pack = frame->Pack();
  EXPECT_EQ(pack.Count(), 3);
  EXPECT_EQ(pack.m_nCurLevel, 2);
  EXPECT_TRUE(pack.Level(2).GetPixel(5, 5));
  EXPECT_STREQ(pack.Level(0).m_szPasscode, "ABCD");
  EXPECT_STREQ(pack.Level(1).m_szName, "Middle");
  EXPECT_EQ(pack.m_szAuthorName, "Bo");
  EXPECT_EQ(pack.m_szFilePath, record.filePath);
  EXPECT_TRUE(pack.m_bModified);
  EXPECT_EQ(frame->windowTitle(), "Plodderz Level File Maker - original.83p*");
  EXPECT_FALSE(frame->History().History().CanUndo());
  // Both left-over copies are gone; this editor's own holds the pack.
  const QStringList entries = Entries();
  ASSERT_EQ(entries.size(), 2) << entries.join(' ').toStdString();
  RecoveryRecord own;
  ASSERT_TRUE(ReadCopy(CopyPath(), own));
  EXPECT_EQ(own.pack.levels.size(), 3u);
}

}  // namespace
