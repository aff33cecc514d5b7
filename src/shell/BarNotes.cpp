#include "shell/BarNotes.h"

#include <QLineEdit>
#include <QPalette>
#include <utility>

namespace barnotes {

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
