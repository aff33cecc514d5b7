#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QPointer>
#include <string>
#include <vector>

#include "canvas/CanvasWidget.h"
#include "model/LevelPack.h"
#include "shell/EditorFrame.h"
#include "support/QtTestApp.h"
#include "support/ScriptedPlatform.h"

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

// A shown frame on the scripted platform. Closing it at the end must leave
// no level alive.
class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QtTestApp();
    frame = new RecordingFrame(platform);
    frame->show();
    ProcessEvents();
  }

  void TearDown() override {
    if (frame) {
      frame->Pack().m_bModified = false;  // close without the prompt
      frame->close();
      ProcessEvents();
    }
    EXPECT_TRUE(frame.isNull()) << "the frame must delete itself on close";
    EXPECT_EQ(CLevel::s_nLiveCount, 0);
  }

  CCanvasWidget& Canvas() { return frame->Canvas(); }
  CCanvasLogic& Logic() { return frame->Logic(); }
  CLevel& Level() { return frame->Pack().Current(); }

  // A client point inside the cell of a level pixel.
  QPoint CellPoint(Point level) {
    const Rect cell = Logic().View().CellClientRect(level);
    return {cell.left + 1, cell.top + 1};
  }
  bool CellIsBlack(Point level) {
    const QPoint p = CellPoint(level);
    return Canvas().Screen().pixel(p) == qRgb(0, 0, 0);
  }
  // The screen as a fresh full paint from the model draws it.
  QImage FullPaint() {
    Canvas().RefreshView();
    return Canvas().Screen().copy();
  }

  ScriptedPlatform platform;
  QPointer<RecordingFrame> frame;
};
