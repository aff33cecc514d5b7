// The Problems panel follows the pack live, takes the user to a problem, and
// a Save of a pack that is not ready says so.

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <cstring>

#include "packfile/PackFile.h"
#include "shell/CommandIds.h"
#include "shell/FrameHistory.h"
#include "shell/ProblemMark.h"
#include "shell/ProblemsPanel.h"
#include "shell/ShownFrameFixture.h"
#include "support/QtTestApp.h"

namespace {

class ProblemsPanelTest : public ShownFrameFixture<CEditorFrame> {
 protected:
  CProblemsPanel& Panel() { return frame->Problems(); }
  std::vector<std::string> Texts() {
    std::vector<std::string> texts;
    for (const PackProblem& p : Panel().Problems()) texts.push_back(p.text);
    return texts;
  }
  // The list's row of the problem with `text`; nullptr when none.
  QTreeWidgetItem* Row(const std::string& text) {
    QTreeWidget* list = Panel().List();
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
      if (list->topLevelItem(i)->text(2).toStdString() == text) {
        return list->topLevelItem(i);
      }
    }
    return nullptr;
  }
  // The pack image a save would write now.
  std::vector<std::uint8_t> Image() {
    std::vector<std::uint8_t> image;
    std::string error;
    EXPECT_TRUE(EncodePackImage(frame->Pack().Contents(), image, error));
    return image;
  }
  // The colour of the canvas's client pixel `at` as the screen shows it,
  // with whatever lies over the canvas.
  QColor ScreenPixel(QPoint at) {
    return frame->Canvas().grab().toImage().pixelColor(at);
  }
  bool Lists(const std::string& text) {
    for (const std::string& t : Texts()) {
      if (t == text) return true;
    }
    return false;
  }
  // Makes the current level ready: an entrance in the air, the exit on
  // ground, a Plodder to spare; and gives the pack its security info.
  void MakeReady() {
    CLevel& level = frame->Pack().Current();
    level.m_objects[ENTRANCE_SLOT] = {OBJ_ENTRANCE, 3, 8};
    level.m_objects[EXIT_SLOT] = {OBJ_EXIT, 6, 30};
    for (int x = 48; x < 64; ++x) level.SetPixel(x, 46, true);
    level.m_nToSave = 10;
    frame->Pack().m_szAuthorName = "Ann";
    frame->Pack().m_szPassword = "pw";
    frame->UpdatePackInfo();
  }
};

TEST_F(ProblemsPanelTest, StartsHiddenAndTheViewMenuShowsIt) {
  EXPECT_FALSE(Panel().isVisible());
  QAction* item = frame->Action(IDM_VIEW_PROBLEMS);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->text(), "&Problems");
  EXPECT_FALSE(item->isChecked());
  frame->OnCommand(IDM_VIEW_PROBLEMS);
  EXPECT_TRUE(Panel().isVisible());
  EXPECT_TRUE(item->isChecked());
  frame->OnCommand(IDM_VIEW_PROBLEMS);
  EXPECT_FALSE(Panel().isVisible());
  EXPECT_FALSE(item->isChecked());
}

// A fresh pack is not ready: the panel and the status bar say why from the
// start; the list follows a stroke, its undo and a change of level.
TEST_F(ProblemsPanelTest, FollowsAStrokeAnUndoAndALevelChange) {
  EXPECT_EQ(Texts(), (std::vector<std::string>{
                         "level 1 has no entrance", "level 1 has no exit",
                         "the pack has no author or password",
                         "level 1 asks to save 20 of 20 Plodders: none to "
                         "spare"}));
  EXPECT_EQ(Panel().CountLabel()->text(), "\u2716 3");
  EXPECT_EQ(Panel().CountLabel()->toolTip(), "3 errors, 1 note");
  EXPECT_EQ(Panel().List()->topLevelItemCount(), 4);
  EXPECT_EQ(Panel().List()->topLevelItem(0)->text(2),
            "level 1 has no entrance");
  EXPECT_EQ(Panel().List()->topLevelItem(3)->text(0), "Note");
  MakeReady();
  EXPECT_TRUE(Texts().empty());
  EXPECT_EQ(Panel().CountLabel()->text(), "\u2714");
  EXPECT_EQ(Panel().CountLabel()->toolTip(), "No problems");

  // A stroke into the left margin.
  MousePress(&frame->Canvas(), CellPoint({2, 30}));
  MouseRelease(&frame->Canvas(), CellPoint({2, 30}));
  ProcessEvents();
  EXPECT_EQ(Texts(), (std::vector<std::string>{
                         "level 1 has terrain within 8 pixels of the left "
                         "edge"}));
  EXPECT_EQ(Panel().CountLabel()->text(), "\u26A0 1");
  EXPECT_EQ(Panel().CountLabel()->toolTip(), "1 warning");
  frame->OnCommand(IDM_EDIT_UNDO);
  EXPECT_TRUE(Texts().empty());

  // Stepping past the last level adds one, which has its own problems.
  platform.answers = {IPlatform::Answer::Yes};
  frame->OnNotify(IDC_LEVEL_NUMBER_SPIN, 1);
  EXPECT_TRUE(Lists("level 2 has no exit"));
  EXPECT_TRUE(Lists("level 2 has no entrance"));
}

// A level as the editor makes it warns of nothing: it lacks an entrance and
// an exit, and its to-save count of all its Plodders is a note, quieter in
// the list and left out of the status bar's count.
TEST_F(ProblemsPanelTest, AFreshLevelWarnsOfNothingButWhatItLacks) {
  MakeReady();
  frame->OnCommand(IDM_LEVEL_ADD);
  ASSERT_EQ(frame->Pack().Count(), 2);
  std::vector<ProblemSeverity> severities;
  for (const PackProblem& p : Panel().Problems()) {
    severities.push_back(p.severity);
  }
  EXPECT_EQ(Texts(), (std::vector<std::string>{
                         "level 2 has no entrance", "level 2 has no exit",
                         "level 2 asks to save 20 of 20 Plodders: none to "
                         "spare"}));
  EXPECT_EQ(severities, (std::vector<ProblemSeverity>{ProblemSeverity::Error,
                                                      ProblemSeverity::Error,
                                                      ProblemSeverity::Note}));
  EXPECT_EQ(Panel().CountLabel()->text(), "\u2716 2");
  EXPECT_EQ(Panel().CountLabel()->toolTip(), "2 errors, 1 note");
  QTreeWidget* list = Panel().List();
  EXPECT_EQ(list->topLevelItem(2)->text(0), "Note");
  EXPECT_EQ(list->topLevelItem(2)->text(1), "2");
  EXPECT_NE(list->topLevelItem(2)->foreground(2).color(),
            list->topLevelItem(0)->foreground(2).color());

  // With an entrance and an exit on ground, the level's only word is the
  // note, and the count shows the pack ready.
  CLevel& level = frame->Pack().Current();
  level.m_objects[ENTRANCE_SLOT] = {OBJ_ENTRANCE, 3, 8};
  level.m_objects[EXIT_SLOT] = {OBJ_EXIT, 6, 30};
  for (int x = 48; x < 64; ++x) level.SetPixel(x, 46, true);
  frame->UpdatePackInfo();
  EXPECT_EQ(Texts(), (std::vector<std::string>{
                         "level 2 asks to save 20 of 20 Plodders: none to "
                         "spare"}));
  EXPECT_EQ(Panel().CountLabel()->text(), "\u2714");
  EXPECT_EQ(Panel().CountLabel()->toolTip(), "1 note");
}

// A double-click on a problem makes its level current and scrolls its place
// into the middle of the view.
TEST_F(ProblemsPanelTest, ActivatingAProblemGoesToItsLevelAndPlace) {
  CLevelPack& pack = frame->Pack();
  platform.answers = {IPlatform::Answer::Yes};
  frame->OnNotify(IDC_LEVEL_NUMBER_SPIN, 1);
  CLevel& second = pack.Level(1);
  while (second.m_nWidthBytes < 36) second.AddColumn();
  second.SetPixel(284, 40, true);
  pack.m_nCurLevel = 0;
  frame->RefreshView();
  frame->UpdatePackInfo();
  QTreeWidget* list = Panel().List();
  QTreeWidgetItem* item = nullptr;
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    if (list->topLevelItem(i)->text(2) ==
        "level 2 has terrain within 8 pixels of the right edge") {
      item = list->topLevelItem(i);
    }
  }
  ASSERT_NE(item, nullptr);
  emit list->itemActivated(item, 2);
  EXPECT_EQ(pack.m_nCurLevel, 1);
  EXPECT_EQ(frame->LevelNumberEdit()->text(), "2");
  const Rect cell = frame->Logic().View().CellClientRect({284, 40});
  const QRect canvas = frame->Canvas().rect();
  EXPECT_TRUE(canvas.contains(cell.left, cell.top))
      << cell.left << "," << cell.top;
}

// A double-click shows the place: the level and the view change, the pixels
// the entrance draws over terrain are marked over the canvas (not the rest
// of its box), and the mark goes at the next edit; nothing of it is ever in
// the pack or the history.
TEST_F(ProblemsPanelTest, ActivatingAProblemMarksItsPixelsUntilTheNextEdit) {
  CLevelPack& pack = frame->Pack();
  frame->OnCommand(IDM_LEVEL_ADD);
  CLevel& second = pack.Level(1);
  while (second.m_nWidthBytes < 36) second.AddColumn();
  second.m_objects[ENTRANCE_SLOT] = {OBJ_ENTRANCE, 30, 30};
  second.SetPixel(245, 30, true);  // under the entrance's top row
  second.SetPixel(245, 42, true);  // in its box, under none of its pixels
  pack.m_nCurLevel = 0;
  frame->RefreshView();
  frame->UpdatePackInfo();
  ProcessEvents();
  const std::vector<std::uint8_t> before = Image();
  const int steps = frame->History().History().StepCount();
  const bool modified = pack.m_bModified;

  QTreeWidgetItem* item = Row("level 2's entrance overlaps terrain");
  ASSERT_NE(item, nullptr);
  EXPECT_FALSE(Panel().Mark().isVisible());
  emit Panel().List()->itemActivated(item, 2);
  ProcessEvents();
  EXPECT_EQ(pack.m_nCurLevel, 1);
  EXPECT_EQ(frame->LevelNumberEdit()->text(), "2");
  const CProblemMark& mark = Panel().Mark();
  EXPECT_TRUE(mark.isVisible());
  EXPECT_EQ(mark.Marks(), (std::vector<Rect>{{245, 30, 246, 31}}));
  const QRect marked = mark.ClientRect({245, 30, 246, 31});
  EXPECT_TRUE(frame->Canvas().rect().contains(marked))
      << marked.left() << "," << marked.top();
  // The outline shows on the screen, round the marked cell.
  const QPoint onOutline(marked.center().x(), marked.top());
  EXPECT_EQ(ScreenPixel(onOutline), CProblemMark::Colour());
  // Neither the pack nor its history holds it.
  EXPECT_EQ(Image(), before);
  EXPECT_EQ(frame->History().History().StepCount(), steps);
  EXPECT_EQ(pack.m_bModified, modified);

  // Another level hides it, coming back shows it: looking is no edit.
  frame->OnNotify(IDC_LEVEL_NUMBER_SPIN, -1);
  ProcessEvents();
  EXPECT_FALSE(mark.isVisible());
  frame->OnNotify(IDC_LEVEL_NUMBER_SPIN, 1);
  ProcessEvents();
  EXPECT_TRUE(mark.isVisible());

  // A pen stroke elsewhere is the next edit: the mark goes.
  MousePress(&frame->Canvas(), CellPoint({100, 10}));
  MouseRelease(&frame->Canvas(), CellPoint({100, 10}));
  ProcessEvents();
  EXPECT_FALSE(mark.Marking());
  EXPECT_FALSE(mark.isVisible());
  EXPECT_NE(ScreenPixel(onOutline), CProblemMark::Colour());
}

// After a save of a pack that is not ready, a notice stands at the top of
// the panel and in the status bar: through later edits and the passing
// note's end, and through another save that is still not ready; it goes
// once the pack is ready, and with a fresh pack.
TEST_F(ProblemsPanelTest, TheNotReadyNoticeStandsUntilThePackIsReady) {
  frame->resize(1200, 500);
  ProcessEvents();
  QTemporaryDir dir;
  CLevelPack& pack = frame->Pack();
  pack.m_szFilePath = dir.filePath("draft.83p").toStdString();
  pack.m_szAuthorName = "Ann";
  pack.m_szPassword = "pw";
  pack.Current().m_objects[ENTRANCE_SLOT] = {OBJ_ENTRANCE, 3, 8};
  pack.m_bModified = true;
  QLabel* field = Panel().NotReadyLabel();
  QLabel* notice = Panel().NoticeLabel();
  EXPECT_FALSE(field->isVisible());
  EXPECT_FALSE(notice->isVisible());
  const QString reason =
      "Saved, but not ready for the calculator: level 1 has no exit";

  frame->OnCommand(IDM_FILE_SAVE);
  ProcessEvents();
  EXPECT_TRUE(Panel().NotReadyStanding());
  EXPECT_TRUE(field->isVisible());
  EXPECT_EQ(field->text(), "Not ready");
  EXPECT_EQ(field->toolTip(), reason);
  EXPECT_TRUE(notice->isVisible());
  EXPECT_EQ(notice->text(), reason);

  // A stroke takes the passing note away, not the notice.
  MousePress(&frame->Canvas(), CellPoint({40, 30}));
  MouseRelease(&frame->Canvas(), CellPoint({40, 30}));
  ProcessEvents();
  EXPECT_EQ(frame->statusBar()->currentMessage(), "");
  EXPECT_TRUE(field->isVisible());
  frame->OnCommand(IDM_FILE_SAVE);
  ProcessEvents();
  EXPECT_TRUE(field->isVisible());

  // The exit makes the pack ready: the notice goes without a save.
  pack.Current().m_objects[EXIT_SLOT] = {OBJ_EXIT, 6, 30};
  frame->UpdatePackInfo();
  ProcessEvents();
  EXPECT_FALSE(Panel().NotReadyStanding());
  EXPECT_FALSE(field->isVisible());
  EXPECT_FALSE(notice->isVisible());

  // Saved not ready again, then a fresh pack: nothing stands for it.
  pack.Current().m_objects[EXIT_SLOT] = {};
  pack.m_bModified = true;
  frame->OnCommand(IDM_FILE_SAVE);
  ProcessEvents();
  EXPECT_TRUE(field->isVisible());
  frame->OnCommand(IDM_FILE_NEW);
  ProcessEvents();
  EXPECT_FALSE(field->isVisible());
  EXPECT_EQ(platform.unexpected, 0);
}

// Save writes a pack that is not ready, as it always did, but says so and
// shows the panel; a ready pack is just "Saved".
TEST_F(ProblemsPanelTest, SaveOfAPackThatIsNotReadySaysWhy) {
  frame->resize(1200, 500);  // room for the whole note
  ProcessEvents();
  QTemporaryDir dir;
  const std::string path = dir.filePath("draft.83p").toStdString();
  CLevelPack& pack = frame->Pack();
  pack.m_szFilePath = path;
  pack.m_szAuthorName = "Ann";
  pack.m_szPassword = "pw";
  pack.Current().m_objects[ENTRANCE_SLOT] = {OBJ_ENTRANCE, 3, 8};
  pack.m_bModified = true;
  frame->OnCommand(IDM_FILE_SAVE);
  EXPECT_FALSE(pack.m_bModified);
  EXPECT_EQ(frame->statusBar()->currentMessage(),
            "Saved, but not ready for the calculator: level 1 has no exit");
  EXPECT_TRUE(Panel().isVisible());
  EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(path)));

  MakeReady();
  Panel().hide();
  pack.m_bModified = true;
  frame->OnCommand(IDM_FILE_SAVE);
  EXPECT_EQ(frame->statusBar()->currentMessage(),
            "Saved " + QString::fromStdString(path));
  EXPECT_FALSE(Panel().isVisible());
}

}  // namespace
