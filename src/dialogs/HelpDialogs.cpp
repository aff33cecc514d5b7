#include "dialogs/HelpDialogs.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeySequence>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QTableWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <set>

#include "uikit/Platform.h"

namespace {

// A resizable window with `content` above a Close button.
void Frame(QDialog& dialog, const QString& caption, QWidget* content,
           QSize size) {
  dialog.setWindowTitle(caption);
  dialog.setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(content);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog,
                   &QDialog::reject);
  layout->addWidget(buttons);
  dialog.resize(size);
}

// A menu or item text as a plain name: no mnemonic mark, no "...".
QString PlainText(QString text) {
  text.remove(QLatin1Char('&'));
  if (text.endsWith(QStringLiteral("..."))) text.chop(3);
  return text;
}

QString KeysOf(const QAction& action) {
  QStringList keys;
  for (const QKeySequence& keySequence : action.shortcuts()) {
    keys << keySequence.toString(QKeySequence::NativeText);
  }
  return keys.join(QStringLiteral(", "));
}

// The block of the shown guide that begins with `heading`, searched from
// `from` on; an invalid block when there is none.
QTextBlock HeadingBlock(const QString& heading, const QTextBlock& from) {
  for (QTextBlock block = from; block.isValid(); block = block.next()) {
    const QString text = block.text();
    if (text == heading || text.startsWith(heading + QStringLiteral("."))) {
      return block;
    }
  }
  return {};
}

// The height of the part of a screen a window may take, for `widget`.
int AvailableHeight(const QWidget& widget) {
  const QScreen* screen = widget.screen();
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry().height() : 600;
}

}  // namespace

QStringList GuideHeadings(const QString& markdown) {
  static const QRegularExpression kBoldTitle(
      QStringLiteral(R"(^\*\*([^*]+?)\.\*\*)"));
  QStringList headings;
  bool inCode = false;
  bool paragraphStart = true;
  for (const QString& line : markdown.split(QLatin1Char('\n'))) {
    const QString trimmed = line.trimmed();
    if (trimmed.startsWith(QStringLiteral("```"))) {
      inCode = !inCode;
      paragraphStart = !inCode;
      continue;
    }
    if (inCode) continue;
    if (trimmed.isEmpty()) {
      paragraphStart = true;
      continue;
    }
    if (line.startsWith(QStringLiteral("### "))) {
      headings << line.mid(4).trimmed();
    } else if (paragraphStart) {
      const QRegularExpressionMatch match = kBoldTitle.match(line);
      if (match.hasMatch()) headings << match.captured(1).trimmed();
    }
    paragraphStart = false;
  }
  return headings;
}

std::vector<ShortcutRow> ShortcutRowsOf(const QWidget& window) {
  std::vector<ShortcutRow> rows;
  std::set<const QAction*> listed;
  const std::function<void(const QMenu&, const QString&)> walk =
      [&](const QMenu& menu, const QString& path) {
        for (const QAction* action : menu.actions()) {
          if (action->menu() != nullptr) {
            walk(*action->menu(),
                 path + PlainText(action->text()) + QStringLiteral(" > "));
          } else if (!action->isSeparator() && !action->shortcuts().isEmpty()) {
            // The icon text is the item's text unless an item whose text
            // changes (Undo names its step) sets a fixed one.
            rows.push_back(
                {path + PlainText(action->iconText()), KeysOf(*action)});
            listed.insert(action);
          }
        }
      };
  if (const auto* bar = window.findChild<QMenuBar*>()) {
    for (const QAction* top : bar->actions()) {
      if (top->menu() != nullptr) {
        walk(*top->menu(), PlainText(top->text()) + QStringLiteral(" > "));
      }
    }
  }
  for (const QAction* action : window.findChildren<QAction*>()) {
    if (listed.count(action) != 0 || action->shortcuts().isEmpty() ||
        action->menu() != nullptr) {
      continue;
    }
    QString name = action->text();
    if (name.isEmpty())
      name = action->property(kCommandNameProperty).toString();
    if (name.isEmpty()) name = action->toolTip();
    rows.push_back({PlainText(name), KeysOf(*action)});
  }
  return rows;
}

void BuildUserGuideDialog(QDialog& dialog) {
  const QString markdown = QString::fromUtf8(UserGuideMarkdown());
  auto* splitter = new QSplitter(Qt::Horizontal, &dialog);
  auto* contents = new QListWidget(splitter);
  contents->setObjectName(QStringLiteral("contents"));
  auto* browser = new QTextBrowser(splitter);
  browser->setObjectName(QStringLiteral("guide"));
  browser->setOpenExternalLinks(true);
  browser->setMarkdown(markdown);

  // Each heading's block, found in order so that a title that also starts a
  // later paragraph's text is not taken for an earlier one.
  QTextBlock from = browser->document()->begin();
  for (const QString& heading : GuideHeadings(markdown)) {
    const QTextBlock block = HeadingBlock(heading, from);
    if (!block.isValid()) continue;
    auto* item = new QListWidgetItem(heading, contents);
    item->setData(Qt::UserRole, block.position());
    from = block.next();
  }
  QObject::connect(
      contents, &QListWidget::itemClicked, browser,
      [browser](QListWidgetItem* item) {
        QTextCursor cursor(browser->document());
        cursor.setPosition(item->data(Qt::UserRole).toInt());
        browser->setTextCursor(cursor);
        // The heading at the top of the view, not merely somewhere in it.
        const QRectF rect =
            browser->document()->documentLayout()->blockBoundingRect(
                cursor.block());
        browser->verticalScrollBar()->setValue(static_cast<int>(rect.top()));
      });
  // Activating an item by the keyboard jumps too.
  QObject::connect(contents, &QListWidget::itemActivated, contents,
                   &QListWidget::itemClicked);
  contents->setMinimumWidth(contents->sizeHintForColumn(0) + 24);
  splitter->setStretchFactor(0, 0);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({contents->minimumWidth(), 620});
  Frame(dialog, QStringLiteral("User Guide"), splitter,
        QSize(620 + contents->minimumWidth(), 560));
}

void BuildShortcutsDialog(QDialog& dialog,
                          const std::vector<ShortcutRow>& rows) {
  auto* content = new QWidget(&dialog);
  auto* layout = new QVBoxLayout(content);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* filter = new QLineEdit(content);
  filter->setObjectName(QStringLiteral("filter"));
  filter->setPlaceholderText(QStringLiteral("Filter by command or key"));
  filter->setClearButtonEnabled(true);
  layout->addWidget(filter);
  auto* table = new QTableWidget(static_cast<int>(rows.size()), 2, content);
  layout->addWidget(table);
  table->setObjectName(QStringLiteral("shortcuts"));
  table->setHorizontalHeaderLabels(
      {QStringLiteral("Command"), QStringLiteral("Keys")});
  table->verticalHeader()->hide();
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionMode(QAbstractItemView::NoSelection);
  table->setFocusPolicy(Qt::NoFocus);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const int row = static_cast<int>(i);
    table->setItem(row, 0, new QTableWidgetItem(rows[i].command));
    table->setItem(row, 1, new QTableWidgetItem(rows[i].keys));
  }
  // Rows as tall as their text needs, so many show at once.
  table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() +
                                                 8);
  table->resizeColumnsToContents();
  table->horizontalHeader()->setStretchLastSection(true);
  QObject::connect(
      filter, &QLineEdit::textChanged, table, [table](const QString& typed) {
        const QString text = typed.trimmed();
        for (int row = 0; row < table->rowCount(); ++row) {
          const bool shown =
              text.isEmpty() ||
              table->item(row, 0)->text().contains(text, Qt::CaseInsensitive) ||
              table->item(row, 1)->text().contains(text, Qt::CaseInsensitive);
          table->setRowHidden(row, !shown);
        }
      });

  // As tall as every row (with the filter, the header and the Close button
  // around them), but no taller than most of the screen.
  const int rowsHeight =
      table->rowCount() * table->verticalHeader()->defaultSectionSize();
  constexpr int kChrome = 120;  // filter, header, frame, margins, Close
  const int wanted =
      rowsHeight + table->horizontalHeader()->sizeHint().height() + kChrome;
  const int height =
      std::clamp(wanted, 380, std::max(380, AvailableHeight(dialog) * 9 / 10));
  const int width =
      std::max(420, table->columnWidth(0) + table->columnWidth(1) + 80);
  Frame(dialog, QStringLiteral("Keyboard Shortcuts"), content,
        QSize(width, height));
  filter->setFocus();
}

int RunUserGuideDialog(IPlatform& platform, QWidget* parent) {
  QDialog dialog(parent);
  BuildUserGuideDialog(dialog);
  return platform.RunDialog(dialog);
}

int RunShortcutsDialog(IPlatform& platform, QWidget* parent,
                       const std::vector<ShortcutRow>& rows) {
  QDialog dialog(parent);
  BuildShortcutsDialog(dialog, rows);
  return platform.RunDialog(dialog);
}
