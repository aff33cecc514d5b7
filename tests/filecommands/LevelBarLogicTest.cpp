#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "FailingAllocation.h"
#include "RecordingFrame.h"
#include "model/LevelPack.h"
#include "shell/LevelBarLogic.h"
#include "support/ScriptedPlatform.h"

namespace {

using Answer = IPlatform::Answer;

class LevelBarTest : public ::testing::Test {
 protected:
  LevelBarTest() { pack.NewPack(); }

  void MakeLevels(int count, int current) {
    while (pack.Count() < count) pack.AddLevel();
    pack.m_nCurLevel = current;
  }

  std::vector<QString> Captions() const {
    std::vector<QString> captions;
    for (const auto& m : platform.messages) captions.push_back(m.caption);
    return captions;
  }

  CLevelPack pack;
  ScriptedPlatform platform;
  RecordingFrame frame;
  CLevelBarLogic bar{pack, platform, frame};
};

// ---- Level number ----------------------------------------------------------

struct NumberCase {
  const char* what;
  int count;
  int current;
  int delta;
  std::vector<Answer> answers;
  int failAllocations;
  int wantCurrent;
  int wantCount;
  bool wantModified;
  std::vector<QString> wantCaptions;
};

TEST_F(LevelBarTest, LevelNumberStepsWithinThePackAndOffersToAddOne) {
  const std::vector<NumberCase> cases = {
      {"one level, up, No",
       1,
       0,
       +1,
       {Answer::No},
       0,
       0,
       1,
       false,
       {"Add New Level"}},
      {"one level, up, Yes",
       1,
       0,
       +1,
       {Answer::Yes},
       0,
       1,
       2,
       true,
       {"Add New Level"}},
      {"Yes but no memory",
       1,
       0,
       +1,
       {Answer::Yes, Answer::Ok},
       1,
       0,
       1,
       true,
       {"Add New Level", "Level Addition Error"}},
      {"nine levels, up from the ninth", 9, 8, +1, {}, 0, 8, 9, false, {}},
      {"down from the first", 3, 0, -1, {}, 0, 0, 3, false, {}},
      {"up between levels", 3, 1, +1, {}, 0, 2, 3, false, {}},
      {"down between levels", 3, 2, -1, {}, 0, 1, 3, false, {}},
      {"a large step counts as one", 4, 1, +3, {}, 0, 2, 4, false, {}},
      {"a large step past the last asks",
       2,
       1,
       +2,
       {Answer::No},
       0,
       1,
       2,
       false,
       {"Add New Level"}},
      {"a large step down", 4, 2, -5, {}, 0, 1, 4, false, {}},
  };
  for (const NumberCase& c : cases) {
    SCOPED_TRACE(c.what);
    pack.NewPack();
    pack.m_bModified = false;
    MakeLevels(c.count, c.current);
    platform.messages.clear();
    platform.unexpected = 0;
    platform.answers.assign(c.answers.begin(), c.answers.end());
    frame.calls.clear();
    FailLevelAllocations(c.failAllocations);

    const int position = bar.OnLevelNumberDelta(c.delta);
    FailLevelAllocations(0);

    EXPECT_EQ(pack.m_nCurLevel, c.wantCurrent);
    EXPECT_EQ(pack.Count(), c.wantCount);
    EXPECT_EQ(pack.m_bModified, c.wantModified);
    EXPECT_EQ(Captions(), c.wantCaptions);
    EXPECT_EQ(platform.unexpected, 0);
    // The up-down applies the delta after the handler: it then shows the
    // one-based number of the level now current.
    EXPECT_EQ(position + c.delta, c.wantCurrent + 1);
    EXPECT_EQ(frame.calls, (std::vector<std::string>{"bars", "clamp"}));
  }
}

TEST_F(LevelBarTest, AddLevelQuestionAndMemoryMessageTexts) {
  platform.answers = {Answer::Yes, Answer::Ok};
  FailLevelAllocations(1);
  bar.OnLevelNumberDelta(+1);
  FailLevelAllocations(0);
  ASSERT_EQ(platform.messages.size(), 2u);
  EXPECT_EQ(platform.messages[0].text, "Would you like to add a level?");
  EXPECT_EQ(platform.messages[0].buttons, IPlatform::Buttons::YesNo);
  EXPECT_EQ(platform.messages[0].icon, IPlatform::Icon::Question);
  EXPECT_EQ(platform.messages[1].text, "Not enough memory!");
  EXPECT_EQ(platform.messages[1].buttons, IPlatform::Buttons::Ok);
  EXPECT_EQ(platform.messages[1].icon, IPlatform::Icon::Exclamation);
}

// ---- Resizing --------------------------------------------------------------

enum class Control { Width, Height };

struct ResizeCase {
  const char* what;
  int width;
  int height;
  Control control;
  int delta;
  int wantWidth;
  int wantHeight;
  std::vector<std::string> wantCalls;
};

TEST_F(LevelBarTest, ResizeArrowsKeepToTheLimits) {
  const std::vector<ResizeCase> cases = {
      {"narrower",
       13,
       64,
       Control::Width,
       +1,
       12,
       64,
       {"shift -16 0", "refresh"}},
      {"narrower at 12 bytes", 12, 64, Control::Width, +1, 12, 64, {"refresh"}},
      {"wider", 12, 64, Control::Width, -1, 13, 64, {"shift 16 0", "refresh"}},
      {"wider at 36 x 64", 36, 64, Control::Width, -1, 36, 64, {"refresh"}},
      {"wider at 24 x 96", 24, 96, Control::Width, -1, 24, 96, {"refresh"}},
      {"narrower at 24 x 96",
       24,
       96,
       Control::Width,
       +1,
       23,
       96,
       {"shift -16 0", "refresh"}},
      {"width, other delta", 13, 64, Control::Width, 2, 13, 64, {"refresh"}},
      {"shorter", 12, 65, Control::Height, -1, 12, 64, {"shift 0 1", "clamp"}},
      {"shorter at 64 rows", 12, 64, Control::Height, -1, 12, 64, {"clamp"}},
      {"taller", 12, 64, Control::Height, +1, 12, 65, {"shift 0 -1", "clamp"}},
      {"taller at 12 x 192", 12, 192, Control::Height, +1, 12, 192, {"clamp"}},
      {"taller at 24 x 96", 24, 96, Control::Height, +1, 24, 96, {"clamp"}},
      {"shorter at 24 x 96",
       24,
       96,
       Control::Height,
       -1,
       24,
       95,
       {"shift 0 1", "clamp"}},
  };
  for (const ResizeCase& c : cases) {
    SCOPED_TRACE(c.what);
    pack.NewPack();
    pack.m_bModified = false;
    CLevel& level = pack.Current();
    while (level.m_nWidthBytes < c.width) level.AddColumn();
    while (level.m_nHeight < c.height) level.AddRow();
    frame.calls.clear();

    if (c.control == Control::Width) {
      bar.OnWidthDelta(c.delta);
    } else {
      bar.OnHeightDelta(c.delta);
    }

    EXPECT_EQ(level.m_nWidthBytes, c.wantWidth);
    EXPECT_EQ(level.m_nHeight, c.wantHeight);
    const bool changed = c.wantWidth != c.width || c.wantHeight != c.height;
    EXPECT_EQ(pack.m_bModified, changed);
    EXPECT_EQ(frame.calls, c.wantCalls);
    EXPECT_TRUE(platform.messages.empty());
  }
}

TEST_F(LevelBarTest, NarrowingDropsObjectsThatNoLongerFit) {
  CLevel& level = pack.Current();
  level.AddColumn();
  level.PlaceObject({8 * 11, 0}, OBJ_EXIT);  // columns 11 and 12
  level.PlaceObject({0, 0}, OBJ_ENTRANCE);
  bar.OnWidthDelta(+1);
  EXPECT_EQ(level.m_objects[EXIT_SLOT].kind, OBJ_NONE);
  EXPECT_EQ(level.m_objects[ENTRANCE_SLOT].kind, OBJ_ENTRANCE);
}

// ---- Name and passcode edits -----------------------------------------------

TEST_F(LevelBarTest, NameEditRenamesTheCurrentLevel) {
  MakeLevels(2, 1);
  const struct {
    std::string typed;
    std::string stored;
  } cases[] = {
      {"Cave", "Cave"},
      {"", ""},
      {std::string(29, 'x'), std::string(29, 'x')},
      {std::string(40, 'y'), std::string(29, 'y')},
  };
  for (const auto& c : cases) {
    pack.m_bModified = false;
    bar.OnLevelNameChange(c.typed);
    EXPECT_EQ(std::string(pack.Level(1).m_szName), c.stored);
    EXPECT_TRUE(pack.m_bModified);
  }
  EXPECT_EQ(std::string(pack.Level(0).m_szName), "Level 1 Name");
}

TEST_F(LevelBarTest, PasscodeEditKeepsTheLastNonEmptyText) {
  MakeLevels(2, 1);
  const struct {
    std::string typed;
    std::string stored;
  } steps[] = {
      {"Q", "Q"}, {"QR", "QR"}, {"QRST", "QRST"}, {"QRSTU", "QRST"},
      {"Q", "Q"}, {"", "Q"},    {"AB", "AB"},
  };
  for (const auto& step : steps) {
    pack.m_bModified = false;
    bar.OnPasscodeChange(step.typed);
    EXPECT_EQ(std::string(pack.Level(1).m_szPasscode), step.stored)
        << "typed " << step.typed;
    EXPECT_TRUE(pack.m_bModified);
  }
}

// ---- Showing the current level ---------------------------------------------

TEST_F(LevelBarTest, ShowingALevelNeitherChangesItNorMarksThePack) {
  MakeLevels(2, 0);
  const std::string firstPasscode = pack.Level(0).m_szPasscode;
  std::strcpy(pack.Level(1).m_szName, "Second");
  std::strcpy(pack.Level(1).m_szPasscode, "WXYZ");

  // The edits report every text written into them, as real ones do.
  std::vector<CLevelBarLogic::BarTexts> shown;
  auto show = [&](const CLevelBarLogic::BarTexts& texts) {
    shown.push_back(texts);
    bar.OnLevelNameChange(texts.name);
    bar.OnPasscodeChange(texts.passcode);
    bar.OnPasscodeChange("");
  };

  for (bool modified : {false, true}) {
    pack.m_bModified = modified;
    pack.m_nCurLevel = 0;
    bar.UpdateLevelBars(show);
    pack.m_nCurLevel = 1;
    bar.UpdateLevelBars(show);
    EXPECT_EQ(pack.m_bModified, modified);
  }
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown[0], (CLevelBarLogic::BarTexts{1, "Level 1 Name", "", true}));
  EXPECT_EQ(shown[1], (CLevelBarLogic::BarTexts{2, "Second", "WXYZ", false}));
  EXPECT_EQ(std::string(pack.Level(0).m_szPasscode), firstPasscode);
  EXPECT_EQ(std::string(pack.Level(1).m_szPasscode), "WXYZ");

  // Afterwards the edits work again.
  pack.m_bModified = false;
  bar.OnLevelNameChange("Typed");
  EXPECT_TRUE(pack.m_bModified);
  EXPECT_EQ(std::string(pack.Level(1).m_szName), "Typed");
}

}  // namespace
