#pragma once

#include <gtest/gtest.h>

#include <QPoint>
#include <QPointer>

#include "canvas/CanvasWidget.h"
#include "model/Level.h"
#include "model/LevelPack.h"
#include "shell/EditorFrame.h"
#include "support/QtTestApp.h"
#include "support/ScriptedPlatform.h"

// A frame of type `Frame` (the real one or one derived from it), shown
// offscreen on the scripted platform. Closing it at the end must delete it
// and leave no level alive.
template <typename Frame>
class ShownFrameFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    QtTestApp();
    frame = new Frame(platform);
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

  // A client point inside the cell of a level pixel.
  QPoint CellPoint(Point level) {
    const Rect cell = frame->Logic().View().CellClientRect(level);
    return {(cell.left + cell.right - 1) / 2, (cell.top + cell.bottom - 1) / 2};
  }

  ScriptedPlatform platform;
  QPointer<Frame> frame;
};
