#pragma once

#include "model/Geometry.h"

struct LevelRecord;

// Scroll codes of the scroll handlers.
enum ScrollCode : int {
  SB_LINELEFT = 0,
  SB_LINEUP = 0,
  SB_LINERIGHT = 1,
  SB_LINEDOWN = 1,
  SB_PAGELEFT = 2,
  SB_PAGEUP = 2,
  SB_PAGERIGHT = 3,
  SB_PAGEDOWN = 3,
  SB_THUMBPOSITION = 4,
  SB_THUMBTRACK = 5,
  SB_ENDSCROLL = 8,
};

inline constexpr int MIN_ORIGIN = -48;  // lowest origin on either axis

// Settings of one scroll bar. `max` is inclusive and the page is the visible
// extent, so the last position the thumb can reach is max - page + 1; a bar
// whose whole range fits in its page is shown disabled, not hidden.
struct ScrollBarSettings {
  int min = 0;
  int max = 0;
  int page = 0;
  int pos = 0;

  bool Enabled() const { return max - min + 1 > page; }
  // The maximum a QScrollBar takes for this range and page (never below min).
  int QtMaximum() const;
  // The position clamped to what the bar can show.
  int QtValue() const;
};

// What a scroll handler did: the new origin on its axis, and the amount by
// which the canvas contents move (old origin - new origin; positive moves
// the picture right or down). The strip that comes into view must be
// repainted.
struct ScrollResult {
  int origin = 0;
  int delta = 0;
};

// The zoom levels the view offers, smallest first, and the one it starts at.
inline constexpr int kZoomLevels[] = {1, 2, 3, 4, 6, 8, 12, 16};
inline constexpr int kDefaultZoom = 4;
// The next zoom level above (`step` 1) or below (-1) `zoom`, or `zoom` itself
// at either end; a zoom between two levels goes to the neighbour that way.
int NextZoomLevel(int zoom, int step);
// True when `zoom` is one of kZoomLevels.
bool IsZoomLevel(int zoom);

// The view of the canvas: client size, origin, zoom and the canvas rectangle.
//
// Coordinates at zoom z (4 unless changed): a level pixel (x, y) owns the
// z x z block of logical pixels whose top-left pixel is (zx, zy + 1). With
// the grid, its cell is the (z-1) x (z-1) square from (zx + 1, zy + 2) (at 4:
// 3 x 3, up to (4x + 3, 4y + 4)) and the grid lines run along logical
// columns zx and rows zy + 1; the outline runs along logical x = 0 and 8zW,
// y = 1 and zH + 1. Without the grid (below 4, or Show Grid off) the cell is
// the whole z x z square from (zx + 1, zy + 2) and the outline's right and
// bottom lines lie one further out, so that it encloses the cells. Client =
// logical - (m_nOriginX, m_nOriginY - B), where B is the bar height: 0 when
// the canvas is a widget of its own.
struct CanvasView {
  int m_cxClient = 0;
  int m_cyClient = 0;
  int m_nOriginX = MIN_ORIGIN;
  int m_nOriginY = MIN_ORIGIN;
  int m_nBarHeight = 0;  // B: client rows covered by bars above the canvas
  Rect m_rcCanvas;       // the client rectangle below the bars: the area
                         // that scrolls
  int m_nZoom = kDefaultZoom;  // client pixels per level pixel
  bool m_bGrid = true;         // Show Grid: lines between cells from 4 up

  int Zoom() const { return m_nZoom; }
  // True when grid lines separate the cells: Show Grid on and a zoom of 4
  // or more.
  bool GridShown() const { return m_bGrid && m_nZoom >= 4; }
  // Width and height of a cell in client pixels.
  int CellSize() const { return GridShown() ? m_nZoom - 1 : m_nZoom; }

  // A size change: the client is cx x cy pixels, bars cover its rows above
  // `barHeight`, and the canvas begins at row barHeight + gap. Clamps the view.
  void OnSize(int cx, int cy, int barHeight, int gap, const LevelRecord& level);

  // Client point -> level pixel: the pixel whose z x z block holds the
  // point (logical x from zx, logical y from zy + 1; without the grid the
  // block is that of the cell, one pixel right and down). At zoom 4 each
  // axis is divided by 4 truncating toward zero, so points up to 3 logical
  // pixels left of or above the outline's lines still give 0; at every other
  // zoom the division floors, so a point belongs to the block it lies in.
  Point ClientToLevel(Point client) const;
  // Client point of logical (zx, zy) for a level pixel.
  Point LevelToClient(Point level) const;
  // The cell of a level pixel in logical pixels (right/bottom exclusive).
  Rect CellRect(Point level) const;
  // The same cell in client pixels.
  Rect CellClientRect(Point level) const;
  // False when the cell of level row y lies above the canvas top (under the
  // bars); such cells are never painted.
  bool RowBelowBars(int y) const;
  // The outline rectangle in client pixels, right/bottom exclusive: its
  // edges are the outline's pixels.
  Rect OutlineClientRect(const LevelRecord& level) const;
  // Where grid lines fall: on client columns c with c mod z == result.x and
  // client rows r with r mod z == result.y (each 0 to z - 1). Cells sit
  // exactly between these lines; the outline lies on them.
  Point GridPhase() const;
  // The grid's pitch for the painter: the zoom, or 0 when no grid shows.
  int GridPitch() const { return GridShown() ? m_nZoom : 0; }
  // The level pixels the canvas shows, wholly or in part, clipped to the
  // level (right/bottom exclusive; empty when none shows).
  Rect VisibleLevelRect(const LevelRecord& level) const;

  // Keeps the level in view: centres an axis where the canvas is larger than
  // the level, otherwise clamps the origin; then rounds both origins toward
  // zero to multiples of the zoom.
  void ClampView(const LevelRecord& level);

  // Changes the zoom (z > 0) and Show Grid keeping the level pixel under
  // client point `client` under it, as far as clamping allows.
  void SetZoomAround(int zoom, bool grid, Point client,
                     const LevelRecord& level);
  // Centres the canvas on a level pixel as far as clamping allows.
  void CentreOn(Point pixel, const LevelRecord& level);
  // The largest zoom of kZoomLevels at which the whole level, outline
  // included, fits in the canvas when the view draws `scale` client pixels
  // per pixel of that zoom (a screen's device pixel ratio); the smallest
  // when none does.
  int FitZoom(const LevelRecord& level, double scale = 1.0) const;

  ScrollBarSettings HorizontalBar(const LevelRecord& level) const;
  ScrollBarSettings VerticalBar(const LevelRecord& level) const;

  // A scroll request on one axis (`code` a ScrollCode, `position` the thumb
  // position for SB_THUMBTRACK). Sets the origin and returns it with the
  // amount to scroll the contents by; the bar's position becomes the origin.
  ScrollResult OnHScroll(int code, int position, const LevelRecord& level);
  ScrollResult OnVScroll(int code, int position, const LevelRecord& level);

 private:
  // A logical coordinate divided by the zoom, the way ClientToLevel does.
  int Divide(int logical) const;
};

// True when the pixel lies inside the level.
bool IsInLevel(const LevelRecord& level, Point p);

// Signed value rounded toward zero to a multiple of m (m > 0).
constexpr int RoundTowardZero(int value, int m) { return value - value % m; }
