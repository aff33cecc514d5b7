// Where the keyboard goes between the bars' edits and the canvas, through
// the real frame with real key events sent to the widget that has the
// keyboard, as a user's keys are.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QStatusBar>
#include <QTest>
#include <string>

#include "ShownFrameFixture.h"
#include "canvas/CanvasWidget.h"
#include "shell/BarNotes.h"
#include "shell/CommandIds.h"
#include "shell/EditorFrame.h"

namespace {

class BarKeysTest : public ShownFrameFixture<CEditorFrame> {
 protected:
  void SetUp() override {
    ShownFrameFixture::SetUp();
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
  }

  CCanvasLogic& Logic() { return frame->Logic(); }
  CLevel& Level() { return frame->Pack().Current(); }
  QWidget* Focus() { return QApplication::focusWidget(); }
  QString Note() { return frame->statusBar()->currentMessage(); }

  // Keys as the user types them: to whichever widget has the keyboard.
  void Type(const char* text) { QTest::keyClicks(Focus(), text); }
  void Key(Qt::Key key) { QTest::keyClick(Focus(), key); }

  // A click on the edit, as the user gives it the keyboard.
  void ClickInto(QLineEdit* edit) {
    QTest::mouseClick(edit, Qt::LeftButton, {}, edit->rect().center());
    ASSERT_EQ(Focus(), edit);
  }

  // Makes a second level current, whose passcode edit takes typing.
  void GoToSecondLevel() {
    frame->OnCommand(IDM_LEVEL_ADD);
    ASSERT_EQ(frame->Pack().m_nCurLevel, 1);
    ASSERT_FALSE(frame->PasscodeEdit()->isReadOnly());
  }
};

// Enter and Escape in the name or passcode edit keep what was typed and give
// the keyboard back to the canvas, so the next letter chooses a tool.
TEST_F(BarKeysTest, EnterAndEscapeInAnEditHandTheKeyboardToTheCanvas) {
  GoToSecondLevel();
  const struct {
    const char* name;
    QLineEdit* edit;
    Qt::Key key;
    const char* typed;
    const char* stored;
  } cases[] = {
      {"name, Enter", frame->LevelNameEdit(), Qt::Key_Return, "Rox", "Rox"},
      {"name, Escape", frame->LevelNameEdit(), Qt::Key_Escape, "Ely", "Ely"},
      {"passcode, Enter", frame->PasscodeEdit(), Qt::Key_Enter, "wxyz", "WXYZ"},
      {"passcode, Escape", frame->PasscodeEdit(), Qt::Key_Escape, "ab", "AB"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    frame->OnCommand(IDT_PEN_SMALL_BLACK);
    ClickInto(c.edit);
    c.edit->selectAll();
    Type(c.typed);
    Key(c.key);
    EXPECT_EQ(Focus(), &frame->Canvas());
    EXPECT_EQ(c.edit->text().toStdString(), c.stored);
    Type("r");
    EXPECT_EQ(Logic().CurrentCursor(), ToolCursor::Rectangle);
    EXPECT_EQ(c.edit->text().toStdString(), c.stored);
    const std::string stored = c.edit == frame->LevelNameEdit()
                                   ? Level().m_szName
                                   : Level().m_szPasscode;
    EXPECT_EQ(stored, c.stored);
  }
}

// After Enter, a dialog that comes and goes gives the keyboard back to the
// canvas, not to the edit typed in before: "b" chooses the pen and the name
// stays as it was.
TEST_F(BarKeysTest, AfterADialogTheToolKeysStillGoToTheCanvas) {
  frame->OnCommand(IDT_TOOL_FILL);
  ClickInto(frame->LevelNameEdit());
  frame->LevelNameEdit()->selectAll();
  Type("Cave");
  Key(Qt::Key_Return);
  {
    QDialog dialog(frame);
    auto* field = new QLineEdit(&dialog);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    field->setFocus();
    Type("other");
    dialog.accept();
  }
  frame->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
  Type("b");
  EXPECT_EQ(Logic().CurrentCursor(), ToolCursor::SmallBlack);
  EXPECT_EQ(frame->LevelNameEdit()->text(), "Cave");
  EXPECT_STREQ(Level().m_szName, "Cave");
}

// A click on the canvas takes the keyboard from an edit.
TEST_F(BarKeysTest, AClickOnTheCanvasTakesTheKeyboard) {
  ClickInto(frame->LevelNameEdit());
  frame->LevelNameEdit()->selectAll();
  Type("Pit");
  QTest::mouseClick(&frame->Canvas(), Qt::LeftButton, {}, CellPoint({10, 10}));
  EXPECT_EQ(Focus(), &frame->Canvas());
  Type("n");
  EXPECT_EQ(Logic().CurrentCursor(), ToolCursor::LargeBlack);
  EXPECT_STREQ(Level().m_szName, "Pit");
}

// A key the passcode edit refuses stays with it and says why: with four
// characters typed, a fifth letter or digit (K places a block) chooses no
// tool; on the first level, whose edit takes nothing, neither does a letter.
TEST_F(BarKeysTest, KeysThePasscodeRefusesAreNoToolKeys) {
  ClickInto(frame->PasscodeEdit());
  Type("k");
  EXPECT_EQ(Logic().CurrentCursor(), ToolCursor::SmallBlack);
  EXPECT_EQ(Focus(), frame->PasscodeEdit());
  EXPECT_EQ(Note(), barnotes::kNoPasscodeNeeded);

  GoToSecondLevel();
  ClickInto(frame->PasscodeEdit());
  frame->PasscodeEdit()->selectAll();
  Type("abcd");
  frame->ShowStatus(QString());
  for (const char* refused : {"k", "7"}) {
    SCOPED_TRACE(refused);
    Type(refused);
    EXPECT_EQ(Logic().CurrentCursor(), ToolCursor::SmallBlack);
    EXPECT_EQ(frame->PasscodeEdit()->text(), "ABCD");
    EXPECT_STREQ(Level().m_szPasscode, "ABCD");
    EXPECT_EQ(Note(), barnotes::kPasscodeFull);
  }
}

// The level number takes no typing: with the keyboard in it, a tool key
// still chooses the tool.
TEST_F(BarKeysTest, TheReadOnlyLevelNumberPassesToolKeysOn) {
  ClickInto(frame->LevelNumberEdit());
  Type("r");
  EXPECT_EQ(Logic().CurrentCursor(), ToolCursor::Rectangle);
  EXPECT_EQ(frame->LevelNumberEdit()->text(), "1");
}

}  // namespace
