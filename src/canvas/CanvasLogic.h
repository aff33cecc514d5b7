#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "canvas/CanvasPainter.h"
#include "canvas/Sprites.h"
#include "canvas/ViewGeometry.h"
#include "model/Geometry.h"
#include "model/Level.h"
#include "model/PackOverlay.h"

class CLevelPack;

// The tool in force, shown as the cursor over the canvas.
enum class ToolCursor { SmallBlack, LargeBlack, SmallWhite, LargeWhite, Place };

// How a plot changes a terrain pixel. Black pens plot with PLOT_SET, white
// pens with PLOT_CLEAR; the placement preview inverts.
enum PlotMode : int { PLOT_SET = 0, PLOT_CLEAR = 1, PLOT_INVERT = 2 };

// Shown in the status bar when a block click finds the level full.
inline constexpr std::string_view kBlockLimitMessage =
    "A level holds at most 49 metal blocks.";

// What the caller of a mouse or tool operation must do afterwards.
struct CanvasAction {
  bool captureMouse = false;   // a stroke began: grab the mouse
  bool releaseMouse = false;   // the stroke ended: release it
  bool cursorChanged = false;  // show CCanvasLogic::CurrentCursor()
  std::string_view status;     // when not empty: a message for the status bar
};

// The canvas as logic: view geometry and scrolling, the full paint, the four
// pens and object placement, working on the pack's current level. Every
// change to a level made with the mouse goes through these operations.
// Drawing goes to the painter; the caller translates window-system events
// into the calls below and acts on the CanvasAction they return.
//
// The placement preview is inverted into the terrain while it shows; the
// logic registers with the pack as its overlay, so that every reader of the
// pack (CLevelPack::WithoutPreviews, Contents) sees the terrain without it.
class CCanvasLogic : private IPackOverlay {
 public:
  CCanvasLogic(CLevelPack& pack, ICanvasPainter& painter);
  ~CCanvasLogic() override;
  CCanvasLogic(const CCanvasLogic&) = delete;
  CCanvasLogic& operator=(const CCanvasLogic&) = delete;

  // ---- View ----
  // Client size, bar height (0 when the canvas is its own widget) and the
  // gap between bars and canvas top. Clamps the view; update the scroll bars
  // afterwards from HorizontalBar() / VerticalBar().
  void OnSize(int cx, int cy, int barHeight = 0, int gap = 2);
  void ClampView();
  ScrollBarSettings HorizontalBar() const;
  ScrollBarSettings VerticalBar() const;
  // Scroll handlers; the caller scrolls its screen by the result's delta
  // (or repaints it all) and sets that bar's position to the origin.
  ScrollResult OnHScroll(int code, int position);
  ScrollResult OnVScroll(int code, int position);
  // After the current level was replaced, reset, resized or loaded: clamps
  // the view and invalidates the canvas. The caller then updates the scroll
  // bars and the level bars.
  void RefreshView();

  Point ClientToLevel(Point client) const {
    return m_view.ClientToLevel(client);
  }
  Point LevelToClient(Point level) const { return m_view.LevelToClient(level); }
  bool IsInLevel(Point level) const;
  // The level pixel a click at `client` changes: false when it changes
  // none (outside the level, or a row whose cell is above the canvas top).
  bool PixelUnder(Point client, Point& level) const;

  // ---- Painting ----
  // The whole level: background with outline and grid, every terrain pixel
  // that is set and every object's set sprite pixels, all black, row by row
  // in batched runs. Cells above the canvas top are skipped.
  void OnPaint();
  // One cell, at once; nothing when the pixel is outside the level or its
  // row lies above the canvas top.
  void PaintCell(Point level, bool white);
  // The sprite of one object slot over the terrain.
  void DrawObject(int slot);

  // ---- Pens ----
  // Changes one terrain pixel (when `write`), paints its cell and sets the
  // pack's modified flag; nothing at all outside the level.
  void PlotPixel(Point p, int mode, bool write);
  // The line from p back toward m_ptLast; p becomes m_ptLast.
  void DrawStroke(Point p, int mode, bool write);
  // Applies a 16 x 16 mask with its pixel (8, 8) on p, each mask pixel traced
  // from its place around m_ptLast; ends with m_ptLast = p.
  void StampMask(Point p, int mode, const Sprite& mask, bool write);

  // ---- Mouse (client points) ----
  CanvasAction OnLButtonDown(Point client);
  void OnMouseMove(Point client);
  CanvasAction OnLButtonUp(Point client);
  // The window system took the mouse away: a stroke in progress simply ends
  // (what it drew stays).
  CanvasAction CancelStroke();

  // ---- Tools ----
  // Makes a pen the tool (pen cursors only); ends a placement without
  // placing, taking its preview away first.
  CanvasAction OnSelectPen(ToolCursor pen);
  // Makes placement of `kind` (OBJ_ENTRANCE, OBJ_EXIT, OBJ_BLOCK) the tool;
  // the pen in force before is remembered and comes back after a placement.
  CanvasAction ChoosePlacementTool(int kind);
  ToolCursor CurrentCursor() const { return m_curCurrent; }
  bool PlacementInForce() const { return m_curCurrent == ToolCursor::Place; }
  bool IsDrawing() const { return m_bDrawing; }

  // ---- Placement ----
  // Takes a drawn preview out of the terrain and forgets it. Call before
  // every command, bar notification and close request.
  void RemovePreview();
  bool PreviewShown() const { return m_bPreview; }
  // True when the 16 x 16 box centred on `centre` lies inside the level.
  bool ObjectFits(Point centre) const;
  // Repaints the objects whose zone holds p.
  void RedrawObjectsNear(Point p);
  // Invalidates the screen rectangle of one object slot.
  void InvalidateObject(int slot);
  // Removes the last metal block and marks the pack modified; false (and
  // nothing changed) when there is none.
  bool RemoveLastBlock();

  CanvasView& View() { return m_view; }
  const CanvasView& View() const { return m_view; }

  // Tool and stroke state, open for the frame's tests.
  bool m_bDrawing = false;
  Point m_ptLast{-1, 0};
  int m_nPenColour = 0;
  int m_nToolMode = OBJ_BLOCK;
  ToolCursor m_curCurrent = ToolCursor::SmallBlack;
  ToolCursor m_curPrevious = ToolCursor::SmallBlack;

 private:
  CLevelPack& m_pack;
  ICanvasPainter& m_painter;
  CanvasView m_view;
  // A preview is in the terrain, centred on m_ptLast. Kept as a flag rather
  // than inferred from m_ptLast, which a stroke or a release also moves.
  bool m_bPreview = false;
  // The preview is lifted out for a reader of the pack.
  bool m_bLifted = false;
  // One row of terrain with the sprites over it, built by a full paint.
  std::array<std::uint8_t, BITMAP_STORAGE> m_rowBits{};

  // Black runs for the set bits of `count` bytes from level pixel (x, y).
  void PaintRowRuns(int x, int y, const std::uint8_t* bytes, int count);
  void InvertPreview(Point centre);
  // Flips the preview's pixels in the terrain without painting anything.
  void FlipPreviewBits();
  void Lift() override;
  void Lay() override;
  void MovePreview(Point p);
  CanvasAction PlacementClick(Point client);
  void ForgetLastPoint();
};
