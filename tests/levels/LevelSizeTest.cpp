// Level > Level Size...: typed sizes at and across every limit, refused ones
// changing nothing, and the same level as the resize arrows would make.

#include <gtest/gtest.h>

#include <cstring>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>

#include "dialogs/LevelSizeChecks.h"
#include "dialogs/LevelSizeDlg.h"
#include "shell/CommandIds.h"
#include "shell/FrameHistory.h"
#include "shell/ShownFrameFixture.h"
#include "support/PackState.h"
#include "support/QtTestApp.h"

namespace {

struct SizeCase {
  const char* width;
  const char* height;
  bool ok;
  const char* budget;
  const char* reason;
};

TEST(LevelSizeChecks, EveryLimitAndTheBudget) {
  const SizeCase cases[] = {
      {"96", "64", true, "768 of 2304 bytes", ""},
      {"288", "64", true, "2304 of 2304 bytes", ""},
      {"96", "192", true, "2304 of 2304 bytes", ""},
      {"192", "96", true, "2304 of 2304 bytes", ""},
      {"88", "64", false, "704 of 2304 bytes",
       "The width must be 96 to 288 pixels."},
      {"296", "64", false, "2368 of 2304 bytes",
       "The width must be 96 to 288 pixels."},
      {"100", "64", false, "832 of 2304 bytes",
       "The width must be a multiple of 8 pixels."},
      {"96", "63", false, "756 of 2304 bytes",
       "The height must be 64 to 192 rows."},
      {"96", "193", false, "2316 of 2304 bytes",
       "The height must be 64 to 192 rows."},
      {"288", "65", false, "2340 of 2304 bytes",
       "A level holds at most 2304 bytes of bitmap; 288 x 65 needs 2340."},
      {"104", "192", false, "2496 of 2304 bytes",
       "A level holds at most 2304 bytes of bitmap; 104 x 192 needs 2496."},
      {"", "64", false, "", "The width must be 96 to 288 pixels."},
      {"96", "", false, "", "The height must be 64 to 192 rows."},
  };
  for (const SizeCase& c : cases) {
    SCOPED_TRACE(std::string(c.width) + " x " + c.height);
    const LevelSizeVerdict verdict = CheckLevelSize(c.width, c.height);
    EXPECT_EQ(verdict.ok, c.ok);
    EXPECT_EQ(verdict.reason, c.reason);
    if (*c.budget != '\0') {
      EXPECT_EQ(BudgetText(verdict.bytes), c.budget);
    }
  }
}

TEST(LevelSizeDialog, ShowsTheBudgetLiveAndRefusesOkPastALimit) {
  QtTestApp();
  CLevelSizeDlg dialog(96, 64);
  EXPECT_EQ(dialog.BudgetLabel()->text(), "768 of 2304 bytes");
  EXPECT_TRUE(dialog.OkButton()->isEnabled());
  dialog.WidthEdit()->setText("288");
  EXPECT_EQ(dialog.BudgetLabel()->text(), "2304 of 2304 bytes");
  EXPECT_TRUE(dialog.OkButton()->isEnabled());
  dialog.HeightEdit()->setText("65");
  EXPECT_EQ(dialog.BudgetLabel()->text(), "2340 of 2304 bytes");
  EXPECT_FALSE(dialog.OkButton()->isEnabled());
  EXPECT_EQ(dialog.ReasonLabel()->text(),
            "A level holds at most 2304 bytes of bitmap; 288 x 65 needs 2340.");
  dialog.OkButton()->click();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

class LevelSizeFrameTest : public ShownFrameFixture<CEditorFrame> {
 protected:
  CLevelPack& Pack() { return frame->Pack(); }
  // Runs Level Size with the texts typed in; OK when it is enabled.
  void Resize(const QString& width, const QString& height) {
    platform.onDialog = [width, height](QDialog& dialog) {
      auto* size = qobject_cast<CLevelSizeDlg*>(&dialog);
      EXPECT_NE(size, nullptr);
      if (size == nullptr) return int(QDialog::Rejected);
      size->WidthEdit()->setText(width);
      size->HeightEdit()->setText(height);
      return size->OkButton()->isEnabled() ? int(QDialog::Accepted)
                                           : int(QDialog::Rejected);
    };
    frame->OnCommand(IDM_LEVEL_SIZE);
  }
  void Furnish() {
    Pack().ResetLevel(Pack().m_nCurLevel);
    CLevel& level = Pack().Current();
    // A fresh level draws a random passcode; each case compares two of them.
    std::strcpy(level.m_szPasscode, "ABCD");
    while (level.m_nWidthBytes < 20) level.AddColumn();
    while (level.m_nHeight < 100) level.AddRow();
    for (int x = 0; x < 160; ++x) level.SetPixel(x, x % 100, true);
    level.PlaceObject({136, 8}, OBJ_ENTRANCE);
    level.PlaceObject({16, 80}, OBJ_EXIT);
    level.PlaceObject({64, 30}, OBJ_BLOCK);
    frame->RefreshView();
    frame->History().OnPackReplaced(false);
  }
};

TEST_F(LevelSizeFrameTest, GivesTheLevelTheArrowsWouldMakeAsOneStep) {
  const struct {
    const char* width;
    const char* height;
    int columns;  // arrow steps: + wider, - narrower
    int rows;     // + taller, - lower
  } cases[] = {
      {"96", "64", -8, -36},  {"160", "100", 0, 0},   {"192", "96", 4, -4},
      {"104", "176", -7, 76}, {"128", "70", -4, -30},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.width) + " x " + c.height);
    Furnish();
    const PackState before = StateOf(Pack());
    const CanvasView viewBefore = frame->Logic().View();
    // The same steps on the arrows, then back to the start.
    for (int i = 0; i < -c.columns; ++i) frame->OnNotify(IDC_RESIZE_WIDTH, 1);
    for (int i = 0; i < -c.rows; ++i) frame->OnNotify(IDC_RESIZE_HEIGHT, -1);
    for (int i = 0; i < c.columns; ++i) frame->OnNotify(IDC_RESIZE_WIDTH, -1);
    for (int i = 0; i < c.rows; ++i) frame->OnNotify(IDC_RESIZE_HEIGHT, 1);
    const PackState byArrows = StateOf(Pack());
    const CanvasView viewByArrows = frame->Logic().View();

    Furnish();
    frame->Logic().View() = viewBefore;
    frame->RefreshView();
    const int steps = frame->History().History().StepCount();
    Resize(c.width, c.height);
    EXPECT_EQ(StateOf(Pack()), byArrows);
    EXPECT_EQ(frame->Logic().View().m_nOriginX, viewByArrows.m_nOriginX);
    EXPECT_EQ(frame->Logic().View().m_nOriginY, viewByArrows.m_nOriginY);
    const bool changed = c.columns != 0 || c.rows != 0;
    EXPECT_EQ(frame->History().History().StepCount(),
              steps + (changed ? 1 : 0));
    if (changed) {
      EXPECT_EQ(frame->History().History().UndoText(), "Level Size");
      frame->OnCommand(IDM_EDIT_UNDO);
      EXPECT_EQ(StateOf(Pack()), before);
    }
  }
}

TEST_F(LevelSizeFrameTest, ARefusedSizeChangesNothing) {
  Furnish();
  const PackState before = StateOf(Pack());
  for (auto [w, h] : {std::pair{"88", "64"},
                      {"296", "64"},
                      {"100", "64"},
                      {"96", "63"},
                      {"96", "193"},
                      {"288", "65"},
                      {"", ""}}) {
    SCOPED_TRACE(std::string(w) + " x " + h);
    Resize(w, h);
    EXPECT_EQ(StateOf(Pack()), before);
  }
}

// An arrow that cannot move says which limit holds it.
TEST_F(LevelSizeFrameTest, TheStatusBarNamesTheLimitOfAResizeArrow) {
  frame->resize(1200, 500);  // room for the whole note
  ProcessEvents();
  frame->OnNotify(IDC_RESIZE_WIDTH, 1);
  EXPECT_EQ(frame->statusBar()->currentMessage(),
            "The level is as narrow as a level can be: 96 pixels.");
  frame->OnNotify(IDC_RESIZE_HEIGHT, -1);
  EXPECT_EQ(frame->statusBar()->currentMessage(),
            "The level is as low as a level can be: 64 rows.");
  Resize("96", "192");
  EXPECT_EQ(frame->BudgetLabel()->text(), "2304 of 2304 bytes");
  frame->OnNotify(IDC_RESIZE_WIDTH, -1);
  EXPECT_EQ(frame->statusBar()->currentMessage(),
            "The level cannot be wider: 104 x 192 would need 2496 bytes of "
            "bitmap; a level holds at most 2304.");
  frame->OnNotify(IDC_RESIZE_HEIGHT, 1);
  EXPECT_EQ(frame->statusBar()->currentMessage(),
            "The level cannot be taller: 96 x 193 would need 2316 bytes of "
            "bitmap; a level holds at most 2304.");
  EXPECT_EQ(Pack().Current().m_nHeight, 192);
}

}  // namespace
