// Duplicate Level, Copy Level and Paste Level through the real frame: the
// copy, its place, its undo step, the nine-level limit and the clipboard,
// also across a load and from one frame to the next.

#include <gtest/gtest.h>

#include <QClipboard>
#include <QDialog>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QTemporaryDir>
#include <cstring>

#include "packfile/LevelClip.h"
#include "packfile/PackFile.h"
#include "shell/CommandIds.h"
#include "shell/FrameHistory.h"
#include "shell/LevelCommands.h"
#include "shell/ShownFrameFixture.h"
#include "support/PackState.h"
#include "support/QtTestApp.h"

namespace {

class LevelCopiesTest : public ShownFrameFixture<CEditorFrame> {
 protected:
  CLevelPack& Pack() { return frame->Pack(); }
  PackHistory& History() { return frame->History().History(); }

  // Gives the current level something of everything.
  void Furnish(const char* name) {
    CLevel& level = Pack().Current();
    level.AddColumn();
    level.AddRow();
    for (int x = 9; x < 90; ++x) level.SetPixel(x, 60, true);
    level.PlaceObject({16, 4}, OBJ_ENTRANCE);
    level.PlaceObject({40, 44}, OBJ_EXIT);
    level.PlaceObject({64, 20}, OBJ_BLOCK);
    level.m_nTime = 777;
    std::strcpy(level.m_szName, name);
    frame->RefreshView();
  }
  void AddLevels(int count) {
    for (int i = 0; i < count; ++i) ASSERT_TRUE(Pack().AddLevel());
    Pack().m_bModified = false;
    frame->History().OnPackReplaced(false);
  }
  // The level's one-level clipboard bytes with its passcode blanked: every
  // byte of the level but its passcode.
  static std::vector<std::uint8_t> AllButPasscode(LevelRecord level) {
    std::memset(level.m_szPasscode, 0, sizeof level.m_szPasscode);
    return EncodeLevelClip(level);
  }
};

TEST_F(LevelCopiesTest, DuplicateInsertsACopyWithAFreshPasscodeAsOneStep) {
  AddLevels(2);
  Pack().m_nCurLevel = 1;
  Furnish("Original");
  const PackState before = StateOf(Pack());
  const int steps = History().StepCount();
  const LevelRecord original = Pack().Level(1);

  frame->OnCommand(IDM_LEVEL_DUPLICATE);

  ASSERT_EQ(Pack().Count(), 4);
  EXPECT_EQ(Pack().m_nCurLevel, 2);
  EXPECT_EQ(frame->LevelNumberEdit()->text(), "3");
  const CLevel& copy = Pack().Level(2);
  LevelRecord renamed = original;
  std::strcpy(renamed.m_szName, "Original (copy)");
  EXPECT_EQ(AllButPasscode(copy), AllButPasscode(renamed));
  EXPECT_STREQ(copy.m_szName, "Original (copy)");
  EXPECT_EQ(std::strlen(copy.m_szPasscode), 4u);
  for (int i = 0; i < Pack().Count(); ++i) {
    if (i != 2) {
      EXPECT_STRNE(Pack().Level(i).m_szPasscode, copy.m_szPasscode);
    }
  }
  EXPECT_TRUE(Pack().m_bModified);
  EXPECT_EQ(History().StepCount(), steps + 1);
  EXPECT_EQ(History().UndoText(), "Duplicate Level");

  frame->OnCommand(IDM_EDIT_UNDO);
  EXPECT_EQ(StateOf(Pack()), before);
}

TEST_F(LevelCopiesTest, NineLevelsAreTheLimitOfDuplicateAndPaste) {
  AddLevels(MAX_LEVELS - 1);
  frame->OnCommand(IDM_LEVEL_COPY);
  const PackState before = StateOf(Pack());
  const int steps = History().StepCount();
  for (int id : {IDM_LEVEL_DUPLICATE, IDM_LEVEL_PASTE}) {
    platform.messages.clear();
    frame->OnCommand(id);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "A pack holds at most 9 levels.");
    EXPECT_EQ(StateOf(Pack()), before);
    EXPECT_EQ(History().StepCount(), steps);
    EXPECT_FALSE(Pack().m_bModified);
  }
}

TEST_F(LevelCopiesTest, CopyPutsTheLevelAndItsTerrainOnTheClipboard) {
  Furnish("Copied");
  frame->OnCommand(IDM_LEVEL_COPY);
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(data, nullptr);
  ASSERT_TRUE(data->hasFormat(LEVEL_CLIP_MIME));
  const QImage image = qvariant_cast<QImage>(data->imageData());
  ASSERT_EQ(image.size(), QSize(104, 65));
  EXPECT_EQ(image.pixel(9, 60), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(8, 60), qRgb(255, 255, 255));
  EXPECT_FALSE(Pack().m_bModified);  // copying changes nothing
}

// A level copied from one pack goes into another loaded after it, keeping
// its passcode where no level there has it.
TEST_F(LevelCopiesTest, PasteAfterLoadingAnotherPack) {
  Furnish("Traveller");
  std::strcpy(Pack().Current().m_szPasscode, "MOVE");
  frame->OnCommand(IDM_LEVEL_COPY);
  const LevelRecord copied = Pack().Current();

  QTemporaryDir dir;
  PackContents other;
  other.m_szAuthorName = "Bo";
  other.m_szPassword = "pw";
  other.levels.resize(2);
  std::strcpy(other.levels[1].m_szPasscode, "KEEP");
  std::string error;
  const QString path = dir.filePath("other.83p");
  ASSERT_TRUE(SavePackFile(path.toStdString(), other, error)) << error;
  Pack().m_bModified = false;
  platform.fileNames = {path};
  platform.onDialog = [](QDialog&) { return int(QDialog::Accepted); };
  frame->OnCommand(IDM_FILE_LOAD);
  ASSERT_EQ(Pack().Count(), 2);
  ASSERT_FALSE(Pack().m_bModified);

  frame->OnCommand(IDM_LEVEL_PASTE);
  ASSERT_EQ(Pack().Count(), 3);
  EXPECT_EQ(Pack().m_nCurLevel, 1);
  EXPECT_TRUE(Pack().Level(1).SameLevelAs(copied));
  EXPECT_STREQ(Pack().Level(2).m_szPasscode, "KEEP");
  EXPECT_EQ(History().UndoText(), "Paste Level");

  // A second paste would share the passcode: it gets a fresh one.
  frame->OnCommand(IDM_LEVEL_PASTE);
  ASSERT_EQ(Pack().Count(), 4);
  EXPECT_EQ(AllButPasscode(Pack().Level(2)), AllButPasscode(copied));
  EXPECT_STRNE(Pack().Level(2).m_szPasscode, "MOVE");
}

TEST_F(LevelCopiesTest, PasteWithoutALevelOnTheClipboardChangesNothing) {
  QGuiApplication::clipboard()->setText(QStringLiteral("not a level"));
  const PackState before = StateOf(Pack());
  frame->OnCommand(IDM_LEVEL_PASTE);
  EXPECT_EQ(StateOf(Pack()), before);
  EXPECT_TRUE(platform.messages.empty());

  auto* data = new QMimeData;
  data->setData(LEVEL_CLIP_MIME, QByteArray("PLODLVL1ABCD garbage"));
  QGuiApplication::clipboard()->setMimeData(data);
  frame->OnCommand(IDM_LEVEL_PASTE);
  EXPECT_EQ(StateOf(Pack()), before);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].caption, "Paste Level");
}

// Copy in one window, close it, paste in the next one.
TEST_F(LevelCopiesTest, RoundTripFromOneFrameToTheNext) {
  Furnish("Between");
  frame->OnCommand(IDM_LEVEL_COPY);
  const LevelRecord copied = Pack().Current();
  Pack().m_bModified = false;
  frame->close();
  ProcessEvents();
  ASSERT_TRUE(frame.isNull());

  frame = new CEditorFrame(platform);
  frame->show();
  ProcessEvents();
  frame->OnCommand(IDM_LEVEL_PASTE);
  ASSERT_EQ(Pack().Count(), 2);
  // The new window's first level may have drawn the same passcode.
  EXPECT_EQ(AllButPasscode(Pack().Level(1)), AllButPasscode(copied));
}

}  // namespace
