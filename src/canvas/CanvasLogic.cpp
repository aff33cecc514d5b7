#include "canvas/CanvasLogic.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <optional>
#include <utility>

#include "canvas/FillTool.h"
#include "canvas/ObjectTool.h"
#include "canvas/PenTool.h"
#include "canvas/PlaceTool.h"
#include "canvas/SelectTool.h"
#include "canvas/ShapeTools.h"
#include "canvas/Shapes.h"
#include "model/LevelPack.h"

CCanvasLogic::CCanvasLogic(CLevelPack& pack, ICanvasPainter& painter)
    : m_pack(pack),
      m_painter(painter),
      m_pSmallPen(std::make_unique<CPenTool>(*this, false)),
      m_pLargePen(std::make_unique<CPenTool>(*this, true)),
      m_pPlace(std::make_unique<CPlaceTool>(*this)) {
  const auto at = [this](ToolCursor tool) -> std::unique_ptr<CCanvasTool>& {
    return m_tools[static_cast<std::size_t>(tool)];
  };
  at(ToolCursor::Line) = std::make_unique<CLineTool>(*this);
  at(ToolCursor::Rectangle) =
      std::make_unique<CBoxTool>(*this, RectanglePixels, false, "Rectangle");
  at(ToolCursor::FilledRectangle) = std::make_unique<CBoxTool>(
      *this, RectanglePixels, true, "Filled Rectangle");
  at(ToolCursor::Ellipse) =
      std::make_unique<CBoxTool>(*this, EllipsePixels, false, "Ellipse");
  at(ToolCursor::FilledEllipse) =
      std::make_unique<CBoxTool>(*this, EllipsePixels, true, "Filled Ellipse");
  at(ToolCursor::Fill) = std::make_unique<CFillTool>(*this);
  at(ToolCursor::Select) = std::make_unique<CSelectTool>(*this);
  at(ToolCursor::MoveObject) = std::make_unique<CObjectTool>(*this);
}

CObjectTool& CCanvasLogic::Objects() {
  return static_cast<CObjectTool&>(Tool(ToolCursor::MoveObject));
}

CSelectTool& CCanvasLogic::Selection() {
  return static_cast<CSelectTool&>(Tool(ToolCursor::Select));
}

CCanvasLogic::~CCanvasLogic() = default;

CCanvasTool& CCanvasLogic::Tool(ToolCursor tool) {
  if (tool == ToolCursor::Place) return *m_pPlace;
  if (IsPen(tool)) return IsLargePen(tool) ? *m_pLargePen : *m_pSmallPen;
  return *m_tools[static_cast<std::size_t>(tool)];
}

namespace {

// Calls fn(object, y, bytes) for every row y inside the level of every
// object in use, with the two bytes of its sprite's row.
template <typename Fn>
void ForEachSpriteRow(const CLevel& level, Fn fn) {
  const int slots = std::min(level.SlotsInUse(), OBJECT_SLOTS);
  for (int slot = 0; slot < slots; ++slot) {
    const LevelObject& object = level.m_objects[slot];
    if (object.kind == OBJ_NONE) continue;
    const Sprite& sprite = GetSprite(object.kind);
    for (int r = 0; r < 16 && object.row + r < level.m_nHeight; ++r) {
      std::uint8_t bytes[2] = {static_cast<std::uint8_t>(sprite[r]),
                               static_cast<std::uint8_t>(sprite[16 + r])};
      fn(object, object.row + r, bytes);
    }
  }
}

}  // namespace

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
  // The level may have been replaced: what the tools showed over the old
  // one goes without being painted back.
  CurrentTool().Drop();
  Selection().Drop();
  m_overlay.clear();
  m_overlayCover.fill(0);
  m_overlayBlack.fill(0);
  ClampView();
  m_painter.Invalidate(m_view.m_rcCanvas);
}

void CCanvasLogic::SetZoom(int zoom, bool grid, Point around) {
  m_view.SetZoomAround(zoom, grid, around, m_pack.Current());
  m_painter.Invalidate(m_view.m_rcCanvas);
}

void CCanvasLogic::CentreOn(Point pixel) {
  m_view.CentreOn(pixel, m_pack.Current());
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
  PaintArea({0, 0, m_view.m_cxClient, m_view.m_cyClient});
}

void CCanvasLogic::PaintArea(const Rect& client) {
  m_bPainting = true;
  if (m_bClassic) {
    PaintClassic();
  } else {
    PaintClear(client);
  }
  m_bPainting = false;
}

void CCanvasLogic::PaintClassic() {
  const CLevel& level = m_pack.Current();
  m_painter.SetGridPitch(m_view.GridPitch());
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
  const bool overlay = !m_overlay.empty();
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
    if (overlay) {
      // The overlay shows over terrain and sprites alike.
      for (int i = 0; i < width; ++i) {
        const std::size_t at = static_cast<std::size_t>(y * width + i);
        m_rowBits[i] = static_cast<std::uint8_t>(
            (m_rowBits[i] & ~m_overlayCover[at]) | m_overlayBlack[at]);
      }
    }
    PaintRowRuns(0, y, m_rowBits.data(), width);
  }
}

namespace {

// The ink of each of a row's masks, in the order of RowInks.
constexpr Ink kMaskInks[] = {Ink::Terrain, Ink::Entrance, Ink::Exit, Ink::Block,
                             Ink::Preview};

int MaskOf(Ink ink) { return static_cast<int>(ink) - 1; }

}  // namespace

void CCanvasLogic::ComputeRowInks(int y, RowInks& inks) const {
  for (auto& mask : inks) mask.fill(0);
  const CLevel& level = m_pack.Current();
  if (y < 0 || y >= level.m_nHeight || !m_view.RowBelowBars(y)) return;
  const int width = level.m_nWidthBytes;
  const auto at = [&](int col) {
    return static_cast<std::size_t>(y * width + col);
  };
  // The terrain (without the preview) with the overlay over it.
  for (int i = 0; i < width; ++i) {
    inks[0][i] = static_cast<std::uint8_t>(
        (level.m_bitmap[at(i)] & ~m_overlayCover[at(i)]) |
        m_overlayBlack[at(i)]);
  }
  // A pixel shows only one ink: the one painted last over it.
  const auto paint = [&](int col, std::uint8_t bits, Ink ink) {
    for (auto& mask : inks) mask[col] &= static_cast<std::uint8_t>(~bits);
    inks[MaskOf(ink)][col] |= bits;
  };
  // Each object's set sprite pixels where the overlay does not cover them,
  // later slots over earlier ones.
  const int slots = std::min(level.SlotsInUse(), OBJECT_SLOTS);
  for (int slot = 0; slot < slots; ++slot) {
    const LevelObject& object = level.m_objects[slot];
    if (object.kind == OBJ_NONE) continue;
    const int r = y - object.row;
    if (r < 0 || r >= 16) continue;
    const Sprite& sprite = GetSprite(object.kind);
    for (int half = 0; half < 2 && object.col + half < width; ++half) {
      const int col = object.col + half;
      paint(col,
            static_cast<std::uint8_t>(sprite[16 * half + r] &
                                      ~m_overlayCover[at(col)]),
            ObjectInk(object.kind));
    }
  }
  // The placement preview stands over everything.
  if (PreviewShown()) {
    const Point topLeft = m_ptLast - Point{8, 8};
    const int r = y - topLeft.y;
    if (r < 0 || r >= 16) return;
    const Sprite& sprite = GetSprite(m_nToolMode);
    for (int j = 0; j < 16; ++j) {
      const int x = topLeft.x + j;
      if (!(sprite[16 * (j / 8) + r] & (0x80u >> (j % 8)))) continue;
      if (x < 0 || x >= 8 * width) continue;
      paint(x / 8, static_cast<std::uint8_t>(0x80 >> (x % 8)), Ink::Preview);
    }
  }
}

void CCanvasLogic::PaintClear(const Rect& client) {
  // The placement preview stands over the level, so the terrain is read
  // without it.
  const CLevelPack::PreviewFree clean(m_pack);
  const CLevel& level = m_pack.Current();
  m_painter.SetGridPitch(m_view.GridPitch());
  m_painter.PaintBackground(m_view.OutlineClientRect(level),
                            m_view.GridPhase());
  // The rows whose cells or lines may reach the rectangle; one more on
  // each side gives the lines at its edges their neighbours.
  const int first = std::max(ClientToLevel({0, client.top}).y - 2, 0);
  const int last = std::min(ClientToLevel({0, client.bottom}).y + 2,
                            static_cast<int>(level.m_nHeight) - 1);
  if (first > last) return;
  const int width = level.m_nWidthBytes;
  const bool lines = m_view.GridShown();
  RowInks rows[2];
  ComputeRowInks(first, rows[0]);
  for (int y = first; y <= last; ++y) {
    RowInks& row = rows[(y - first) % 2];
    RowInks& next = rows[(y - first + 1) % 2];
    ComputeRowInks(y + 1, next);
    for (int m = 0; m < kInkMasks; ++m) {
      PaintRowRuns(0, y, row[m].data(), width, kMaskInks[m]);
      if (!lines) continue;
      // The line below a cell takes its ink where the cell below has it
      // too; two such neighbours side by side share the crossing between
      // them, all four cells around it being of that ink.
      std::array<std::uint8_t, MAX_WIDTH_BYTES> both{};
      bool any = false;
      for (int i = 0; i < width; ++i) {
        both[i] = row[m][i] & next[m][i];
        any = any || both[i] != 0;
      }
      if (any) PaintRowRuns(0, y, both.data(), width, kMaskInks[m], true);
    }
  }
}

void CCanvasLogic::DeferCells(const Rect& cells) {
  const CLevel& level = m_pack.Current();
  const Rect r{std::max(cells.left, 0), std::max(cells.top, 0),
               std::min(cells.right, level.WidthPixels()),
               std::min(cells.bottom, static_cast<int>(level.m_nHeight))};
  if (r.IsEmpty()) return;
  const Rect first = m_view.CellClientRect({r.left, r.top});
  const Rect last = m_view.CellClientRect({r.right - 1, r.bottom - 1});
  // The grid lines around the cells change with them.
  m_painter.InvalidateCells(
      {first.left - 1, first.top - 1, last.right + 1, last.bottom + 1});
}

void CCanvasLogic::PaintSprite(Point topLeft, const Sprite& sprite, Ink ink) {
  if (Deferring()) {
    DeferCells({topLeft.x, topLeft.y, topLeft.x + 16, topLeft.y + 16});
    return;
  }
  for (int r = 0; r < 16; ++r) {
    const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(sprite[r]),
                                   static_cast<std::uint8_t>(sprite[16 + r])};
    PaintRowRuns(topLeft.x, topLeft.y + r, bytes, 2, ink);
  }
}

void CCanvasLogic::SetClassicColours(bool classic) {
  m_bClassic = classic;
  m_painter.Invalidate(m_view.m_rcCanvas);
}

void CCanvasLogic::PaintRowRuns(int x, int y, const std::uint8_t* bytes,
                                int count, Ink ink, bool lineBelow) {
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
    const int zoom = m_view.Zoom();
    const int top = lineBelow ? firstCell.bottom : firstCell.top;
    const int bottom = lineBelow ? firstCell.bottom + 1 : firstCell.bottom;
    const Rect span{firstCell.left + zoom * from, top,
                    firstCell.left + zoom * (to - 1) + m_view.CellSize(),
                    bottom};
    if (ink == Ink::Terrain) {
      m_painter.PaintBlackRun({from, y}, span, to - from);
    } else {
      m_painter.PaintInkRun({from, y}, span, to - from, ink);
    }
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
  if (Deferring()) {
    DeferCells({level.x, level.y, level.x + 1, level.y + 1});
    return;
  }
  m_painter.PaintCell(level, m_view.CellClientRect(level), white);
}

void CCanvasLogic::DrawObject(int slot) {
  const LevelObject& object = m_pack.Current().m_objects[slot];
  const Sprite& sprite = GetSprite(object.kind);
  const int x = 8 * object.col;
  if (Deferring()) {
    DeferCells({x, object.row, x + 16, object.row + 16});
    return;
  }
  for (int row = 0; row < 16; ++row) {
    const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(sprite[row]),
                                   static_cast<std::uint8_t>(sprite[16 + row])};
    PaintRowRuns(x, object.row + row, bytes, 2,
                 m_bClassic ? Ink::Terrain : ObjectInk(object.kind));
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

// ---- Overlay ----

void CCanvasLogic::BuildPicture() {
  const CLevel& level = m_pack.Current();
  const int width = level.m_nWidthBytes;
  std::copy_n(level.m_bitmap, level.BitmapBytes(), m_picture.begin());
  ForEachSpriteRow(
      level, [&](const LevelObject& object, int y, std::uint8_t(&bytes)[2]) {
        for (int half = 0; half < 2 && object.col + half < width; ++half) {
          m_picture[static_cast<std::size_t>(y * width + object.col + half)] |=
              bytes[half];
        }
      });
}

std::size_t CCanvasLogic::ByteOf(Point p) const {
  return static_cast<std::size_t>(p.y * m_pack.Current().m_nWidthBytes +
                                  p.x / 8);
}

bool CCanvasLogic::PictureBlack(Point p) const {
  return (m_picture[ByteOf(p)] & (0x80 >> (p.x % 8))) != 0;
}

void CCanvasLogic::ShowOverlay(std::vector<OverlayPixel> pixels) {
  // Pixels outside the level are dropped; a pixel given twice keeps its
  // last mode.
  std::erase_if(pixels,
                [this](const OverlayPixel& o) { return !IsInLevel(o.p); });
  BuildPicture();
  std::array<std::uint8_t, BITMAP_STORAGE> cover{};
  std::array<std::uint8_t, BITMAP_STORAGE> black{};
  for (const OverlayPixel& o : pixels) {
    const std::size_t at = ByteOf(o.p);
    const auto bit = static_cast<std::uint8_t>(0x80 >> (o.p.x % 8));
    const bool isBlack = o.mode == PLOT_SET     ? true
                         : o.mode == PLOT_CLEAR ? false
                                                : !PictureBlack(o.p);
    cover[at] |= bit;
    black[at] =
        static_cast<std::uint8_t>(isBlack ? black[at] | bit : black[at] & ~bit);
  }
  // Only the cells whose colour changes are painted: what the old overlay
  // showed against what the level or the new overlay shows now. When that
  // is most of the level, one full paint is cheaper than the cells.
  const auto shown = [this](const std::array<std::uint8_t, BITMAP_STORAGE>& c,
                            const std::array<std::uint8_t, BITMAP_STORAGE>& b,
                            Point p) {
    const std::size_t at = ByteOf(p);
    const auto bit = static_cast<std::uint8_t>(0x80 >> (p.x % 8));
    return (c[at] & bit) != 0 ? (b[at] & bit) != 0 : PictureBlack(p);
  };
  std::vector<Point> changed;
  for (const auto* list : {&m_overlay, &pixels}) {
    for (const OverlayPixel& o : *list) {
      if (!IsInLevel(o.p)) continue;  // the level shrank since
      if (shown(m_overlayCover, m_overlayBlack, o.p) !=
          shown(cover, black, o.p)) {
        changed.push_back(o.p);
      }
    }
  }
  m_overlayCover = cover;
  m_overlayBlack = black;
  m_overlay = std::move(pixels);
  if (changed.size() > kDirectPaintLimit) {
    m_painter.Invalidate(m_view.m_rcCanvas);
    return;
  }
  if (Deferring()) {
    // In clear colours the cells are painted from the level, with the
    // objects' inks and the grid lines around them.
    for (const Point& p : changed) DeferCells({p.x, p.y, p.x + 1, p.y + 1});
    return;
  }
  for (const Point& p : changed) PaintCell(p, !shown(cover, black, p));
}

// ---- Writing ----

bool CCanvasLogic::WritePixels(const std::vector<Point>& pixels, int mode) {
  CLevel& level = m_pack.Current();
  bool changed = false;
  Rect box{level.WidthPixels(), level.m_nHeight, -1, -1};
  // Many cells at once are cheaper as one full paint.
  const bool paintCells = pixels.size() <= kDirectPaintLimit;
  for (const Point& p : pixels) {
    if (!IsInLevel(p)) continue;
    const bool black = mode == PLOT_SET;
    if (level.GetPixel(p.x, p.y) != black) {
      level.SetPixel(p.x, p.y, black);
      changed = true;
    }
    if (paintCells) PaintCell(p, !black);
    box = {std::min(box.left, p.x), std::min(box.top, p.y),
           std::max(box.right, p.x + 1), std::max(box.bottom, p.y + 1)};
  }
  if (changed) m_pack.m_bModified = true;
  if (!paintCells) {
    m_painter.Invalidate(m_view.m_rcCanvas);
    return changed;
  }
  // The objects stay drawn over the terrain.
  RedrawObjectsOver(box);
  return changed;
}

void CCanvasLogic::RedrawObjectsOver(const Rect& box) {
  const CLevel& level = m_pack.Current();
  const int slots = std::min(level.SlotsInUse(), OBJECT_SLOTS);
  for (int slot = 0; slot < slots; ++slot) {
    const LevelObject& object = level.m_objects[slot];
    if (object.kind == OBJ_NONE) continue;
    const int x = 8 * object.col;
    if (x < box.right && x + 16 > box.left && object.row < box.bottom &&
        object.row + 16 > box.top) {
      DrawObject(slot);
    }
  }
}

// ---- Mouse ----

CanvasAction CCanvasLogic::OnButtonDown(Point client, ToolInput modifiers) {
  if (m_bDrawing) return {};  // a second button during a drag
  modifiers.level = ClientToLevel(client);
  // The widget's top rows may lie in the block of a row whose cell is not
  // painted (above the canvas top): a click there changes nothing the
  // author cannot see, whichever tool is in force.
  if (!m_view.RowBelowBars(modifiers.level.y)) return {};
  CanvasAction action = CurrentTool().Press(modifiers);
  if (action.captureMouse) m_bDrawing = true;
  return action;
}

CanvasAction CCanvasLogic::OnMouseMove(Point client, bool shift) {
  ToolInput input;
  input.level = ClientToLevel(client);
  input.shift = shift;
  m_status = {};
  CurrentTool().Move(input, m_bDrawing);
  CanvasAction action;
  action.status = std::exchange(m_status, {});
  return action;
}

CanvasAction CCanvasLogic::OnLButtonUp(Point client, bool shift) {
  CanvasAction action;
  m_status = {};
  if (m_bDrawing) {
    action.releaseMouse = true;
    m_bDrawing = false;
    ToolInput input;
    input.level = ClientToLevel(client);
    input.shift = shift;
    CurrentTool().Release(input);
  }
  ForgetLastPoint();
  action.status = std::exchange(m_status, {});
  return action;
}

CanvasAction CCanvasLogic::CancelStroke() {
  if (m_bDrawing) {
    m_bDrawing = false;
    CurrentTool().EndDrag();
    ForgetLastPoint();
  }
  return {};
}

void CCanvasLogic::ForgetLastPoint() {
  // A preview drawn while the button was held stays tracked at its centre,
  // so that it can still be taken out of the terrain.
  if (!PreviewShown()) m_ptLast.x = -1;
}

bool CCanvasLogic::OnKey(CanvasKey key, bool shift) {
  if (CurrentTool().Key(key, shift)) return true;
  if (key == CanvasKey::Escape && PlacementInForce()) {
    RemovePreview();
    m_curCurrent = m_curPrevious;
    return true;
  }
  return false;
}

std::string_view CCanvasLogic::StepLabel() { return CurrentTool().StepLabel(); }

bool CCanvasLogic::DropToolState() {
  CurrentTool().Drop();
  // A pen stroke goes on with the next pen; any other drag ends here.
  if (!m_bDrawing || IsPen(m_curCurrent)) return false;
  m_bDrawing = false;
  ForgetLastPoint();
  return true;
}

// ---- Tools ----

void CCanvasLogic::SelectPenState(ToolCursor pen) {
  m_curPen = pen;
  m_nPenColour =
      (pen == ToolCursor::SmallWhite || pen == ToolCursor::LargeWhite) ? 1 : 0;
}

CanvasAction CCanvasLogic::OnSelectPen(ToolCursor pen) {
  RemovePreview();
  if (!IsPen(pen)) return {};
  CanvasAction action;
  action.releaseMouse = DropToolState();
  m_curCurrent = pen;
  SelectPenState(pen);
  action.cursorChanged = true;
  return action;
}

CanvasAction CCanvasLogic::ChoosePlacementTool(int kind) {
  RemovePreview();
  m_nToolMode = kind;
  CanvasAction action;
  if (m_curCurrent != ToolCursor::Place) {
    action.releaseMouse = DropToolState();
    m_curPrevious = m_curCurrent;
  }
  m_curCurrent = ToolCursor::Place;
  action.cursorChanged = true;
  return action;
}

CanvasAction CCanvasLogic::ChooseTool(ToolCursor tool) {
  if (IsPen(tool)) return OnSelectPen(tool);
  if (tool == ToolCursor::Place) return ChoosePlacementTool(m_nToolMode);
  RemovePreview();
  CanvasAction action;
  action.releaseMouse = DropToolState();
  m_curCurrent = tool;
  action.cursorChanged = true;
  return action;
}

namespace {

ToolCursor PenOf(bool large, bool white) {
  if (large) return white ? ToolCursor::LargeWhite : ToolCursor::LargeBlack;
  return white ? ToolCursor::SmallWhite : ToolCursor::SmallBlack;
}

}  // namespace

CanvasAction CCanvasLogic::SwapPenColour() {
  const ToolCursor pen = PenOf(PenIsLarge(), m_nPenColour == 0);
  if (IsPen(m_curCurrent)) return OnSelectPen(pen);
  if (PlacementInForce() && IsPen(m_curPrevious)) m_curPrevious = pen;
  SelectPenState(pen);
  return {};
}

CanvasAction CCanvasLogic::SetPenWidth(bool large) {
  const ToolCursor pen = PenOf(large, m_nPenColour != 0);
  if (IsPen(m_curCurrent)) return OnSelectPen(pen);
  if (PlacementInForce() && IsPen(m_curPrevious)) m_curPrevious = pen;
  SelectPenState(pen);
  return {};
}

// ---- Placement ----

void CCanvasLogic::RemovePreview() {
  if (m_curCurrent != ToolCursor::Place) return;
  m_pPlace->RemovePreview();
}

bool CCanvasLogic::PreviewShown() const { return m_pPlace->PreviewShown(); }

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
  // The 16 x 16 pixels' blocks; without the grid the cells reach one pixel
  // further right and down.
  const int side = 16 * m_view.Zoom() + (m_view.GridShown() ? 0 : 1);
  const Rect box{topLeft.x, topLeft.y + 1, topLeft.x + side,
                 topLeft.y + 1 + side};
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
