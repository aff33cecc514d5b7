#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

class QLineEdit;
class QWidget;

// Where the keyboard goes from the bars' edits. Enter and Escape in an edit
// keep what was typed (its change notification already stored it) and give
// the keyboard back to the canvas, so the next letter chooses a tool again.
// An edit that takes typing keeps every key typed into it, also one it
// refuses, which is never taken for a tool key; a read-only edit that only
// shows a value lets the tools' letters through to the window.
class CBarKeys final : public QObject {
 public:
  // `note` shows a status-bar note.
  CBarKeys(QWidget& canvas, std::function<void(const QString&)> note,
           QObject* parent = nullptr);

  enum class Typing {
    Takes,  // typed into: its keys are its own, even while read-only
    None,   // shows a value only: the tools' letters pass through
  };
  // Watches `edit`. While an edit that takes typing is read-only, a letter
  // typed into it shows `readOnlyNote`.
  void Watch(QLineEdit& edit, Typing typing,
             const QString& readOnlyNote = QString());

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Watched {
    QLineEdit* edit;
    Typing typing;
    QString readOnlyNote;
  };
  const Watched* Find(QObject* watched) const;

  QWidget& m_canvas;
  std::function<void(const QString&)> m_note;
  std::vector<Watched> m_edits;
};
