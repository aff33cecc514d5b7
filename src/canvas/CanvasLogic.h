#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "canvas/CanvasPainter.h"
#include "canvas/Sprites.h"
#include "canvas/Tool.h"
#include "canvas/ViewGeometry.h"
#include "model/Geometry.h"
#include "model/Level.h"

class CLevelPack;
class CPenTool;
class CPlaceTool;
class CSelectTool;
class CObjectTool;

// The tool in force, shown as the cursor over the canvas: the four pens and
// placement, then the shape tools, the fill, the selection and the object
// mover.
enum class ToolCursor {
  SmallBlack,
  LargeBlack,
  SmallWhite,
  LargeWhite,
  Place,
  Line,
  Rectangle,
  FilledRectangle,
  Ellipse,
  FilledEllipse,
  Fill,
  Select,
  MoveObject,
};
inline constexpr int kToolCount = 13;

inline constexpr bool IsPen(ToolCursor tool) {
  return tool <= ToolCursor::LargeWhite;
}
inline constexpr bool IsLargePen(ToolCursor tool) {
  return tool == ToolCursor::LargeBlack || tool == ToolCursor::LargeWhite;
}

// How a plot changes a terrain pixel. Black pens plot with PLOT_SET, white
// pens with PLOT_CLEAR; the placement preview inverts.
enum PlotMode : int { PLOT_SET = 0, PLOT_CLEAR = 1, PLOT_INVERT = 2 };

// Shown in the status bar when a block click finds the level full.
inline constexpr std::string_view kBlockLimitMessage =
    "A level holds at most 49 metal blocks.";

// One pixel shown over the level without being in it: black (PLOT_SET),
// white (PLOT_CLEAR) or the inverse of what the level shows (PLOT_INVERT).
struct OverlayPixel {
  Point p;
  int mode = PLOT_SET;
};

// Above this many cells, the overlay and the tools repaint the canvas with
// one full paint rather than cell by cell.
inline constexpr std::size_t kDirectPaintLimit = 2000;

// What the caller of a mouse or tool operation must do afterwards.
struct CanvasAction {
  bool captureMouse = false;   // a stroke began: grab the mouse
  bool releaseMouse = false;   // the stroke ended: release it
  bool cursorChanged = false;  // show CCanvasLogic::CurrentCursor()
  std::string_view status;     // when not empty: a message for the status bar
};

// The canvas as logic: view geometry and scrolling, the full paint with an
// overlay over the level, and the dispatch of mouse and key input to the
// tool in force (a CCanvasTool: the pens, placement, the shapes, the fill,
// the selection), working on the pack's current level. Every change to a
// level made with the mouse goes through these operations. Drawing goes to
// the painter; the caller translates window-system events into the calls
// below and acts on the CanvasAction they return.
class CCanvasLogic {
 public:
  CCanvasLogic(CLevelPack& pack, ICanvasPainter& painter);
  ~CCanvasLogic();
  CCanvasLogic(const CCanvasLogic&) = delete;
  CCanvasLogic& operator=(const CCanvasLogic&) = delete;

  CLevelPack& Pack() { return m_pack; }

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

  // Changes the zoom (client pixels per level pixel) and Show Grid, keeping
  // the level pixel under client point `around` in its place as far as the
  // level's edges allow; repaints the whole canvas. Update the scroll bars
  // afterwards.
  void SetZoom(int zoom, bool grid, Point around);
  // Centres the view on a level pixel as far as clamping allows and
  // repaints.
  void CentreOn(Point pixel);

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
  // The part of a full paint that falls in a client rectangle, for a
  // painter that clips its drawing to that rectangle (after
  // ICanvasPainter::InvalidateCells).
  void PaintArea(const Rect& client);
  // One cell, at once; nothing when the pixel is outside the level or its
  // row lies above the canvas top. In clear colours the cell and the grid
  // lines around it are marked out of date instead (see SetClassicColours).
  void PaintCell(Point level, bool white);
  // The sprite of one object slot over the terrain.
  void DrawObject(int slot);

  // ---- Colours ----
  // Classic colours (the default) paint the objects and the placement
  // preview black like the terrain, the preview inverted. Without them the
  // objects and the preview are painted in inks of their own (see Ink) and
  // the preview stands over the level rather than inverting it. A grid line
  // between two cells of the same ink, across or down, takes that ink, and
  // so does a crossing of lines between four such cells; every other line
  // keeps the grid's colour. As a cell's change alters the lines around it,
  // the direct painting of cells and sprites then only marks what changed
  // (ICanvasPainter::InvalidateCells), to be painted from the level by
  // PaintArea once the change is complete. Either way the level holds the
  // same; invalidates the canvas.
  void SetClassicColours(bool classic);
  bool ClassicColours() const { return m_bClassic; }
  // The cells of a sprite's set pixels in one ink, its top-left pixel at
  // `topLeft`; pixels outside the level are left out.
  void PaintSprite(Point topLeft, const Sprite& sprite, Ink ink);

  // ---- Overlay ----
  // Shows `pixels` over the level in place of what it shows there, and
  // takes the overlay shown before away: a shape being dragged, a
  // selection's border. The level itself is never touched; pixels outside
  // it are left out.
  void ShowOverlay(std::vector<OverlayPixel> pixels);
  void ClearOverlay() { ShowOverlay({}); }
  bool OverlayShown() const { return !m_overlay.empty(); }
  const std::vector<OverlayPixel>& Overlay() const { return m_overlay; }

  // ---- Writing ----
  // Writes `pixels` into the terrain with a black (PLOT_SET) or white
  // (PLOT_CLEAR) pen, paints them and the objects over them, and marks the
  // pack modified when a pixel changed. Pixels outside the level are left
  // out. Returns whether anything changed.
  bool WritePixels(const std::vector<Point>& pixels, int mode);

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
  // A button goes down: the left one, or the right one (`opposite`), which
  // draws with the other colour; Shift held (`shift`) snaps a shape and
  // keeps placing. A press on a row whose cell is not painted (above the
  // canvas top, see PixelUnder) does nothing.
  CanvasAction OnLButtonDown(Point client) { return OnButtonDown(client, {}); }
  CanvasAction OnButtonDown(Point client, ToolInput modifiers);
  // A move's action carries only a status note a tool may give.
  CanvasAction OnMouseMove(Point client, bool shift = false);
  CanvasAction OnLButtonUp(Point client, bool shift = false);
  // The window system took the mouse away: a pen stroke in progress simply
  // ends (what it drew stays); a shape being dragged is dropped.
  CanvasAction CancelStroke();

  // ---- Keys ----
  // A key for the tool in force. Escape also ends a placement, as choosing
  // the pen in force before it would. True when the key was used.
  bool OnKey(CanvasKey key, bool shift = false);

  // ---- Tools ----
  // Makes a pen the tool (pen cursors only); ends a placement without
  // placing, taking its preview away first.
  CanvasAction OnSelectPen(ToolCursor pen);
  // Makes placement of `kind` (OBJ_ENTRANCE, OBJ_EXIT, OBJ_BLOCK) the tool;
  // the tool in force before is remembered and comes back after a placement.
  CanvasAction ChoosePlacementTool(int kind);
  // Makes one of the tools after placement the tool; ends a placement
  // without placing, as choosing a pen does. The pen chosen last stays the
  // pen whose colour and width the tool draws with.
  CanvasAction ChooseTool(ToolCursor tool);
  // Swaps black and white of the pen chosen last, or sets its width, without
  // leaving the tool in force (a pen in force becomes the new pen).
  CanvasAction SwapPenColour();
  CanvasAction SetPenWidth(bool large);
  ToolCursor CurrentCursor() const { return m_curCurrent; }
  // The pen chosen last: its colour and width are the ones every tool
  // draws with, and its button stays checked while another tool is in force.
  ToolCursor CurrentPen() const { return m_curPen; }
  bool PenIsLarge() const { return IsLargePen(m_curPen); }
  bool PlacementInForce() const { return m_curCurrent == ToolCursor::Place; }
  bool IsDrawing() const { return m_bDrawing; }
  // The name of the undo step a press of the tool in force begins.
  std::string_view StepLabel();
  // A note for the status bar from the tool handling a move or a release;
  // the action of that event carries it (`text` must outlive the event).
  void SayStatus(std::string_view text) { m_status = text; }
  // Takes away whatever the tool in force shows that is not in the level,
  // without writing it (a shape being dragged). A pen stroke goes on; any
  // other drag ends, and then the result is true: release the mouse.
  bool DropToolState();

  // ---- Placement ----
  // Takes a drawn preview out of the terrain and forgets it. Call before
  // every command, bar notification and close request.
  void RemovePreview();
  bool PreviewShown() const;
  // True when the 16 x 16 box centred on `centre` lies inside the level.
  bool ObjectFits(Point centre) const;
  // Repaints the objects whose zone holds p.
  void RedrawObjectsNear(Point p);
  // Repaints the objects whose 16 x 16 box meets a rectangle of level
  // pixels (right/bottom exclusive), after cells under them were painted.
  void RedrawObjectsOver(const Rect& box);
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

  // The tool object that handles ToolCursor `tool`.
  CCanvasTool& Tool(ToolCursor tool);
  CCanvasTool& CurrentTool() { return Tool(m_curCurrent); }
  // The selection tool, also for the Edit menu's commands.
  CSelectTool& Selection();
  // The object mover, also for Edit > Delete.
  CObjectTool& Objects();

 private:
  CLevelPack& m_pack;
  ICanvasPainter& m_painter;
  CanvasView m_view;
  bool m_bClassic = true;
  bool m_bPainting = false;  // inside a full paint or PaintArea
  ToolCursor m_curPen = ToolCursor::SmallBlack;
  std::string_view m_status;  // SayStatus during the event being handled
  std::unique_ptr<CPenTool> m_pSmallPen;
  std::unique_ptr<CPenTool> m_pLargePen;
  std::unique_ptr<CPlaceTool> m_pPlace;
  std::array<std::unique_ptr<CCanvasTool>, kToolCount> m_tools;
  // One row of terrain with the sprites over it, built by a full paint.
  std::array<std::uint8_t, BITMAP_STORAGE> m_rowBits{};
  // The overlay: its pixels, and for every level pixel its mode + 1 (0 where
  // the overlay does not cover it).
  std::vector<OverlayPixel> m_overlay;
  // The overlay as two bitmaps in the level's layout: which pixels it
  // covers, and which of those it shows black (inversions resolved).
  std::array<std::uint8_t, BITMAP_STORAGE> m_overlayCover{};
  std::array<std::uint8_t, BITMAP_STORAGE> m_overlayBlack{};
  // The level as shown without the overlay (terrain and sprites), one bit a
  // pixel in the bitmap's layout; rebuilt whenever the overlay changes.
  std::array<std::uint8_t, BITMAP_STORAGE> m_picture{};

  // Runs for the set bits of `count` bytes from level pixel (x, y), black
  // or in `ink`; with `lineBelow`, the same runs on the grid line between
  // row y and the next, each from its first cell's left to its last cell's
  // right.
  void PaintRowRuns(int x, int y, const std::uint8_t* bytes, int count,
                    Ink ink = Ink::Terrain, bool lineBelow = false);
  // The full paint of the classic colours: terrain, sprites and overlay as
  // black runs.
  void PaintClassic();
  // The paint in clear colours, of the rows that may reach `client`.
  void PaintClear(const Rect& client);
  // The inks a row shows, one bitmask of the row's pixels each (Terrain to
  // Preview, disjoint); all clear for a row that is not painted.
  static constexpr int kInkMasks = 5;
  using RowInks =
      std::array<std::array<std::uint8_t, MAX_WIDTH_BYTES>, kInkMasks>;
  void ComputeRowInks(int y, RowInks& inks) const;
  // True while the direct painting of cells only marks them out of date.
  bool Deferring() const { return !m_bClassic && !m_bPainting; }
  // Marks the cells of a rectangle of level pixels and the grid lines
  // around them out of date.
  void DeferCells(const Rect& level);
  void BuildPicture();
  bool PictureBlack(Point p) const;
  // Bitmap byte and bit of a level pixel.
  std::size_t ByteOf(Point p) const;
  void ForgetLastPoint();
  void SelectPenState(ToolCursor pen);
};
