#include "canvas/ViewGeometry.h"

#include <algorithm>

#include "model/Level.h"

namespace {

// x mod 4 in 0 to 3, for negative x too.
int Mod4(int x) { return ((x % 4) + 4) % 4; }

// The step of one scroll request on an axis whose page is `page` pixels.
int ScrollStep(int code, int position, int origin, int page) {
  switch (code) {
    case SB_LINELEFT:
      return -4;
    case SB_LINERIGHT:
      return 4;
    case SB_PAGELEFT:
      return -page;
    case SB_PAGERIGHT:
      return page;
    case SB_THUMBTRACK:
      return position - origin;
    default:  // final thumb position, end of scrolling and anything else
      return 0;
  }
}

// Moves `origin` by one scroll request, keeping it within -48 and `upper`.
// The upper bound is applied after the rounding and is not rounded itself.
ScrollResult Scroll(int& origin, int code, int position, int page, int upper,
                    bool enabled) {
  // A disabled bar means the whole level shows and is centred: scrolling
  // (a wheel over the canvas, say) must not move it off centre.
  if (!enabled) return {origin, 0};
  int next =
      RoundTowardZero(origin + ScrollStep(code, position, origin, page), 4);
  if (next < MIN_ORIGIN) next = MIN_ORIGIN;
  if (next >= upper) next = upper;
  ScrollResult result{next, origin - next};
  origin = next;
  return result;
}

}  // namespace

int ScrollBarSettings::QtMaximum() const {
  return std::max(min, max - page + 1);
}

int ScrollBarSettings::QtValue() const {
  return std::clamp(pos, min, QtMaximum());
}

void CanvasView::OnSize(int cx, int cy, int barHeight, int gap,
                        const LevelRecord& level) {
  m_cxClient = cx;
  m_cyClient = cy;
  m_nBarHeight = barHeight;
  m_rcCanvas = {0, barHeight + gap, cx, cy};
  ClampView(level);
}

Point CanvasView::ClientToLevel(Point client) const {
  // A pixel's 4 x 4 block starts one logical row below a multiple of 4
  // (its cell is rows 4y + 2 to 4y + 4), so rows are counted from logical
  // row 1: every pixel of a cell maps to that cell's level pixel.
  return {(client.x + m_nOriginX) / 4,
          (client.y + m_nOriginY - m_nBarHeight - 1) / 4};
}

Point CanvasView::LevelToClient(Point level) const {
  return {4 * level.x - m_nOriginX, 4 * level.y - m_nOriginY + m_nBarHeight};
}

Rect CanvasView::CellRect(Point level) const {
  return {4 * level.x + 1, 4 * level.y + 2, 4 * level.x + 4, 4 * level.y + 5};
}

Rect CanvasView::CellClientRect(Point level) const {
  const int dx = -m_nOriginX;
  const int dy = m_nBarHeight - m_nOriginY;
  const Rect cell = CellRect(level);
  return {cell.left + dx, cell.top + dy, cell.right + dx, cell.bottom + dy};
}

bool CanvasView::RowBelowBars(int y) const {
  return 4 * y + 3 - m_nOriginY > 0;
}

Rect CanvasView::OutlineClientRect(const LevelRecord& level) const {
  const int dx = -m_nOriginX;
  const int dy = m_nBarHeight - m_nOriginY;
  return {dx, 1 + dy, 32 * level.m_nWidthBytes + 1 + dx,
          4 * level.m_nHeight + 2 + dy};
}

Point CanvasView::GridPhase() const {
  return {Mod4(-m_nOriginX), Mod4(1 - m_nOriginY + m_nBarHeight)};
}

void CanvasView::ClampView(const LevelRecord& level) {
  const int widthPixels = 32 * level.m_nWidthBytes;
  const int heightPixels = 4 * level.m_nHeight;
  if (m_rcCanvas.right > widthPixels) {
    m_nOriginX = (widthPixels - m_rcCanvas.right) / 2;
  } else {
    m_nOriginX = std::clamp(m_nOriginX, MIN_ORIGIN, widthPixels + 49);
  }
  const int available = m_rcCanvas.bottom - m_rcCanvas.top;
  if (available > heightPixels) {
    m_nOriginY = (heightPixels - available) / 2;
  } else {
    m_nOriginY =
        std::clamp(m_nOriginY, MIN_ORIGIN, m_nBarHeight + heightPixels + 51);
  }
  m_nOriginX = RoundTowardZero(m_nOriginX, 4);
  m_nOriginY = RoundTowardZero(m_nOriginY, 4);
}

ScrollBarSettings CanvasView::HorizontalBar(const LevelRecord& level) const {
  return {MIN_ORIGIN, 32 * level.m_nWidthBytes + 49, m_cxClient, m_nOriginX};
}

ScrollBarSettings CanvasView::VerticalBar(const LevelRecord& level) const {
  return {MIN_ORIGIN, m_nBarHeight + 4 * level.m_nHeight + 51, m_cyClient,
          m_nOriginY};
}

ScrollResult CanvasView::OnHScroll(int code, int position,
                                   const LevelRecord& level) {
  const int upper = 32 * level.m_nWidthBytes + 52 - m_cxClient;
  return Scroll(m_nOriginX, code, position, m_cxClient, upper,
                HorizontalBar(level).Enabled());
}

ScrollResult CanvasView::OnVScroll(int code, int position,
                                   const LevelRecord& level) {
  const int upper = 4 * level.m_nHeight + 55 + m_nBarHeight - m_cyClient;
  return Scroll(m_nOriginY, code, position, m_cyClient, upper,
                VerticalBar(level).Enabled());
}

bool IsInLevel(const LevelRecord& level, Point p) {
  return p.x >= 0 && p.x <= 8 * level.m_nWidthBytes - 1 && p.y >= 0 &&
         p.y <= level.m_nHeight - 1;
}
