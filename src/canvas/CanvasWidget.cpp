#include "canvas/CanvasWidget.h"

#include <QAbstractSlider>
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

CCanvasWidget::CCanvasWidget(CLevelPack& pack, QWidget* parent)
    : QWidget(parent), m_pack(pack), m_logic(pack, *this) {
  setMouseTracking(true);  // the placement preview follows the pointer
  setFocusPolicy(Qt::ClickFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(64, 64);
}

const QImage& CCanvasWidget::Screen() {
  RenderIfDirty();
  return m_screen;
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
  const auto set = [](QScrollBar* bar, const ScrollBarSettings& s) {
    if (bar == nullptr) return;
    const QSignalBlocker blocker(bar);
    bar->setRange(s.min, s.QtMaximum());
    bar->setPageStep(std::max(1, s.page));
    bar->setSingleStep(4);
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
  if (!m_rcPending.IsEmpty()) update(ToQRect(m_rcPending));
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
  RenderIfDirty();
  QPainter painter(this);
  const QRect r = event->rect();
  painter.drawImage(r, m_screen, r);
}

void CCanvasWidget::resizeEvent(QResizeEvent* /*event*/) {
  m_screen =
      QImage(std::max(1, width()), std::max(1, height()), QImage::Format_RGB32);
  SetBuffer(reinterpret_cast<std::uint32_t*>(m_screen.bits()), m_screen.width(),
            m_screen.height(), static_cast<int>(m_screen.bytesPerLine() / 4));
  if (m_pack.Count() > 0) m_logic.OnSize(width(), height());
  UpdateScrollBars();
  m_bDirty = true;
  update();
  emit ScreenChanged();
}

void CCanvasWidget::mousePressEvent(QMouseEvent* event) {
  // The left button draws in the pen's colour, the right one in the other.
  const Qt::MouseButton button = event->button();
  if (button != Qt::LeftButton && button != Qt::RightButton) return;
  if (m_logic.IsDrawing()) return;  // the other button of a drag
  ToolInput modifiers;
  modifiers.shift = (event->modifiers() & Qt::ShiftModifier) != 0;
  modifiers.opposite = button == Qt::RightButton;
  const CanvasAction action =
      m_logic.OnButtonDown(ClientPoint(event->position()), modifiers);
  if (action.captureMouse) m_dragButton = button;
  Apply(action);
}

void CCanvasWidget::mouseMoveEvent(QMouseEvent* event) {
  m_logic.OnMouseMove(ClientPoint(event->position()),
                      (event->modifiers() & Qt::ShiftModifier) != 0);
  FlushUpdates();
}

void CCanvasWidget::mouseReleaseEvent(QMouseEvent* event) {
  const Qt::MouseButton button = event->button();
  if (button != Qt::LeftButton && button != Qt::RightButton) return;
  // Only the button that began a drag ends it.
  if (m_logic.IsDrawing() && button != m_dragButton) return;
  Apply(m_logic.OnLButtonUp(ClientPoint(event->position()),
                            (event->modifiers() & Qt::ShiftModifier) != 0));
  emit ButtonReleased();
}

void CCanvasWidget::wheelEvent(QWheelEvent* event) {
  // A touchpad reports pixels; a wheel reports eighths of a degree, 120 a
  // notch, which scrolls three lines. Both add up in units of a 120th of a
  // notch (a pixel is 10 of them, a 4-pixel line 40) until a whole line is
  // reached, so small events scroll smoothly and none is lost. Sideways with
  // Shift held or a sideways wheel.
  constexpr int kUnitsPerPixel = 10;
  constexpr int kUnitsPerLine = 4 * kUnitsPerPixel;
  const bool pixels = !event->pixelDelta().isNull();
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
  const int lines = rest / kUnitsPerLine;
  rest -= lines * kUnitsPerLine;
  const int code = lines > 0 ? SB_LINEUP : SB_LINEDOWN;
  for (int i = std::abs(lines); i > 0; --i) {
    const ScrollResult result =
        sideways ? m_logic.OnHScroll(code, 0) : m_logic.OnVScroll(code, 0);
    if (result.delta != 0) m_bDirty = true;
  }
  UpdateScrollBars();
  if (m_bDirty) update();
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
    emit ScreenChanged();
  }
}

void CCanvasWidget::RenderIfDirty() {
  if (!m_bDirty || m_screen.isNull() || m_pack.Count() == 0) return;
  m_bDirty = false;
  ++m_nFullPaints;
  m_bFullPaint = true;
  m_logic.OnPaint();
  m_bFullPaint = false;
  m_rcPending = {};
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

void CCanvasWidget::Invalidate(const Rect& client) {
  // Every full paint re-renders the whole screen from the level, so any
  // invalidated rectangle brings one.
  if (client.IsEmpty()) return;
  m_bDirty = true;
  update();
}
