// The status bar of the default window: every field at rest, a note shown
// whole and never under a field, the fields back once the note has stood a
// while, and the kept fields whatever the note. (A narrow window's
// shortened notes are in FrameFilesTest.)

#include <gtest/gtest.h>

#include <QLabel>
#include <QStatusBar>

#include "shell/BarNotes.h"
#include "shell/ProblemsPanel.h"
#include "shell/ShownFrameFixture.h"
#include "shell/StatusFields.h"

namespace {

class StatusBarTest : public ShownFrameFixture<CEditorFrame> {
 protected:
  QStatusBar& Bar() { return *frame->statusBar(); }
  QString Note() { return Bar().currentMessage(); }
  int NoteWidth() { return Bar().fontMetrics().horizontalAdvance(Note()); }

  std::vector<QLabel*> Fields() {
    return {frame->ToolLabel(),      frame->PixelLabel(),
            frame->LevelSizeLabel(), frame->BudgetLabel(),
            frame->PackSizeLabel(),  frame->Problems().CountLabel()};
  }
  // Where the leftmost field shown begins: a note must end before it.
  int FieldsLeft() {
    int left = Bar().width();
    for (QLabel* field : Fields()) {
      if (field->isVisible()) left = std::min(left, field->geometry().left());
    }
    return left;
  }
  bool Shown(QLabel* field) { return field->isVisible(); }
};

TEST_F(StatusBarTest, TheDefaultWindowShowsEveryFieldAndEachNoteWhole) {
  ASSERT_EQ(frame->width(), 700);
  ProcessEvents();
  for (QLabel* field : Fields()) {
    EXPECT_TRUE(Shown(field)) << field->text().toStdString();
  }
  EXPECT_EQ(frame->BudgetLabel()->text(), "768 of 2304 bytes");
  EXPECT_EQ(frame->LevelSizeLabel()->text(), "Level: 96 x 64");

  const QString notes[] = {
      barnotes::kUnstorable,
      QStringLiteral("Loaded /home/author/packs/my first pack.83p"),
      QStringLiteral("Undid Population Settings on level 2"),
      QStringLiteral("No changes to save"),
  };
  for (const QString& note : notes) {
    SCOPED_TRACE(note.toStdString());
    frame->ShowStatus(note);
    EXPECT_EQ(Note(), note);
    EXPECT_LE(NoteWidth(), FieldsLeft());
    for (QLabel* kept : {frame->PixelLabel(), frame->LevelSizeLabel(),
                         frame->PackSizeLabel()}) {
      EXPECT_TRUE(Shown(kept));
    }
    // Once the note has stood a while, the budget and the count are back
    // and the note keeps its start in the room left.
    frame->StatusFields().SettleNote();
    EXPECT_TRUE(Shown(frame->BudgetLabel()));
    EXPECT_TRUE(Shown(frame->Problems().CountLabel()));
    EXPECT_TRUE(Note().startsWith(note.left(4))) << Note().toStdString();
    EXPECT_LE(NoteWidth(), FieldsLeft());
  }

  // A note cleared gives every field back.
  Bar().clearMessage();
  for (QLabel* field : Fields()) EXPECT_TRUE(Shown(field));
}

}  // namespace
