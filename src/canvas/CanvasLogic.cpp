#include "canvas/CanvasLogic.h"

#include <algorithm>
#include <bit>
#include <cstdlib>

#include "model/LevelPack.h"

namespace {

bool IsLargePen(ToolCursor cursor) {
  return cursor == ToolCursor::LargeBlack || cursor == ToolCursor::LargeWhite;
}

bool IsPen(ToolCursor cursor) { return cursor != ToolCursor::Place; }

// The centre of the object box under level point p: x snapped toward zero to
// a byte column, the row unsnapped, then 8 right and 8 down.
Point BoxCentre(Point p) { return {p.x - p.x % 8 + 8, p.y + 8}; }

}  // namespace

CCanvasLogic::CCanvasLogic(CLevelPack& pack, ICanvasPainter& painter)
    : m_pack(pack), m_painter(painter) {
  m_pack.AddOverlay(this);
}

CCanvasLogic::~CCanvasLogic() { m_pack.RemoveOverlay(this); }

// ---- View ----

void CCanvasLogic::OnSize(int cx, int cy, int barHeight, int gap) {
  m_view.OnSize(cx, cy, barHeight, gap, m_pack.Current());
}

void CCanvasLogic::ClampView() { m_view.ClampView(m_pack.Current()); }

ScrollBarSettings CCanvasLogic::HorizontalBar() const {
  return m_view.HorizontalBar(m_pack.Current());
}

ScrollBarSettings CCanvasLogic::VerticalBar() const {
  return m_view.VerticalBar(m_pack.Current());
}

ScrollResult CCanvasLogic::OnHScroll(int code, int position) {
  return m_view.OnHScroll(code, position, m_pack.Current());
}

ScrollResult CCanvasLogic::OnVScroll(int code, int position) {
  return m_view.OnVScroll(code, position, m_pack.Current());
}

void CCanvasLogic::RefreshView() {
  ClampView();
  m_painter.Invalidate(m_view.m_rcCanvas);
}

bool CCanvasLogic::IsInLevel(Point level) const {
  return ::IsInLevel(m_pack.Current(), level);
}

bool CCanvasLogic::PixelUnder(Point client, Point& level) const {
  level = ClientToLevel(client);
  return IsInLevel(level) && m_view.RowBelowBars(level.y);
}

// ---- Painting ----

void CCanvasLogic::OnPaint() {
  const CLevel& level = m_pack.Current();
  m_painter.PaintBackground(m_view.OutlineClientRect(level),
                            m_view.GridPhase());

  // Terrain and sprites paint only black cells, so the order between them
  // does not matter: each row is painted once, as the union of its terrain
  // bits and the sprite rows over it. That keeps the writes in row order
  // and batches the runs.
  struct Overlay {
    int row;
    int col;
    const Sprite* sprite;
  };
  Overlay overlays[OBJECT_SLOTS];
  int overlayCount = 0;
  const int slots = std::min(level.SlotsInUse(), OBJECT_SLOTS);
  for (int slot = 0; slot < slots; ++slot) {
    const LevelObject& object = level.m_objects[slot];
    if (object.kind == OBJ_NONE) continue;
    overlays[overlayCount++] = {object.row, object.col,
                                &GetSprite(object.kind)};
  }

  const int width = level.m_nWidthBytes;
  for (int y = 0; y < level.m_nHeight; ++y) {
    // Rows below the client area cannot show; the rows after them neither.
    if (m_view.CellClientRect({0, y}).top >= m_view.m_cyClient) break;
    if (!m_view.RowBelowBars(y)) continue;
    std::copy_n(level.m_bitmap + y * width, width, m_rowBits.begin());
    for (int i = 0; i < overlayCount; ++i) {
      const Overlay& o = overlays[i];
      const int r = y - o.row;
      if (r < 0 || r >= 16) continue;
      if (o.col < width) {
        m_rowBits[o.col] |= static_cast<std::uint8_t>((*o.sprite)[r]);
      }
      if (o.col + 1 < width) {
        m_rowBits[o.col + 1] |= static_cast<std::uint8_t>((*o.sprite)[16 + r]);
      }
    }
    PaintRowRuns(0, y, m_rowBits.data(), width);
  }
}

void CCanvasLogic::PaintRowRuns(int x, int y, const std::uint8_t* bytes,
                                int count) {
  const CLevel& level = m_pack.Current();
  if (y < 0 || y >= level.m_nHeight || !m_view.RowBelowBars(y)) return;
  const int levelWidth = level.WidthPixels();
  const Rect firstCell = m_view.CellClientRect({0, y});

  bool inRun = false;
  int runStart = 0;  // level x where the current run of set bits began
  auto flush = [&](int end) {  // ends the run before level x `end`
    if (!inRun) return;
    inRun = false;
    const int from = std::max(runStart, 0);
    const int to = std::min(end, levelWidth);
    if (from >= to) return;
    const Rect span{firstCell.left + 4 * from, firstCell.top,
                    firstCell.left + 4 * (to - 1) + 3, firstCell.bottom};
    m_painter.PaintBlackRun({from, y}, span, to - from);
  };

  // Up to 8 bytes at a time, most significant bit leftmost; runs are
  // found by counting leading zeros and ones, so the work is per run, not
  // per pixel.
  int pos = x;  // level x of the chunk's first bit
  for (int i = 0; i < count; i += 8) {
    const int chunkBytes = std::min(8, count - i);
    const int bits = 8 * chunkBytes;
    std::uint64_t word = 0;
    for (int k = 0; k < chunkBytes; ++k) word = word << 8 | bytes[i + k];
    word <<= 64 - bits;
    int b = 0;
    while (b < bits) {
      const std::uint64_t rest = word << b;
      if (inRun) {
        b += std::countl_one(rest);
        if (b >= bits) break;  // the run goes on into the next chunk
        flush(pos + b);
      } else {
        if (rest == 0) break;
        b += std::countl_zero(rest);
        inRun = true;
        runStart = pos + b;
      }
    }
    pos += bits;
  }
  flush(pos);
}

void CCanvasLogic::PaintCell(Point level, bool white) {
  if (!IsInLevel(level) || !m_view.RowBelowBars(level.y)) return;
  m_painter.PaintCell(level, m_view.CellClientRect(level), white);
}

void CCanvasLogic::DrawObject(int slot) {
  const LevelObject& object = m_pack.Current().m_objects[slot];
  const Sprite& sprite = GetSprite(object.kind);
  const int x = 8 * object.col;
  for (int row = 0; row < 16; ++row) {
    const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(sprite[row]),
                                   static_cast<std::uint8_t>(sprite[16 + row])};
    PaintRowRuns(x, object.row + row, bytes, 2);
  }
}

// ---- Pens ----

void CCanvasLogic::PlotPixel(Point p, int mode, bool write) {
  if (!IsInLevel(p)) return;
  CLevel& level = m_pack.Current();
  m_pack.m_bModified = true;
  std::uint8_t& byte = level.m_bitmap[level.m_nWidthBytes * p.y + p.x / 8];
  const auto bit = static_cast<std::uint8_t>(0x80 >> (p.x % 8));
  bool white;
  if (mode == PLOT_SET) {
    white = false;
  } else if (mode == PLOT_CLEAR) {
    white = true;
  } else {
    white = (byte & bit) != 0;
  }
  if (write) {
    byte = static_cast<std::uint8_t>(white ? byte & ~bit : byte | bit);
  }
  PaintCell(p, white);
}

void CCanvasLogic::DrawStroke(Point p, int mode, bool write) {
  const Point prev = m_ptLast;
  m_ptLast = p;
  // 64-bit steps: with the mouse captured the far end may lie a long way
  // outside the client area.
  const long long dx = static_cast<long long>(prev.x) - p.x;
  const long long dy = static_cast<long long>(prev.y) - p.y;
  const long long n =
      std::llabs(dx) > std::llabs(dy) ? std::llabs(dx) : std::llabs(dy);
  PlotPixel(p, mode, write);
  for (long long i = 0; i < n; ++i) {
    PlotPixel({p.x + static_cast<int>(dx * i / n),
               p.y + static_cast<int>(dy * i / n)},
              mode, write);
  }
}

void CCanvasLogic::StampMask(Point p, int mode, const Sprite& mask,
                             bool write) {
  const Point anchor = m_ptLast;
  for (int i = 0; i < 32; ++i) {
    for (int j = 0; j < 8; ++j) {
      if (!(mask[i] & (0x80u >> j))) continue;
      const Point offset{8 * (i / 16) + j - 8, (i % 16) - 8};
      m_ptLast = anchor + offset;
      DrawStroke(p + offset, mode, write);
    }
  }
  m_ptLast = p;
}

// ---- Mouse ----

CanvasAction CCanvasLogic::OnLButtonDown(Point client) {
  if (m_curCurrent == ToolCursor::Place) return PlacementClick(client);
  const Point p = ClientToLevel(client);
  m_ptLast = p;
  CanvasAction action;
  action.captureMouse = true;
  m_bDrawing = true;
  // The widget's top rows may lie in the block of a row whose cell is not
  // painted (above the canvas top): the stroke starts there, but the click
  // itself changes nothing the author cannot see.
  if (!m_view.RowBelowBars(p.y)) return action;
  if (IsLargePen(m_curCurrent)) {
    StampMask(p, m_nPenColour, LargePenDisc(), true);
  } else {
    DrawStroke(p, m_nPenColour, true);
  }
  return action;
}

void CCanvasLogic::OnMouseMove(Point client) {
  const Point p = ClientToLevel(client);
  if (m_bDrawing) {
    RedrawObjectsNear(p);
    if (IsLargePen(m_curCurrent)) {
      StampMask(p, m_nPenColour, LargePenDisc(), true);
    } else {
      DrawStroke(p, m_nPenColour, true);
    }
  } else if (m_curCurrent == ToolCursor::Place) {
    MovePreview(p);
  }
}

CanvasAction CCanvasLogic::OnLButtonUp(Point) {
  CanvasAction action;
  if (m_bDrawing) {
    action.releaseMouse = true;
    m_bDrawing = false;
  }
  ForgetLastPoint();
  return action;
}

CanvasAction CCanvasLogic::CancelStroke() {
  if (m_bDrawing) {
    m_bDrawing = false;
    ForgetLastPoint();
  }
  return {};
}

void CCanvasLogic::ForgetLastPoint() {
  // A preview drawn while the button was held stays tracked at its centre,
  // so that it can still be taken out of the terrain.
  if (!m_bPreview) m_ptLast.x = -1;
}

// ---- Tools ----

CanvasAction CCanvasLogic::OnSelectPen(ToolCursor pen) {
  RemovePreview();
  if (!IsPen(pen)) return {};
  m_curCurrent = pen;
  m_nPenColour =
      (pen == ToolCursor::SmallWhite || pen == ToolCursor::LargeWhite) ? 1 : 0;
  CanvasAction action;
  action.cursorChanged = true;
  return action;
}

CanvasAction CCanvasLogic::ChoosePlacementTool(int kind) {
  RemovePreview();
  m_nToolMode = kind;
  if (m_curCurrent != ToolCursor::Place) m_curPrevious = m_curCurrent;
  m_curCurrent = ToolCursor::Place;
  CanvasAction action;
  action.cursorChanged = true;
  return action;
}

// ---- Placement ----

void CCanvasLogic::InvertPreview(Point centre) {
  // The preview lives in the terrain only while it is shown and is always
  // inverted back: it is no edit, so it leaves the modified flag alone.
  Lay();  // a reader's lift ends before the preview changes
  const bool modified = m_pack.m_bModified;
  m_ptLast = centre;
  StampMask(centre, PLOT_INVERT, GetSprite(m_nToolMode), true);
  m_pack.m_bModified = modified;
}

void CCanvasLogic::FlipPreviewBits() {
  // The same pixels InvertPreview plots: each set pixel of the sprite's two
  // byte columns, with the sprite's pixel (8, 8) on the centre.
  CLevel& level = m_pack.Current();
  const Sprite& sprite = GetSprite(m_nToolMode);
  for (int i = 0; i < 32; ++i) {
    for (int j = 0; j < 8; ++j) {
      if (!(sprite[i] & (0x80u >> j))) continue;
      const Point p = m_ptLast + Point{8 * (i / 16) + j - 8, (i % 16) - 8};
      if (!::IsInLevel(level, p)) continue;
      level.m_bitmap[level.m_nWidthBytes * p.y + p.x / 8] ^=
          static_cast<std::uint8_t>(0x80 >> (p.x % 8));
    }
  }
}

void CCanvasLogic::Lift() {
  if (m_bLifted || !m_bPreview) return;
  FlipPreviewBits();
  m_bLifted = true;
}

void CCanvasLogic::Lay() {
  if (!m_bLifted) return;
  m_bLifted = false;
  if (m_bPreview) FlipPreviewBits();
}

void CCanvasLogic::MovePreview(Point p) {
  RedrawObjectsNear(p);
  const Point centre = BoxCentre(p);
  if (centre == m_ptLast) return;
  if (m_bPreview) InvertPreview(m_ptLast);
  m_bPreview = false;
  m_ptLast = centre;
  if (ObjectFits(centre)) {
    InvertPreview(centre);
    m_bPreview = true;
  }
}

void CCanvasLogic::RemovePreview() {
  if (m_curCurrent != ToolCursor::Place) return;
  if (m_bPreview) InvertPreview(m_ptLast);
  m_bPreview = false;
  m_ptLast.x = -1;
}

CanvasAction CCanvasLogic::PlacementClick(Point client) {
  RemovePreview();
  const Point centre = BoxCentre(ClientToLevel(client));
  if (!ObjectFits(centre)) return {};
  CLevel& level = m_pack.Current();
  if (m_nToolMode != OBJ_ENTRANCE && m_nToolMode != OBJ_EXIT &&
      level.m_nBlockCount >= MAX_BLOCKS) {
    // The model would not record the block: paint nothing, change nothing.
    CanvasAction action;
    action.status = kBlockLimitMessage;
    return action;
  }
  m_ptLast = centre;
  if (m_nToolMode == OBJ_ENTRANCE &&
      level.m_objects[ENTRANCE_SLOT].kind != OBJ_NONE) {
    InvalidateObject(ENTRANCE_SLOT);
  }
  if (m_nToolMode == OBJ_EXIT && level.m_objects[EXIT_SLOT].kind != OBJ_NONE) {
    InvalidateObject(EXIT_SLOT);
  }
  StampMask(centre, PLOT_SET, GetSprite(m_nToolMode), false);
  level.PlaceObject(centre - Point{8, 8}, m_nToolMode);
  m_curCurrent = m_curPrevious;
  CanvasAction action;
  action.cursorChanged = true;
  return action;
}

bool CCanvasLogic::ObjectFits(Point centre) const {
  return IsInLevel(centre - Point{8, 8}) && IsInLevel(centre + Point{7, 7});
}

void CCanvasLogic::RedrawObjectsNear(Point p) {
  const CLevel& level = m_pack.Current();
  const int col = p.x / 8;
  for (int slot = 0; slot < level.SlotsInUse(); ++slot) {
    const LevelObject& object = level.m_objects[slot];
    if (object.kind == OBJ_NONE) continue;
    const int sc = object.col;
    const int sr = object.row;
    if (sc - 1 <= col && col <= sc + 2 && sr - 16 <= p.y && p.y < sr + 24) {
      DrawObject(slot);
    }
  }
}

void CCanvasLogic::InvalidateObject(int slot) {
  const LevelObject& object = m_pack.Current().m_objects[slot];
  const Point topLeft = LevelToClient({8 * object.col, object.row});
  const Rect box{topLeft.x, topLeft.y + 1, topLeft.x + 64, topLeft.y + 65};
  const Rect& canvas = m_view.m_rcCanvas;
  const Rect clipped{
      std::max(box.left, canvas.left), std::max(box.top, canvas.top),
      std::min(box.right, canvas.right), std::min(box.bottom, canvas.bottom)};
  if (!clipped.IsEmpty()) m_painter.Invalidate(clipped);
}

bool CCanvasLogic::RemoveLastBlock() {
  CLevel& level = m_pack.Current();
  if (level.m_nBlockCount == 0) return false;
  level.PopLastBlock();
  InvalidateObject(FIRST_BLOCK_SLOT + level.m_nBlockCount);
  // Removing a block changes what a save writes: ask before it is lost.
  m_pack.m_bModified = true;
  return true;
}
