#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QToolButton>

#include "model/Level.h"
#include "model/LevelPack.h"
#include "shell/EditorFrame.h"
#include "support/QtTestApp.h"
#include "support/ScriptedPlatform.h"
#include "uikit/UpDown.h"

namespace {

// While a message box is open, the arrow that was held when it opened keeps
// repeating: its repeat fires once inside every box, as the arrow's timer
// does in the box's own event loop.
class RepeatingPlatform : public ScriptedPlatform {
 public:
  QToolButton* heldArrow = nullptr;

  Answer MessageBox(QWidget* parent, const QString& text,
                    const QString& caption, Buttons buttons,
                    Icon icon) override {
    if (heldArrow != nullptr && heldArrow->isDown()) emit heldArrow->clicked();
    return ScriptedPlatform::MessageBox(parent, text, caption, buttons, icon);
  }
};

// Holding the level number's up arrow on the last level asks once; the hold
// ends with the question, so the arrow neither asks again nor steps on
// after the box is closed.
TEST(UpDownConformanceTest, HeldLevelArrowAsksOnceAndEndsTheHold) {
  QtTestApp();
  const struct {
    IPlatform::Answer answer;
    int levels;  // after the question
    const char* number;
  } kCases[] = {
      {IPlatform::Answer::No, 1, "1"},
      {IPlatform::Answer::Yes, 2, "2"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.number);
    RepeatingPlatform platform;
    platform.answers = {c.answer};
    QPointer<CEditorFrame> frame = new CEditorFrame(platform);
    QToolButton* up = frame->LevelNumberSpin()->UpButton();
    platform.heldArrow = up;

    MousePress(up, up->rect().center());  // held, not let go
    ASSERT_TRUE(up->isDown());
    emit up->clicked();  // the first repeat of the held arrow

    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "Would you like to add a level?");
    EXPECT_FALSE(up->isDown()) << "the hold must end with the question";
    EXPECT_EQ(frame->Pack().Count(), c.levels);
    EXPECT_EQ(frame->Pack().m_nCurLevel, c.levels - 1);
    EXPECT_EQ(frame->LevelNumberEdit()->text(), c.number);

    frame->Pack().m_bModified = false;
    delete frame;
    EXPECT_EQ(CLevel::s_nLiveCount, 0);
  }
}

// Answers each message box through a real modal box, which blocks the
// frame while it is open and is closed with the scripted answer as soon as
// its loop runs.
class ModalBoxPlatform : public ScriptedPlatform {
 public:
  Answer MessageBox(QWidget* parent, const QString& text,
                    const QString& caption, Buttons buttons,
                    Icon icon) override {
    const Answer answer =
        ScriptedPlatform::MessageBox(parent, text, caption, buttons, icon);
    QMessageBox box(QMessageBox::Question, caption, text,
                    QMessageBox::Yes | QMessageBox::No, parent);
    QTimer::singleShot(0, &box, [&box] { box.done(QMessageBox::No); });
    box.exec();
    return answer;
  }
};

// A question answered before the held arrow repeats ends the hold as well:
// the arrow must not go on stepping, and asking, once the box is closed.
TEST(UpDownConformanceTest, AModalBoxEndsTheHoldOfTheArrow) {
  QtTestApp();
  ModalBoxPlatform platform;
  platform.answers = {IPlatform::Answer::No};
  QPointer<CEditorFrame> frame = new CEditorFrame(platform);
  frame->show();
  ProcessEvents();
  QToolButton* up = frame->LevelNumberSpin()->UpButton();

  MousePress(up, up->rect().center());
  ASSERT_TRUE(up->isDown());
  emit up->clicked();  // the first repeat of the held arrow

  EXPECT_EQ(platform.messages.size(), 1u);
  EXPECT_FALSE(up->isDown()) << "the hold must end with the question";
  EXPECT_EQ(frame->LevelNumberEdit()->text(), "1");

  frame->Pack().m_bModified = false;
  frame->close();
  ProcessEvents();
  EXPECT_TRUE(frame.isNull());
  EXPECT_EQ(CLevel::s_nLiveCount, 0);
}

// A step that opens no box leaves a held arrow held, so holding it still
// resizes a level step by step.
TEST(UpDownConformanceTest, HeldArrowWithoutQuestionStaysHeld) {
  QtTestApp();
  CUpDown spin(Qt::Horizontal);
  int steps = 0;
  QObject::connect(&spin, &CUpDown::DeltaPos, [&steps](int) { ++steps; });
  QToolButton* right = spin.UpButton();
  MousePress(right, right->rect().center());
  emit right->clicked();
  emit right->clicked();
  EXPECT_EQ(steps, 2);
  EXPECT_TRUE(right->isDown());
  MouseRelease(right, right->rect().center());
}

}  // namespace
