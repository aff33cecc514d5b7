#include <gtest/gtest.h>

#include <QApplication>

#include "model/Level.h"
#include "shell/EditorApp.h"
#include "support/QtTestApp.h"

namespace {

TEST(EditorAppTest, EndingTheProgramReleasesEveryLevel) {
  QtTestApp();
  {
    // The window still open when the loop ends.
    CEditorApp editor;
    ASSERT_TRUE(editor.InitInstance());
    EXPECT_EQ(CLevel::s_nLiveCount, 1);
    EXPECT_EQ(QApplication::topLevelWidgets().size() > 0, true);
  }
  EXPECT_EQ(CLevel::s_nLiveCount, 0);

  {
    // The window closed, its deletion still posted.
    CEditorApp editor;
    ASSERT_TRUE(editor.InitInstance());
    for (QWidget* w : QApplication::topLevelWidgets()) w->close();
    editor.ExitInstance();
    EXPECT_EQ(CLevel::s_nLiveCount, 0);
  }
  EXPECT_EQ(CLevel::s_nLiveCount, 0);
}

}  // namespace
