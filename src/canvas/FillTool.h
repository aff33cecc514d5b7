#pragma once

#include "canvas/CanvasLogic.h"

// The fill: a click fills the 4-connected region of the clicked pixel's
// colour with the colour of the pen chosen last (the right button: the other
// colour), up to the level's edges. A region that has that colour already
// stays as it is.
class CFillTool final : public CCanvasTool {
 public:
  using CCanvasTool::CCanvasTool;

  CanvasAction Press(const ToolInput& input) override;
  void Move(const ToolInput&, bool) override {}
  void Release(const ToolInput&) override {}
  std::string_view StepLabel() const override { return "Fill"; }
};
