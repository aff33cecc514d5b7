#include "canvas/ShapeTools.h"

#include "canvas/Shapes.h"
#include "model/LevelPack.h"

CanvasAction CShapeTool::Press(const ToolInput& input) {
  m_bDragging = true;
  m_bShift = input.shift;
  m_nMode = input.opposite ? 1 - m_canvas.m_nPenColour : m_canvas.m_nPenColour;
  m_ptAnchor = input.level;
  m_ptEnd = input.level;
  ShowPreview();
  CanvasAction action;
  action.captureMouse = true;
  return action;
}

void CShapeTool::Move(const ToolInput& input, bool dragging) {
  if (!dragging || !m_bDragging) return;
  if (input.level == m_ptEnd && input.shift == m_bShift) return;
  m_ptEnd = input.level;
  m_bShift = input.shift;
  ShowPreview();
}

void CShapeTool::Release(const ToolInput& input) {
  if (!m_bDragging) return;
  m_ptEnd = input.level;
  m_bShift = input.shift;
  m_bDragging = false;
  m_canvas.ClearOverlay();
  m_canvas.WritePixels(Pixels(m_ptAnchor, m_ptEnd, m_bShift), m_nMode);
}

bool CShapeTool::Key(CanvasKey key, bool) {
  if (key != CanvasKey::Escape || !m_bDragging) return false;
  Drop();
  return true;
}

void CShapeTool::Drop() {
  if (!m_bDragging) return;
  m_bDragging = false;
  m_canvas.ClearOverlay();
}

std::vector<Point> CShapeTool::Pixels(Point a, Point b, bool shift) const {
  const CLevel& level = m_canvas.Pack().Current();
  std::vector<Point> shape = Shape(a, b, shift);
  if (Traced() && m_canvas.PenIsLarge()) {
    return DiscFootprint(shape, LargePenDisc(), level.WidthPixels(),
                         level.m_nHeight);
  }
  std::erase_if(shape, [&level](Point p) { return !IsInLevel(level, p); });
  return shape;
}

void CShapeTool::ShowPreview() {
  const std::vector<Point> pixels = Pixels(m_ptAnchor, m_ptEnd, m_bShift);
  std::vector<OverlayPixel> overlay;
  overlay.reserve(pixels.size());
  for (const Point& p : pixels) overlay.push_back({p, m_nMode});
  m_canvas.ShowOverlay(std::move(overlay));
}

std::vector<Point> CLineTool::Shape(Point a, Point b, bool shift) const {
  return LinePixels(a, shift ? SnapTo45(a, b) : b);
}

std::vector<Point> CBoxTool::Shape(Point a, Point b, bool shift) const {
  return m_shape(a, shift ? SnapToSquare(a, b) : b, m_bFilled);
}
