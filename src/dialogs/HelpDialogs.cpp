#include "dialogs/HelpDialogs.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QTableWidget>
#include <QTextBrowser>
#include <QVBoxLayout>
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

}  // namespace

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
  auto* browser = new QTextBrowser(&dialog);
  browser->setObjectName(QStringLiteral("guide"));
  browser->setOpenExternalLinks(true);
  browser->setMarkdown(QString::fromUtf8(UserGuideMarkdown()));
  Frame(dialog, QStringLiteral("User Guide"), browser, QSize(620, 560));
}

void BuildShortcutsDialog(QDialog& dialog,
                          const std::vector<ShortcutRow>& rows) {
  auto* table = new QTableWidget(static_cast<int>(rows.size()), 2, &dialog);
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
  table->resizeColumnsToContents();
  table->horizontalHeader()->setStretchLastSection(true);
  Frame(dialog, QStringLiteral("Keyboard Shortcuts"), table, QSize(420, 380));
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
