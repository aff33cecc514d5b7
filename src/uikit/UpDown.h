#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

// A small up-down control: two arrow buttons that propose a change of the
// control's position. Each arrow press (and each repeat while it is held, at
// a steady rate with no acceleration) emits DeltaPos with the proposed
// delta; the receiver may move the position in its slot, and the control
// then applies the delta to its position, kept within its range, and shows
// the position in its buddy edit, if it has one.
//
// With a range whose minimum is below its maximum, the up (or right) arrow
// proposes +1 and the down (or left) arrow -1. With the default range,
// minimum 100 and maximum 0, the directions are reversed: up and right
// propose -1, down and left +1.
class CUpDown : public QWidget {
  Q_OBJECT

 public:
  CUpDown(Qt::Orientation orientation, QWidget* parent = nullptr);

  void SetRange(int minimum, int maximum);
  void SetPos(int position);
  int Pos() const { return m_nPos; }
  // The edit that shows the position as a number; the arrow keys pressed in
  // it work the arrows.
  void SetBuddy(QLineEdit* buddy);

  // What the up (right) arrow or the down (left) arrow does, as a press.
  void StepUp() { Step(true); }
  void StepDown() { Step(false); }

  // The tooltips of the up (right) arrow and the down (left) arrow, which
  // say what each does.
  void SetToolTips(const QString& up, const QString& down);

  QToolButton* UpButton() const { return m_pUp; }
  QToolButton* DownButton() const { return m_pDown; }

 signals:
  void DeltaPos(int delta);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Step(bool up);
  void ShowPos();

  QToolButton* m_pUp = nullptr;    // up, or right when horizontal
  QToolButton* m_pDown = nullptr;  // down, or left when horizontal
  QLineEdit* m_pBuddy = nullptr;
  int m_nMin = 100;
  int m_nMax = 0;
  int m_nPos = 0;
  bool m_bStepping = false;  // DeltaPos is being handled
};
