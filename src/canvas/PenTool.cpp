#include "canvas/PenTool.h"

CanvasAction CPenTool::Press(const ToolInput& input) {
  m_nMode = input.opposite ? 1 - m_canvas.m_nPenColour : m_canvas.m_nPenColour;
  m_canvas.m_ptLast = input.level;
  CanvasAction action;
  action.captureMouse = true;
  Plot(input.level);
  return action;
}

void CPenTool::Move(const ToolInput& input, bool dragging) {
  if (!dragging) return;
  m_canvas.RedrawObjectsNear(input.level);
  Plot(input.level);
}

void CPenTool::Plot(Point p) {
  if (m_bLarge) {
    m_canvas.StampMask(p, m_nMode, LargePenDisc(), true);
  } else {
    m_canvas.DrawStroke(p, m_nMode, true);
  }
}
