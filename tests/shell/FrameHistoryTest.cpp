#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ShownFrameFixture.h"
#include "canvas/CanvasWidget.h"
#include "dialogs/LevelOrderDlg.h"
#include "dialogs/PopulationDlg.h"
#include "dialogs/SecurityDialogs.h"
#include "model/LevelPack.h"
#include "packfile/PackFile.h"
#include "shell/CommandIds.h"
#include "shell/EditorFrame.h"
#include "shell/FrameHistory.h"
#include "support/PackState.h"
#include "support/QtTestApp.h"
#include "support/ScriptedPlatform.h"

namespace {

// The real frame, shown, on the scripted platform.
class FrameHistoryTest : public ShownFrameFixture<CEditorFrame> {
 protected:
  CLevelPack& Pack() { return frame->Pack(); }
  QWidget* Canvas() { return &frame->Canvas(); }
  QAction* Undo() { return frame->Action(IDM_EDIT_UNDO); }
  QAction* Redo() { return frame->Action(IDM_EDIT_REDO); }

  // Press at `from`, drag through `to`, release there.
  void Stroke(Point from, Point to) {
    MousePress(Canvas(), CellPoint(from));
    MouseMove(Canvas(), CellPoint(to), true);
    MouseRelease(Canvas(), CellPoint(to));
  }

  // Chooses a placement tool, shows its preview somewhere, then clicks.
  void Place(int toolId, Point at) {
    frame->OnCommand(toolId);
    MouseMove(Canvas(), CellPoint({at.x + 16, at.y + 3}), false);
    MousePress(Canvas(), CellPoint(at));
    MouseRelease(Canvas(), CellPoint(at));
  }

  // Types `text` into a bar edit, one key at a time, over its old text.
  void Type(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    for (QChar c : text) edit->insert(QString(c));
  }

  // Runs the level order dialog with `actions` done in it, then OK.
  void Reorder(const std::function<void(CLevelOrderDlg&)>& actions) {
    platform.onDialog = [&](QDialog& dialog) {
      auto* order = qobject_cast<CLevelOrderDlg*>(&dialog);
      EXPECT_NE(order, nullptr);
      if (order != nullptr) actions(*order);
      return static_cast<int>(QDialog::Accepted);
    };
    frame->OnCommand(IDM_FILE_REORDER);
    platform.onDialog = nullptr;
  }

  // Runs the next modal dialog through `fill`, which sets its fields, and
  // closes it with OK.
  template <typename Dialog>
  void WithDialog(int commandId, const std::function<void(Dialog&)>& fill) {
    platform.onDialog = [&](QDialog& dialog) {
      auto* typed = qobject_cast<Dialog*>(&dialog);
      EXPECT_NE(typed, nullptr);
      if (typed == nullptr) return static_cast<int>(QDialog::Rejected);
      fill(*typed);
      return static_cast<int>(QDialog::Accepted);
    };
    frame->OnCommand(commandId);
    platform.onDialog = nullptr;
  }

  static void Select(CLevelOrderDlg& dialog, int row) {
    dialog.List()->setCurrentRow(row);
  }
};

TEST_F(FrameHistoryTest, EditMenuStandsBetweenFileAndHelp) {
  const QList<QAction*> menus = frame->menuBar()->actions();
  ASSERT_EQ(menus.size(), 5);
  EXPECT_EQ(menus[0]->text(), "&File");
  EXPECT_EQ(menus[1]->text(), "&Edit");
  EXPECT_EQ(menus[2]->text(), "&View");
  EXPECT_EQ(menus[3]->text(), "&Level");
  EXPECT_EQ(menus.back()->text(), "&Help");
  // Undo and Redo first; the selection's commands follow them.
  const QList<QAction*> items = menus[1]->menu()->actions();
  ASSERT_GE(items.size(), 2);
  EXPECT_EQ(items[0], Undo());
  EXPECT_EQ(items[1], Redo());
  EXPECT_EQ(Undo()->shortcuts(),
            QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Z"))});
  EXPECT_EQ(
      Redo()->shortcuts(),
      (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Y")),
                           QKeySequence(QStringLiteral("Ctrl+Shift+Z"))}));

  // Nothing to undo or redo at start-up.
  EXPECT_FALSE(Undo()->isEnabled());
  EXPECT_FALSE(Redo()->isEnabled());
  EXPECT_EQ(Undo()->text(), "&Undo");

  Stroke({10, 10}, {20, 12});
  EXPECT_TRUE(Undo()->isEnabled());
  EXPECT_EQ(Undo()->text(), "&Undo Pen Stroke");
  EXPECT_FALSE(Redo()->isEnabled());
  Undo()->trigger();
  EXPECT_FALSE(Undo()->isEnabled());
  EXPECT_TRUE(Redo()->isEnabled());
  EXPECT_EQ(Redo()->text(), "&Redo Pen Stroke");
}

// A session of every kind of step through the window, undone to the start
// and redone to the end; the pack is compared as its file would hold it.
TEST_F(FrameHistoryTest, ScriptedSessionUndoesAndRedoesWholeSteps) {
  struct SessionStep {
    const char* undoText;
    std::function<void()> action;
  };
  const std::vector<SessionStep> session = {
      {"&Undo Pen Stroke",
       [&] {
         Stroke({10, 10}, {40, 14});
       }},
      {"&Undo Place Entrance",
       [&] {
         Place(IDT_PLACE_ENTRANCE, {10, 30});
       }},
      {"&Undo Place Exit",
       [&] {
         Place(IDT_PLACE_EXIT, {60, 30});
       }},
      {"&Undo Place Block",
       [&] {
         Place(IDT_PLACE_BLOCK, {40, 5});
       }},
      {"&Undo Change Width",
       [&] { frame->OnNotify(IDC_RESIZE_WIDTH, -1); }},  // wider
      {"&Undo Change Height",
       [&] { frame->OnNotify(IDC_RESIZE_HEIGHT, +1); }},  // taller
      {"&Undo Rename Level",
       [&] { Type(frame->LevelNameEdit(), QStringLiteral("Cave")); }},
      {"&Undo Add Level",
       [&] {
         platform.answers.push_back(IPlatform::Answer::Yes);
         frame->OnNotify(IDC_LEVEL_NUMBER_SPIN, +1);
       }},
      {"&Undo Pen Stroke",
       [&] {
         Stroke({5, 50}, {30, 50});
       }},
      {"&Undo Change Passcode",
       [&] { Type(frame->PasscodeEdit(), QStringLiteral("WXYZ")); }},
      {"&Undo Population Settings",
       [&] {
         WithDialog<CPopulationDlg>(IDT_POPULATION, [](CPopulationDlg& d) {
           d.m_nPopulation = 33;
           d.m_nToSave = 12;
           d.m_nSkills[SKILL_FLOATERS] = 2;
         });
       }},
      {"&Undo Security Info",
       [&] {
         WithDialog<CSecurityInfoDlg>(IDM_FILE_SECURITY,
                                      [](CSecurityInfoDlg& d) {
                                        d.m_strName = QStringLiteral("Ann");
                                        d.m_strPassword = QStringLiteral("pw");
                                        d.m_strConfirm = QStringLiteral("pw");
                                      });
       }},
      {"&Undo Add Level",
       [&] {
         platform.answers.push_back(IPlatform::Answer::Yes);
         frame->OnNotify(IDC_LEVEL_NUMBER_SPIN, +1);
       }},
      {"&Undo Reset Level",
       [&] {
         Stroke({0, 0}, {90, 60});
         platform.answers.push_back(IPlatform::Answer::Yes);
         frame->OnCommand(IDT_RESET_LEVEL);
       }},
      {"&Undo Remove Block",
       [&] {
         frame->OnNotify(IDC_LEVEL_NUMBER_SPIN, -1);  // back to level 2
         Place(IDT_PLACE_BLOCK, {0, 0});
         Place(IDT_PLACE_BLOCK, {16, 0});
         frame->OnCommand(IDT_REMOVE_BLOCK);
       }},
      // Each action in the level order dialog is a step of its own.
      {"&Undo Delete Level",
       [&] {
         Reorder([](CLevelOrderDlg& dialog) {
           Select(dialog, 2);
           dialog.OnMoveUp();
           Select(dialog, 0);
           dialog.OnMoveDown();
           Select(dialog, 2);
           dialog.OnDelete();
         });
       }},
  };
  // "Reset Level" draws first, "Remove Block" places two blocks first, and
  // the dialog moves twice before it deletes.
  const std::size_t stepsInSession = session.size() + 1 + 2 + 2;

  std::vector<PackState> states = {StateOf(Pack())};
  EXPECT_FALSE(Pack().m_bModified);
  for (const SessionStep& step : session) {
    step.action();
    EXPECT_EQ(Undo()->text(), step.undoText);
    EXPECT_TRUE(Pack().m_bModified) << step.undoText;
    EXPECT_FALSE(Redo()->isEnabled());
  }
  const PackState end = StateOf(Pack());
  EXPECT_EQ(platform.unexpected, 0);
  EXPECT_EQ(Pack().Count(), 2);

  // Undo everything, one step at a time, counting the steps; the strokes
  // and placements of "Remove Block" and the dialog's moves count too.
  std::vector<PackState> undone;
  int steps = 0;
  while (Undo()->isEnabled()) {
    EXPECT_TRUE(Pack().m_bModified);
    Undo()->trigger();
    undone.push_back(StateOf(Pack()));
    ++steps;
    ASSERT_LE(steps, 100);
  }
  EXPECT_EQ(static_cast<std::size_t>(steps), stepsInSession);
  EXPECT_TRUE(StateOf(Pack()) == states.front());
  EXPECT_EQ(CLevel::s_nLiveCount, 1);
  EXPECT_FALSE(Pack().m_bModified);

  // Redo everything: the same states in the other order, ending at the end.
  for (int i = steps - 2; i >= 0; --i) {
    ASSERT_TRUE(Redo()->isEnabled());
    Redo()->trigger();
    EXPECT_TRUE(StateOf(Pack()) == undone[static_cast<std::size_t>(i)])
        << "redo " << steps - 1 - i;
    EXPECT_TRUE(Pack().m_bModified);
  }
  Redo()->trigger();
  EXPECT_FALSE(Redo()->isEnabled());
  EXPECT_TRUE(StateOf(Pack()) == end);
  EXPECT_EQ(CLevel::s_nLiveCount, 2);
  EXPECT_EQ(platform.unexpected, 0);
}

TEST_F(FrameHistoryTest, UndoShowsTheLevelItChangesInTheBars) {
  platform.answers.push_back(IPlatform::Answer::Yes);
  frame->OnNotify(IDC_LEVEL_NUMBER_SPIN, +1);
  Type(frame->LevelNameEdit(), QStringLiteral("Second"));
  frame->OnNotify(IDC_LEVEL_NUMBER_SPIN, -1);
  ASSERT_EQ(Pack().m_nCurLevel, 0);
  EXPECT_EQ(Undo()->text(), "&Undo Rename Level");

  Undo()->trigger();
  EXPECT_EQ(Pack().m_nCurLevel, 1);
  EXPECT_EQ(frame->LevelNumberEdit()->text(), "2");
  EXPECT_EQ(frame->LevelNameEdit()->text(), "Level 2 Name");
  Redo()->trigger();
  EXPECT_EQ(frame->LevelNameEdit()->text(), "Second");
  // Showing the level's texts in the bars is no step.
  EXPECT_FALSE(Redo()->isEnabled());
  EXPECT_EQ(Undo()->text(), "&Undo Rename Level");
}

TEST_F(FrameHistoryTest,
       TypingInOneFieldIsOneStepAndStepsBetweenLevelsAreNone) {
  Type(frame->LevelNameEdit(), QStringLiteral("Long Name"));
  Undo()->trigger();
  EXPECT_EQ(Pack().Current().m_szName, std::string("Level 1 Name"));
  EXPECT_FALSE(Undo()->isEnabled());

  // Stepping between levels is no step; the addition is.
  platform.answers.push_back(IPlatform::Answer::Yes);
  frame->OnNotify(IDC_LEVEL_NUMBER_SPIN, +1);
  frame->OnNotify(IDC_LEVEL_NUMBER_SPIN, -1);
  frame->OnNotify(IDC_LEVEL_NUMBER_SPIN, +1);
  Undo()->trigger();
  EXPECT_EQ(Pack().Count(), 1);
  EXPECT_FALSE(Undo()->isEnabled());
}

// The preview is drawn into the terrain and marks the pack; taken away
// before undo, before a command or before closing, it leaves no trace.
TEST_F(FrameHistoryTest, APlacementPreviewIsNoChange) {
  Stroke({10, 10}, {12, 10});
  const PackState stroked = StateOf(Pack());
  frame->OnCommand(IDT_PLACE_EXIT);
  MouseMove(Canvas(), CellPoint({11, 12}), false);
  ASSERT_TRUE(frame->Logic().PreviewShown());

  frame->OnCommand(IDM_EDIT_UNDO);
  EXPECT_FALSE(frame->Logic().PreviewShown());
  EXPECT_FALSE(Pack().m_bModified);
  EXPECT_EQ(Redo()->text(), "&Redo Pen Stroke");
  Redo()->trigger();
  EXPECT_TRUE(StateOf(Pack()) == stroked);
  EXPECT_FALSE(Redo()->isEnabled());

  // Saved state plus a preview: closing does not ask "Save changes?".
  frame->History().History().SetClean();
  MouseMove(Canvas(), CellPoint({30, 20}), false);
  ASSERT_TRUE(frame->Logic().PreviewShown());
  EXPECT_TRUE(frame->close());
  ProcessEvents();
  EXPECT_TRUE(platform.messages.empty());
}

// Ctrl+Z pressed in the middle of a stroke ends the stroke and undoes it.
TEST_F(FrameHistoryTest, UndoInTheMiddleOfAStrokeTakesTheStrokeBack) {
  const PackState start = StateOf(Pack());
  MousePress(Canvas(), CellPoint({10, 10}));
  MouseMove(Canvas(), CellPoint({30, 10}), true);
  frame->OnCommand(IDM_EDIT_UNDO);
  EXPECT_FALSE(frame->Logic().IsDrawing());
  EXPECT_TRUE(StateOf(Pack()) == start);
  MouseMove(Canvas(), CellPoint({40, 10}), true);
  MouseRelease(Canvas(), CellPoint({40, 10}));
  EXPECT_TRUE(StateOf(Pack()) == start);
  EXPECT_EQ(Redo()->text(), "&Redo Pen Stroke");
}

TEST_F(FrameHistoryTest, UndoKeysInTheBarEditsGoToTheEditMenu) {
  Stroke({10, 10}, {20, 10});
  frame->LevelNameEdit()->setFocus();
  for (const QKeySequence& keys :
       {QKeySequence(QStringLiteral("Ctrl+Z")),
        QKeySequence(QStringLiteral("Ctrl+Y")),
        QKeySequence(QStringLiteral("Ctrl+Shift+Z"))}) {
    QKeyEvent overrideEvent(QEvent::ShortcutOverride, keys[0].key(),
                            keys[0].keyboardModifiers());
    QCoreApplication::sendEvent(frame->LevelNameEdit(), &overrideEvent);
    EXPECT_FALSE(overrideEvent.isAccepted()) << keys.toString().toStdString();
  }
  QKeyEvent other(QEvent::ShortcutOverride, Qt::Key_A, Qt::NoModifier);
  other.ignore();
  QCoreApplication::sendEvent(frame->LevelNameEdit(), &other);
  EXPECT_TRUE(other.isAccepted());  // ordinary typing stays the edit's
}

// New and Load start a fresh history. After New the flag keeps its value
// (the fresh pack is not the file); after Load the pack is its file.
TEST_F(FrameHistoryTest, NewAndLoadClearTheHistory) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("cave.83p"));
  PackContents file = Pack().Contents();
  file.m_szAuthorName = "Ann";
  file.m_szPassword = "pw";
  file.levels[0].PlaceObject({0, 0}, OBJ_ENTRANCE);
  file.levels[0].PlaceObject({16, 0}, OBJ_EXIT);
  std::string error;
  ASSERT_TRUE(SavePackFile(path.toStdString(), file, error)) << error;

  Stroke({10, 10}, {20, 10});
  Stroke({10, 20}, {20, 20});
  Undo()->trigger();
  ASSERT_TRUE(Undo()->isEnabled());
  ASSERT_TRUE(Redo()->isEnabled());

  platform.answers.push_back(IPlatform::Answer::No);  // "Save changes?"
  frame->OnCommand(IDM_FILE_NEW);
  EXPECT_FALSE(Undo()->isEnabled());
  EXPECT_FALSE(Redo()->isEnabled());
  EXPECT_TRUE(Pack().m_bModified);
  Stroke({10, 10}, {20, 10});
  Undo()->trigger();
  EXPECT_TRUE(Pack().m_bModified);  // still not what any file holds

  platform.answers.push_back(IPlatform::Answer::No);  // "Save changes?"
  platform.fileNames.push_back(path);
  platform.onDialog = [](QDialog&) { return int{QDialog::Accepted}; };
  frame->OnCommand(IDM_FILE_LOAD);
  platform.onDialog = nullptr;
  ASSERT_EQ(Pack().m_szAuthorName, "Ann");
  EXPECT_FALSE(Undo()->isEnabled());
  EXPECT_FALSE(Redo()->isEnabled());
  EXPECT_FALSE(Pack().m_bModified);

  Stroke({10, 30}, {20, 30});
  EXPECT_TRUE(Pack().m_bModified);
  Undo()->trigger();
  EXPECT_FALSE(Pack().m_bModified);  // back at the file's state
  EXPECT_EQ(platform.unexpected, 0);
}

// Saving marks the saved state: undoing away from it and back again makes
// "Save changes?" ask exactly when the pack differs from the file.
TEST_F(FrameHistoryTest, SaveMarksTheStateTheFileHolds) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  Place(IDT_PLACE_ENTRANCE, {0, 0});
  Place(IDT_PLACE_EXIT, {40, 0});
  platform.answers.push_back(IPlatform::Answer::Ok);  // security message
  platform.onDialog = [](QDialog& dialog) {
    auto* security = qobject_cast<CSecurityInfoDlg*>(&dialog);
    if (security == nullptr) return int{QDialog::Rejected};
    security->m_strName = QStringLiteral("Ann");
    security->m_strPassword = QStringLiteral("pw");
    security->m_strConfirm = QStringLiteral("pw");
    return int{QDialog::Accepted};
  };
  platform.fileNames.push_back(dir.filePath(QStringLiteral("p.83p")));
  frame->OnCommand(IDM_FILE_SAVE_AS);
  platform.onDialog = nullptr;
  ASSERT_FALSE(Pack().m_bModified);
  ASSERT_EQ(Pack().m_szAuthorName, "Ann");

  Stroke({10, 10}, {20, 10});
  EXPECT_TRUE(Pack().m_bModified);
  EXPECT_TRUE(frame->windowTitle().endsWith(QLatin1Char('*')));
  Undo()->trigger();
  EXPECT_FALSE(Pack().m_bModified);
  EXPECT_FALSE(frame->windowTitle().endsWith(QLatin1Char('*')));
  Undo()->trigger();  // the security info given for the save
  EXPECT_EQ(Pack().m_szAuthorName, "");
  EXPECT_TRUE(Pack().m_bModified);
  Redo()->trigger();
  EXPECT_FALSE(Pack().m_bModified);
  EXPECT_EQ(platform.unexpected, 0);
}

}  // namespace
