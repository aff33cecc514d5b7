#pragma once

#include <QWidget>
#include <vector>

#include "model/Geometry.h"

class CCanvasWidget;
class CLevelPack;

// Shows where a problem is: its marks (object boxes outlined, runs of
// terrain pixels tinted) over the canvas while its level is the current
// one. A transparent child on top of the canvas, like the calculator
// screen's frame: it never paints into the canvas's picture, the level, a
// step or a file. The Problems panel sets it and clears it at the next edit.
class CProblemMark : public QWidget {
  Q_OBJECT

 public:
  CProblemMark(CLevelPack& pack, CCanvasWidget& canvas);

  // Marks `marks` (level pixels) on level `level` (zero-based).
  void Mark(int level, std::vector<Rect> marks);
  void Clear();
  // Something is marked, on whichever level.
  bool Marking() const { return !m_marks.empty(); }
  int MarkedLevel() const { return m_nLevel; }
  const std::vector<Rect>& Marks() const { return m_marks; }
  // A mark's cells in the canvas's client pixels (right/bottom exclusive),
  // with the grid lines around them.
  QRect ClientRect(const Rect& mark) const;

  // The outline's colour, for tests that look at the screen.
  static QColor Colour();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void Follow();

  CLevelPack& m_pack;
  CCanvasWidget& m_canvas;
  int m_nLevel = -1;
  std::vector<Rect> m_marks;
};
