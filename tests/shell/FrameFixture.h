#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <string>
#include <vector>

#include "ShownFrameFixture.h"
#include "canvas/CanvasWidget.h"
#include "model/LevelPack.h"
#include "shell/EditorFrame.h"

// A frame whose handlers for the later commands only record that they ran,
// and whether a placement preview still stood in the terrain then.
class RecordingFrame : public CEditorFrame {
 public:
  using CEditorFrame::CEditorFrame;

  struct Call {
    std::string handler;
    bool previewShown;
  };
  std::vector<Call> calls;

  void OnFileNew() override { Record("OnFileNew"); }
  void OnFileSave() override { Record("OnFileSave"); }
  void OnFileSaveAs() override { Record("OnFileSaveAs"); }
  void OnFileLoad() override { Record("OnFileLoad"); }
  void OnSetSecurityInfo() override { Record("OnSetSecurityInfo"); }
  void OnReorderLevels() override { Record("OnReorderLevels"); }
  void OnPopulation() override { Record("OnPopulation"); }
  void OnAbout() override { Record("OnAbout"); }
  void OnTips() override { Record("OnTips"); }
  void OnLevelNameChange() override { Record("OnLevelNameChange"); }
  void OnPasscodeChange() override { Record("OnPasscodeChange"); }
  void OnResetLevel() override {
    Record("OnResetLevel");
    CEditorFrame::OnResetLevel();
  }

 private:
  void Record(const char* name) {
    calls.push_back({name, Logic().PreviewShown()});
  }
};

// A shown frame that records the later commands.
class FrameTest : public ShownFrameFixture<RecordingFrame> {
 protected:
  CCanvasWidget& Canvas() { return frame->Canvas(); }
  CCanvasLogic& Logic() { return frame->Logic(); }
  CLevel& Level() { return frame->Pack().Current(); }

  bool CellIsBlack(Point level) {
    const QPoint p = CellPoint(level);
    return Canvas().Screen().pixel(p) == qRgb(0, 0, 0);
  }
  // The screen as a fresh full paint from the model draws it.
  QImage FullPaint() {
    Canvas().RefreshView();
    return Canvas().Screen().copy();
  }
};
