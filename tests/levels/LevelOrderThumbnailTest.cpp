// The level order dialog shows each level's thumbnail beside its name, and
// the thumbnails move with their names.

#include <gtest/gtest.h>

#include <QIcon>
#include <QListWidget>
#include <cstring>

#include "dialogs/LevelOrderDlg.h"
#include "imageio/TerrainImage.h"
#include "model/LevelPack.h"
#include "support/QtTestApp.h"

namespace {

// The thumbnail inside its one-pixel frame.
QImage ItemPicture(QListWidget* list, int row) {
  const QImage framed =
      list->item(row)->icon().pixmap(list->iconSize()).toImage();
  return framed.copy(1, 1, framed.width() - 2, framed.height() - 2);
}

TEST(LevelOrderThumbnails, EachNameHasItsLevelsPictureAndTakesItAlong) {
  QtTestApp();
  CLevelPack pack;
  ASSERT_TRUE(pack.NewPack());
  ASSERT_TRUE(pack.AddLevel());
  ASSERT_TRUE(pack.AddLevel());
  for (int i = 0; i < 3; ++i) {
    CLevel& level = pack.Level(i);
    for (int k = 0; k < 8 * i; ++k) level.AddColumn();
    for (int y = 0; y < 20 + 10 * i; ++y) level.SetPixel(y, y, true);
  }
  std::vector<QImage> expected;
  for (int i = 0; i < 3; ++i) {
    expected.push_back(LevelThumbnail(pack.Level(i), 48, 32));
  }
  CLevelOrderDlg dlg(pack, nullptr);
  QListWidget* list = dlg.List();
  ASSERT_EQ(list->count(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(list->item(i)->text(),
              QString::fromLatin1(pack.Level(i).m_szName));
    const QImage shown = ItemPicture(list, i);
    ASSERT_EQ(shown.size(), expected[i].size()) << i;
    EXPECT_EQ(shown.convertToFormat(QImage::Format_Grayscale8), expected[i])
        << i;
  }
  list->setCurrentRow(0);
  dlg.OnMoveDown();
  EXPECT_EQ(list->item(1)->text(), "Level 1 Name");
  EXPECT_EQ(ItemPicture(list, 1).convertToFormat(QImage::Format_Grayscale8),
            expected[0]);
  EXPECT_EQ(ItemPicture(list, 0).convertToFormat(QImage::Format_Grayscale8),
            expected[1]);
}

}  // namespace
