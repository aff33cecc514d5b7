#pragma once

#include "canvas/CanvasLogic.h"

// Moves and removes objects. A click on an entrance, exit or metal block
// picks it (a dashed border shows around it); dragging it shows it at the
// byte column nearest the pointer, where it fits, and the release moves it
// there. Delete removes the picked object; Escape lets it go.
class CObjectTool final : public CCanvasTool {
 public:
  using CCanvasTool::CCanvasTool;

  CanvasAction Press(const ToolInput& input) override;
  void Move(const ToolInput& input, bool dragging) override;
  void Release(const ToolInput& input) override;
  void EndDrag() override;
  bool Key(CanvasKey key, bool shift) override;
  void Drop() override;
  std::string_view StepLabel() const override { return "Move Object"; }

  // The slot picked, or -1.
  int Picked() const { return m_nPicked; }
  // Removes the picked object; the blocks after a removed block move down
  // one slot, so the others keep their order. False when none is picked.
  bool RemovePicked();

 private:
  // The object slot whose box holds p (the one drawn last), or -1.
  int ObjectAt(Point p) const;
  void ShowOverlay();
  // Where a drag to `input` would put the picked object's top-left pixel.
  Point TargetOf(const ToolInput& input) const;
  // Why the picked object cannot go to `target`; empty where it fits.
  std::string_view RefusalAt(Point target) const;

  int m_nPicked = -1;
  bool m_bDragging = false;
  Point m_ptGrab;             // the press, from the object's top-left pixel
  Point m_ptTarget;           // where the object would go: its top-left pixel
  Point m_ptRefused{-1, -1};  // the last place refused during this drag
};
