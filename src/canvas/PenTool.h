#pragma once

#include "canvas/CanvasLogic.h"

// A freehand pen: a press plots, a drag draws an unbroken line from each
// point to the next, in the colour of the pen chosen last (the right button
// draws with the other colour). The small pen plots single pixels, the large
// pen its 37-pixel disc.
class CPenTool final : public CCanvasTool {
 public:
  CPenTool(CCanvasLogic& canvas, bool large)
      : CCanvasTool(canvas), m_bLarge(large) {}

  CanvasAction Press(const ToolInput& input) override;
  void Move(const ToolInput& input, bool dragging) override;
  void Release(const ToolInput&) override {}
  std::string_view StepLabel() const override { return "Pen Stroke"; }

 private:
  void Plot(Point p);

  bool m_bLarge;
  int m_nMode = PLOT_SET;  // the colour of the stroke in progress
};
