#include "shell/ProblemMark.h"

#include <QEvent>
#include <QPainter>

#include "canvas/CanvasWidget.h"
#include "model/LevelPack.h"

namespace {

// Red: unlike the terrain, the objects' inks, the preview's orange and the
// screen frame's magenta.
const QColor kMarkColour(0xE0, 0x10, 0x10);
constexpr int kOutline = 2;  // pixels: the grid line and one outside it

}  // namespace

CProblemMark::CProblemMark(CLevelPack& pack, CCanvasWidget& canvas)
    : QWidget(&canvas), m_pack(pack), m_canvas(canvas) {
  setObjectName(QStringLiteral("problemMark"));
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
  setFocusPolicy(Qt::NoFocus);
  setGeometry(canvas.rect());
  canvas.installEventFilter(this);
  // A scroll, a zoom or another level moves or hides the marks.
  connect(&canvas, &CCanvasWidget::ScreenChanged, this, &CProblemMark::Follow);
  connect(&canvas, &CCanvasWidget::ViewMoved, this, &CProblemMark::Follow);
  hide();
}

QColor CProblemMark::Colour() { return kMarkColour; }

void CProblemMark::Mark(int level, std::vector<Rect> marks) {
  m_nLevel = level;
  m_marks = std::move(marks);
  Follow();
}

void CProblemMark::Clear() {
  m_nLevel = -1;
  m_marks.clear();
  Follow();
}

QRect CProblemMark::ClientRect(const Rect& mark) const {
  const CanvasView& view = m_canvas.Logic().View();
  const Rect first = view.CellClientRect({mark.left, mark.top});
  const Rect last = view.CellClientRect({mark.right - 1, mark.bottom - 1});
  return QRect(QPoint(first.left - 1, first.top - 1),
               QPoint(last.right, last.bottom));
}

void CProblemMark::Follow() {
  const bool shown = Marking() && m_pack.m_nCurLevel == m_nLevel;
  if (shown) {
    if (!isVisible()) show();
    raise();
    update();
  } else if (isVisible()) {
    hide();
  }
}

bool CProblemMark::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &m_canvas && event->type() == QEvent::Resize) {
    setGeometry(m_canvas.rect());
  }
  return QWidget::eventFilter(watched, event);
}

void CProblemMark::paintEvent(QPaintEvent*) {
  if (!Marking() || m_pack.m_nCurLevel != m_nLevel) return;
  QPainter painter(this);
  // The canvas's client points are device pixels.
  painter.scale(1.0 / devicePixelRatioF(), 1.0 / devicePixelRatioF());
  QColor tint = kMarkColour;
  tint.setAlpha(90);
  const auto outline = [&painter](const QRect& r) {
    // On the grid line around the cells and one pixel out.
    painter.fillRect(QRect(r.left() - 1, r.top() - 1, r.width() + 2, kOutline),
                     kMarkColour);
    painter.fillRect(QRect(r.left() - 1, r.bottom(), r.width() + 2, kOutline),
                     kMarkColour);
    painter.fillRect(QRect(r.left() - 1, r.top() - 1, kOutline, r.height() + 2),
                     kMarkColour);
    painter.fillRect(QRect(r.right(), r.top() - 1, kOutline, r.height() + 2),
                     kMarkColour);
  };
  QRect runs;
  for (const Rect& mark : m_marks) {
    const QRect r = ClientRect(mark);
    if (mark.Height() == 1) {
      // A run of terrain pixels: its cells tinted, so the pixels stay
      // readable; one outline goes round all the runs.
      painter.fillRect(r.adjusted(1, 1, 0, 0), tint);
      runs |= r;
    } else {
      outline(r);  // an object's box
    }
  }
  if (!runs.isNull()) outline(runs);
}
