#pragma once

#include <cstdint>

#include "model/Geometry.h"

// What a cell shows: paper, terrain, one of the objects, or the placement
// preview. Only paper and terrain are painted while the canvas shows the
// classic black and white; the others give the objects and the preview
// colours of their own.
enum class Ink : std::uint8_t {
  Paper,
  Terrain,
  Entrance,
  Exit,
  Block,
  Preview
};

// The colours of the canvas, as 0xAARRGGBB.
struct CanvasPalette {
  std::uint32_t paper = 0xFFFFFFFFu;
  std::uint32_t grid = 0xFF000000u;
  std::uint32_t outline = 0xFF000000u;
  std::uint32_t terrain = 0xFF000000u;
  std::uint32_t entrance = 0xFF000000u;
  std::uint32_t exit = 0xFF000000u;
  std::uint32_t block = 0xFF000000u;
  std::uint32_t preview = 0xFF000000u;

  std::uint32_t Of(Ink ink) const;
  // Black on white, grid and objects included.
  static CanvasPalette Classic() { return {}; }
  // A light grey grid, and objects and preview in colours no terrain has.
  static CanvasPalette Clear();
  friend bool operator==(const CanvasPalette&, const CanvasPalette&) = default;
};

// The ink of an object kind's sprite (OBJ_ENTRANCE, OBJ_EXIT, else a block).
Ink ObjectInk(int kind);

// The drawing seam of the canvas. The logic decides what to draw and where;
// a painter puts black and white pixels on "the screen" (the canvas widget's
// backing image) and asks for repaints. All rectangles are client pixels,
// right/bottom exclusive, and may reach outside the screen: clip them.
class ICanvasPainter {
 public:
  virtual ~ICanvasPainter() = default;

  // Start of a full paint: erase the whole screen to white, then draw the
  // level outline (1-pixel black lines along the edges of `outline`) with the
  // grid inside it. Grid lines fall where CanvasView::GridPhase() says, which
  // the logic passes as `gridPhase`.
  virtual void PaintBackground(const Rect& outline, Point gridPhase) = 0;

  // The distance between grid lines of the full paints that follow, in
  // client pixels (the zoom), or 0 for no grid lines at all. 4 until set.
  virtual void SetGridPitch(int /*pitch*/) {}

  // Fills one cell (3 x 3 pixels, `cell`) of level pixel `level`, black or
  // white, at once. The only call pens and placement make; the logic has
  // already checked that the pixel is in the level and below the bars.
  virtual void PaintCell(Point level, const Rect& cell, bool white) = 0;

  // Fills `count` black cells side by side in one row, the first being the
  // cell of `first`. The grid lines between black cells are black too, so
  // this is the single solid rectangle `span`. Full paints use it to batch;
  // the default paints the cells one by one (cells are square, so their
  // size and pitch follow from the span).
  virtual void PaintBlackRun(Point first, const Rect& span, int count);

  // The same run in an ink of the objects or the preview; the logic asks
  // for it only while the canvas shows clear colours. The default paints
  // it as a black run.
  virtual void PaintInkRun(Point first, const Rect& span, int count, Ink ink);

  // Marks a rectangle to be erased and repainted by a later full paint.
  virtual void Invalidate(const Rect& client) = 0;

  // Marks the cells and grid lines in a rectangle as out of date: a later
  // CCanvasLogic::PaintArea over it brings them up to date from the level.
  // The default repaints the whole canvas.
  virtual void InvalidateCells(const Rect& client) { Invalidate(client); }
};

// A painter over a 32-bit pixel buffer, such as the bits of a QImage in
// Format_RGB32 (pass its bits and bytesPerLine / 4). Drawing is clipped to
// the buffer. Invalidate does nothing here; a widget that uses this painter
// overrides the calls to ask for repaints of what changed.
class PixelBufferPainter : public ICanvasPainter {
 public:
  static constexpr std::uint32_t kBlack = 0xFF000000u;
  static constexpr std::uint32_t kWhite = 0xFFFFFFFFu;

  PixelBufferPainter() = default;
  PixelBufferPainter(std::uint32_t* pixels, int width, int height,
                     int stridePixels);
  // Points the painter at another buffer (after a resize); drawing is
  // clipped to the whole of it.
  void SetBuffer(std::uint32_t* pixels, int width, int height,
                 int stridePixels);
  // Clips every drawing call, the background's too, to a rectangle of the
  // buffer, or (with an empty one) to the whole buffer again.
  void SetClip(const Rect& client);

  void PaintBackground(const Rect& outline, Point gridPhase) override;
  void SetGridPitch(int pitch) override { m_nGridPitch = pitch; }
  void PaintCell(Point level, const Rect& cell, bool white) override;
  void PaintBlackRun(Point first, const Rect& span, int count) override;
  void PaintInkRun(Point first, const Rect& span, int count, Ink ink) override;
  void Invalidate(const Rect& client) override;

  // The colours the painter draws with; classic black and white at first.
  void SetPalette(const CanvasPalette& palette) { m_palette = palette; }
  const CanvasPalette& Palette() const { return m_palette; }

  // Fills a rectangle, clipped to the buffer.
  void FillRect(const Rect& r, std::uint32_t colour);
  std::uint32_t Pixel(int x, int y) const { return m_pixels[y * m_stride + x]; }
  int Width() const { return m_width; }
  int Height() const { return m_height; }

 private:
  std::uint32_t* m_pixels = nullptr;
  int m_width = 0;
  int m_height = 0;
  int m_stride = 0;
  Rect m_clip;  // within the buffer
  CanvasPalette m_palette;
  int m_nGridPitch = 4;  // 0: no grid lines
};
