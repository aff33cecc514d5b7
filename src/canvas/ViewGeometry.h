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

// The view of the canvas: client size, origin and the canvas rectangle.
//
// Coordinates: a level pixel (x, y) owns the 4 x 4 block of logical pixels
// whose top-left pixel is (4x, 4y + 1); its cell is the 3 x 3 square from
// (4x + 1, 4y + 2) to (4x + 3, 4y + 4). The outline runs along logical x = 0
// and 32W, y = 1 and 4H + 1. Client = logical - (m_nOriginX, m_nOriginY - B),
// where B is the bar height: 0 when the canvas is a widget of its own.
struct CanvasView {
  int m_cxClient = 0;
  int m_cyClient = 0;
  int m_nOriginX = MIN_ORIGIN;
  int m_nOriginY = MIN_ORIGIN;
  int m_nBarHeight = 0;  // B: client rows covered by bars above the canvas
  Rect m_rcCanvas;       // the client rectangle below the bars: the area
                         // that scrolls

  // A size change: the client is cx x cy pixels, bars cover its rows above
  // `barHeight`, and the canvas begins at row barHeight + gap. Clamps the view.
  void OnSize(int cx, int cy, int barHeight, int gap, const LevelRecord& level);

  // Client point -> level pixel: the pixel whose 4 x 4 block holds the
  // point (logical x from 4x, logical y from 4y + 1), each axis divided by 4
  // truncating toward zero, so points up to 3 logical pixels left of or
  // above the outline's lines still give 0.
  Point ClientToLevel(Point client) const;
  // Client point of logical (4x, 4y) for a level pixel.
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
  // Where grid lines fall: on client columns c with c mod 4 == result.x and
  // client rows r with r mod 4 == result.y (each 0 to 3). Cells sit exactly
  // between these lines; the outline lies on them.
  Point GridPhase() const;

  // Keeps the level in view: centres an axis where the canvas is larger than
  // the level, otherwise clamps the origin; then rounds both origins toward
  // zero to multiples of 4.
  void ClampView(const LevelRecord& level);

  ScrollBarSettings HorizontalBar(const LevelRecord& level) const;
  ScrollBarSettings VerticalBar(const LevelRecord& level) const;

  // A scroll request on one axis (`code` a ScrollCode, `position` the thumb
  // position for SB_THUMBTRACK). Sets the origin and returns it with the
  // amount to scroll the contents by; the bar's position becomes the origin.
  ScrollResult OnHScroll(int code, int position, const LevelRecord& level);
  ScrollResult OnVScroll(int code, int position, const LevelRecord& level);
};

// True when the pixel lies inside the level.
bool IsInLevel(const LevelRecord& level, Point p);

// Signed value rounded toward zero to a multiple of m (m > 0).
constexpr int RoundTowardZero(int value, int m) { return value - value % m; }
