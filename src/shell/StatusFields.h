#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <vector>

class QStatusBar;
class QWidget;

// The ranks of the editor's fields that give way to a note, lowest first.
namespace statusrank {
inline constexpr int kCalculator = 0;
inline constexpr int kTool = 1;
inline constexpr int kZoom = 2;
inline constexpr int kBudget = 3;
inline constexpr int kProblemCount = 4;
inline constexpr int kNotReady = 5;
}  // namespace statusrank

// The status bar's permanent fields and its passing note, sharing one row.
//
// A note is shown whole when it appears: fields that may give way are
// hidden, lowest rank first, until it fits. After a while the fields come
// back as far as the note keeps a readable start (kSettledNoteRoom), and the
// note is shortened in the middle into the room it has left. Kept fields
// never give way; a note too long even for the room beside them is
// shortened at once. Fields whose text is empty and that reserve no width
// are not shown.
class CStatusFields : public QObject {
  Q_OBJECT

 public:
  // A field of this rank never gives way.
  static constexpr int kKept = 1000;
  // How long a new note claims all the room it needs.
  static constexpr int kNoteClaimMs = 10000;
  // The room a standing note keeps once its claim has passed.
  static constexpr int kSettledNoteRoom = 150;
  // How long a note stands at all, unless a newer one or an edit (see
  // CEditorFrame::ShowStatus) takes it away first.
  static constexpr int kNoteLifeMs = 30000;

  explicit CStatusFields(QStatusBar& bar);

  // Adds `field` right of the fields added before. Fields of lower rank give
  // way to a note first.
  void Add(QWidget* field, int rank);
  // Shows `text` as the note, whole when the fields can make room for it;
  // an empty text takes the note away.
  void ShowNote(const QString& text);
  // The note standing, whole; empty when there is none.
  const QString& Note() const { return m_note; }
  // Lays the fields out again; call it after a field's text changed (a new
  // width of the bar does it by itself).
  void Update();
  // Ends the note's claim at once, as its timer does.
  void SettleNote();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Field {
    QWidget* widget;
    int rank;
  };
  // The room left of the leftmost field shown.
  int NoteRoom() const;
  void ShowShortened();

  QStatusBar& m_bar;
  std::vector<Field> m_fields;
  QString m_note;
  bool m_bClaim = false;
  bool m_bUpdating = false;
  QTimer m_claimTimer;
  QTimer m_lifeTimer;
};
