#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// "Level Size": the level's width in pixels and height in rows, typed in.
// The bitmap budget follows the texts live ("2304 of 2304 bytes"); OK stays
// disabled, with the reason shown, while the size is past a limit.
class CLevelSizeDlg : public QDialog {
  Q_OBJECT

 public:
  CLevelSizeDlg(int width, int height, QWidget* parent = nullptr);

  // The size typed; valid once the dialog closed with OK.
  int LevelWidth() const;
  int LevelHeight() const;

  QLineEdit* WidthEdit() const { return m_pWidth; }
  QLineEdit* HeightEdit() const { return m_pHeight; }
  QLabel* BudgetLabel() const { return m_pBudget; }
  QLabel* ReasonLabel() const { return m_pReason; }
  QPushButton* OkButton() const { return m_pOk; }

 private:
  void Update();

  QLineEdit* m_pWidth;
  QLineEdit* m_pHeight;
  QLabel* m_pBudget;
  QLabel* m_pReason;
  QPushButton* m_pOk;
};
