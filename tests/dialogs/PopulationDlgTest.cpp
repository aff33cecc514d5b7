#include "dialogs/PopulationDlg.h"

#include <gtest/gtest.h>
#include <QLineEdit>
#include <QToolButton>
#include <QtTest/QTest>

#include "DialogTestSupport.h"
#include "model/LevelPack.h"
#include "support/ScriptedPlatform.h"
#include "uikit/UpDown.h"

namespace {

// Edit names in the order the dialog shows them (its tab order).
const char* const kShownOrder[] = {
    "edit1037", "edit1038", "edit1039", "edit1052", "edit1025", "edit1027",
    "edit1030", "edit1032", "edit1033", "edit1034", "edit1035", "edit1036",
};

QLineEdit* Edit(const QDialog& dialog, const char* name) {
  auto* edit = dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
  EXPECT_NE(edit, nullptr) << name;
  return edit;
}

class DlgPopulation : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(pack.NewPack()); }

  ScriptedPlatform platform;
  CLevelPack pack;
};

TEST_F(DlgPopulation, ShowsTheLevelsNumbersInTheirEdits) {
  pack.Current().m_nSkills[SKILL_BASHERS] = 1;
  pack.Current().m_nSkills[SKILL_BLOCKERS] = 2;
  pack.Current().m_nSkills[SKILL_MINERS] = 8;
  platform.onDialog = [](QDialog& d) {
    d.show();
    EXPECT_EQ(d.windowTitle(), "Current Level Population");
    EXPECT_EQ(Edit(d, "edit1037")->text(), "20");
    EXPECT_EQ(Edit(d, "edit1038")->text(), "15");
    EXPECT_EQ(Edit(d, "edit1039")->text(), "20");
    EXPECT_EQ(Edit(d, "edit1052")->text(), "1200");
    EXPECT_EQ(Edit(d, "edit1030")->text(), "1");  // bashers
    EXPECT_EQ(Edit(d, "edit1025")->text(), "2");  // blockers
    EXPECT_EQ(Edit(d, "edit1036")->text(), "8");  // miners
    EXPECT_EQ(Edit(d, "edit1033")->text(), "30");
    EXPECT_EQ(d.focusWidget(), Edit(d, "edit1037"));
    ExpectLabelsFit(d);
    return QDialog::Rejected;
  };
  RunPopulationDialog(platform, nullptr, pack);
}

TEST_F(DlgPopulation, TabOrderFollowsTheLayout) {
  CPopulationDlg dlg(platform);
  dlg.show();
  QStringList order;
  QWidget* widget = Edit(dlg, kShownOrder[0]);
  for (int i = 0; i < 14; ++i) {
    order << (widget->objectName().isEmpty()
                  ? static_cast<QPushButton*>(widget)->text()
                  : widget->objectName());
    do {
      widget = widget->nextInFocusChain();
    } while (!(widget->focusPolicy() & Qt::TabFocus));
  }
  QStringList expected;
  for (const char* name : kShownOrder) expected << name;
  expected << "OK"
           << "Cancel";
  EXPECT_EQ(order, expected);
}

TEST_F(DlgPopulation, RefusedOkNamesTheFieldAndFocusesItsEdit) {
  struct Case {
    const char* edit;
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"edit1037", "51", "Please enter an integer between 1 and 50."},
      {"edit1038", "221", "Please enter an integer between 1 and 220."},
      {"edit1039", "abc", "Please enter an integer."},
      {"edit1052", "20001", "Please enter an integer between 1 and 20000."},
      {"edit1030", "-1", "Please enter an integer between 0 and 50."},
      {"edit1036", "51", "Please enter an integer between 0 and 50."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.edit);
    ScriptedPlatform boxes;
    CPopulationDlg dlg(boxes);
    static_cast<PopulationValues&>(dlg) =
        PopulationValues::FromLevel(pack.Current());
    dlg.show();
    Edit(dlg, c.edit)->setText(c.text);
    FindButton(dlg, "OK")->click();
    ASSERT_EQ(boxes.messages.size(), 1u);
    EXPECT_EQ(boxes.messages[0].text, c.message);
    EXPECT_EQ(boxes.messages[0].icon, IPlatform::Icon::Exclamation);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.focusWidget(), Edit(dlg, c.edit));
    EXPECT_EQ(Edit(dlg, c.edit)->selectedText(), c.text);
  }
}

TEST_F(DlgPopulation, MoreToSaveThanPlodders) {
  int presses = 0;
  platform.onDialog = [&presses](QDialog& d) {
    d.show();
    Edit(d, "edit1037")->setText("10");
    Edit(d, "edit1039")->setText("11");
    FindButton(d, "OK")->click();
    ++presses;
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(Edit(d, "edit1039")->text(), "11");
    FindButton(d, "Cancel")->click();
    return d.result();
  };
  EXPECT_EQ(RunPopulationDialog(platform, nullptr, pack), QDialog::Rejected);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text, "You cannot save more than you have.");
  EXPECT_EQ(platform.messages[0].caption, "Population Error");
  EXPECT_EQ(platform.messages[0].icon, IPlatform::Icon::Exclamation);
  EXPECT_EQ(pack.Current().m_nPopulation, 20);
  EXPECT_EQ(pack.Current().m_nToSave, 20);
  EXPECT_FALSE(pack.m_bModified);
}

TEST_F(DlgPopulation, OkCopiesEveryFieldIntoItsPlace) {
  platform.onDialog = [](QDialog& d) {
    d.show();
    Edit(d, "edit1037")->setText("10");
    Edit(d, "edit1038")->setText("220");
    Edit(d, "edit1039")->setText("10");
    Edit(d, "edit1052")->setText("20000");
    Edit(d, "edit1030")->setText("7");  // bashers
    Edit(d, "edit1025")->setText("9");  // blockers
    Edit(d, "edit1035")->setText("0");  // floaters
    FindButton(d, "OK")->click();
    return d.result();
  };
  EXPECT_EQ(RunPopulationDialog(platform, nullptr, pack), QDialog::Accepted);
  const CLevel& level = pack.Current();
  EXPECT_EQ(level.m_nPopulation, 10);
  EXPECT_EQ(level.m_nSpawnInterval, 220);
  EXPECT_EQ(level.m_nToSave, 10);
  EXPECT_EQ(level.m_nTime, 20000);
  EXPECT_EQ(level.m_nSkills[SKILL_BASHERS], 7);
  EXPECT_EQ(level.m_nSkills[SKILL_BLOCKERS], 9);
  EXPECT_EQ(level.m_nSkills[SKILL_FLOATERS], 0);
  EXPECT_EQ(level.m_nSkills[SKILL_MINERS], 30);
  EXPECT_TRUE(pack.m_bModified);
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(DlgPopulation, UnchangedOkMarksModifiedAndCancelDoesNot) {
  for (const char* button : {"Cancel", "OK"}) {
    SCOPED_TRACE(button);
    pack.m_bModified = false;
    platform.onDialog = [button](QDialog& d) {
      d.show();
      Edit(d, "edit1037")->setText("33");
      Edit(d, "edit1037")->setText("20");
      FindButton(d, button)->click();
      return d.result();
    };
    RunPopulationDialog(platform, nullptr, pack);
    EXPECT_EQ(pack.m_bModified, button == std::string("OK"));
    EXPECT_EQ(pack.Current().m_nPopulation, 20);
  }

  // Cancel after real changes leaves the level as it was.
  platform.onDialog = [](QDialog& d) {
    d.show();
    Edit(d, "edit1037")->setText("5");
    Edit(d, "edit1039")->setText("5");
    QTest::keyClick(&d, Qt::Key_Escape);
    return d.result();
  };
  pack.m_bModified = false;
  EXPECT_EQ(RunPopulationDialog(platform, nullptr, pack), QDialog::Rejected);
  EXPECT_EQ(pack.Current().m_nPopulation, 20);
  EXPECT_EQ(pack.Current().m_nToSave, 20);
  EXPECT_FALSE(pack.m_bModified);
}

TEST_F(DlgPopulation, ArrowsStepFromTheTypedNumberAndStopAtTheRange) {
  CPopulationDlg dlg(platform);
  static_cast<PopulationValues&>(dlg) =
      PopulationValues::FromLevel(pack.Current());
  dlg.show();
  QLineEdit* toSave = Edit(dlg, "edit1039");
  CUpDown* arrows = dlg.findChild<CUpDown*>("updown1049");
  ASSERT_NE(arrows, nullptr);

  toSave->setText("2");
  for (int i = 0; i < 3; ++i) arrows->DownButton()->click();
  EXPECT_EQ(toSave->text(), "0");
  // 0 is within the arrows' range but not a valid number to save.
  FindButton(dlg, "OK")->click();
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text,
            "Please enter an integer between 1 and 50.");
  EXPECT_TRUE(dlg.isVisible());

  toSave->setText("49");
  for (int i = 0; i < 3; ++i) arrows->UpButton()->click();
  EXPECT_EQ(toSave->text(), "50");

  // The arrow keys in the edit work the arrows, one step each.
  toSave->setText("30");
  QTest::keyClick(toSave, Qt::Key_Down);
  QTest::keyClick(toSave, Qt::Key_Down);
  EXPECT_EQ(toSave->text(), "28");
}

}  // namespace
