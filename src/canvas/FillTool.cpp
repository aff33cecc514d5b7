#include "canvas/FillTool.h"

#include "canvas/Shapes.h"
#include "model/LevelPack.h"

CanvasAction CFillTool::Press(const ToolInput& input) {
  const CLevel& level = m_canvas.Pack().Current();
  if (!IsInLevel(level, input.level)) return {};
  const int mode =
      input.opposite ? 1 - m_canvas.m_nPenColour : m_canvas.m_nPenColour;
  const bool black = mode == PLOT_SET;
  if (level.GetPixel(input.level.x, input.level.y) == black) return {};
  std::vector<Point> pixels;
  for (const Span& s : FillRegion(level, input.level)) {
    for (int x = s.x0; x <= s.x1; ++x) pixels.push_back({x, s.y});
  }
  m_canvas.WritePixels(pixels, mode);
  return {};
}
