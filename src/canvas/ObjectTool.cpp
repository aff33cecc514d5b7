#include "canvas/ObjectTool.h"

#include <cstdlib>
#include <vector>

#include "canvas/FitNotes.h"
#include "model/LevelPack.h"

namespace {

Point TopLeft(const LevelObject& object) {
  return {8 * object.col, object.row};
}

}  // namespace

int CObjectTool::ObjectAt(Point p) const {
  const CLevel& level = m_canvas.Pack().Current();
  for (int slot = level.SlotsInUse() - 1; slot >= 0; --slot) {
    const LevelObject& object = level.m_objects[slot];
    if (object.kind == OBJ_NONE) continue;
    const Point t = TopLeft(object);
    if (p.x >= t.x && p.x < t.x + OBJECT_SIZE && p.y >= t.y &&
        p.y < t.y + OBJECT_SIZE) {
      return slot;
    }
  }
  return -1;
}

CanvasAction CObjectTool::Press(const ToolInput& input) {
  m_nPicked = ObjectAt(input.level);
  if (m_nPicked < 0) {
    ShowOverlay();
    return {};
  }
  const LevelObject& object = m_canvas.Pack().Current().m_objects[m_nPicked];
  m_ptTarget = TopLeft(object);
  m_ptGrab = input.level - m_ptTarget;
  m_bDragging = true;
  ShowOverlay();
  CanvasAction action;
  action.captureMouse = true;
  return action;
}

Point CObjectTool::TargetOf(const ToolInput& input) const {
  // The nearest byte column, as placement snaps.
  const Point q = input.level - m_ptGrab;
  const int col = q.x >= 0 ? (q.x + 4) / 8 : -((-q.x + 3) / 8);
  return {8 * col, q.y};
}

std::string_view CObjectTool::RefusalAt(Point target) const {
  const CLevel& level = m_canvas.Pack().Current();
  return fitnotes::DoesNotFit(level, level.m_objects[m_nPicked].kind, target);
}

void CObjectTool::Move(const ToolInput& input, bool dragging) {
  if (!dragging || !m_bDragging || m_nPicked < 0) return;
  // Refused where it would not fit, so the object stays at the last place
  // that fits, and the note says why once for each place refused.
  const Point target = TargetOf(input);
  if (const std::string_view refusal = RefusalAt(target); !refusal.empty()) {
    if (target != m_ptRefused) m_canvas.SayStatus(refusal);
    m_ptRefused = target;
    return;
  }
  m_ptRefused = {-1, -1};
  if (target == m_ptTarget) return;
  m_ptTarget = target;
  ShowOverlay();
}

void CObjectTool::Release(const ToolInput& input) {
  if (!m_bDragging) return;
  Move(input, true);
  // Dropped where it does not fit, the object goes to the last place that
  // did: say so at the drop too.
  const std::string_view refusal = RefusalAt(TargetOf(input));
  if (!refusal.empty()) m_canvas.SayStatus(refusal);
  m_ptRefused = {-1, -1};
  m_bDragging = false;
  CLevel& level = m_canvas.Pack().Current();
  LevelObject& object = level.m_objects[m_nPicked];
  m_canvas.ClearOverlay();
  if (m_ptTarget != TopLeft(object)) {
    m_canvas.InvalidateObject(m_nPicked);
    object.col = static_cast<std::uint8_t>(m_ptTarget.x / 8);
    object.row = static_cast<std::uint8_t>(m_ptTarget.y);
    m_canvas.InvalidateObject(m_nPicked);
    m_canvas.Pack().m_bModified = true;
  }
  ShowOverlay();
}

void CObjectTool::EndDrag() {
  // The move is not made: the object stays where it was, still picked.
  m_bDragging = false;
  if (m_nPicked >= 0) {
    m_ptTarget = TopLeft(m_canvas.Pack().Current().m_objects[m_nPicked]);
  }
  ShowOverlay();
}

bool CObjectTool::Key(CanvasKey key, bool) {
  if (key != CanvasKey::Escape || m_nPicked < 0) return false;
  if (m_bDragging) {
    EndDrag();
  } else {
    Drop();
  }
  return true;
}

void CObjectTool::Drop() {
  m_nPicked = -1;
  m_bDragging = false;
  m_canvas.ClearOverlay();
}

bool CObjectTool::RemovePicked() {
  if (m_nPicked < 0 || m_bDragging) return false;
  CLevel& level = m_canvas.Pack().Current();
  const int slot = m_nPicked;
  Drop();
  m_canvas.InvalidateObject(slot);
  if (slot < FIRST_BLOCK_SLOT) {
    level.m_objects[slot] = {};
  } else {
    const int last = FIRST_BLOCK_SLOT + level.m_nBlockCount - 1;
    for (int s = slot; s < last; ++s)
      level.m_objects[s] = level.m_objects[s + 1];
    level.m_objects[last] = {};
    --level.m_nBlockCount;
  }
  m_canvas.Pack().m_bModified = true;
  return true;
}

void CObjectTool::ShowOverlay() {
  std::vector<OverlayPixel> pixels;
  if (m_nPicked >= 0) {
    const CLevel& level = m_canvas.Pack().Current();
    const LevelObject& object = level.m_objects[m_nPicked];
    const Point t = m_bDragging ? m_ptTarget : TopLeft(object);
    if (m_bDragging && t != TopLeft(object)) {
      // The object where it would go, inverted over what is there.
      const Sprite& sprite = GetSprite(object.kind);
      for (int r = 0; r < 16; ++r) {
        for (int c = 0; c < 16; ++c) {
          if (sprite[16 * (c / 8) + r] & (0x80u >> (c % 8))) {
            pixels.push_back({t + Point{c, r}, PLOT_INVERT});
          }
        }
      }
    }
    // A dashed border just outside its box.
    for (int i = -1; i <= OBJECT_SIZE; ++i) {
      if (((i + 1) / 2) % 2 != 0) continue;
      for (const Point p : {t + Point{i, -1}, t + Point{i, OBJECT_SIZE},
                            t + Point{-1, i}, t + Point{OBJECT_SIZE, i}}) {
        pixels.push_back({p, PLOT_INVERT});
      }
    }
  }
  m_canvas.ShowOverlay(std::move(pixels));
}
