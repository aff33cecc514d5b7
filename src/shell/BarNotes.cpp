#include "shell/BarNotes.h"

#include <QLineEdit>
#include <QPalette>
#include <QToolBar>
#include <utility>

namespace barnotes {

QLineEdit* AddLevelCount(QToolBar& bar) {
  auto* count = new QLineEdit(&bar);
  count->setObjectName(QStringLiteral("levelCount"));
  count->setReadOnly(true);
  count->setFrame(false);
  count->setFocusPolicy(Qt::NoFocus);
  count->setFixedWidth(
      count->fontMetrics().horizontalAdvance(QStringLiteral(" of 9 ")));
  QPalette palette = count->palette();
  palette.setColor(QPalette::Base, palette.color(QPalette::Window));
  count->setPalette(palette);
  count->setToolTip(QStringLiteral("The number of levels in the pack"));
  bar.addWidget(count);
  return count;
}

void NoteRefusedInput(QLineEdit& edit, const QString& full,
                      std::function<void(const QString&)> show) {
  QObject::connect(
      &edit, &QLineEdit::inputRejected, &edit,
      [&edit, full, show = std::move(show)] {
        show(edit.text().size() >= edit.maxLength() ? full : kUnstorable);
      });
}

void ShowPasscodeNeeded(QLineEdit& edit, bool needed) {
  edit.setReadOnly(!needed);
  edit.setPlaceholderText(needed ? QString() : kNoPasscodePlaceholder);
  edit.setToolTip(needed ? QString() : kNoPasscodeNeeded);
  // A read-only edit takes the window's background, as a disabled one does,
  // but keeps its tooltip.
  QPalette palette =
      edit.parentWidget() ? edit.parentWidget()->palette() : QPalette();
  if (!needed) {
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
  }
  edit.setPalette(palette);
}

}  // namespace barnotes
