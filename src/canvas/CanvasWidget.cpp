#include "canvas/CanvasWidget.h"

#include <QAbstractSlider>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "model/LevelPack.h"

namespace {

QRect ToQRect(const Rect& r) {
  return QRect(r.left, r.top, r.Width(), r.Height());
}

Rect Union(const Rect& a, const Rect& b) {
  if (a.IsEmpty()) return b;
  if (b.IsEmpty()) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top),
          std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

}  // namespace

Point CCanvasWidget::ClientPoint(const QPointF& position) {
  return {static_cast<int>(std::floor(position.x())),
          static_cast<int>(std::floor(position.y()))};
}

Point CCanvasWidget::DevicePoint(const QPointF& position) const {
  if (m_dScale == 1.0) return ClientPoint(position);
  return ClientPoint(position * m_dScale);
}

CCanvasWidget::CCanvasWidget(CLevelPack& pack, QWidget* parent)
    : QWidget(parent), m_pack(pack), m_logic(pack, *this) {
  setMouseTracking(true);  // the placement preview follows the pointer
  setFocusPolicy(Qt::ClickFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(64, 64);
  // Space held over the canvas pans with the left button, whichever widget
  // has the keyboard.
  qApp->installEventFilter(this);
}

double CCanvasWidget::Scale() const { return devicePixelRatioF(); }

int CCanvasWidget::ViewZoom(int userZoom) const {
  return std::max(1, static_cast<int>(std::lround(userZoom * m_dScale)));
}

QRect CCanvasWidget::WidgetRect(const Rect& client) const {
  if (m_dScale == 1.0) return ToQRect(client);
  const int left = static_cast<int>(std::floor(client.left / m_dScale));
  const int top = static_cast<int>(std::floor(client.top / m_dScale));
  const int right = static_cast<int>(std::ceil(client.right / m_dScale));
  const int bottom = static_cast<int>(std::ceil(client.bottom / m_dScale));
  return QRect(left, top, right - left, bottom - top);
}

void CCanvasWidget::SetZoom(int userZoom, bool grid, const QPointF* around) {
  if (m_pack.Count() == 0) return;
  const QPointF centre =
      around != nullptr ? *around : QPointF(width() / 2.0, height() / 2.0);
  const bool changed = userZoom != m_nUserZoom || grid != m_bGrid;
  m_nUserZoom = userZoom;
  m_bGrid = grid;
  m_logic.SetZoom(ViewZoom(userZoom), grid, DevicePoint(centre));
  UpdateScrollBars();
  m_bDirty = true;
  update();
  if (changed) emit ZoomChanged(userZoom);
  emit ViewMoved();
}

void CCanvasWidget::StepZoom(int step, const QPointF* around) {
  SetZoom(NextZoomLevel(m_nUserZoom, step), m_bGrid, around);
}

void CCanvasWidget::FitLevel() {
  if (m_pack.Count() == 0) return;
  SetZoom(m_logic.View().FitZoom(m_pack.Current(), m_dScale), m_bGrid);
}

void CCanvasWidget::ScrollToLevelPoint(Point pixel) {
  if (m_pack.Count() == 0) return;
  m_logic.CentreOn(pixel);
  UpdateScrollBars();
  m_bDirty = true;
  update();
  emit ViewMoved();
}

const QImage& CCanvasWidget::Screen() {
  RenderIfDirty();
  return m_screen;
}

QImage CCanvasWidget::PaintedAfresh() {
  QImage fresh(m_screen.size(), m_screen.format());
  fresh.setDevicePixelRatio(m_screen.devicePixelRatio());
  if (fresh.isNull() || m_pack.Count() == 0) return fresh;
  SetBuffer(reinterpret_cast<std::uint32_t*>(fresh.bits()), fresh.width(),
            fresh.height(), static_cast<int>(fresh.bytesPerLine() / 4));
  const bool fullPaint = m_bFullPaint;
  m_bFullPaint = true;  // nothing to schedule: this image is not shown
  m_logic.OnPaint();
  m_bFullPaint = fullPaint;
  SetBuffer(reinterpret_cast<std::uint32_t*>(m_screen.bits()), m_screen.width(),
            m_screen.height(), static_cast<int>(m_screen.bytesPerLine() / 4));
  return fresh;
}

void CCanvasWidget::SetScrollBars(QScrollBar* horizontal,
                                  QScrollBar* vertical) {
  m_pHScroll = horizontal;
  m_pVScroll = vertical;
  for (QScrollBar* bar : {m_pHScroll, m_pVScroll}) {
    const bool isHorizontal = bar == m_pHScroll;
    connect(bar, &QAbstractSlider::actionTriggered, this,
            [this, isHorizontal](int action) {
              OnScrollAction(isHorizontal, action);
            });
    // Whatever else moves the bar (its context menu's "Scroll here", a
    // program) moves the canvas as a thumb drag to that value would.
    connect(bar, &QAbstractSlider::valueChanged, this,
            [this, isHorizontal](int value) {
              const ScrollBarSettings shown = isHorizontal
                                                  ? m_logic.HorizontalBar()
                                                  : m_logic.VerticalBar();
              if (value != shown.QtValue()) {
                ScrollTo(isHorizontal, SB_THUMBTRACK, value);
              }
            });
  }
  UpdateScrollBars();
}

void CCanvasWidget::UpdateScrollBars() {
  if (m_pack.Count() == 0) return;
  const auto set = [this](QScrollBar* bar, const ScrollBarSettings& s) {
    if (bar == nullptr) return;
    const QSignalBlocker blocker(bar);
    bar->setRange(s.min, s.QtMaximum());
    bar->setPageStep(std::max(1, s.page));
    // A line is one level pixel.
    bar->setSingleStep(m_logic.View().Zoom());
    bar->setValue(s.QtValue());
    // A bar whose range fits in its page stays visible but disabled.
    bar->setEnabled(s.Enabled());
  };
  set(m_pHScroll, m_logic.HorizontalBar());
  set(m_pVScroll, m_logic.VerticalBar());
}

void CCanvasWidget::SetCursors(const std::array<QCursor, kToolCount>& cursors) {
  m_cursors = cursors;
  ShowToolCursor();
}

void CCanvasWidget::ShowToolCursor() {
  setCursor(m_cursors[static_cast<std::size_t>(m_logic.CurrentCursor())]);
}

void CCanvasWidget::RefreshView() {
  m_logic.RefreshView();
  UpdateScrollBars();
  m_bDirty = true;
  update();
  emit ScreenChanged();
}

void CCanvasWidget::FlushUpdates() {
  if (!m_bDirty) PaintDueCells();
  if (!m_rcPending.IsEmpty()) update(WidgetRect(m_rcPending));
  m_rcPending = {};
  emit ScreenChanged();
}

void CCanvasWidget::SetClassicColours(bool classic) {
  SetPalette(classic ? CanvasPalette::Classic() : CanvasPalette::Clear());
  m_logic.SetClassicColours(classic);
  emit ScreenChanged();
}

void CCanvasWidget::CentreOn(Point level) {
  if (m_pack.Count() == 0) return;
  const CanvasView& view = m_logic.View();
  const Rect cell = view.CellClientRect(level);
  const Rect& canvas = view.m_rcCanvas;
  const int dx =
      (cell.left + cell.right) / 2 - (canvas.left + canvas.right) / 2;
  const int dy =
      (cell.top + cell.bottom) / 2 - (canvas.top + canvas.bottom) / 2;
  const ScrollResult h = m_logic.OnHScroll(SB_THUMBTRACK, view.m_nOriginX + dx);
  const ScrollResult v = m_logic.OnVScroll(SB_THUMBTRACK, view.m_nOriginY + dy);
  m_logic.ClampView();
  UpdateScrollBars();
  if (h.delta != 0 || v.delta != 0) {
    m_bDirty = true;
    update();
  }
  emit ScreenChanged();
}

void CCanvasWidget::Apply(const CanvasAction& action) {
  if (action.captureMouse) {
    m_bGrabbing = true;
    grabMouse();
    m_bGrabbing = false;
  }
  if (action.releaseMouse) {
    m_dragButton = Qt::NoButton;
    releaseMouse();
  }
  if (action.cursorChanged) {
    ShowToolCursor();
    emit ToolChanged();
  }
  if (!action.status.empty()) {
    emit StatusMessage(QString::fromUtf8(
        action.status.data(), static_cast<qsizetype>(action.status.size())));
  }
  FlushUpdates();
}

bool CCanvasWidget::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::UngrabMouse:
      // The window system took the mouse away in the middle of a stroke
      // (a popup, a dialog, another grab): the stroke ends here.
      if (!m_bGrabbing) EndStroke();
      break;
    case QEvent::FocusOut:
    case QEvent::WindowDeactivate:
    case QEvent::Hide:
      EndStroke();
      if (event->type() != QEvent::FocusOut) {
        m_bSpaceHeld = false;
        EndPan();
      }
      break;
    default:
      break;
  }
  return QWidget::event(event);
}

void CCanvasWidget::EndStroke() {
  if (!m_logic.IsDrawing()) return;
  const CanvasAction action = m_logic.CancelStroke();
  Apply(action);
  if (QWidget::mouseGrabber() == this) releaseMouse();
}

void CCanvasWidget::paintEvent(QPaintEvent* event) {
  // Moved to a screen of another density: the image is made anew for it.
  if (Scale() != m_dScale) ResizeScreen();
  RenderIfDirty();
  QPainter painter(this);
  const QRect r = event->rect();
  if (m_dScale == 1.0) {
    painter.drawImage(r, m_screen, r);
    return;
  }
  // The image holds device pixels: each lands on one pixel of the screen.
  painter.drawImage(QRectF(r), m_screen,
                    QRectF(r.x() * m_dScale, r.y() * m_dScale,
                           r.width() * m_dScale, r.height() * m_dScale));
}

void CCanvasWidget::resizeEvent(QResizeEvent* /*event*/) { ResizeScreen(); }

void CCanvasWidget::ResizeScreen() {
  m_dScale = Scale();
  const int w = std::max(1, static_cast<int>(std::ceil(width() * m_dScale)));
  const int h = std::max(1, static_cast<int>(std::ceil(height() * m_dScale)));
  m_screen = QImage(w, h, QImage::Format_RGB32);
  m_screen.setDevicePixelRatio(m_dScale);
  SetBuffer(reinterpret_cast<std::uint32_t*>(m_screen.bits()), m_screen.width(),
            m_screen.height(), static_cast<int>(m_screen.bytesPerLine() / 4));
  if (m_pack.Count() > 0) {
    m_logic.View().m_nZoom = ViewZoom(m_nUserZoom);
    m_logic.OnSize(w, h);
  }
  UpdateScrollBars();
  m_bDirty = true;
  update();
  emit ViewMoved();
  emit ScreenChanged();
}

void CCanvasWidget::mousePressEvent(QMouseEvent* event) {
  // The left button draws in the pen's colour, the right one in the other;
  // the middle one, or the left one with Space held, drags the view.
  const Qt::MouseButton button = event->button();
  if (m_bPanning || m_logic.IsDrawing()) return;  // another button of a drag
  if (button == Qt::MiddleButton ||
      (button == Qt::LeftButton && m_bSpaceHeld)) {
    m_bPanning = true;
    m_panButton = button;
    m_ptPanStart = DevicePoint(event->position());
    m_ptPanOrigin = {m_logic.View().m_nOriginX, m_logic.View().m_nOriginY};
    setCursor(Qt::ClosedHandCursor);
    return;
  }
  if (button != Qt::LeftButton && button != Qt::RightButton) return;
  ToolInput modifiers;
  modifiers.shift = (event->modifiers() & Qt::ShiftModifier) != 0;
  modifiers.opposite = button == Qt::RightButton;
  const CanvasAction action =
      m_logic.OnButtonDown(DevicePoint(event->position()), modifiers);
  if (action.captureMouse) m_dragButton = button;
  Apply(action);
}

void CCanvasWidget::mouseMoveEvent(QMouseEvent* event) {
  if (m_bPanning) {
    PanTo(event->position());
    return;
  }
  // Apply flushes the cells the move painted.
  Apply(m_logic.OnMouseMove(DevicePoint(event->position()),
                            (event->modifiers() & Qt::ShiftModifier) != 0));
}

void CCanvasWidget::mouseReleaseEvent(QMouseEvent* event) {
  const Qt::MouseButton button = event->button();
  if (m_bPanning) {
    if (button == m_panButton) EndPan();
    return;
  }
  if (button != Qt::LeftButton && button != Qt::RightButton) return;
  // Only the button that began a drag ends it.
  if (m_logic.IsDrawing() && button != m_dragButton) return;
  Apply(m_logic.OnLButtonUp(DevicePoint(event->position()),
                            (event->modifiers() & Qt::ShiftModifier) != 0));
  emit ButtonReleased();
}

void CCanvasWidget::PanTo(const QPointF& position) {
  const Point at = DevicePoint(position);
  ScrollTo(true, SB_THUMBTRACK, m_ptPanOrigin.x - (at.x - m_ptPanStart.x));
  ScrollTo(false, SB_THUMBTRACK, m_ptPanOrigin.y - (at.y - m_ptPanStart.y));
}

void CCanvasWidget::EndPan() {
  if (!m_bPanning) return;
  m_bPanning = false;
  m_panButton = Qt::NoButton;
  if (m_bSpaceHeld) {
    setCursor(Qt::OpenHandCursor);
  } else {
    ShowToolCursor();
  }
}

bool CCanvasWidget::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::KeyPress && type != QEvent::KeyRelease) return false;
  const auto* key = static_cast<const QKeyEvent*>(event);
  if (key->key() != Qt::Key_Space) return false;
  if (type == QEvent::KeyRelease) {
    if (!m_bSpaceHeld || key->isAutoRepeat()) return m_bSpaceHeld;
    m_bSpaceHeld = false;
    if (!m_bPanning) ShowToolCursor();
    return true;
  }
  if (m_bSpaceHeld) return true;  // the key repeating
  // Only a Space meant for this window, with the pointer over the canvas
  // and no text field taking it.
  const auto* widget = qobject_cast<const QWidget*>(watched);
  const QWidget* focus = QApplication::focusWidget();
  if (widget == nullptr || widget->window() != window() || !underMouse() ||
      key->modifiers() != Qt::NoModifier ||
      (focus != nullptr && focus->testAttribute(Qt::WA_InputMethodEnabled))) {
    return false;
  }
  m_bSpaceHeld = true;
  if (!m_bPanning && !m_logic.IsDrawing()) setCursor(Qt::OpenHandCursor);
  return true;
}

void CCanvasWidget::wheelEvent(QWheelEvent* event) {
  // Ctrl+wheel zooms around the pointer, a step a notch.
  if (event->modifiers() & Qt::ControlModifier) {
    event->accept();
    const QPoint angle = event->angleDelta();
    const int amount = angle.y() != 0 ? angle.y() : angle.x();
    if (amount == 0) return;
    if ((m_nWheelRestZoom > 0) != (amount > 0)) m_nWheelRestZoom = 0;
    m_nWheelRestZoom += amount;
    const int steps = m_nWheelRestZoom / 120;
    m_nWheelRestZoom -= steps * 120;
    const QPointF at = event->position();
    for (int i = std::abs(steps); i > 0; --i) StepZoom(steps > 0 ? 1 : -1, &at);
    return;
  }
  // A touchpad reports pixels; a wheel reports eighths of a degree, 120 a
  // notch, which scrolls three lines (level pixels). Both add up in units of
  // a 120th of a notch (a pixel is 10 of them, a line 40, or 10 per pixel of
  // the zoom for a touchpad) until a whole line is reached, so small events
  // scroll smoothly and none is lost. Sideways with Shift held or a sideways
  // wheel.
  constexpr int kUnitsPerPixel = 10;
  const bool pixels = !event->pixelDelta().isNull();
  const int unitsPerLine = pixels ? m_nUserZoom * kUnitsPerPixel : 40;
  const QPoint delta = pixels ? event->pixelDelta() : event->angleDelta();
  const bool sideways =
      delta.x() != 0 || (event->modifiers() & Qt::ShiftModifier);
  const int amount =
      (delta.x() != 0 ? delta.x() : delta.y()) * (pixels ? kUnitsPerPixel : 1);
  event->accept();
  if (amount == 0) return;
  int& rest = sideways ? m_nWheelRestX : m_nWheelRestY;
  if ((rest > 0) != (amount > 0)) rest = 0;  // turning back starts afresh
  rest += amount;
  const int lines = rest / unitsPerLine;
  rest -= lines * unitsPerLine;
  const int code = lines > 0 ? SB_LINEUP : SB_LINEDOWN;
  bool moved = false;
  for (int i = std::abs(lines); i > 0; --i) {
    const ScrollResult result =
        sideways ? m_logic.OnHScroll(code, 0) : m_logic.OnVScroll(code, 0);
    if (result.delta != 0) moved = true;
  }
  UpdateScrollBars();
  if (moved) {
    m_bDirty = true;
    update();
    emit ViewMoved();
  }
  emit ScreenChanged();
}

void CCanvasWidget::OnScrollAction(bool horizontal, int action) {
  QScrollBar* bar = horizontal ? m_pHScroll : m_pVScroll;
  int code = SB_ENDSCROLL;
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      code = SB_LINEUP;
      break;
    case QAbstractSlider::SliderSingleStepAdd:
      code = SB_LINEDOWN;
      break;
    case QAbstractSlider::SliderPageStepSub:
      code = SB_PAGEUP;
      break;
    case QAbstractSlider::SliderPageStepAdd:
      code = SB_PAGEDOWN;
      break;
    case QAbstractSlider::SliderMove:
    case QAbstractSlider::SliderToMinimum:  // "Scroll to top" and the like
    case QAbstractSlider::SliderToMaximum:  // put the thumb at an end
      code = SB_THUMBTRACK;
      break;
    default:
      break;
  }
  ScrollTo(horizontal, code, bar->sliderPosition());
}

void CCanvasWidget::ScrollTo(bool horizontal, int code, int position) {
  QScrollBar* bar = horizontal ? m_pHScroll : m_pVScroll;
  const ScrollResult result = horizontal ? m_logic.OnHScroll(code, position)
                                         : m_logic.OnVScroll(code, position);
  // The bar shows the new origin, as far as its range reaches.
  const QSignalBlocker blocker(bar);
  bar->setSliderPosition(
      std::clamp(result.origin, bar->minimum(), bar->maximum()));
  if (result.delta != 0) {
    m_bDirty = true;
    update();
    emit ViewMoved();
    emit ScreenChanged();
  }
}

void CCanvasWidget::RenderIfDirty() {
  if (!m_bDirty) {
    PaintDueCells();
    return;
  }
  if (m_screen.isNull() || m_pack.Count() == 0) return;
  m_bDirty = false;
  ++m_nFullPaints;
  m_bFullPaint = true;
  m_logic.OnPaint();
  m_bFullPaint = false;
  m_rcPending = {};
  m_rcCellsDue = {};
}

void CCanvasWidget::PaintDueCells() {
  if (m_rcCellsDue.IsEmpty() || m_screen.isNull() || m_pack.Count() == 0) {
    return;
  }
  const Rect due = m_rcCellsDue;
  m_rcCellsDue = {};
  SetClip(due);
  m_bFullPaint = true;
  m_logic.PaintArea(due);
  m_bFullPaint = false;
  SetClip({});
  m_rcPending = Union(m_rcPending, due);
}

void CCanvasWidget::PaintBackground(const Rect& outline, Point gridPhase) {
  PixelBufferPainter::PaintBackground(outline, gridPhase);
}

void CCanvasWidget::PaintCell(Point level, const Rect& cell, bool white) {
  // With a full paint pending the cell may land on a stale picture; the full
  // paint then redraws it from the level, which already holds the change.
  PixelBufferPainter::PaintCell(level, cell, white);
  NotePainted(cell);
}

void CCanvasWidget::PaintInkRun(Point first, const Rect& span, int count,
                                Ink ink) {
  PixelBufferPainter::PaintInkRun(first, span, count, ink);
  NotePainted(span);
}

void CCanvasWidget::NotePainted(const Rect& client) {
  if (m_bFullPaint) return;
  m_rcPending = Union(m_rcPending, client);
  if (!m_bFlushQueued) {
    // Direct painting outside the widget's own event handlers (a command
    // taking a preview away, say) reaches the screen with the next loop.
    m_bFlushQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
          m_bFlushQueued = false;
          FlushUpdates();
        },
        Qt::QueuedConnection);
  }
}

void CCanvasWidget::PaintBlackRun(Point first, const Rect& span, int count) {
  PixelBufferPainter::PaintBlackRun(first, span, count);
  if (!m_bFullPaint) m_rcPending = Union(m_rcPending, span);
}

void CCanvasWidget::InvalidateCells(const Rect& client) {
  if (client.IsEmpty()) return;
  // Painted from the level once the change is complete, at the next flush
  // or whenever the screen is read.
  m_rcCellsDue = Union(m_rcCellsDue, client);
  NotePainted(client);
}

void CCanvasWidget::Invalidate(const Rect& client) {
  // Every full paint re-renders the whole screen from the level, so any
  // invalidated rectangle brings one.
  if (client.IsEmpty()) return;
  m_bDirty = true;
  update();
}
