// The author's work is never lost through the window: the modified flag,
// the title's "*" and "Save changes?" follow the file on disk through level
// order changes and saves made on the way to another command, and a
// placement preview never becomes part of the level.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <functional>
#include <string>
#include <vector>

#include "FrameDriver.h"
#include "ShownFrameFixture.h"
#include "shell/CommandIds.h"
#include "shell/EditorFrame.h"
#include "support/TempFiles.h"

namespace {

using Answer = IPlatform::Answer;

class WorkKeptTest : public ShownFrameFixture<CEditorFrame> {
 protected:
  void SetUp() override {
    ShownFrameFixture::SetUp();
    drive = std::make_unique<FrameDriver>(*frame, platform);
    // Notes are acknowledged, and "Add a new level?" is answered Yes.
    platform.onMessage = [](const ScriptedPlatform::MessageCall& call) {
      return call.buttons == IPlatform::Buttons::YesNo
                 ? std::optional<Answer>(Answer::Yes)
                 : std::optional<Answer>(Answer::Ok);
    };
  }
  void TearDown() override {
    drive.reset();
    ShownFrameFixture::TearDown();
  }

  CLevelPack& Pack() { return frame->Pack(); }
  QAction* Undo() { return frame->Action(IDM_EDIT_UNDO); }

  // File > New, throwing away what the pack held.
  void Fresh() {
    if (Pack().m_bModified) platform.answers.push_back(Answer::No);
    frame->OnCommand(IDM_FILE_NEW);
  }
  // A pack of `levels` levels with entrance and exit each, saved to `path`.
  void SavePackOf(int levels) {
    while (Pack().Count() < levels) frame->OnNotify(IDC_LEVEL_NUMBER_SPIN, +1);
    drive->PlaceEntranceAndExitEverywhere();
    drive->SaveAs(path);
    ASSERT_EQ(Pack().m_szFilePath, path);
    ASSERT_FALSE(Pack().m_bModified);
  }
  // The same pack opened with File > Load... from a fresh window state.
  void LoadPack() {
    platform.fileNames.push_back(QString::fromStdString(path));
    drive->WithDialogs(IDM_FILE_LOAD, [](QDialog& dialog) {
      return FrameDriver::AnswerDialog(dialog, QStringLiteral("pw"));
    });
    ASSERT_FALSE(Pack().m_bModified);
  }

  // The window says "modified" everywhere, or nowhere.
  void ExpectModified(bool modified, const std::string& when) {
    EXPECT_EQ(Pack().m_bModified, modified) << when;
    EXPECT_EQ(drive->TitleStarred(), modified) << when;
    EXPECT_EQ(drive->ExitWouldAsk(), modified) << when;
    EXPECT_EQ(drive->LoadWouldAsk(), modified) << when;
  }
  bool FileHoldsThePack() {
    return testsupport::ReadBytes(path) == drive->EncodedFile();
  }

  testsupport::TempFolder folder{"plodderz-kept"};
  const std::string path = folder / "pack.83p";
  std::unique_ptr<FrameDriver> drive;
};

// Whatever the level order dialog changed, the pack is modified when it
// closes, and Save writes the new order.
TEST_F(WorkKeptTest, LevelOrderChangesOnASavedOrLoadedPackAreChanges) {
  struct Case {
    const char* name;
    bool loaded;        // opened with Load rather than just saved
    bool ok;            // closed with OK (else Cancel: the actions stay done)
    int row;            // the level selected first
    const char* steps;  // in order: u(p), d(own), x (delete)
  };
  const std::vector<Case> cases = {
      {"move up", false, true, 1, "u"},
      {"move down", true, true, 0, "d"},
      {"delete", false, true, 1, "x"},
      {"delete, then cancel", true, false, 0, "x"},
      {"two moves", false, true, 2, "uu"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    SavePackOf(3);
    if (c.loaded) LoadPack();
    const std::vector<std::uint8_t> before = testsupport::ReadBytes(path);
    drive->Reorder(
        [&c](CLevelOrderDlg& d) {
          d.List()->setCurrentRow(c.row);
          for (const char* step = c.steps; *step != '\0'; ++step) {
            if (*step == 'u') d.OnMoveUp();
            if (*step == 'd') d.OnMoveDown();
            if (*step == 'x') d.OnDelete();
          }
        },
        c.ok);
    ExpectModified(true, "after the dialog");
    EXPECT_FALSE(FileHoldsThePack());

    frame->OnCommand(IDM_FILE_SAVE);
    ExpectModified(false, "after Save");
    EXPECT_TRUE(testsupport::ReadBytes(path) != before) << "Save wrote nothing";
    EXPECT_TRUE(FileHoldsThePack());
  }
}

TEST_F(WorkKeptTest, LevelOrderDialogThatChangedNothingKeepsASavedPackClean) {
  SavePackOf(2);
  drive->Reorder([](CLevelOrderDlg&) {});
  ExpectModified(false, "after OK");
  drive->Reorder([](CLevelOrderDlg&) {}, false);
  ExpectModified(false, "after Cancel");
}

// Yes to "Save changes?" before Load writes the file; however the load then
// ends, the history knows the file holds that state.
TEST_F(WorkKeptTest, ASaveBeforeALoadThatEndsEarlyIsTheSavedState) {
  struct Case {
    const char* name;
    std::function<void()> script;  // the load's file and password answers
  };
  const std::string damaged = folder / "damaged.83p";
  testsupport::WriteBytes(damaged, {0x2a, 0x2a, 0x54, 0x49, 0x38, 0x33});
  const std::vector<Case> cases = {
      {"open dialog cancelled", [] {}},
      {"damaged file",
       [&] { platform.fileNames.push_back(QString::fromStdString(damaged)); }},
      {"password prompt cancelled",
       [&] {
         platform.fileNames.push_back(QString::fromStdString(path));
         platform.onDialog = [](QDialog&) { return int{QDialog::Rejected}; };
       }},
      {"wrong password, then cancel",
       [&] {
         platform.fileNames.push_back(QString::fromStdString(path));
         platform.onDialog = [](QDialog& dialog) {
           FrameDriver::AnswerDialog(dialog, QStringLiteral("wrong"));
           return int{QDialog::Rejected};
         };
       }},
  };
  SavePackOf(1);
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    row += 4;  // a stroke where none was before
    drive->Drag({10, row}, {30, row});
    ExpectModified(true, "after the stroke");

    platform.answers.push_back(Answer::Yes);  // "Save changes?"
    c.script();
    frame->OnCommand(IDM_FILE_LOAD);
    platform.onDialog = nullptr;
    ExpectModified(false, "after the save");
    EXPECT_TRUE(FileHoldsThePack());

    // Back before the stroke: the file holds the stroke.
    Undo()->trigger();
    ExpectModified(true, "after undo");
    EXPECT_FALSE(FileHoldsThePack());
    frame->OnCommand(IDM_EDIT_REDO);
    ExpectModified(false, "after redo");
  }
}

// A placement that did not place leaves nothing: no step, no flag, no pack
// size, nothing in the file, whatever the preview did while the button was
// held.
TEST_F(WorkKeptTest, APlacementPreviewNeverBecomesTerrain) {
  struct Case {
    const char* name;
    int tool;
    bool fillBlocks;  // the level holds 49 blocks already
    Point press;
    Point drag;
  };
  const std::vector<Case> cases = {
      {"block pressed at the bottom edge, dragged in",
       IDT_PLACE_BLOCK,
       false,
       {40, 60},
       {40, 30}},
      {"entrance pressed below the level, dragged in",
       IDT_PLACE_ENTRANCE,
       false,
       {20, 70},
       {20, 20}},
      {"exit pressed right of the level, dragged in",
       IDT_PLACE_EXIT,
       false,
       {100, 20},
       {60, 20}},
      {"block click at the 49-block limit, dragged",
       IDT_PLACE_BLOCK,
       true,
       {40, 30},
       {60, 30}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    if (c.fillBlocks) {
      for (int i = 0; i < MAX_BLOCKS; ++i) {
        Pack().Current().PlaceObject({(i % 10) * 8, 0}, OBJ_BLOCK);
      }
    }
    SavePackOf(1);
    LoadPack();  // a fresh history: nothing to undo
    const QString packSize = frame->PackSizeLabel()->text();
    const std::vector<std::uint8_t> file = testsupport::ReadBytes(path);
    ASSERT_EQ(drive->TerrainPixelsFrom(0), 0);

    frame->OnCommand(c.tool);
    drive->Press(c.press);
    drive->Move(c.drag, true);
    ASSERT_TRUE(frame->Logic().PreviewShown());
    frame->UpdatePackInfo();
    EXPECT_EQ(frame->PackSizeLabel()->text().toStdString(),
              packSize.toStdString());
    drive->Release(c.drag);
    ProcessEvents();
    EXPECT_FALSE(Undo()->isEnabled()) << Undo()->text().toStdString();
    ExpectModified(false, "after the release");

    frame->OnCommand(IDT_PEN_SMALL_BLACK);
    EXPECT_FALSE(Undo()->isEnabled()) << Undo()->text().toStdString();
    ExpectModified(false, "after choosing a pen");
    frame->OnCommand(IDM_EDIT_UNDO);
    frame->OnCommand(IDM_FILE_SAVE);
    EXPECT_EQ(drive->TerrainPixelsFrom(0), 0);
    EXPECT_TRUE(testsupport::ReadBytes(path) == file);
    EXPECT_EQ(frame->PackSizeLabel()->text().toStdString(),
              packSize.toStdString());
    ExpectModified(false, "at the end");
  }
}

// Every reader of the pack reads it without the preview, and the preview
// goes back exactly as it was.
TEST_F(WorkKeptTest, ReadersSeeThePackWithoutThePreview) {
  drive->Drag({0, 20}, {40, 22});
  const PackContents drawn = Pack().Contents();
  frame->OnCommand(IDT_PLACE_BLOCK);
  drive->Move({30, 16}, false);
  ASSERT_TRUE(frame->Logic().PreviewShown());
  const std::vector<std::uint8_t> shown(
      Pack().Current().m_bitmap, Pack().Current().m_bitmap + BITMAP_STORAGE);
  {
    const CLevelPack::PreviewFree outer = Pack().WithoutPreviews();
    const CLevelPack::PreviewFree inner = Pack().WithoutPreviews();
    EXPECT_TRUE(std::equal(drawn.levels[0].m_bitmap,
                           drawn.levels[0].m_bitmap + BITMAP_STORAGE,
                           inner->Current().m_bitmap));
  }
  EXPECT_TRUE(std::equal(shown.begin(), shown.end(), Pack().Current().m_bitmap))
      << "the preview must come back after the read";
  const PackContents read = Pack().Contents();
  EXPECT_TRUE(std::equal(drawn.levels[0].m_bitmap,
                         drawn.levels[0].m_bitmap + BITMAP_STORAGE,
                         read.levels[0].m_bitmap));
  // Taken away, the preview leaves the terrain as drawn.
  frame->OnCommand(IDT_PEN_SMALL_BLACK);
  EXPECT_TRUE(std::equal(drawn.levels[0].m_bitmap,
                         drawn.levels[0].m_bitmap + BITMAP_STORAGE,
                         Pack().Current().m_bitmap));
}

}  // namespace
