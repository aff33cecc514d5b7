// Import Terrain Image, Export Level Image and Export All Levels through the
// real frame: one undo step, nothing changed by a refused picture, the file
// names plodpak's export uses, and export then import giving the terrain back.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QSpinBox>
#include <QTemporaryDir>
#include <cstring>

#include "dialogs/ExportImageDlg.h"
#include "shell/CommandIds.h"
#include "shell/FrameHistory.h"
#include "shell/ShownFrameFixture.h"
#include "support/PackState.h"

namespace {

class PicturesTest : public ShownFrameFixture<CEditorFrame> {
 protected:
  CLevelPack& Pack() { return frame->Pack(); }
  QString Path(const QString& name) const { return dir.filePath(name); }
  QString SavePicture(const QString& name, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int x = 0; x < width; ++x)
      image.setPixel(x, height - 1, qRgb(0, 0, 0));
    EXPECT_TRUE(image.save(Path(name)));
    return Path(name);
  }
  // Answers the next export options dialog.
  void ExportOptions(bool objects, int scale) {
    platform.onDialog = [objects, scale](QDialog& dialog) {
      auto* options = qobject_cast<CExportImageDlg*>(&dialog);
      EXPECT_NE(options, nullptr);
      if (options == nullptr) return int(QDialog::Rejected);
      options->ObjectsBox()->setChecked(objects);
      options->ScaleBox()->setValue(scale);
      return int(QDialog::Accepted);
    };
  }
  // The options the next export options dialog opens with.
  std::pair<bool, int> OfferedOptions() {
    std::pair<bool, int> offered{false, 0};
    platform.onDialog = [&offered](QDialog& dialog) {
      auto* options = qobject_cast<CExportImageDlg*>(&dialog);
      EXPECT_NE(options, nullptr);
      if (options != nullptr) {
        offered = {options->DrawObjects(), options->Scale()};
      }
      return int(QDialog::Rejected);
    };
    frame->OnCommand(IDM_FILE_EXPORT_IMAGE);
    return offered;
  }
  QTemporaryDir dir;
};

// The options chosen last come back in the next export of either kind, also
// after a write that failed, so the author can try again as they were.
TEST_F(PicturesTest, TheExportOptionsAreKeptAcrossUsesAndFailedWrites) {
  EXPECT_EQ(OfferedOptions(), std::make_pair(false, 1));

  ExportOptions(true, 3);
  platform.fileNames = {Path("no/such/folder/one.png")};
  platform.answers = {IPlatform::Answer::Ok};
  frame->OnCommand(IDM_FILE_EXPORT_IMAGE);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_TRUE(platform.messages[0].text.startsWith("Could not save"));
  EXPECT_EQ(OfferedOptions(), std::make_pair(true, 3));

  // Export All shares them; a cancelled folder choice keeps what was chosen.
  ExportOptions(false, 5);
  platform.fileNames = {QString()};
  frame->OnCommand(IDM_FILE_EXPORT_ALL);
  EXPECT_EQ(OfferedOptions(), std::make_pair(false, 5));

  // Cancelling the options dialog keeps the ones before.
  EXPECT_EQ(OfferedOptions(), std::make_pair(false, 5));
}

TEST_F(PicturesTest, ImportTakesThePictureAsOneStepAndRefusesTooLarge) {
  CLevel& level = Pack().Current();
  for (int i = 0; i < 20; ++i) level.AddRow();
  level.PlaceObject({8, 60}, OBJ_EXIT);  // below the new height: dropped
  level.PlaceObject({16, 0}, OBJ_ENTRANCE);
  frame->UpdatePackInfo();
  const PackState before = StateOf(Pack());

  platform.fileNames = {SavePicture("wide.bmp", 201, 40)};
  frame->OnCommand(IDM_FILE_IMPORT_IMAGE);
  EXPECT_EQ(platform.messages.size(), 0u);
  EXPECT_EQ(Pack().Current().m_nWidthBytes, 26);
  EXPECT_EQ(Pack().Current().m_nHeight, 64);
  EXPECT_TRUE(Pack().Current().GetPixel(200, 39));
  EXPECT_FALSE(Pack().Current().GetPixel(201, 39));
  EXPECT_EQ(Pack().Current().m_objects[EXIT_SLOT].kind, OBJ_NONE);
  EXPECT_EQ(Pack().Current().m_objects[ENTRANCE_SLOT].kind, OBJ_ENTRANCE);
  EXPECT_EQ(frame->History().History().UndoText(), "Import Terrain Image");
  frame->OnCommand(IDM_EDIT_UNDO);
  EXPECT_EQ(StateOf(Pack()), before);

  for (QSize size : {QSize(289, 64), QSize(96, 193), QSize(200, 96)}) {
    platform.messages.clear();
    platform.fileNames = {SavePicture("big.png", size.width(), size.height())};
    frame->OnCommand(IDM_FILE_IMPORT_IMAGE);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].caption, "Import Terrain Image");
    EXPECT_TRUE(platform.messages[0].text.contains("at most 288 pixels wide"));
    EXPECT_EQ(StateOf(Pack()), before);
  }
}

TEST_F(PicturesTest, ExportThenImportGivesTheSameTerrain) {
  CLevel& level = Pack().Current();
  level.AddColumn();
  for (int x = 0; x < 104; x += 3) level.SetPixel(x, x % 64, true);
  level.PlaceObject({24, 10}, OBJ_ENTRANCE);
  const LevelRecord drawn = level;

  ExportOptions(false, 1);
  platform.fileNames = {Path("one")};
  frame->OnCommand(IDM_FILE_EXPORT_IMAGE);
  ASSERT_EQ(platform.fileDialogs.size(), 1u);
  EXPECT_TRUE(platform.fileDialogs[0].folder.endsWith("/level-1.png"));
  const QImage picture(Path("one.png"));
  ASSERT_EQ(picture.size(), QSize(104, 64));

  std::memset(level.m_bitmap, 0, sizeof level.m_bitmap);
  platform.fileNames = {Path("one.png")};
  frame->OnCommand(IDM_FILE_IMPORT_IMAGE);
  EXPECT_TRUE(Pack().Current().SameLevelAs(drawn));

  ExportOptions(true, 3);
  platform.fileNames = {Path("big.png")};
  frame->OnCommand(IDM_FILE_EXPORT_IMAGE);
  EXPECT_EQ(QImage(Path("big.png")).size(), QSize(312, 192));
}

TEST_F(PicturesTest, ExportAllNamesThePicturesAsPlodpakDoes) {
  ASSERT_TRUE(Pack().AddLevel());
  ASSERT_TRUE(Pack().AddLevel());
  Pack().Level(2).AddRow();
  ExportOptions(false, 1);
  platform.fileNames = {dir.path()};
  frame->OnCommand(IDM_FILE_EXPORT_ALL);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
            (QStringList{"level-1.png", "level-2.png", "level-3.png"}));
  EXPECT_EQ(QImage(Path("level-3.png")).size(), QSize(96, 65));
  EXPECT_EQ(platform.messages.size(), 0u);

  // A second export asks before it replaces them; No writes nothing.
  const QDateTime written = QFileInfo(Path("level-1.png")).lastModified();
  platform.fileNames = {dir.path()};
  platform.answers = {IPlatform::Answer::No};
  frame->OnCommand(IDM_FILE_EXPORT_ALL);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_TRUE(platform.messages[0].text.startsWith(
      "level-1.png, level-2.png, level-3.png already in"));
  EXPECT_EQ(QFileInfo(Path("level-1.png")).lastModified(), written);
}

}  // namespace
