// Help > User Guide shows the README's guide; the shortcut list is read from
// the actions.

#include "dialogs/HelpDialogs.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTableWidget>
#include <QTextBrowser>
#include <QToolBar>

namespace {

// The README's "## User guide" section, found here on its own.
QString ReadmeGuide() {
  QFile file(QStringLiteral(PLODDERZ_README));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  const QString readme = QString::fromUtf8(file.readAll());
  const QString heading = QStringLiteral("\n## User guide\n");
  const qsizetype start = readme.indexOf(heading);
  EXPECT_GE(start, 0);
  const QString rest = readme.mid(start + heading.size());
  const qsizetype end = rest.indexOf(QStringLiteral("\n## "));
  return end < 0 ? rest : rest.left(end + 1);
}

TEST(HelpUserGuide, IsTheReadmesGuideShownFromItsMarkdown) {
  const QString guide = QString::fromUtf8(UserGuideMarkdown());
  EXPECT_EQ(guide, ReadmeGuide());
  EXPECT_TRUE(guide.contains(QStringLiteral("**Drawing.**")));

  QDialog dialog;
  BuildUserGuideDialog(dialog);
  EXPECT_EQ(dialog.windowTitle(), "User Guide");
  const auto* browser = dialog.findChild<QTextBrowser*>("guide");
  ASSERT_NE(browser, nullptr);
  const QString shown = browser->toPlainText();
  // Markdown rendered: the bold paragraph title without its marks.
  EXPECT_TRUE(shown.contains(QStringLiteral("Drawing. Choose one of the four")))
      << shown.left(300).toStdString();
  EXPECT_FALSE(shown.contains(QStringLiteral("**")));
}

TEST(HelpShortcuts, ListsEveryShortcutOfTheActionsInMenuOrder) {
  QMainWindow window;
  QMenu* file = window.menuBar()->addMenu(QStringLiteral("&File"));
  file->addAction(QStringLiteral("&New"))->setShortcut(QKeySequence("Ctrl+N"));
  file->addAction(QStringLiteral("Save &As..."))
      ->setShortcut(QKeySequence("Ctrl+Shift+S"));
  file->addAction(QStringLiteral("&Reorder Levels..."));  // no shortcut
  QMenu* sub = file->addMenu(QStringLiteral("&Recent"));
  sub->addAction(QStringLiteral("&Clear"))->setShortcut(QKeySequence("F4"));
  QMenu* edit = window.menuBar()->addMenu(QStringLiteral("&Edit"));
  edit->addAction(QStringLiteral("&Redo"))
      ->setShortcuts({QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")});
  // An action outside the menus.
  auto* bar = window.addToolBar(QStringLiteral("Bar"));
  QAction* loose = bar->addAction(QString());
  loose->setToolTip(QStringLiteral("Zoom In"));
  loose->setShortcut(QKeySequence("Ctrl++"));

  const std::vector<ShortcutRow> rows = ShortcutRowsOf(window);
  ASSERT_EQ(rows.size(), 5u);
  const QString native[] = {
      QKeySequence("Ctrl+N").toString(QKeySequence::NativeText),
      QKeySequence("Ctrl+Shift+S").toString(QKeySequence::NativeText),
      QKeySequence("F4").toString(QKeySequence::NativeText),
      QKeySequence("Ctrl+Y").toString(QKeySequence::NativeText) + ", " +
          QKeySequence("Ctrl+Shift+Z").toString(QKeySequence::NativeText),
      QKeySequence("Ctrl++").toString(QKeySequence::NativeText)};
  const char* commands[] = {"File > New", "File > Save As",
                            "File > Recent > Clear", "Edit > Redo", "Zoom In"};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].command, commands[i]);
    EXPECT_EQ(rows[i].keys, native[i]);
  }

  QDialog dialog;
  BuildShortcutsDialog(dialog, rows);
  EXPECT_EQ(dialog.windowTitle(), "Keyboard Shortcuts");
  const auto* table = dialog.findChild<QTableWidget*>("shortcuts");
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(table->rowCount(), 5);
  EXPECT_EQ(table->item(3, 0)->text(), "Edit > Redo");
  EXPECT_EQ(table->item(3, 1)->text(), native[3]);
}

}  // namespace
