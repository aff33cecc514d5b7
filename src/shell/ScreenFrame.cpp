#include "shell/ScreenFrame.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

#include "canvas/CanvasWidget.h"
#include "canvas/OverviewPicture.h"
#include "model/LevelPack.h"

namespace {

// Magenta: unlike the terrain, the objects' inks and the preview's orange.
const QColor kFrameColour(0xC0, 0x20, 0xC0);
constexpr int kFrameWidth = 2;  // pixels: the grid line and one outside it

}  // namespace

CScreenFrame::CScreenFrame(CLevelPack& pack, CCanvasWidget& canvas)
    : QWidget(&canvas), m_pack(pack), m_canvas(canvas) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
  setFocusPolicy(Qt::NoFocus);
  setGeometry(canvas.rect());
  canvas.installEventFilter(this);
  connect(&canvas, &CCanvasWidget::ScreenChanged, this, &CScreenFrame::Follow);
  connect(&canvas, &CCanvasWidget::ViewMoved, this, &CScreenFrame::Follow);
  hide();
}

void CScreenFrame::SetEnabled(bool on) {
  m_bEnabled = on;
  setVisible(on);
  if (on) raise();
  Follow();
}

QRect CScreenFrame::OutlineRect() const {
  if (m_framed.IsEmpty()) return {};
  const CanvasView& view = m_canvas.Logic().View();
  const Rect first = view.CellClientRect({m_framed.left, m_framed.top});
  const Rect last =
      view.CellClientRect({m_framed.right - 1, m_framed.bottom - 1});
  // The grid lines lie one pixel before each cell and right after the last.
  return QRect(QPoint(first.left - 1, first.top - 1),
               QPoint(last.right, last.bottom));
}

void CScreenFrame::Follow() {
  const Rect before = m_framed;
  m_framed = {};
  if (m_bEnabled && m_bPointerIn && m_pack.Count() > 0) {
    const CLevel& level = m_pack.Current();
    m_framed =
        CalculatorScreenAt(level, m_canvas.Logic().ClientToLevel(m_pointer));
  }
  if (!(before == m_framed)) Repaint(before);
}

void CScreenFrame::Repaint(const Rect& before) {
  // The old outline and the new one; the canvas below repaints itself.
  const auto outline = [this](const Rect& framed) {
    const Rect keep = m_framed;
    m_framed = framed;
    const QRect r = OutlineRect();
    m_framed = keep;
    const QRect device =
        r.adjusted(-kFrameWidth, -kFrameWidth, kFrameWidth, kFrameWidth);
    const qreal ratio = devicePixelRatioF();
    return QRectF(device.left() / ratio, device.top() / ratio,
                  (device.width() + 1) / ratio, (device.height() + 1) / ratio)
        .toAlignedRect();
  };
  if (!before.IsEmpty()) update(outline(before));
  if (!m_framed.IsEmpty()) update(outline(m_framed));
}

bool CScreenFrame::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &m_canvas) {
    switch (event->type()) {
      case QEvent::Resize:
        setGeometry(m_canvas.rect());
        break;
      case QEvent::MouseMove:
      case QEvent::MouseButtonPress:
        m_pointer =
            m_canvas.DevicePoint(static_cast<QMouseEvent*>(event)->position());
        m_bPointerIn = true;
        Follow();
        break;
      case QEvent::Enter:
        break;
      case QEvent::Leave:
        m_bPointerIn = false;
        Follow();
        break;
      default:
        break;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void CScreenFrame::paintEvent(QPaintEvent*) {
  if (m_framed.IsEmpty()) return;
  QPainter painter(this);
  // The canvas's client points are device pixels.
  painter.scale(1.0 / devicePixelRatioF(), 1.0 / devicePixelRatioF());
  const QRect r = OutlineRect();
  // Two pixels wide: the grid line around the cells and one outside it.
  painter.fillRect(QRect(r.left() - 1, r.top() - 1, r.width() + 2, kFrameWidth),
                   kFrameColour);
  painter.fillRect(QRect(r.left() - 1, r.bottom(), r.width() + 2, kFrameWidth),
                   kFrameColour);
  painter.fillRect(
      QRect(r.left() - 1, r.top() - 1, kFrameWidth, r.height() + 2),
      kFrameColour);
  painter.fillRect(QRect(r.right(), r.top() - 1, kFrameWidth, r.height() + 2),
                   kFrameColour);
}
