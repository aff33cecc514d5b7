#include "shell/BarKeys.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <utility>

namespace {

Qt::KeyboardModifiers PlainModifiers(const QKeyEvent& key) {
  return key.modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
}

// Enter, Return or Escape on their own.
bool IsHandBackKey(const QKeyEvent& key) {
  if (PlainModifiers(key) != Qt::NoModifier) return false;
  return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter ||
         key.key() == Qt::Key_Escape;
}

// A printable character typed with at most Shift.
bool IsTypedCharacter(const QKeyEvent& key) {
  if (PlainModifiers(key) != Qt::NoModifier) return false;
  const QString text = key.text();
  return !text.isEmpty() && text.at(0).isPrint();
}

}  // namespace

CBarKeys::CBarKeys(QWidget& canvas, std::function<void(const QString&)> note,
                   QObject* parent)
    : QObject(parent), m_canvas(canvas), m_note(std::move(note)) {}

void CBarKeys::Watch(QLineEdit& edit, Typing typing,
                     const QString& readOnlyNote) {
  m_edits.push_back({&edit, typing, readOnlyNote});
  edit.installEventFilter(this);
}

const CBarKeys::Watched* CBarKeys::Find(QObject* watched) const {
  for (const Watched& w : m_edits) {
    if (w.edit == watched) return &w;
  }
  return nullptr;
}

bool CBarKeys::eventFilter(QObject* watched, QEvent* event) {
  const Watched* w = Find(watched);
  if (w == nullptr) return QObject::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::ShortcutOverride: {
      // Not accepted, the key reaches the window's shortcuts: the tools'
      // letters pass an edit that takes no typing.
      const auto& key = *static_cast<QKeyEvent*>(event);
      if (w->typing == Typing::None && IsTypedCharacter(key)) return true;
      break;
    }
    case QEvent::KeyPress: {
      const auto& key = *static_cast<QKeyEvent*>(event);
      if (IsHandBackKey(key)) {
        m_canvas.setFocus(Qt::ShortcutFocusReason);
        event->accept();
        return true;
      }
      if (w->typing == Typing::Takes && w->edit->isReadOnly() &&
          IsTypedCharacter(key)) {
        // The edit takes nothing now; say why, as a full edit does.
        if (!w->readOnlyNote.isEmpty() && m_note) m_note(w->readOnlyNote);
        event->accept();
        return true;
      }
      break;
    }
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}
