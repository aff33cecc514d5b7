#pragma once

#include <vector>

#include "canvas/CanvasLogic.h"

// A shape dragged from the press to the release: while the button is held
// the shape is an overlay over the level, never in it; the release writes it
// in the colour of the pen chosen last (the right button: the other colour).
// Escape, another tool or a command in the middle of the drag drops it.
// Shift snaps (the subclass says how). Lines and outlines are traced with
// the large pens' disc when the pen chosen last is large.
class CShapeTool : public CCanvasTool {
 public:
  using CCanvasTool::CCanvasTool;

  CanvasAction Press(const ToolInput& input) override;
  void Move(const ToolInput& input, bool dragging) override;
  void Release(const ToolInput& input) override;
  void EndDrag() override { Drop(); }
  bool Key(CanvasKey key, bool shift) override;
  void Drop() override;

  bool Dragging() const { return m_bDragging; }
  // The level pixels the shape from a to b covers now, clipped to the level.
  std::vector<Point> Pixels(Point a, Point b, bool shift) const;

 protected:
  // The one-pixel shape from a to b, with Shift held or not.
  virtual std::vector<Point> Shape(Point a, Point b, bool shift) const = 0;
  // Drawn with the pen's width (lines, outlines) rather than one pixel wide.
  virtual bool Traced() const = 0;

 private:
  void ShowPreview();

  bool m_bDragging = false;
  bool m_bShift = false;
  int m_nMode = PLOT_SET;
  Point m_ptAnchor;
  Point m_ptEnd;
};

class CLineTool final : public CShapeTool {
 public:
  using CShapeTool::CShapeTool;
  std::string_view StepLabel() const override { return "Line"; }

 protected:
  // Shift snaps the angle to a multiple of 45 degrees.
  std::vector<Point> Shape(Point a, Point b, bool shift) const override;
  bool Traced() const override { return true; }
};

// A shape drawn corner to corner in a box: the rectangle and the ellipse,
// outlined or filled. Shift makes the box a square.
class CBoxTool final : public CShapeTool {
 public:
  // The pixels of the shape in the box with corners a and b.
  using BoxShape = std::vector<Point> (*)(Point a, Point b, bool filled);

  CBoxTool(CCanvasLogic& canvas, BoxShape shape, bool filled,
           std::string_view label)
      : CShapeTool(canvas), m_shape(shape), m_bFilled(filled), m_label(label) {}
  std::string_view StepLabel() const override { return m_label; }

 protected:
  std::vector<Point> Shape(Point a, Point b, bool shift) const override;
  bool Traced() const override { return !m_bFilled; }

 private:
  BoxShape m_shape;
  bool m_bFilled;
  std::string_view m_label;
};
