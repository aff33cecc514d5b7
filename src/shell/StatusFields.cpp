#include "shell/StatusFields.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QStatusBar>
#include <algorithm>

namespace {

// Space between a note and the first field, and round the note's text.
constexpr int kNoteGap = 8;
constexpr int kNotePad = 16;

bool WantsShowing(const QWidget* field) {
  if (field->minimumWidth() > 0) return true;
  if (const auto* label = qobject_cast<const QLabel*>(field)) {
    return !label->text().isEmpty();
  }
  return true;
}

}  // namespace

CStatusFields::CStatusFields(QStatusBar& bar) : QObject(&bar), m_bar(bar) {
  m_claimTimer.setSingleShot(true);
  m_claimTimer.setInterval(kNoteClaimMs);
  connect(&m_claimTimer, &QTimer::timeout, this, [this] { SettleNote(); });
  m_lifeTimer.setSingleShot(true);
  m_lifeTimer.setInterval(kNoteLifeMs);
  connect(&m_lifeTimer, &QTimer::timeout, this, [this] { ShowNote({}); });
  // A note cleared from outside gives its room back.
  connect(&m_bar, &QStatusBar::messageChanged, this, [this](const QString& m) {
    if (m.isEmpty() && !m_bUpdating && !m_note.isEmpty()) {
      m_note.clear();
      m_bClaim = false;
      Update();
    }
  });
  m_bar.installEventFilter(this);
}

void CStatusFields::Add(QWidget* field, int rank) {
  m_bar.addPermanentWidget(field);
  m_fields.push_back({field, rank});
  Update();
}

void CStatusFields::ShowNote(const QString& text) {
  m_note = text;
  m_bClaim = !text.isEmpty();
  if (m_bClaim) {
    m_claimTimer.start();
    m_lifeTimer.start();
  } else {
    m_claimTimer.stop();
    m_lifeTimer.stop();
  }
  Update();
}

void CStatusFields::SettleNote() {
  m_claimTimer.stop();
  m_bClaim = false;
  Update();
}

int CStatusFields::NoteRoom() const {
  int left = m_bar.width();
  for (const Field& f : m_fields) {
    if (f.widget->isVisibleTo(&m_bar)) {
      left = std::min(left, f.widget->geometry().left());
    }
  }
  return left - kNoteGap;
}

void CStatusFields::Update() {
  if (m_bUpdating) return;
  m_bUpdating = true;
  const QFontMetrics metrics = m_bar.fontMetrics();
  const int noteWidth =
      m_note.isEmpty() ? 0 : metrics.horizontalAdvance(m_note) + kNotePad;
  const int need = m_bClaim ? noteWidth : std::min(noteWidth, kSettledNoteRoom);

  // Every field that has something to show, then the lowest ranks out one
  // by one until the note has the room it needs.
  for (const Field& f : m_fields) f.widget->setVisible(WantsShowing(f.widget));
  std::vector<const Field*> order;
  for (const Field& f : m_fields) {
    if (f.rank < kKept) order.push_back(&f);
  }
  std::stable_sort(
      order.begin(), order.end(),
      [](const Field* a, const Field* b) { return a->rank < b->rank; });
  if (QLayout* layout = m_bar.layout()) layout->activate();
  for (const Field* f : order) {
    if (NoteRoom() >= need) break;
    if (!f->widget->isVisibleTo(&m_bar)) continue;
    f->widget->setVisible(false);
    if (QLayout* layout = m_bar.layout()) layout->activate();
  }
  ShowShortened();
  m_bUpdating = false;
}

void CStatusFields::ShowShortened() {
  if (m_note.isEmpty()) {
    if (!m_bar.currentMessage().isEmpty()) m_bar.clearMessage();
    return;
  }
  // One too long for the room left is shortened in the middle: its start
  // ("Loaded") stays, and so does the file's name when it names one.
  const int room = NoteRoom();
  const QFontMetrics metrics = m_bar.fontMetrics();
  QString shown = m_note;
  if (room > 0 && metrics.horizontalAdvance(m_note) > room) {
    const qsizetype slash = m_note.lastIndexOf(QLatin1Char('/'));
    const QString name = slash < 0 ? QString() : m_note.mid(slash);
    const int headRoom = room - metrics.horizontalAdvance(name);
    if (slash > 0 && headRoom > metrics.horizontalAdvance(m_note.left(8))) {
      shown = metrics.elidedText(m_note.left(slash), Qt::ElideRight, headRoom) +
              name;
    } else {
      shown = metrics.elidedText(m_note, Qt::ElideMiddle, room);
    }
  }
  if (shown != m_bar.currentMessage()) m_bar.showMessage(shown);
}

bool CStatusFields::eventFilter(QObject* watched, QEvent* event) {
  // A new width of the bar moves the fields.
  if (watched == &m_bar && event->type() == QEvent::Resize) Update();
  return QObject::eventFilter(watched, event);
}
