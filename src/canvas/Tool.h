#pragma once

#include <string_view>

#include "model/Geometry.h"

class CCanvasLogic;
struct CanvasAction;

// Keys a tool may act on, named apart from any window system.
enum class CanvasKey { Escape, Enter, Left, Right, Up, Down };

// One mouse event as a tool sees it: the level pixel under the pointer, and
// the state that changes what the tool does.
struct ToolInput {
  Point level;
  bool shift = false;     // snap a shape; keep placing
  bool opposite = false;  // the right button: draw with the other colour
};

// What every tool of the canvas is: it gets press, move, release and key
// input in level coordinates and works through the canvas's plotting,
// painting and overlay. The canvas keeps the view and dispatches to the tool
// in force; a tool keeps only the state of its own gesture.
class CCanvasTool {
 public:
  explicit CCanvasTool(CCanvasLogic& canvas) : m_canvas(canvas) {}
  virtual ~CCanvasTool() = default;
  CCanvasTool(const CCanvasTool&) = delete;
  CCanvasTool& operator=(const CCanvasTool&) = delete;

  // A button went down. A tool that drags returns captureMouse; the canvas
  // then counts it as drawing until the release or EndDrag.
  virtual CanvasAction Press(const ToolInput& input) = 0;
  // The pointer moved; `dragging` while the drag a press began goes on.
  virtual void Move(const ToolInput& input, bool dragging) = 0;
  // The button of a drag came up.
  virtual void Release(const ToolInput& input) = 0;
  // The window system took the mouse away in the middle of a drag.
  virtual void EndDrag() {}
  // A key; true when the tool used it.
  virtual bool Key(CanvasKey /*key*/, bool /*shift*/) { return false; }
  // Takes away whatever the tool shows that is not in the level (a shape
  // being dragged, a selection) without writing it: before the level is
  // replaced or another tool takes over.
  virtual void Drop() {}
  // The name of the undo step a press of this tool begins.
  virtual std::string_view StepLabel() const = 0;

 protected:
  CCanvasLogic& m_canvas;
};
