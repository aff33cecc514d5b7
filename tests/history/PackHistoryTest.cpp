#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "model/LevelPack.h"
#include "packfile/PackFile.h"
#include "shell/PackHistory.h"
#include "support/PackState.h"

namespace {

// Every table entry below the count points to its own live level, and no
// other level is alive.
void ExpectTableSound(const CLevelPack& pack) {
  std::set<const CLevel*> distinct;
  for (int i = 0; i < pack.Count(); ++i) {
    ASSERT_NE(pack.m_apLevels[i], nullptr);
    distinct.insert(pack.m_apLevels[i]);
  }
  EXPECT_EQ(static_cast<int>(distinct.size()), CLevel::s_nLiveCount);
  EXPECT_GE(pack.m_nCurLevel, 0);
  EXPECT_LT(pack.m_nCurLevel, pack.Count());
}

void SetText(char* field, std::size_t size, const std::string& text) {
  std::strncpy(field, text.c_str(), size - 1);
  field[size - 1] = '\0';
}

class PackHistoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pack.NewPack());
    history.Clear();
    history.SetClean();  // as after start-up: equal to no file, unmodified
  }

  // One user action: the frame opens a step, the handler edits, the frame
  // closes the step.
  void Act(const QString& label, const std::function<void()>& edit,
           PackHistory::MergeKind merge = PackHistory::NoMerge) {
    history.Begin(label, merge);
    edit();
    history.Commit();
  }

  void Stroke(int level, int y, bool terrain = true) {
    pack.m_nCurLevel = level;
    Act("Pen Stroke", [&] {
      for (int x = 3; x < 40; ++x) {
        pack.Current().SetPixel(x, y, terrain);
        pack.m_bModified = true;  // as every plot does
      }
    });
  }

  // Typing one character more of `text` at a time, each an edit
  // notification of its own.
  void Type(PackHistory::MergeKind field, const std::string& text) {
    for (std::size_t n = 1; n <= text.size(); ++n) {
      Act(
          field == PackHistory::LevelNameTyping ? "Rename Level"
                                                : "Change Passcode",
          [&] {
            CLevel& level = pack.Current();
            if (field == PackHistory::LevelNameTyping) {
              SetText(level.m_szName, sizeof level.m_szName, text.substr(0, n));
            } else {
              SetText(level.m_szPasscode, sizeof level.m_szPasscode,
                      text.substr(0, n));
            }
            pack.m_bModified = true;
          },
          field);
    }
  }

  int UndoAll() {
    int steps = 0;
    while (history.Undo()) ++steps;
    return steps;
  }

  CLevelPack pack;
  PackHistory history{pack};
};

// A session of every kind of step, undone to the start and redone to the end,
// checked against the pack as it stood before and after each step.
TEST_F(PackHistoryTest, SessionUndoesAndRedoesStepByStep) {
  struct SessionStep {
    QString label;
    std::function<void()> action;
  };
  const std::vector<SessionStep> session = {
      {"Pen Stroke", [&] { Stroke(0, 10); }},
      {"Place Entrance",
       [&] {
         Act("Place Entrance", [&] {
           pack.Current().PlaceObject({8, 20}, OBJ_ENTRANCE);
         });
       }},
      {"Place Exit",
       [&] {
         Act("Place Exit", [&] {
           pack.Current().PlaceObject({64, 40}, OBJ_EXIT);
         });
       }},
      {"Place Block",
       [&] {
         Act("Place Block", [&] {
           pack.Current().PlaceObject({80, 0}, OBJ_BLOCK);
         });
       }},
      {"Change Width",
       [&] { Act("Change Width", [&] { pack.Current().AddColumn(); }); }},
      {"Change Height",
       [&] { Act("Change Height", [&] { pack.Current().AddRow(); }); }},
      {"Rename Level",
       [&] { Type(PackHistory::LevelNameTyping, "Cave of Doom"); }},
      {"Add Level",
       [&] {
         Act("Add Level", [&] {
           ASSERT_TRUE(pack.AddLevel());
           pack.m_nCurLevel = pack.Count() - 1;
         });
       }},
      {"Pen Stroke", [&] { Stroke(1, 30); }},
      {"Add Level",
       [&] { Act("Add Level", [&] { ASSERT_TRUE(pack.AddLevel()); }); }},
      {"Change Passcode",
       [&] {
         pack.m_nCurLevel = 2;
         Type(PackHistory::PasscodeTyping, "WXYZ");
       }},
      {"Move Level Up",
       [&] { Act("Move Level Up", [&] { pack.SwapLevels(1); }); }},
      {"Delete Level",
       [&] { Act("Delete Level", [&] { pack.DeleteLevel(0); }); }},
      {"Population",
       [&] {
         Act("Population", [&] {
           pack.Current().m_nPopulation = 45;
           pack.Current().m_nSkills[SKILL_DIGGERS] = 3;
         });
       }},
      {"Security Info",
       [&] {
         Act("Security Info", [&] {
           pack.m_szAuthorName = "Ann Author";
           pack.m_szPassword = "secret";
         });
       }},
      {"Reset Level",
       [&] {
         pack.m_nCurLevel = 0;
         Act("Reset Level", [&] { pack.ResetLevel(0); });
       }},
      {"Add Level",
       [&] { Act("Add Level", [&] { ASSERT_TRUE(pack.AddLevel()); }); }},
      {"Place Block",
       [&] {
         pack.m_nCurLevel = 1;
         Act("Place Block", [&] {
           pack.Current().PlaceObject({16, 16}, OBJ_BLOCK);
         });
       }},
      {"Remove Block",
       [&] { Act("Remove Block", [&] { pack.Current().PopLastBlock(); }); }},
      {"Change Width",
       [&] { Act("Change Width", [&] { pack.Current().AddColumn(); }); }},
  };

  std::vector<PackState> states = {StateOf(pack)};
  for (const SessionStep& step : session) {
    step.action();
    states.push_back(StateOf(pack));
    EXPECT_EQ(history.UndoText(), step.label);
    EXPECT_TRUE(pack.m_bModified) << step.label.toStdString();
  }
  ASSERT_EQ(history.StepCount(), static_cast<int>(session.size()));
  ASSERT_EQ(states.size(), session.size() + 1);
  for (std::size_t i = 0; i + 1 < states.size(); ++i) {
    ASSERT_FALSE(states[i] == states[i + 1]) << "step " << i << " was a no-op";
  }

  for (std::size_t i = session.size(); i > 0; --i) {
    ASSERT_EQ(history.UndoText(), session[i - 1].label);
    ASSERT_TRUE(history.Undo());
    EXPECT_TRUE(StateOf(pack) == states[i - 1]) << "undoing step " << i - 1;
    ExpectTableSound(pack);
    EXPECT_EQ(pack.m_bModified, i > 1);
  }
  EXPECT_FALSE(history.CanUndo());
  EXPECT_FALSE(history.Undo());

  for (std::size_t i = 1; i <= session.size(); ++i) {
    ASSERT_EQ(history.RedoText(), session[i - 1].label);
    ASSERT_TRUE(history.Redo());
    EXPECT_TRUE(StateOf(pack) == states[i]) << "redoing step " << i - 1;
    ExpectTableSound(pack);
    EXPECT_TRUE(pack.m_bModified);
  }
  EXPECT_FALSE(history.CanRedo());
  EXPECT_FALSE(history.Redo());
}

TEST_F(PackHistoryTest, UndoAndRedoShowTheLevelTheyChange) {
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(pack.AddLevel());
  pack.Level(1).m_szName[0] = 'Q';
  history.Clear();
  int refreshes = 0;
  QObject::connect(&history, &PackHistory::restored, [&] { ++refreshes; });

  Stroke(2, 5);
  pack.m_nCurLevel = 0;  // stepping away is not a step
  ASSERT_TRUE(history.Undo());
  EXPECT_EQ(pack.m_nCurLevel, 2);
  pack.m_nCurLevel = 3;
  ASSERT_TRUE(history.Redo());
  EXPECT_EQ(pack.m_nCurLevel, 2);
  EXPECT_EQ(refreshes, 2);

  // Deleting level 1 while it is current, then undoing, shows it again.
  pack.m_nCurLevel = 1;
  const std::uint32_t serial = pack.Level(1).m_nSerial;
  Act("Delete Level", [&] { pack.DeleteLevel(1); });
  EXPECT_EQ(pack.Count(), 3);
  pack.m_nCurLevel = 2;
  ASSERT_TRUE(history.Undo());
  EXPECT_EQ(pack.Count(), 4);
  EXPECT_EQ(pack.m_nCurLevel, 1);
  EXPECT_EQ(pack.Current().m_szName[0], 'Q');
  EXPECT_EQ(pack.Current().m_nSerial, serial);

  // The author and password are no level: undo leaves the current level.
  pack.m_nCurLevel = 3;
  Act("Security Info", [&] { pack.m_szAuthorName = "Ann"; });
  pack.m_nCurLevel = 0;
  ASSERT_TRUE(history.Undo());
  EXPECT_EQ(pack.m_szAuthorName, "");
  EXPECT_EQ(pack.m_nCurLevel, 0);
}

// Serials are what a reset level takes its default name from; a deleted and
// re-added level may share its serial with another.
TEST_F(PackHistoryTest, TableStepsRestoreCountAndSerials) {
  ASSERT_TRUE(pack.AddLevel());
  ASSERT_TRUE(pack.AddLevel());
  pack.Level(2).m_szName[0] = 'R';
  history.Clear();
  Act("Delete Level", [&] { pack.DeleteLevel(1); });
  Act("Add Level", [&] { ASSERT_TRUE(pack.AddLevel()); });
  Act("Move Level Up", [&] { pack.SwapLevels(1); });
  auto serials = [&] {
    std::vector<std::uint32_t> s;
    for (int i = 0; i < pack.Count(); ++i) s.push_back(pack.Level(i).m_nSerial);
    return s;
  };
  EXPECT_EQ(serials(), (std::vector<std::uint32_t>{0, 2, 2}));
  const PackState end = StateOf(pack);

  ASSERT_EQ(UndoAll(), 3);
  EXPECT_EQ(serials(), (std::vector<std::uint32_t>{0, 1, 2}));
  EXPECT_EQ(CLevel::s_nLiveCount, 3);
  ExpectTableSound(pack);

  while (history.Redo()) {
  }
  EXPECT_TRUE(StateOf(pack) == end);
  EXPECT_EQ(CLevel::s_nLiveCount, 3);
  ExpectTableSound(pack);

  // A reset level takes the default name of the serial it was restored with.
  ASSERT_TRUE(history.Undo());  // the move
  ASSERT_TRUE(history.Undo());  // the addition
  Act("Reset Level", [&] { pack.ResetLevel(1); });
  EXPECT_STREQ(pack.Level(1).m_szName, "Level 3 Name");
  ASSERT_TRUE(history.Undo());  // the reset
  ASSERT_TRUE(history.Undo());  // the deletion
  Act("Reset Level", [&] { pack.ResetLevel(1); });
  EXPECT_STREQ(pack.Level(1).m_szName, "Level 2 Name");
}

TEST_F(PackHistoryTest, ActionsThatChangeNothingMakeNoStep) {
  Act("Pen Stroke", [&] {
    pack.Current().SetPixel(5, 5, true);
    pack.Current().SetPixel(5, 5, false);
    pack.m_bModified = true;
  });
  pack.m_nCurLevel = 0;
  Act("Population", [&] { pack.m_bModified = true; });
  EXPECT_FALSE(history.CanUndo());
  EXPECT_EQ(history.StepCount(), 0);
  EXPECT_FALSE(pack.m_bModified);  // the pack still equals its file

  // A flag set before stays set: nothing says the pack equals its file.
  pack.m_bModified = true;
  Act("Population", [&] {});
  EXPECT_TRUE(pack.m_bModified);
}

TEST_F(PackHistoryTest, NestedStepsMakeOneStepWithTheOuterName) {
  history.Begin("Add Level");
  ASSERT_TRUE(pack.AddLevel());
  Act("Rename Level", [&] { pack.Level(1).m_szName[0] = 'X'; });
  EXPECT_FALSE(history.CanUndo());
  history.Commit();
  EXPECT_EQ(history.StepCount(), 1);
  EXPECT_EQ(history.UndoText(), "Add Level");
  ASSERT_TRUE(history.Undo());
  EXPECT_EQ(pack.Count(), 1);
}

// A dialog whose every action changes the pack at once (the level order
// dialog) makes one step per action.
TEST_F(PackHistoryTest, CheckpointsSplitADialogIntoSteps) {
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(pack.AddLevel());
  history.Clear();
  const PackState start = StateOf(pack);
  history.Begin("Move Level");
  pack.SwapLevels(0);
  history.Checkpoint("Move Level");
  pack.DeleteLevel(3);
  history.Checkpoint("Delete Level");
  history.Checkpoint("Move Level");  // an action that changed nothing
  pack.SwapLevels(1);
  history.Checkpoint("Move Level");
  history.Commit();  // closed without a further change
  EXPECT_EQ(history.StepCount(), 3);
  EXPECT_EQ(history.UndoText(), "Move Level");
  ASSERT_TRUE(history.Undo());
  EXPECT_EQ(history.UndoText(), "Delete Level");
  ASSERT_TRUE(history.Undo());
  EXPECT_EQ(pack.Count(), 4);
  ASSERT_TRUE(history.Undo());
  EXPECT_TRUE(StateOf(pack) == start);
}

// Save As may first ask for the security info; the save happens inside the
// command's step. The info becomes a step of its own before the saved state.
TEST_F(PackHistoryTest, ASaveInsideAStepKeepsItsChangesBeforeTheSavedState) {
  history.Begin("Set Security Info");
  pack.m_szAuthorName = "Ann";
  pack.m_szPassword = "pw";
  history.SetClean();  // the write succeeded
  pack.m_bModified = false;
  history.Commit();
  EXPECT_FALSE(pack.m_bModified);
  EXPECT_EQ(history.StepCount(), 1);
  ASSERT_TRUE(history.Undo());
  EXPECT_EQ(pack.m_szAuthorName, "");
  EXPECT_TRUE(pack.m_bModified);
  ASSERT_TRUE(history.Redo());
  EXPECT_FALSE(pack.m_bModified);
}

TEST_F(PackHistoryTest, ModifiedFlagFollowsTheSavedState) {
  Stroke(0, 1);
  Stroke(0, 2);
  history.SetClean();  // saved after two strokes
  EXPECT_FALSE(pack.m_bModified);
  Stroke(0, 3);
  EXPECT_TRUE(pack.m_bModified);

  struct Move {
    bool undo;
    bool modifiedAfter;
  };
  const Move moves[] = {
      {true, false},   // back at the saved state
      {true, true},    // before it
      {true, true},    // at the start
      {false, true},   // one stroke
      {false, false},  // saved state again
      {false, true},   // past it
  };
  for (const Move& move : moves) {
    ASSERT_TRUE(move.undo ? history.Undo() : history.Redo());
    EXPECT_EQ(pack.m_bModified, move.modifiedAfter);
  }

  // Leaving the saved state's branch: it cannot be reached again.
  ASSERT_TRUE(history.Undo());
  ASSERT_TRUE(history.Undo());
  Stroke(0, 9);
  EXPECT_TRUE(pack.m_bModified);
  EXPECT_FALSE(history.CanRedo());
  while (history.Undo()) EXPECT_TRUE(pack.m_bModified);
}

// A change that no step recorded still marks the pack modified, and undo
// takes it back on its own before the steps below it.
TEST_F(PackHistoryTest, EditsOutsideAStepAreNeverLost) {
  Stroke(0, 1);
  history.SetClean();
  pack.Current().SetPixel(70, 50, true);
  history.SyncModified();
  EXPECT_TRUE(pack.m_bModified);

  ASSERT_TRUE(history.Undo());
  EXPECT_FALSE(pack.Current().GetPixel(70, 50));
  EXPECT_TRUE(pack.Current().GetPixel(3, 1));  // the stroke is still there
  EXPECT_FALSE(pack.m_bModified);
  ASSERT_TRUE(history.Redo());
  EXPECT_TRUE(pack.Current().GetPixel(70, 50));
}

TEST_F(PackHistoryTest, UndoWaitsUntilTheOpenStepIsClosed) {
  Stroke(0, 1);
  history.Begin("Pen Stroke");
  pack.Current().SetPixel(50, 50, true);
  EXPECT_FALSE(history.Undo());
  EXPECT_FALSE(history.Redo());
  history.Commit();
  EXPECT_EQ(history.StepCount(), 2);
  ASSERT_TRUE(history.Undo());
  EXPECT_FALSE(pack.Current().GetPixel(50, 50));
  EXPECT_TRUE(pack.Current().GetPixel(3, 1));
}

// Restoring refreshes the bars, whose edits hand their texts back as if
// typed, possibly changed (an upper-case edit). Such echoes are no user
// action: they make no step, keep the redo steps and do not mark the pack.
TEST_F(PackHistoryTest, EchoesOfARestoreAreNoSteps) {
  QObject::connect(&history, &PackHistory::restored, [&] {
    EXPECT_TRUE(history.Restoring());
    std::string shown = pack.Current().m_szName;
    for (char& c : shown) c = static_cast<char>(std::toupper(c));
    Type(PackHistory::LevelNameTyping, shown);
  });
  Type(PackHistory::LevelNameTyping, "Abc");
  Stroke(0, 4);
  ASSERT_TRUE(history.Undo());
  EXPECT_STREQ(pack.Current().m_szName, "ABC");
  ASSERT_TRUE(history.Undo());
  EXPECT_STREQ(pack.Current().m_szName, "LEVEL 1 NAME");
  EXPECT_FALSE(history.Restoring());
  EXPECT_FALSE(pack.m_bModified);
  EXPECT_EQ(history.StepCount(), 2);
  ASSERT_TRUE(history.Redo());
  ASSERT_TRUE(history.Redo());
  EXPECT_TRUE(pack.Current().GetPixel(3, 4));
  EXPECT_EQ(history.StepCount(), 2);
}

TEST_F(PackHistoryTest, TypingMergesWithinOneFieldOfOneLevel) {
  ASSERT_TRUE(pack.AddLevel());
  history.Clear();
  pack.m_nCurLevel = 1;
  const std::string oldName = pack.Current().m_szName;
  const std::string oldCode = pack.Current().m_szPasscode;

  Type(PackHistory::LevelNameTyping, "Deep");
  EXPECT_EQ(history.StepCount(), 1);
  Type(PackHistory::PasscodeTyping, "ABCD");
  EXPECT_EQ(history.StepCount(), 2);
  Type(PackHistory::LevelNameTyping, "Deeper");  // another field came between
  EXPECT_EQ(history.StepCount(), 3);
  pack.m_nCurLevel = 0;
  Type(PackHistory::LevelNameTyping, "First");  // another level
  EXPECT_EQ(history.StepCount(), 4);
  history.BreakMerge();
  Type(PackHistory::LevelNameTyping, "Firsts");
  EXPECT_EQ(history.StepCount(), 5);

  ASSERT_EQ(UndoAll(), 5);
  EXPECT_EQ(pack.Level(1).m_szName, oldName);
  EXPECT_EQ(pack.Level(1).m_szPasscode, oldCode);
  EXPECT_STREQ(pack.Level(0).m_szName, "Level 1 Name");
}

TEST_F(PackHistoryTest, TypingBackToTheOldTextLeavesNoStep) {
  Stroke(0, 1);
  Type(PackHistory::LevelNameTyping, "Level 1 Names");
  Type(PackHistory::LevelNameTyping, "Level 1 Name");
  EXPECT_EQ(history.StepCount(), 1);
  EXPECT_EQ(history.UndoText(), "Pen Stroke");
}

TEST_F(PackHistoryTest, TypingDoesNotMergeAcrossASave) {
  Type(PackHistory::LevelNameTyping, "Ab");
  history.SetClean();
  Type(PackHistory::LevelNameTyping, "Abc");
  EXPECT_EQ(history.StepCount(), 2);
  ASSERT_TRUE(history.Undo());
  EXPECT_STREQ(pack.Current().m_szName, "Ab");
  EXPECT_FALSE(pack.m_bModified);
}

// New and Load forget every step. The modified flag keeps its value: a New
// answered "No" to "Save changes?" leaves a pack that still differs from the
// file, and a load is followed by SetClean().
TEST_F(PackHistoryTest, ClearForgetsEveryStepAndKeepsTheFlag) {
  Stroke(0, 1);
  Stroke(0, 2);
  ASSERT_TRUE(history.Undo());

  history.Begin("New");  // the command is inside a step when it clears
  ASSERT_TRUE(pack.NewPack());
  history.Clear();
  history.Commit();
  EXPECT_FALSE(history.CanUndo());
  EXPECT_FALSE(history.CanRedo());
  EXPECT_EQ(history.StepCount(), 0);
  EXPECT_TRUE(pack.m_bModified);
  Stroke(0, 3);
  ASSERT_TRUE(history.Undo());
  EXPECT_TRUE(pack.m_bModified);  // still not the file's state

  // Load: the pack is replaced, the flag cleared, then history cleared.
  PackContents loaded = pack.Contents();
  loaded.levels.resize(2);
  ASSERT_TRUE(pack.ReplaceWithLoaded(loaded));
  pack.m_bModified = false;
  history.Clear();
  history.SetClean();
  EXPECT_FALSE(history.CanUndo());
  EXPECT_FALSE(history.CanRedo());
  EXPECT_FALSE(pack.m_bModified);
  Stroke(1, 5);
  ASSERT_TRUE(history.Undo());
  EXPECT_FALSE(pack.m_bModified);
  EXPECT_EQ(pack.Count(), 2);
}

TEST_F(PackHistoryTest, ChangedSignalFollowsTheEditMenu) {
  int changes = 0;
  QObject::connect(&history, &PackHistory::changed, [&] { ++changes; });
  Stroke(0, 1);
  EXPECT_GT(changes, 0);
  changes = 0;
  ASSERT_TRUE(history.Undo());
  EXPECT_GT(changes, 0);
  EXPECT_EQ(history.RedoText(), "Pen Stroke");
  changes = 0;
  history.Clear();
  EXPECT_GT(changes, 0);
}

}  // namespace
