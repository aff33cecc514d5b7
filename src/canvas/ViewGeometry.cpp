#include "canvas/ViewGeometry.h"

#include <algorithm>
#include <cmath>

#include "model/Level.h"

namespace {

// x mod m in 0 to m - 1, for negative x too (m > 0).
int Mod(int x, int m) { return ((x % m) + m) % m; }

// x / m rounded down (m > 0).
int FloorDiv(int x, int m) { return (x - Mod(x, m)) / m; }

// The step of one scroll request on an axis whose page is `page` pixels and
// whose line is `line` pixels (one level pixel).
int ScrollStep(int code, int position, int origin, int page, int line) {
  switch (code) {
    case SB_LINELEFT:
      return -line;
    case SB_LINERIGHT:
      return line;
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
// The new origin is rounded toward zero to a multiple of `line`; the upper
// bound is applied after the rounding and is not rounded itself.
ScrollResult Scroll(int& origin, int code, int position, int page, int upper,
                    bool enabled, int line) {
  // A disabled bar means the whole level shows and is centred: scrolling
  // (a wheel over the canvas, say) must not move it off centre.
  if (!enabled) return {origin, 0};
  // At 4 the bound stays as it always was; at other zooms it is a multiple
  // of the zoom too, so that the clamp of a later refresh (which rounds)
  // does not move a view scrolled to the far end.
  if (line != 4) upper = RoundTowardZero(upper, line);
  int next = RoundTowardZero(
      origin + ScrollStep(code, position, origin, page, line), line);
  if (next < MIN_ORIGIN) next = MIN_ORIGIN;
  if (next >= upper) next = upper;
  ScrollResult result{next, origin - next};
  origin = next;
  return result;
}

}  // namespace

int NextZoomLevel(int zoom, int step) {
  if (step > 0) {
    for (int z : kZoomLevels) {
      if (z > zoom) return z;
    }
    return zoom;
  }
  int below = zoom;
  for (int z : kZoomLevels) {
    if (z < zoom) below = z;
  }
  return below;
}

bool IsZoomLevel(int zoom) {
  for (int z : kZoomLevels) {
    if (z == zoom) return true;
  }
  return false;
}

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

int CanvasView::Divide(int logical) const {
  // Zoom 4 keeps its truncation toward zero (points just left of or above
  // the outline give 0); every other zoom floors, so each point belongs to
  // the block it lies in.
  return m_nZoom == 4 ? logical / 4 : FloorDiv(logical, m_nZoom);
}

Point CanvasView::ClientToLevel(Point client) const {
  // A pixel's block starts one logical row below a multiple of the zoom
  // (with the grid its cell is rows zy + 2 to zy + z), so rows are counted
  // from logical row 1: every pixel of a cell maps to that cell's level
  // pixel. Without the grid the cell takes the whole block one pixel right
  // and down, and the counting moves with it.
  const int shift = GridShown() ? 0 : 1;
  return {Divide(client.x + m_nOriginX - shift),
          Divide(client.y + m_nOriginY - m_nBarHeight - 1 - shift)};
}

Point CanvasView::LevelToClient(Point level) const {
  return {m_nZoom * level.x - m_nOriginX,
          m_nZoom * level.y - m_nOriginY + m_nBarHeight};
}

Rect CanvasView::CellRect(Point level) const {
  const int left = m_nZoom * level.x + 1;
  const int top = m_nZoom * level.y + 2;
  const int size = CellSize();
  return {left, top, left + size, top + size};
}

Rect CanvasView::CellClientRect(Point level) const {
  const int dx = -m_nOriginX;
  const int dy = m_nBarHeight - m_nOriginY;
  const Rect cell = CellRect(level);
  return {cell.left + dx, cell.top + dy, cell.right + dx, cell.bottom + dy};
}

bool CanvasView::RowBelowBars(int y) const {
  return m_nZoom * y + 3 - m_nOriginY > 0;
}

Rect CanvasView::OutlineClientRect(const LevelRecord& level) const {
  const int dx = -m_nOriginX;
  const int dy = m_nBarHeight - m_nOriginY;
  const int extra = GridShown() ? 0 : 1;
  return {dx, 1 + dy, 8 * m_nZoom * level.m_nWidthBytes + 1 + extra + dx,
          m_nZoom * level.m_nHeight + 2 + extra + dy};
}

Point CanvasView::GridPhase() const {
  return {Mod(-m_nOriginX, m_nZoom),
          Mod(1 - m_nOriginY + m_nBarHeight, m_nZoom)};
}

Rect CanvasView::VisibleLevelRect(const LevelRecord& level) const {
  if (m_rcCanvas.IsEmpty()) return {};
  // The pixels under the canvas's corners; a grid line at the far edge
  // belongs to a pixel whose cell lies beyond it.
  const Point first = ClientToLevel({m_rcCanvas.left, m_rcCanvas.top});
  Point last = ClientToLevel({m_rcCanvas.right - 1, m_rcCanvas.bottom - 1});
  const Rect lastCell = CellClientRect(last);
  if (lastCell.left >= m_rcCanvas.right) --last.x;
  if (lastCell.top >= m_rcCanvas.bottom) --last.y;
  const Rect r{std::max(first.x, 0), std::max(first.y, 0),
               std::min(last.x + 1, 8 * level.m_nWidthBytes),
               std::min(last.y + 1, static_cast<int>(level.m_nHeight))};
  return r.IsEmpty() ? Rect{} : r;
}

void CanvasView::ClampView(const LevelRecord& level) {
  const int widthPixels = 8 * m_nZoom * level.m_nWidthBytes;
  const int heightPixels = m_nZoom * level.m_nHeight;
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
  m_nOriginX = RoundTowardZero(m_nOriginX, m_nZoom);
  m_nOriginY = RoundTowardZero(m_nOriginY, m_nZoom);
}

void CanvasView::SetZoomAround(int zoom, bool grid, Point client,
                               const LevelRecord& level) {
  const Point pixel = ClientToLevel(client);
  m_nZoom = std::max(1, zoom);
  m_bGrid = grid;
  // The origin that puts the pixel's block under the client point and is a
  // multiple of the zoom: the point keeps its place inside the block, as
  // far as the zoom's whole pixels allow.
  const int shift = GridShown() ? 0 : 1;
  const int x = client.x - shift;
  const int y = client.y - m_nBarHeight - 1 - shift;
  m_nOriginX = m_nZoom * (pixel.x - FloorDiv(x, m_nZoom));
  m_nOriginY = m_nZoom * (pixel.y - FloorDiv(y, m_nZoom));
  ClampView(level);
}

void CanvasView::CentreOn(Point pixel, const LevelRecord& level) {
  m_nOriginX = m_nZoom * pixel.x - m_cxClient / 2;
  m_nOriginY = m_nZoom * pixel.y + 1 - m_cyClient / 2;
  ClampView(level);
}

int CanvasView::FitZoom(const LevelRecord& level, double scale) const {
  // The outline is 8zW + 2 pixels wide and zH + 2 high from logical row 1
  // (one more each way without the grid), centred in the canvas.
  const int width = m_rcCanvas.right - m_rcCanvas.left;
  const int height = m_rcCanvas.bottom - m_rcCanvas.top;
  int best = kZoomLevels[0];
  for (int z : kZoomLevels) {
    const int zs = std::max(1, static_cast<int>(std::lround(z * scale)));
    const int extra = (m_bGrid && zs >= 4) ? 0 : 1;
    if (8 * zs * level.m_nWidthBytes + 2 + extra <= width &&
        zs * level.m_nHeight + 3 + extra <= height) {
      best = z;
    }
  }
  return best;
}

ScrollBarSettings CanvasView::HorizontalBar(const LevelRecord& level) const {
  return {MIN_ORIGIN, 8 * m_nZoom * level.m_nWidthBytes + 49, m_cxClient,
          m_nOriginX};
}

ScrollBarSettings CanvasView::VerticalBar(const LevelRecord& level) const {
  return {MIN_ORIGIN, m_nBarHeight + m_nZoom * level.m_nHeight + 51, m_cyClient,
          m_nOriginY};
}

ScrollResult CanvasView::OnHScroll(int code, int position,
                                   const LevelRecord& level) {
  const int upper = 8 * m_nZoom * level.m_nWidthBytes + 52 - m_cxClient;
  return Scroll(m_nOriginX, code, position, m_cxClient, upper,
                HorizontalBar(level).Enabled(), m_nZoom);
}

ScrollResult CanvasView::OnVScroll(int code, int position,
                                   const LevelRecord& level) {
  const int upper = m_nZoom * level.m_nHeight + 55 + m_nBarHeight - m_cyClient;
  return Scroll(m_nOriginY, code, position, m_cyClient, upper,
                VerticalBar(level).Enabled(), m_nZoom);
}

bool IsInLevel(const LevelRecord& level, Point p) {
  return p.x >= 0 && p.x <= 8 * level.m_nWidthBytes - 1 && p.y >= 0 &&
         p.y <= level.m_nHeight - 1;
}
