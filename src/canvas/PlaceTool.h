#pragma once

#include "canvas/CanvasLogic.h"
#include "model/PackOverlay.h"

// Placement of an entrance, exit or metal block (the canvas's m_nToolMode).
// While the pointer moves, an inverted outline of the object follows it in
// the terrain, snapped to byte columns, wherever the object fits; a click
// takes the outline away, records the object and gives the tool in force
// before back, or keeps placing when Shift is held.
//
// The tool registers with the pack as its overlay, so that every reader of
// the pack (CLevelPack::WithoutPreviews, Contents) sees the terrain without
// the outline.
class CPlaceTool final : public CCanvasTool, private IPackOverlay {
 public:
  explicit CPlaceTool(CCanvasLogic& canvas);
  ~CPlaceTool() override;

  CanvasAction Press(const ToolInput& input) override;
  void Move(const ToolInput& input, bool dragging) override;
  void Release(const ToolInput&) override {}
  void Drop() override { RemovePreview(); }
  std::string_view StepLabel() const override;

  // Takes a drawn preview out of the terrain and forgets it.
  void RemovePreview();
  bool PreviewShown() const { return m_bPreview; }

 private:
  void InvertPreview(Point centre);
  // Flips the preview's pixels in the terrain without painting anything.
  void FlipPreviewBits();
  void Lift() override;
  void Lay() override;

  // A preview is in the terrain, centred on the canvas's m_ptLast. Kept as a
  // flag rather than inferred from m_ptLast, which a stroke or a release
  // also moves.
  bool m_bPreview = false;
  // The preview is lifted out for a reader of the pack.
  bool m_bLifted = false;
};

// The centre of the object box under level point p: x snapped toward zero to
// a byte column, the row unsnapped, then 8 right and 8 down.
inline Point BoxCentre(Point p) { return {p.x - p.x % 8 + 8, p.y + 8}; }
