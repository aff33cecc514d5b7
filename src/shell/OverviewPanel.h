#pragma once

#include <QDockWidget>
#include <QImage>
#include <QPoint>

#include "canvas/OverviewPicture.h"

class CCanvasWidget;
class CLevelPack;

// The Overview panel: a dock showing the whole current level at two
// screen pixels per level pixel where the panel has room for it, else at
// one, with the objects over the terrain and the part the canvas shows as a
// rectangle. A click or drag in it scrolls the canvas there. It follows the
// level as the canvas changes (every stroke, undo, level change, resize,
// load and scroll) and reads the level without previews, so neither a
// placement preview nor a floating selection ever shows in it as terrain.
// It starts hidden.
class COverviewPanel : public QDockWidget {
  Q_OBJECT

 public:
  COverviewPanel(CLevelPack& pack, CCanvasWidget& canvas, QWidget* parent);

  // Brings the picture and the view's rectangle up to the level and the
  // canvas, repainting only what changed. Nothing while hidden; showing the
  // panel catches up.
  void Sync();

  const COverviewPicture& Picture() const { return m_picture; }
  // The picture as an image (a copy), without the view's rectangle.
  QImage Image() const;
  // The level pixels the canvas shows, within the level.
  Rect ViewRect() const { return m_viewRect; }
  // The widget that shows the picture and takes the clicks.
  QWidget* PictureWidget() const { return m_pView; }
  // The level pixel under a point of the picture widget, or false when the
  // point lies beside the picture.
  bool LevelAt(QPoint point, Point& level) const;
  // Where the picture's top-left pixel sits in the picture widget.
  QPoint PictureOrigin() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void PaintPicture();
  void MoveViewTo(QPoint point);
  Rect CanvasViewRect() const;
  int ScaleForRoom() const;

  CLevelPack& m_pack;
  CCanvasWidget& m_canvas;
  QWidget* m_pView = nullptr;
  COverviewPicture m_picture;
  Rect m_viewRect;
  bool m_bSyncing = false;
};
