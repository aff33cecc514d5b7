// Help > User Guide shows the README's guide; the shortcut list is read from
// the actions.

#include "dialogs/HelpDialogs.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTableWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolBar>
#include <QtTest/QTest>
#include <algorithm>

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

TEST(HelpUserGuide, HeadingsAreTheBoldParagraphTitlesAndSubheadings) {
  const QString markdown = QStringLiteral(
      "Opening text with **bold.** inside.\n"
      "\n"
      "**Drawing.** Choose a pen.\n"
      "**Not a title.** on a paragraph's second line\n"
      "\n"
      "### Keys and mouse\n"
      "\n"
      "**No full stop** here.\n"
      "\n"
      "```\n"
      "**Code.** is not a heading\n"
      "### nor this\n"
      "```\n"
      "\n"
      "**Zoom and panning.** View > Zoom In.\n");
  EXPECT_EQ(GuideHeadings(markdown),
            (QStringList{"Drawing", "Keys and mouse", "Zoom and panning"}));
}

// The contents list beside the guide holds its headings; a click brings the
// heading to the top of the text.
TEST(HelpUserGuide, TheContentsListJumpsToEachHeading) {
  QDialog dialog;
  BuildUserGuideDialog(dialog);
  dialog.show();
  auto* contents = dialog.findChild<QListWidget*>("contents");
  auto* browser = dialog.findChild<QTextBrowser*>("guide");
  ASSERT_NE(contents, nullptr);
  ASSERT_NE(browser, nullptr);
  const QStringList headings =
      GuideHeadings(QString::fromUtf8(UserGuideMarkdown()));
  ASSERT_GE(headings.size(), 10);
  EXPECT_EQ(headings.front(), "Drawing");
  QStringList listed;
  for (int i = 0; i < contents->count(); ++i)
    listed << contents->item(i)->text();
  EXPECT_EQ(listed, headings);

  const auto topLine = [browser] {
    return browser->cursorForPosition(QPoint(4, 4)).block().text();
  };
  for (const QString& heading : {headings[headings.size() / 2], headings[1]}) {
    SCOPED_TRACE(heading.toStdString());
    QListWidgetItem* item = contents->findItems(heading, Qt::MatchExactly)[0];
    contents->scrollToItem(item);
    QTest::mouseClick(contents->viewport(), Qt::LeftButton, {},
                      contents->visualItemRect(item).center());
    EXPECT_TRUE(topLine().startsWith(heading + "."))
        << topLine().left(60).toStdString();
  }
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

// The filter keeps the rows whose command or keys hold what is typed.
TEST(HelpShortcuts, TheFilterNarrowsTheRowsByCommandOrKey) {
  const std::vector<ShortcutRow> rows = {
      {"File > Save", "Ctrl+S"},
      {"File > Save As", "Ctrl+Shift+S"},
      {"Edit > Undo", "Ctrl+Z"},
      {"Small black pen", "B"},
  };
  QDialog dialog;
  BuildShortcutsDialog(dialog, rows);
  auto* filter = dialog.findChild<QLineEdit*>("filter");
  const auto* table = dialog.findChild<QTableWidget*>("shortcuts");
  ASSERT_NE(filter, nullptr);
  ASSERT_NE(table, nullptr);
  const auto shown = [table] {
    QStringList commands;
    for (int row = 0; row < table->rowCount(); ++row) {
      if (!table->isRowHidden(row)) commands << table->item(row, 0)->text();
    }
    return commands;
  };
  const struct {
    const char* typed;
    QStringList expected;
  } cases[] = {
      {"save", {"File > Save", "File > Save As"}},
      {"ctrl+shift", {"File > Save As"}},
      {"  undo ", {"Edit > Undo"}},
      {"b", {"Small black pen"}},
      {"nothing like it", {}},
      {"", {"File > Save", "File > Save As", "Edit > Undo", "Small black pen"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    filter->clear();
    QTest::keyClicks(filter, QString::fromLatin1(c.typed));
    EXPECT_EQ(shown(), c.expected);
  }
}

// At its first size the window shows every row it can: the whole list when
// the screen is tall enough, else as many as most of the screen holds.
TEST(HelpShortcuts, TheWindowShowsManyRowsAndFitsTheScreen) {
  std::vector<ShortcutRow> rows;
  for (int i = 0; i < 40; ++i) {
    rows.push_back({QStringLiteral("Menu > Command %1").arg(i),
                    QStringLiteral("Ctrl+%1").arg(i)});
  }
  QDialog dialog;
  BuildShortcutsDialog(dialog, rows);
  dialog.show();
  const auto* table = dialog.findChild<QTableWidget*>("shortcuts");
  ASSERT_NE(table, nullptr);
  int whole = 0;
  for (int row = 0; row < table->rowCount(); ++row) {
    if (table->rowViewportPosition(row) + table->rowHeight(row) <=
        table->viewport()->height()) {
      ++whole;
    }
  }
  const QRect screen = dialog.screen()->availableGeometry();
  EXPECT_LE(dialog.frameGeometry().height(), screen.height());
  const int fits = screen.height() * 9 / 10 / table->rowHeight(0);
  EXPECT_GE(whole, std::min(40, fits - 6)) << "screen " << screen.height();
  EXPECT_GE(whole, std::min(40, 20));
}

}  // namespace
