// The dialogs' edits show all they take, and the population dialog tells
// each field's range.

#include <gtest/gtest.h>

#include <QLineEdit>

#include "DialogTestSupport.h"
#include "dialogs/PopulationDlg.h"
#include "dialogs/SecurityDialogs.h"
#include "support/ScriptedPlatform.h"

namespace {

QLineEdit* Edit(const QDialog& dialog, const char* name) {
  auto* edit = dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
  EXPECT_NE(edit, nullptr) << name;
  return edit;
}

// With `text` typed and the cursor after it, the edit has not scrolled: its
// first character is still at its left edge, inside the dialog.
void ExpectShowsWhole(const QDialog& dialog, const char* name,
                      const QString& text) {
  SCOPED_TRACE(name);
  QLineEdit* edit = Edit(dialog, name);
  ASSERT_NE(edit, nullptr);
  edit->setText(text);
  edit->end(false);
  const QRect inside = edit->contentsRect();
  EXPECT_EQ(
      edit->cursorPositionAt(QPoint(inside.left() + 3, inside.center().y())),
      0);
  EXPECT_EQ(edit->cursorPosition(), text.size());
  EXPECT_TRUE(dialog.rect().contains(edit->geometry()));
}

TEST(DialogFit, SecurityEditsShowAllTheyTake) {
  ScriptedPlatform platform;
  CSecurityInfoDlg info(platform);
  info.show();
  ExpectShowsWhole(info, "edit1029", "Annabel Maria Westerhouse");
  ExpectShowsWhole(info, "edit1030", "WWWWWWWWWW");
  ExpectShowsWhole(info, "edit1031", "mmmmmmmmmm");
  ExpectLabelsFit(info);

  CPasswordPromptDlg prompt(platform);
  prompt.show();
  ExpectShowsWhole(prompt, "edit1032", "WWWWWWWWWW");
  ExpectLabelsFit(prompt);
  // The prompt's edit stays in the middle.
  const QRect edit = Edit(prompt, "edit1032")->geometry();
  EXPECT_NEAR(edit.center().x(), prompt.width() / 2, 4);
}

TEST(DialogFit, PopulationFieldsTellTheirRange) {
  ScriptedPlatform platform;
  CPopulationDlg dlg(platform);
  const struct {
    const char* edit;
    const char* range;
  } cases[] = {
      {"edit1037", "1 to 50"},     // Plodders
      {"edit1038", "1 to 220"},    // frames between two
      {"edit1039", "1 to 50"},     // to be saved
      {"edit1052", "1 to 20000"},  // time
      {"edit1025", "0 to 50"},     // blockers
      {"edit1036", "0 to 50"},     // miners
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Edit(dlg, c.edit)->toolTip(), c.range) << c.edit;
  }
}

}  // namespace
