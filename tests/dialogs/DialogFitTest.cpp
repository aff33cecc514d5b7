// The dialogs' edits show all they take, and the population dialog tells
// each field's range.

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

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
  // The range also stands beside each edit, in a hint of its own that
  // covers no other control and lies inside the dialog.
  QList<QRect> hints;
  QStringList hintTexts;
  for (const QLabel* hint : dlg.findChildren<QLabel*>()) {
    if (!hint->objectName().startsWith(QStringLiteral("range"))) continue;
    const QRect at(hint->mapTo(&dlg, QPoint(0, 0)), hint->size());
    EXPECT_TRUE(dlg.rect().contains(at)) << hint->text().toStdString();
    EXPECT_LE(hint->fontMetrics().horizontalAdvance(hint->text()),
              hint->width());
    hints << at;
    hintTexts << hint->text();
  }
  EXPECT_EQ(hints.size(), POPULATION_FIELDS);
  // The controls a hint must leave free: edits, arrows, buttons and the
  // dialog's own labels.
  QList<const QWidget*> controls;
  for (const QWidget* w : dlg.findChildren<QWidget*>()) {
    if (qobject_cast<const QLineEdit*>(w) ||
        qobject_cast<const QPushButton*>(w) ||
        w->objectName() == "updown1049" ||
        (qobject_cast<const QLabel*>(w) && w->parent() == &dlg)) {
      controls << w;
    }
  }
  for (const QWidget* control : controls) {
    const QRect at(control->mapTo(&dlg, QPoint(0, 0)), control->size());
    for (const QRect& hint : hints) {
      EXPECT_FALSE(hint.intersects(at)) << control->objectName().toStdString();
    }
  }
  for (const auto& c : cases) {
    EXPECT_EQ(Edit(dlg, c.edit)->toolTip(), c.range) << c.edit;
    QString shown = QString::fromLatin1(c.range);
    shown.replace(QStringLiteral(" to "), QStringLiteral("\u2013"));
    const QLineEdit* edit = Edit(dlg, c.edit);
    const QRect near = QRect(edit->mapTo(&dlg, QPoint(0, 0)), edit->size())
                           .adjusted(-8, -8, 8, 8);
    bool beside = false;
    for (qsizetype i = 0; i < hints.size(); ++i) {
      if (hintTexts[i] == shown && hints[i].intersects(near)) beside = true;
    }
    EXPECT_TRUE(beside) << c.edit;
  }
}

}  // namespace
