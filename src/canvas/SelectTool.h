#pragma once

#include <cstdint>
#include <vector>

#include "canvas/CanvasLogic.h"

// A rectangle of terrain pixels as the clipboard holds it: `width` x
// `height`, row by row, 1 for terrain.
struct TerrainClip {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;

  bool Empty() const { return width <= 0 || height <= 0; }
  bool At(int x, int y) const {
    return pixels[static_cast<std::size_t>(y) * width + x] != 0;
  }
};

// The selection (terrain only; objects stay where they are). A drag draws a
// rectangle, shown as an inverted dashed border over the level. A drag
// inside it lifts its pixels into a floating selection that follows the
// pointer and leaves the place they left empty; the arrows nudge it. Until
// the float is committed (Enter, a click outside, any command) the level
// itself is untouched: the float, the hole and the border are an overlay.
// Committing writes the hole and the float, cutting off what lies past the
// level's edges. Escape drops a float (the level stays as it was) or the
// rectangle.
class CSelectTool final : public CCanvasTool {
 public:
  using CCanvasTool::CCanvasTool;

  CanvasAction Press(const ToolInput& input) override;
  void Move(const ToolInput& input, bool dragging) override;
  void Release(const ToolInput& input) override;
  bool Key(CanvasKey key, bool shift) override;
  // Drops the float and the rectangle without writing anything.
  void Drop() override;
  // "Move Selection" or "Paste" while a float stands (a click outside
  // commits it), else "Select" (which changes nothing).
  std::string_view StepLabel() const override;

  bool HasSelection() const { return m_bSelected || m_bFloating; }
  bool Floating() const { return m_bFloating; }
  // The rectangle selected, or the float's rectangle (may reach outside).
  Rect Selection() const;
  // The float's pixels, at Selection().
  const TerrainClip& FloatPixels() const { return m_float; }

  // The whole level becomes the selection.
  void SelectAll();
  // The float's pixels, or the level's terrain inside the rectangle; empty
  // without a selection.
  TerrainClip Copy() const;
  // A float of `clip` with its top-left pixel at `at`; a float standing
  // before is dropped, so commit it first.
  void Paste(const TerrainClip& clip, Point at);
  // Clears the selected pixels: a float goes (the place it was lifted from
  // stays empty), a rectangle's terrain is rubbed out. True when the level
  // changed.
  bool DeleteSelected();
  // Mirrors the float (no change to the level), the rectangle's terrain,
  // or, with nothing selected, the whole level's terrain. True when the
  // level changed.
  bool Flip(bool horizontal);
  // Writes a float into the level; the rectangle then holds what was
  // written, clipped to the level. True when the level changed.
  bool Commit();

 private:
  enum class Gesture { None, Marquee, Moving };

  void Lift();
  void ShowOverlay();
  void MoveFloatBy(Point delta);
  Rect ClipToLevel(const Rect& r) const;

  Gesture m_gesture = Gesture::None;
  Point m_ptAnchor;  // where a marquee drag began
  Point m_ptGrab;    // the press inside a float, from its top-left
  bool m_bSelected = false;
  Rect m_rcSelected;  // the rectangle, inside the level
  bool m_bFloating = false;
  bool m_bLifted = false;  // the float came out of the level (not pasted)
  Rect m_rcSource;         // where it was lifted from
  Point m_ptFloat;         // the float's top-left pixel now
  TerrainClip m_float;
};
