#pragma once

#include <QWidget>

#include "model/Geometry.h"

class CCanvasWidget;
class CLevelPack;

// The calculator screen's frame: a 96 x 64 level-pixel outline over the
// canvas around the pointer, moved inside the level, so that the author
// sees how much of a large level the player sees at once. It is a
// transparent child on top of the canvas: it never paints into the
// canvas's picture and never touches the level. Off at first.
class CScreenFrame : public QWidget {
  Q_OBJECT

 public:
  CScreenFrame(CLevelPack& pack, CCanvasWidget& canvas);

  void SetEnabled(bool on);
  bool Enabled() const { return m_bEnabled; }
  // The level pixels framed, empty while no frame shows (off, or the
  // pointer not over the canvas).
  Rect Framed() const { return m_framed; }
  // The frame's outline in the canvas's client pixels (right/bottom
  // exclusive): along the grid lines around the framed cells.
  QRect OutlineRect() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void Follow();
  void Repaint(const Rect& before);

  CLevelPack& m_pack;
  CCanvasWidget& m_canvas;
  bool m_bEnabled = false;
  bool m_bPointerIn = false;
  Point m_pointer;  // the pointer's client point over the canvas
  Rect m_framed;
};
