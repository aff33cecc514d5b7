#include "dialogs/InfoDialogs.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QtTest/QTest>
#include <algorithm>

#include "DialogTestSupport.h"
#include "dialogs/DialogSupport.h"
#include "support/ScriptedPlatform.h"

namespace {

TEST(DlgAbout, ShowsItsLinesCentredAndClosesWithOk) {
  ScriptedPlatform platform;
  platform.onDialog = [](QDialog& d) {
    d.show();
    EXPECT_EQ(d.windowTitle(), "About Plodderz Level Editor");
    EXPECT_EQ(LabelTexts(d), (QStringList{
                                 "Plodderz Level Editor v1.0",
                                 "by the Plodderz team",
                                 "Level editor for Linux",
                                 "For use with Plodderz v1.0,",
                                 "for the 83 and 83+, available",
                                 "at ticalc.org.",
                                 "Plodpaks created with this product",
                                 "are freely distributable.",
                             }));
    for (const QLabel* label : d.findChildren<QLabel*>()) {
      EXPECT_TRUE(label->alignment() & Qt::AlignHCenter)
          << label->text().toStdString();
    }
    ExpectLabelsFit(d);
    EXPECT_EQ(d.findChildren<QPushButton*>().size(), 1);
    FindButton(d, "OK")->click();
    return d.result();
  };
  EXPECT_EQ(RunAboutDialog(platform, nullptr), QDialog::Accepted);
  EXPECT_TRUE(platform.messages.empty());
}

TEST(DlgTips, ShowsElevenTipsWithContinuationsIndented) {
  ScriptedPlatform platform;
  platform.onDialog = [](QDialog& d) -> int {
    d.show();
    EXPECT_EQ(d.windowTitle(), "Tips for a good Plodpak");
    const QStringList lines = LabelTexts(d);
    EXPECT_EQ(lines.size(), 18);
    if (lines.size() != 18) return QDialog::Rejected;
    EXPECT_EQ(lines[0], "1. Make sure each level is beatable!");
    EXPECT_EQ(lines[2], "3. Upload your Plodpak to ticalc.org!");
    EXPECT_EQ(lines[11], "Plodders, can you?");
    EXPECT_EQ(lines[17], "time to the bare minimum!");

    // A tip begins at one indent, its continuation lines stand further in;
    // one line every 11 dialog units.
    const QList<int> tipStarts = {0, 1, 2, 3, 5, 8, 10, 12, 14, 15, 16};
    QList<QLabel*> labels = d.findChildren<QLabel*>();
    std::sort(labels.begin(), labels.end(),
              [](QLabel* a, QLabel* b) { return a->y() < b->y(); });
    const int beginX = labels[0]->x();
    const int moreX = labels[4]->x();
    EXPECT_LT(beginX, moreX);
    const DialogUnits du(d.font());
    for (int i = 0; i < labels.size(); ++i) {
      EXPECT_EQ(labels[i]->x(), tipStarts.contains(i) ? beginX : moreX)
          << lines[i].toStdString();
      EXPECT_EQ(labels[i]->y(), du.Y(7 + 11 * i));
    }
    ExpectLabelsFit(d);
    QTest::keyClick(&d, Qt::Key_Escape);
    return d.result();
  };
  EXPECT_EQ(RunTipsDialog(platform, nullptr), QDialog::Rejected);
}

}  // namespace
