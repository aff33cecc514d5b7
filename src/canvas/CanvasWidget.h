#pragma once

#include <QCursor>
#include <QImage>
#include <QWidget>
#include <array>

#include "canvas/CanvasLogic.h"
#include "canvas/CanvasPainter.h"

class CLevelPack;
class QPointF;
class QScrollBar;

// The canvas on screen. The canvas logic draws into one backing image the
// size of the widget (the "screen"): a full paint re-renders it from the
// level, and the pens and the placement tool write single cells into it at
// once, asking Qt to repaint only the rectangle that changed. The widget
// turns mouse, size and scroll-bar events into calls of the logic.
class CCanvasWidget : public QWidget, private PixelBufferPainter {
  Q_OBJECT

 public:
  CCanvasWidget(CLevelPack& pack, QWidget* parent = nullptr);

  // The client point of a pointer position: the pixel it lies on, each
  // coordinate floored (a fractional position belongs to the pixel it is in).
  static Point ClientPoint(const QPointF& position);
  // The client point of a widget position on this canvas: the device pixel
  // of the backing image it lies on (the same as ClientPoint where a widget
  // pixel is one device pixel).
  Point DevicePoint(const QPointF& position) const;

  // ---- Zoom ----
  // The zoom as the author sees it (one of kZoomLevels: widget pixels per
  // level pixel) and Show Grid. The view's own zoom is this times the
  // screen's device pixel ratio, so the canvas is drawn in device pixels.
  int UserZoom() const { return m_nUserZoom; }
  bool GridOn() const { return m_bGrid; }
  // Sets the zoom and Show Grid, keeping the level pixel under widget
  // position `around` under it (the canvas's centre when `around` is null).
  void SetZoom(int userZoom, bool grid, const QPointF* around = nullptr);
  // One zoom level up (`step` > 0) or down, around `around`.
  void StepZoom(int step, const QPointF* around = nullptr);
  // The largest zoom at which the whole level shows.
  void FitLevel();
  // Centres the view on a level pixel as far as the view allows.
  void ScrollToLevelPoint(Point pixel);
  // True while a middle-button or Space drag moves the view.
  bool IsPanning() const { return m_bPanning; }

  CCanvasLogic& Logic() { return m_logic; }
  const CCanvasLogic& Logic() const { return m_logic; }

  // The backing image: what the canvas shows, pixel for pixel. Brought up to
  // date first if a full paint is pending.
  const QImage& Screen();
  // What a full paint from the level draws over the whole widget, rendered
  // into an image of its own: the screen as it should be now. The screen
  // and the view are left as they are.
  QImage PaintedAfresh();

  // The two scroll bars beside the canvas; the widget sets their range, page
  // and position and turns their actions into scroll requests.
  void SetScrollBars(QScrollBar* horizontal, QScrollBar* vertical);
  void UpdateScrollBars();

  // The cursor for each tool, in ToolCursor order; the canvas shows the
  // active tool's.
  void SetCursors(const std::array<QCursor, kToolCount>& cursors);
  void ShowToolCursor();

  // Re-clamps the view, sets the scroll bars and repaints the whole canvas:
  // after the current level was replaced, reset, resized or loaded.
  void RefreshView();

  // Asks Qt to repaint the cells painted directly since the last call.
  void FlushUpdates();

  // Classic black and white (the default) or clear colours: a light grey
  // grid, the objects and the placement preview in colours of their own.
  // Repaints the canvas; the level is not touched.
  void SetClassicColours(bool classic);
  bool ClassicColours() const { return m_logic.ClassicColours(); }

  // Scrolls so that the level pixel's cell lies at the centre of the canvas
  // as far as the scroll bars reach, as dragging their thumbs there would.
  void CentreOn(Point level);

  // How many times the whole screen has been rendered from the level.
  int FullPaints() const { return m_nFullPaints; }

  // Carries out what a logic call asked for: grab or release the mouse,
  // show the tool's cursor, show a status message.
  void Apply(const CanvasAction& action);

 signals:
  void StatusMessage(const QString& text);
  // The tool in force may have changed (a placement gave the tool before
  // it back).
  void ToolChanged();
  // A mouse button came up and the tool has handled it.
  void ButtonReleased();
  // What the canvas shows may have changed: cells were painted, the view
  // scrolled or was resized, or the level was replaced.
  void ScreenChanged();
  // The zoom or Show Grid changed (by a command, Ctrl+wheel or Fit).
  void ZoomChanged(int userZoom);
  // The part of the level in view moved: a scroll, a pan, a zoom, a resize.
  void ViewMoved();

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // ICanvasPainter, over the backing image.
  void PaintBackground(const Rect& outline, Point gridPhase) override;
  void PaintCell(Point level, const Rect& cell, bool white) override;
  void PaintBlackRun(Point first, const Rect& span, int count) override;
  void PaintInkRun(Point first, const Rect& span, int count, Ink ink) override;
  void Invalidate(const Rect& client) override;
  void InvalidateCells(const Rect& client) override;

  // Brings the screen up to date: a full paint when one is due, else the
  // cells marked out of date.
  void RenderIfDirty();
  void PaintDueCells();
  // Notes a rectangle painted directly, for the next flush.
  void NotePainted(const Rect& client);
  // Sizes the backing image in device pixels and tells the view.
  void ResizeScreen();
  // The screen's device pixel ratio and the view's zoom it gives.
  double Scale() const;
  int ViewZoom(int userZoom) const;
  // Moves the view so that the drag's start point follows the pointer.
  void PanTo(const QPointF& position);
  void EndPan();
  // The widget rectangle that covers a rectangle of the backing image.
  QRect WidgetRect(const Rect& client) const;
  void OnScrollAction(bool horizontal, int action);
  // Runs one scroll request on an axis and puts the bar on the new origin.
  void ScrollTo(bool horizontal, int code, int position);
  void EndStroke();

  CLevelPack& m_pack;
  CCanvasLogic m_logic;
  QImage m_screen;
  bool m_bDirty = true;       // a full paint is due
  bool m_bFullPaint = false;  // inside a full paint: cells need no update
  bool m_bGrabbing = false;   // inside grabMouse(): ignore its ungrab event
  bool m_bFlushQueued = false;
  int m_nFullPaints = 0;
  Rect m_rcPending;   // cells painted since the last flush
  Rect m_rcCellsDue;  // cells marked out of date, not yet painted
  QScrollBar* m_pHScroll = nullptr;
  QScrollBar* m_pVScroll = nullptr;
  // Wheel and touchpad scrolling not yet worth a whole line, per axis.
  int m_nWheelRestX = 0;
  int m_nWheelRestY = 0;
  std::array<QCursor, kToolCount> m_cursors;
  Qt::MouseButton m_dragButton = Qt::NoButton;  // the button of a drag
  int m_nUserZoom = kDefaultZoom;
  bool m_bGrid = true;
  double m_dScale = 1.0;     // the device pixel ratio the screen was sized for
  int m_nWheelRestZoom = 0;  // Ctrl+wheel not yet worth a zoom step
  // Panning: Space held over the canvas, a drag under way, where it began
  // (device pixels) and the origins then.
  bool m_bSpaceHeld = false;
  bool m_bPanning = false;
  Qt::MouseButton m_panButton = Qt::NoButton;
  Point m_ptPanStart;
  Point m_ptPanOrigin;
};
