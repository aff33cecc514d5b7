#include "shell/OverviewPanel.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <algorithm>

#include "canvas/CanvasWidget.h"
#include "model/LevelPack.h"

namespace {

// The rectangle of the canvas's view over the picture.
const QColor kViewColour(0xE0, 0x40, 0x10);

// The picture's widget asks for room to show the smallest level at two
// screen pixels per level pixel, and takes one where it gets less.
class CPictureWidget : public QWidget {
 public:
  using QWidget::QWidget;
  QSize sizeHint() const override {
    return {2 * 8 * MIN_WIDTH_BYTES + 8, 2 * MIN_HEIGHT + 8};
  }
};

}  // namespace

COverviewPanel::COverviewPanel(CLevelPack& pack, CCanvasWidget& canvas,
                               QWidget* parent)
    : QDockWidget(QStringLiteral("Overview"), parent),
      m_pack(pack),
      m_canvas(canvas) {
  setObjectName(QStringLiteral("overview"));
  m_pView = new CPictureWidget(this);
  m_pView->setAttribute(Qt::WA_OpaquePaintEvent);
  m_pView->setCursor(Qt::PointingHandCursor);
  m_pView->installEventFilter(this);
  setWidget(m_pView);
  connect(&m_canvas, &CCanvasWidget::ScreenChanged, this,
          &COverviewPanel::Sync);
  connect(&m_canvas, &CCanvasWidget::ViewMoved, this, &COverviewPanel::Sync);
  connect(this, &QDockWidget::visibilityChanged, this, &COverviewPanel::Sync);
  hide();
}

int COverviewPanel::ScaleForRoom() const {
  const CLevel& level = m_pack.Current();
  return m_pView->width() >= 2 * level.WidthPixels() &&
                 m_pView->height() >= 2 * level.m_nHeight
             ? 2
             : 1;
}

Rect COverviewPanel::CanvasViewRect() const {
  const CanvasView& view = m_canvas.Logic().View();
  const CLevel& level = m_pack.Current();
  const Rect& canvas = view.m_rcCanvas;
  const Point first = view.ClientToLevel({canvas.left, canvas.top});
  const Point last = view.ClientToLevel({canvas.right - 1, canvas.bottom - 1});
  const Rect r{std::max(first.x, 0), std::max(first.y, 0),
               std::min(last.x + 1, level.WidthPixels()),
               std::min(last.y + 1, static_cast<int>(level.m_nHeight))};
  return r.IsEmpty() ? Rect{} : r;
}

QPoint COverviewPanel::PictureOrigin() const {
  return {std::max(0, (m_pView->width() - m_picture.Width()) / 2),
          std::max(0, (m_pView->height() - m_picture.Height()) / 2)};
}

void COverviewPanel::Sync() {
  if (!isVisible() || m_pack.Count() == 0 || m_bSyncing) return;
  m_bSyncing = true;
  m_picture.SetPalette(m_canvas.ClassicColours() ? CanvasPalette::Classic()
                                                 : CanvasPalette::Clear());
  m_picture.SetScale(ScaleForRoom());
  const QSize before(m_picture.Width(), m_picture.Height());
  Rect changed;
  {
    const CLevelPack::PreviewFree clean = m_pack.WithoutPreviews();
    changed = m_picture.Update(clean->Current());
  }
  const QPoint origin = PictureOrigin();
  const int scale = m_picture.Scale();
  const auto onScreen = [&](const Rect& r) {
    // One pixel more on each side holds the view's rectangle.
    return QRect(origin.x() + r.left * scale - 1,
                 origin.y() + r.top * scale - 1, r.Width() * scale + 2,
                 r.Height() * scale + 2);
  };
  if (QSize(m_picture.Width(), m_picture.Height()) != before) {
    // Room for the level at one screen pixel per level pixel at least.
    const CLevel& level = m_pack.Current();
    m_pView->setMinimumSize(level.WidthPixels() + 8, level.m_nHeight + 8);
    m_pView->update();
  } else if (!changed.IsEmpty()) {
    m_pView->update(onScreen(changed));
  }
  const Rect view = CanvasViewRect();
  if (!(view == m_viewRect)) {
    m_pView->update(onScreen(m_viewRect));
    m_pView->update(onScreen(view));
    m_viewRect = view;
  }
  m_bSyncing = false;
}

QImage COverviewPanel::Image() const {
  return QImage(reinterpret_cast<const uchar*>(m_picture.Pixels()),
                m_picture.Width(), m_picture.Height(),
                static_cast<qsizetype>(m_picture.Width()) * 4,
                QImage::Format_RGB32)
      .copy();
}

bool COverviewPanel::LevelAt(QPoint point, Point& level) const {
  const QPoint at = point - PictureOrigin();
  const int scale = m_picture.Scale();
  if (at.x() < 0 || at.y() < 0 || at.x() >= m_picture.Width() ||
      at.y() >= m_picture.Height()) {
    return false;
  }
  level = {at.x() / scale, at.y() / scale};
  return true;
}

void COverviewPanel::MoveViewTo(QPoint point) {
  // A drag beyond the picture keeps to its edge.
  const QPoint origin = PictureOrigin();
  const QPoint inside(
      std::clamp(point.x(), origin.x(),
                 origin.x() + std::max(m_picture.Width() - 1, 0)),
      std::clamp(point.y(), origin.y(),
                 origin.y() + std::max(m_picture.Height() - 1, 0)));
  Point level;
  if (LevelAt(inside, level)) m_canvas.CentreOn(level);
}

void COverviewPanel::PaintPicture() {
  QPainter painter(m_pView);
  painter.fillRect(m_pView->rect(), palette().window());
  const QPoint origin = PictureOrigin();
  const QImage image(reinterpret_cast<const uchar*>(m_picture.Pixels()),
                     m_picture.Width(), m_picture.Height(),
                     static_cast<qsizetype>(m_picture.Width()) * 4,
                     QImage::Format_RGB32);
  painter.drawImage(origin, image);
  if (m_viewRect.IsEmpty()) return;
  const int scale = m_picture.Scale();
  painter.setPen(QPen(kViewColour, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(origin.x() + m_viewRect.left * scale - 1,
                   origin.y() + m_viewRect.top * scale - 1,
                   m_viewRect.Width() * scale + 1,
                   m_viewRect.Height() * scale + 1);
}

bool COverviewPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched != m_pView) return QDockWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::Paint:
      PaintPicture();
      return true;
    case QEvent::Resize:
      Sync();
      m_pView->update();
      break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->buttons() & Qt::LeftButton) {
        MoveViewTo(mouse->position().toPoint());
        return true;
      }
      break;
    }
    default:
      break;
  }
  return QDockWidget::eventFilter(watched, event);
}
