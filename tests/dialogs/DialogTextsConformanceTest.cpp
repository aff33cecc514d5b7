#include <gtest/gtest.h>

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <vector>

#include "DialogTestSupport.h"
#include "dialogs/PopulationDlg.h"
#include "dialogs/SecurityDialogs.h"
#include "support/ScriptedPlatform.h"

namespace {

struct LabelledEdit {
  QString label;  // with its mnemonic
  QString edit;   // the edit the mnemonic leads to
  friend bool operator==(const LabelledEdit&, const LabelledEdit&) = default;
};

void PrintTo(const LabelledEdit& l, std::ostream* os) {
  *os << '"' << l.label.toStdString() << "\" -> " << l.edit.toStdString();
}

// Every label in the order the dialog makes them (its template order), with
// the name of the edit its mnemonic leads to.
std::vector<LabelledEdit> Labels(const QDialog& dialog) {
  std::vector<LabelledEdit> labels;
  for (const QLabel* label :
       dialog.findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
    labels.push_back({label->text(), label->buddy() != nullptr
                                         ? label->buddy()->objectName()
                                         : QString()});
  }
  return labels;
}

QStringList ButtonTexts(const QDialog& dialog) {
  QStringList texts;
  for (const QPushButton* button : dialog.findChildren<QPushButton*>()) {
    texts << button->text();
  }
  return texts;
}

TEST(DlgTextsConformance, PopulationLabelsLeadToTheirSkillsEdits) {
  ScriptedPlatform platform;
  CPopulationDlg dlg(platform);
  EXPECT_EQ(dlg.windowTitle(), "Current Level Population");
  const std::vector<LabelledEdit> want = {
      {"&Plodders, spawned every", "edit1037"},
      {"f&rames", "edit1038"},
      {"to be &saved", "edit1039"},
      {"&Time:", "edit1052"},
      {"&Blockers:", "edit1025"},
      {"B&uilders:", "edit1027"},
      {"B&ashers:", "edit1030"},
      {"&Climbers:", "edit1032"},
      {"&Diggers:", "edit1033"},
      {"&Exploders:", "edit1034"},
      {"&Floaters:", "edit1035"},
      {"&Miners:", "edit1036"},
  };
  EXPECT_EQ(Labels(dlg), want);
  const QList<QGroupBox*> groups = dlg.findChildren<QGroupBox*>();
  ASSERT_EQ(groups.size(), 1);
  EXPECT_EQ(groups[0]->title(), "Plodder types");
  EXPECT_EQ(ButtonTexts(dlg), (QStringList{"OK", "Cancel"}));
}

TEST(DlgTextsConformance, SecurityInfoLabelsLeadToTheirEdits) {
  ScriptedPlatform platform;
  CSecurityInfoDlg dlg(platform);
  EXPECT_EQ(dlg.windowTitle(), "Name & Security Info");
  const std::vector<LabelledEdit> want = {
      {"Your &Name:", "edit1029"},
      {"&Password:", "edit1030"},
      {"&Confirm Password:", "edit1031"},
  };
  EXPECT_EQ(Labels(dlg), want);
  EXPECT_EQ(ButtonTexts(dlg), (QStringList{"OK", "Cancel"}));
}

}  // namespace
