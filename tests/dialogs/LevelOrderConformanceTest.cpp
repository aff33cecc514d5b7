#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QtTest/QTest>
#include <cstring>

#include "DialogTestSupport.h"
#include "dialogs/LevelOrderDlg.h"
#include "model/LevelPack.h"

namespace {

// A click on an item enables the three actions; a click on the empty part
// of the list below the items clears the selection and disables them.
TEST(DlgLevelOrderConformance, ClickBelowTheItemsClearsTheSelection) {
  CLevelPack pack;
  ASSERT_TRUE(pack.NewPack());
  ASSERT_TRUE(pack.AddLevel());
  ASSERT_TRUE(pack.AddLevel());
  CLevelOrderDlg dlg(pack, nullptr);
  dlg.show();
  QListWidget* list = dlg.List();
  const QRect last = list->visualItemRect(list->item(2));
  ASSERT_LT(last.bottom() + 10, list->viewport()->height());

  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(list->item(1)).center());
  ASSERT_EQ(list->selectedItems().size(), 1);
  ASSERT_TRUE(FindButton(dlg, "D&elete")->isEnabled());

  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    QPoint(last.center().x(), last.bottom() + 10));
  EXPECT_TRUE(list->selectedItems().isEmpty());
  for (const char* button : {"D&elete", "Move &Up", "Move &Down"}) {
    EXPECT_FALSE(FindButton(dlg, button)->isEnabled()) << button;
  }
}

}  // namespace
