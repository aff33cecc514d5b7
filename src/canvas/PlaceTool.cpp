#include "canvas/PlaceTool.h"

#include "canvas/FitNotes.h"
#include "model/LevelPack.h"

CPlaceTool::CPlaceTool(CCanvasLogic& canvas) : CCanvasTool(canvas) {
  m_canvas.Pack().AddOverlay(this);
}

CPlaceTool::~CPlaceTool() { m_canvas.Pack().RemoveOverlay(this); }

std::string_view CPlaceTool::StepLabel() const {
  switch (m_canvas.m_nToolMode) {
    case OBJ_ENTRANCE:
      return "Place Entrance";
    case OBJ_EXIT:
      return "Place Exit";
    default:
      return "Place Block";
  }
}

void CPlaceTool::InvertPreview(Point centre) {
  // The preview lives in the terrain only while it is shown and is always
  // inverted back: it is no edit, so it leaves the modified flag alone.
  Lay();  // a reader's lift ends before the preview changes
  CLevelPack& pack = m_canvas.Pack();
  const bool modified = pack.m_bModified;
  m_canvas.m_ptLast = centre;
  const Sprite& sprite = GetSprite(m_canvas.m_nToolMode);
  if (m_canvas.ClassicColours()) {
    m_canvas.StampMask(centre, PLOT_INVERT, sprite, true);
    // The inverted cells are painted from the terrain alone: the objects
    // they cross are drawn over them again, as a full paint shows them.
    m_canvas.RedrawObjectsOver(
        {centre.x - 8, centre.y - 8, centre.x + 8, centre.y + 8});
  } else {
    // The same bits flip, but the screen shows the preview in its own ink
    // over the level while it stands, and the level again once it goes.
    FlipPreviewBits();
    const Point topLeft = centre - Point{8, 8};
    if (!m_bPreview) {
      m_canvas.PaintSprite(topLeft, sprite, Ink::Preview);
    } else {
      const CLevel& level = pack.Current();
      for (int i = 0; i < 32; ++i) {
        for (int j = 0; j < 8; ++j) {
          if (!(sprite[i] & (0x80u >> j))) continue;
          const Point p = topLeft + Point{8 * (i / 16) + j, i % 16};
          if (::IsInLevel(level, p)) {
            m_canvas.PaintCell(p, !level.GetPixel(p.x, p.y));
          }
        }
      }
      m_canvas.RedrawObjectsNear(centre);
    }
  }
  pack.m_bModified = modified;
}

void CPlaceTool::FlipPreviewBits() {
  // The same pixels InvertPreview plots: each set pixel of the sprite's two
  // byte columns, with the sprite's pixel (8, 8) on the centre.
  CLevel& level = m_canvas.Pack().Current();
  const Sprite& sprite = GetSprite(m_canvas.m_nToolMode);
  for (int i = 0; i < 32; ++i) {
    for (int j = 0; j < 8; ++j) {
      if (!(sprite[i] & (0x80u >> j))) continue;
      const Point p =
          m_canvas.m_ptLast + Point{8 * (i / 16) + j - 8, (i % 16) - 8};
      if (!::IsInLevel(level, p)) continue;
      level.m_bitmap[level.m_nWidthBytes * p.y + p.x / 8] ^=
          static_cast<std::uint8_t>(0x80 >> (p.x % 8));
    }
  }
}

void CPlaceTool::Lift() {
  if (m_bLifted || !m_bPreview) return;
  FlipPreviewBits();
  m_bLifted = true;
}

void CPlaceTool::Lay() {
  if (!m_bLifted) return;
  m_bLifted = false;
  if (m_bPreview) FlipPreviewBits();
}

void CPlaceTool::Move(const ToolInput& input, bool dragging) {
  if (dragging) return;
  const Point p = input.level;
  m_canvas.RedrawObjectsNear(p);
  const Point centre = BoxCentre(p);
  if (centre == m_canvas.m_ptLast) return;
  if (m_bPreview) InvertPreview(m_canvas.m_ptLast);
  m_bPreview = false;
  m_canvas.m_ptLast = centre;
  if (m_canvas.ObjectFits(centre)) {
    InvertPreview(centre);
    m_bPreview = true;
  } else if (m_canvas.IsInLevel(p)) {
    // No outline follows the pointer here: say why.
    m_canvas.SayStatus(fitnotes::DoesNotFit(
        m_canvas.Pack().Current(), m_canvas.m_nToolMode, centre - Point{8, 8}));
  }
}

void CPlaceTool::RemovePreview() {
  if (m_bPreview) InvertPreview(m_canvas.m_ptLast);
  m_bPreview = false;
  m_canvas.m_ptLast.x = -1;
}

CanvasAction CPlaceTool::Press(const ToolInput& input) {
  if (input.opposite) return {};  // objects are placed with the left button
  RemovePreview();
  const Point centre = BoxCentre(input.level);
  if (!m_canvas.ObjectFits(centre)) {
    // Nothing is placed and the tool stays; the note says why.
    CanvasAction action;
    action.status =
        m_canvas.IsInLevel(input.level)
            ? fitnotes::DoesNotFit(m_canvas.Pack().Current(),
                                   m_canvas.m_nToolMode, centre - Point{8, 8})
            : fitnotes::ClickInside(m_canvas.m_nToolMode);
    return action;
  }
  CLevel& level = m_canvas.Pack().Current();
  const int kind = m_canvas.m_nToolMode;
  if (kind != OBJ_ENTRANCE && kind != OBJ_EXIT &&
      level.m_nBlockCount >= MAX_BLOCKS) {
    // The model would not record the block: paint nothing, change nothing.
    CanvasAction action;
    action.status = kBlockLimitMessage;
    return action;
  }
  m_canvas.m_ptLast = centre;
  if (kind == OBJ_ENTRANCE && level.m_objects[ENTRANCE_SLOT].kind != OBJ_NONE) {
    m_canvas.InvalidateObject(ENTRANCE_SLOT);
  }
  if (kind == OBJ_EXIT && level.m_objects[EXIT_SLOT].kind != OBJ_NONE) {
    m_canvas.InvalidateObject(EXIT_SLOT);
  }
  if (m_canvas.ClassicColours()) {
    m_canvas.StampMask(centre, PLOT_SET, GetSprite(kind), false);
  } else {
    m_canvas.PaintSprite(centre - Point{8, 8}, GetSprite(kind),
                         ObjectInk(kind));
  }
  level.PlaceObject(centre - Point{8, 8}, kind);
  CanvasAction action;
  if (!input.shift) {
    m_canvas.m_curCurrent = m_canvas.m_curPrevious;
    action.cursorChanged = true;
  }
  return action;
}
