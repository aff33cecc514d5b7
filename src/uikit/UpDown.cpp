#include "uikit/UpDown.h"

#include <QBoxLayout>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>

namespace {

QToolButton* MakeArrow(Qt::ArrowType arrow, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setArrowType(arrow);
  button->setAutoRaise(false);
  // A held arrow repeats at a steady rate: the step never grows.
  button->setAutoRepeat(true);
  button->setAutoRepeatDelay(400);
  button->setAutoRepeatInterval(100);
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

}  // namespace

CUpDown::CUpDown(Qt::Orientation orientation, QWidget* parent)
    : QWidget(parent) {
  const bool horizontal = orientation == Qt::Horizontal;
  m_pUp = MakeArrow(horizontal ? Qt::RightArrow : Qt::UpArrow, this);
  m_pDown = MakeArrow(horizontal ? Qt::LeftArrow : Qt::DownArrow, this);
  auto* layout = new QBoxLayout(
      horizontal ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom, this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  const QSize arrowSize = horizontal ? QSize(14, 18) : QSize(16, 11);
  for (QToolButton* button :
       {horizontal ? m_pDown : m_pUp, horizontal ? m_pUp : m_pDown}) {
    button->setFixedSize(arrowSize);
    layout->addWidget(button);
  }
  // A modal box opened while an arrow is held (the add-level question)
  // takes the mouse: the arrow would never see the button let go.
  m_pUp->installEventFilter(this);
  m_pDown->installEventFilter(this);
  connect(m_pUp, &QToolButton::clicked, this, [this] { Step(true); });
  connect(m_pDown, &QToolButton::clicked, this, [this] { Step(false); });
}

void CUpDown::SetRange(int minimum, int maximum) {
  m_nMin = minimum;
  m_nMax = maximum;
  SetPos(m_nPos);
}

void CUpDown::SetPos(int position) {
  m_nPos =
      std::clamp(position, std::min(m_nMin, m_nMax), std::max(m_nMin, m_nMax));
  ShowPos();
}

void CUpDown::SetToolTips(const QString& up, const QString& down) {
  m_pUp->setToolTip(up);
  m_pDown->setToolTip(down);
}

void CUpDown::SetBuddy(QLineEdit* buddy) {
  if (m_pBuddy != nullptr) m_pBuddy->removeEventFilter(this);
  m_pBuddy = buddy;
  if (m_pBuddy != nullptr) m_pBuddy->installEventFilter(this);
  ShowPos();
}

bool CUpDown::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == m_pUp || watched == m_pDown) &&
      event->type() == QEvent::WindowBlocked) {
    // The hold ends when a modal window blocks this one; the user presses
    // again to step on.
    static_cast<QToolButton*>(watched)->setDown(false);
    return false;
  }
  if (watched == m_pBuddy && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      Step(key == Qt::Key_Up);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void CUpDown::Step(bool up) {
  if (m_bStepping) {
    // A held arrow repeats while the receiver is still busy with the step
    // before, which happens when it opened a modal box (the add-level
    // question). The box took the mouse: the arrow would never see the
    // button let go and would go on stepping, and asking, after the box
    // closed. The hold ends here; the user presses again to step on.
    m_pUp->setDown(false);
    m_pDown->setDown(false);
    return;
  }
  const int direction = m_nMin < m_nMax ? 1 : -1;
  const int delta = up ? direction : -direction;
  // The receiver runs now and may move the position; the proposed change is
  // applied to whatever position it leaves.
  m_bStepping = true;
  emit DeltaPos(delta);
  m_bStepping = false;
  SetPos(m_nPos + delta);
}

void CUpDown::ShowPos() {
  if (m_pBuddy != nullptr) m_pBuddy->setText(QString::number(m_nPos));
}
