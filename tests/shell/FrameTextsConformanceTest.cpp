#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>
#include <QToolBar>

#include "model/Level.h"
#include "shell/EditorFrame.h"
#include "support/QtTestApp.h"
#include "support/ScriptedPlatform.h"

namespace {

// The static texts of the level name, passcode and resize bars; the level
// number bar and the toolbars have none.
TEST(FrameTextsConformanceTest, BarsShowTheirStaticTexts) {
  QtTestApp();
  ScriptedPlatform platform;
  QPointer<CEditorFrame> frame = new CEditorFrame(platform);
  const struct {
    const char* bar;
    QStringList texts;
  } kCases[] = {
      {"levelNumber", {}},
      {"levelName", {"Level Name:"}},
      {"passcode", {"Passcode:"}},
      {"objectBar", {}},
      {"penBar", {}},
      {"resize", {"Resize:"}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.bar);
    const auto* bar = frame->findChild<QToolBar*>(QString::fromLatin1(c.bar));
    ASSERT_NE(bar, nullptr);
    QStringList texts;
    for (const QLabel* label : bar->findChildren<QLabel*>()) {
      texts << label->text();
    }
    EXPECT_EQ(texts, c.texts);
  }
  delete frame;
  EXPECT_EQ(CLevel::s_nLiveCount, 0);
}

}  // namespace
