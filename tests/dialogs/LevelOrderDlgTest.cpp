#include "dialogs/LevelOrderDlg.h"

#include <gtest/gtest.h>
#include <QListWidget>
#include <QPushButton>
#include <QtTest/QTest>
#include <cstring>
#include <memory>
#include <vector>

#include "DialogTestSupport.h"
#include "model/LevelPack.h"
#include "support/ScriptedPlatform.h"

namespace {

class DlgLevelOrder : public ::testing::Test {
 protected:
  // A pack of levels with the given names; `current` is the current index.
  void MakePack(std::vector<const char*> names, int current) {
    ASSERT_TRUE(pack.NewPack());
    for (std::size_t i = 1; i < names.size(); ++i) ASSERT_TRUE(pack.AddLevel());
    for (std::size_t i = 0; i < names.size(); ++i) {
      std::strcpy(pack.Level(static_cast<int>(i)).m_szName, names[i]);
    }
    pack.m_nCurLevel = current;
  }

  QStringList PackNames() const {
    QStringList names;
    for (int i = 0; i < pack.Count(); ++i) names << pack.Level(i).m_szName;
    return names;
  }

  static QStringList ListNames(const CLevelOrderDlg& dlg) {
    QStringList names;
    for (int i = 0; i < dlg.List()->count(); ++i) {
      names << dlg.List()->item(i)->text();
    }
    return names;
  }

  static void ClickItem(CLevelOrderDlg& dlg, int row) {
    QListWidget* list = dlg.List();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
  }

  static bool ActionsEnabled(const CLevelOrderDlg& dlg) {
    const bool del = FindButton(dlg, "D&elete")->isEnabled();
    EXPECT_EQ(FindButton(dlg, "Move &Up")->isEnabled(), del);
    EXPECT_EQ(FindButton(dlg, "Move &Down")->isEnabled(), del);
    return del;
  }

  CLevelOrderDlg& Open() {
    m_dlg = std::make_unique<CLevelOrderDlg>(
        pack, [this](bool canvas) { changes.push_back(canvas); });
    m_dlg->show();
    return *m_dlg;
  }

  void TearDown() override { m_dlg.reset(); }

  CLevelPack pack;
  std::vector<bool> changes;  // one entry per refresh, true: canvas too

 private:
  std::unique_ptr<CLevelOrderDlg> m_dlg;
};

TEST_F(DlgLevelOrder, ListsTheLevelsWithTheActionsDisabled) {
  MakePack({"P", "Q", "R"}, 1);
  CLevelOrderDlg& dlg = Open();
  EXPECT_EQ(dlg.windowTitle(), "Level Order");
  EXPECT_EQ(ListNames(dlg), PackNames());
  EXPECT_FALSE(ActionsEnabled(dlg));

  ClickItem(dlg, 2);
  EXPECT_TRUE(ActionsEnabled(dlg));
  // The keyboard moves the selection as well; clearing it disables them.
  dlg.List()->clearSelection();
  EXPECT_FALSE(ActionsEnabled(dlg));
  // Actions with no selection do nothing.
  dlg.OnDelete();
  dlg.OnMoveUp();
  dlg.OnMoveDown();
  EXPECT_EQ(PackNames(), (QStringList{"P", "Q", "R"}));
  EXPECT_TRUE(changes.empty());
}

TEST_F(DlgLevelOrder, OneLevelCanBeNeitherMovedNorDeleted) {
  MakePack({"Only"}, 0);
  CLevelOrderDlg& dlg = Open();
  EXPECT_EQ(ListNames(dlg), QStringList{"Only"});
  ClickItem(dlg, 0);
  EXPECT_EQ(dlg.List()->selectedItems().size(), 1);
  EXPECT_FALSE(ActionsEnabled(dlg));
  dlg.OnDelete();
  EXPECT_EQ(pack.Count(), 1);
}

TEST_F(DlgLevelOrder, DeleteKeepsTheCurrentLevelFollowingItsLevel) {
  struct Case {
    int current;
    int deleted;
    QStringList left;
    const char* currentAfter;
  };
  const Case cases[] = {
      {1, 0, {"Q", "R"}, "Q"},  // in front of the current level
      {1, 1, {"P", "R"}, "P"},  // the current level: the one before
      {1, 2, {"P", "Q"}, "Q"},  // behind the current level
      {0, 0, {"Q", "R"}, "Q"},  // the first and current: the new first
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.deleted);
    MakePack({"P", "Q", "R"}, c.current);
    changes.clear();
    CLevelOrderDlg& dlg = Open();
    ClickItem(dlg, c.deleted);
    FindButton(dlg, "D&elete")->click();
    EXPECT_EQ(PackNames(), c.left);
    EXPECT_EQ(ListNames(dlg), c.left);
    EXPECT_STREQ(pack.Current().m_szName, c.currentAfter);
    EXPECT_EQ(CLevel::s_nLiveCount, 2);
    EXPECT_TRUE(dlg.List()->selectedItems().isEmpty());
    EXPECT_FALSE(ActionsEnabled(dlg));
    EXPECT_EQ(changes, std::vector<bool>{true});
  }
}

TEST_F(DlgLevelOrder, MovesCarryTheSelectionAndTheCurrentLevel) {
  MakePack({"P", "Q", "R"}, 1);
  CLevelOrderDlg& dlg = Open();
  ClickItem(dlg, 1);
  FindButton(dlg, "Move &Up")->click();  // Q up
  EXPECT_EQ(PackNames(), (QStringList{"Q", "P", "R"}));
  EXPECT_EQ(ListNames(dlg), PackNames());
  EXPECT_EQ(pack.m_nCurLevel, 0);
  EXPECT_EQ(dlg.List()->currentRow(), 0);
  EXPECT_TRUE(ActionsEnabled(dlg));

  // Up on the first and down on the last do nothing.
  FindButton(dlg, "Move &Up")->click();
  EXPECT_EQ(PackNames(), (QStringList{"Q", "P", "R"}));
  ClickItem(dlg, 2);
  FindButton(dlg, "Move &Down")->click();
  EXPECT_EQ(PackNames(), (QStringList{"Q", "P", "R"}));

  // The same level moves on at once: Q down twice.
  ClickItem(dlg, 0);
  FindButton(dlg, "Move &Down")->click();
  FindButton(dlg, "Move &Down")->click();
  EXPECT_EQ(PackNames(), (QStringList{"P", "R", "Q"}));
  EXPECT_EQ(ListNames(dlg), PackNames());
  EXPECT_EQ(pack.m_nCurLevel, 2);
  EXPECT_STREQ(pack.Current().m_szName, "Q");
  EXPECT_EQ(dlg.List()->selectedItems().front()->text(), "Q");
  // Moves refresh the bars but not the canvas.
  EXPECT_EQ(changes, (std::vector<bool>{false, false, false}));
}

TEST_F(DlgLevelOrder, MovingAnotherLevelPastTheCurrentOneKeepsItCurrent) {
  MakePack({"P", "Q", "R"}, 1);
  CLevelOrderDlg& dlg = Open();
  ClickItem(dlg, 0);
  FindButton(dlg, "Move &Down")->click();  // P down
  EXPECT_EQ(PackNames(), (QStringList{"Q", "P", "R"}));
  EXPECT_EQ(pack.m_nCurLevel, 0);
  EXPECT_STREQ(pack.Current().m_szName, "Q");
}

// Levels of one name are told apart by the number shown in front of each;
// the number belongs to the place, so it stays put while the levels move,
// and the items' own text stays the name.
TEST_F(DlgLevelOrder, EachRowShowsItsLevelNumberThroughMovesAndDeletes) {
  MakePack({"Cave", "Cave", "Hall"}, 0);
  CLevelOrderDlg& dlg = Open();
  const auto shown = [&dlg] {
    QStringList rows;
    for (int i = 0; i < dlg.List()->count(); ++i) rows << dlg.ShownText(i);
    return rows;
  };
  EXPECT_EQ(shown(), (QStringList{"1. Cave", "2. Cave", "3. Hall"}));
  EXPECT_EQ(ListNames(dlg), PackNames());

  ClickItem(dlg, 2);
  FindButton(dlg, "Move &Up")->click();
  EXPECT_EQ(shown(), (QStringList{"1. Cave", "2. Hall", "3. Cave"}));
  ClickItem(dlg, 0);
  FindButton(dlg, "D&elete")->click();
  EXPECT_EQ(shown(), (QStringList{"1. Hall", "2. Cave"}));
  EXPECT_EQ(ListNames(dlg), (QStringList{"Hall", "Cave"}));
}

TEST_F(DlgLevelOrder, EveryWayOfClosingMarksThePackModified) {
  enum class Close { Ok, Escape, CloseBox };
  for (const Close close : {Close::Ok, Close::Escape, Close::CloseBox}) {
    SCOPED_TRACE(static_cast<int>(close));
    MakePack({"P", "Q"}, 0);
    pack.m_bModified = false;
    ScriptedPlatform platform;
    platform.onDialog = [close](QDialog& d) {
      d.show();
      switch (close) {
        case Close::Ok:
          FindButton(d, "OK")->click();
          break;
        case Close::Escape:
          QTest::keyClick(&d, Qt::Key_Escape);
          break;
        case Close::CloseBox:
          d.close();
          break;
      }
      EXPECT_FALSE(d.isVisible());
      return d.result();
    };
    const int result = RunLevelOrderDialog(platform, nullptr, pack, {});
    EXPECT_EQ(result,
              close == Close::Ok ? QDialog::Accepted : QDialog::Rejected);
    EXPECT_TRUE(pack.m_bModified);
    EXPECT_EQ(PackNames(), (QStringList{"P", "Q"}));
  }
}

TEST_F(DlgLevelOrder, ChangesStayWhenClosedWithEscape) {
  MakePack({"P", "Q", "R"}, 0);
  ScriptedPlatform platform;
  platform.onDialog = [](QDialog& d) {
    auto& dlg = static_cast<CLevelOrderDlg&>(d);
    d.show();
    ClickItem(dlg, 2);
    FindButton(d, "D&elete")->click();
    QTest::keyClick(&d, Qt::Key_Escape);
    return d.result();
  };
  int refreshes = 0;
  RunLevelOrderDialog(platform, nullptr, pack,
                      [&refreshes](bool) { ++refreshes; });
  EXPECT_EQ(PackNames(), (QStringList{"P", "Q"}));
  EXPECT_EQ(refreshes, 1);
}

}  // namespace
