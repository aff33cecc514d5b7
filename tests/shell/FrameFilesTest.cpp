#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTemporaryDir>
#include <cstring>
#include <functional>
#include <string>

#include "ShownFrameFixture.h"
#include "canvas/CanvasWidget.h"
#include "dialogs/SecurityDialogs.h"
#include "model/LevelPack.h"
#include "packfile/PackFile.h"
#include "shell/CommandIds.h"
#include "shell/EditorFrame.h"
#include "support/QtTestApp.h"
#include "support/ScriptedPlatform.h"
#include "uikit/UpDown.h"

namespace {

using Answer = IPlatform::Answer;

// The real frame with all its handlers, shown offscreen on the scripted
// platform. Dialogs are answered by `onSecurity` / `onPassword`.
class FrameFilesTest : public ShownFrameFixture<CEditorFrame> {
 protected:
  void SetUp() override {
    platform.onDialog = [this](QDialog& dialog) {
      if (auto* security = dynamic_cast<CSecurityInfoDlg*>(&dialog)) {
        return onSecurity ? onSecurity(*security) : int(QDialog::Rejected);
      }
      if (auto* prompt = dynamic_cast<CPasswordPromptDlg*>(&dialog)) {
        return onPassword ? onPassword(*prompt) : int(QDialog::Rejected);
      }
      return int(QDialog::Rejected);
    };
    ShownFrameFixture::SetUp();
  }

  CLevelPack& Pack() { return frame->Pack(); }

  // Entrance and exit in every level, author and password: ready to save.
  void MakeSaveable() {
    for (int i = 0; i < Pack().Count(); ++i) {
      Pack().Level(i).PlaceObject({0, 30}, OBJ_ENTRANCE);
      Pack().Level(i).PlaceObject({40, 30}, OBJ_EXIT);
    }
    Pack().m_szAuthorName = "Ann";
    Pack().m_szPassword = "pw";
  }

  void Command(int id) {
    frame->OnCommand(id);
    ProcessEvents();
  }

  QString Path(const QString& name) const { return dir.filePath(name); }

  QTemporaryDir dir;
  std::function<int(CSecurityInfoDlg&)> onSecurity;
  std::function<int(CPasswordPromptDlg&)> onPassword;
};

TEST_F(FrameFilesTest, SaveAndLoadThroughTheWindowsOwnCommands) {
  // A second level through the level bar, named and given a passcode by
  // typing into the bar's edits.
  platform.answers = {Answer::Yes};
  frame->LevelNumberSpin()->StepUp();
  ASSERT_EQ(Pack().Count(), 2);
  frame->LevelNameEdit()->setText("Upper Caves");
  frame->PasscodeEdit()->setText("KEYS");
  Pack().Level(1).SetPixel(10, 20, true);
  for (int i = 0; i < 2; ++i) {
    Pack().Level(i).PlaceObject({0, 30}, OBJ_ENTRANCE);
    Pack().Level(i).PlaceObject({40, 30}, OBJ_EXIT);
  }
  EXPECT_EQ(frame->windowTitle(), "Plodderz Level File Maker*");

  // Save As asks for the security information first.
  onSecurity = [](CSecurityInfoDlg& dlg) {
    dlg.m_strName = "Ann";
    dlg.m_strPassword = dlg.m_strConfirm = "Secret";
    return int(QDialog::Accepted);
  };
  platform.answers = {Answer::Ok};
  platform.fileNames = {Path("caves")};
  Command(IDM_FILE_SAVE_AS);
  ASSERT_TRUE(QFileInfo::exists(Path("caves.83p")));
  EXPECT_FALSE(Pack().m_bModified);
  EXPECT_EQ(frame->windowTitle(), "Plodderz Level File Maker - caves.83p");
  const PackContents saved = Pack().Contents();

  // New forgets the file; Load brings the pack back after its password.
  Command(IDM_FILE_NEW);
  EXPECT_EQ(Pack().Count(), 1);
  EXPECT_EQ(frame->windowTitle(), "Plodderz Level File Maker");
  std::string asked;
  onPassword = [&asked](CPasswordPromptDlg& dlg) {
    asked = dlg.m_pszExpected;
    return int(QDialog::Accepted);
  };
  platform.fileNames = {Path("caves.83p")};
  Command(IDM_FILE_LOAD);

  EXPECT_EQ(asked, "Secret");
  ASSERT_EQ(Pack().Count(), 2);
  EXPECT_TRUE(Pack().Level(1).SameLevelAs(saved.levels[1]));
  EXPECT_EQ(Pack().m_szAuthorName, "Ann");
  EXPECT_FALSE(Pack().m_bModified);
  EXPECT_EQ(frame->windowTitle(), "Plodderz Level File Maker - caves.83p");
  EXPECT_EQ(frame->LevelNumberEdit()->text(), "1");
  EXPECT_EQ(platform.unexpected, 0);

  platform.answers = {};
  frame->LevelNumberSpin()->StepUp();
  EXPECT_EQ(frame->LevelNameEdit()->text(), "Upper Caves");
  EXPECT_EQ(frame->PasscodeEdit()->text(), "KEYS");
  EXPECT_FALSE(Pack().m_bModified);  // stepping is no change
}

TEST_F(FrameFilesTest, LevelNumberStepsAndOffersANewLevelPastTheLast) {
  platform.answers = {Answer::No};
  frame->LevelNumberSpin()->StepUp();
  EXPECT_EQ(Pack().Count(), 1);
  EXPECT_EQ(frame->LevelNumberEdit()->text(), "1");
  EXPECT_FALSE(Pack().m_bModified);
  EXPECT_EQ(platform.messages.back().text, "Would you like to add a level?");

  platform.answers = {Answer::Yes};
  frame->LevelNumberSpin()->StepUp();
  EXPECT_EQ(Pack().Count(), 2);
  EXPECT_EQ(Pack().m_nCurLevel, 1);
  EXPECT_EQ(frame->LevelNumberEdit()->text(), "2");
  EXPECT_EQ(frame->LevelNameEdit()->text(), "Level 2 Name");
  EXPECT_FALSE(frame->PasscodeEdit()->isReadOnly());
  EXPECT_EQ(frame->PasscodeEdit()->text(),
            QString::fromLatin1(Pack().Level(1).m_szPasscode));
  EXPECT_TRUE(Pack().m_bModified);
  EXPECT_TRUE(frame->windowTitle().endsWith('*'));

  const std::string firstPasscode = Pack().Level(0).m_szPasscode;
  frame->LevelNumberSpin()->StepDown();
  frame->LevelNumberSpin()->StepDown();  // nothing before the first
  EXPECT_EQ(Pack().m_nCurLevel, 0);
  EXPECT_EQ(frame->LevelNumberEdit()->text(), "1");
  EXPECT_TRUE(frame->PasscodeEdit()->isReadOnly());
  EXPECT_TRUE(frame->PasscodeEdit()->text().isEmpty());
  EXPECT_EQ(Pack().Level(0).m_szPasscode, firstPasscode);
  EXPECT_EQ(platform.messages.size(), 2u);
}

TEST_F(FrameFilesTest, ResizeArrowsKeepToTheLimitsAndShowTheSize) {
  CLevel& level = Pack().Current();
  EXPECT_EQ(frame->LevelSizeLabel()->text(), "Level: 96 x 64");
  frame->WidthSpin()->StepDown();  // left arrow: narrower, at the limit
  frame->HeightSpin()->StepUp();   // up arrow: shorter, at the limit
  EXPECT_EQ(level.m_nWidthBytes, 12);
  EXPECT_EQ(level.m_nHeight, 64);
  EXPECT_FALSE(Pack().m_bModified);

  frame->WidthSpin()->StepUp();     // right arrow: wider
  frame->HeightSpin()->StepDown();  // down arrow: taller
  EXPECT_EQ(level.m_nWidthBytes, 13);
  EXPECT_EQ(level.m_nHeight, 65);
  EXPECT_TRUE(Pack().m_bModified);
  EXPECT_EQ(frame->LevelSizeLabel()->text(), "Level: 104 x 65");

  // At 2304 bitmap bytes neither arrow makes the level larger.
  while (level.m_nWidthBytes < 24) level.AddColumn();
  while (level.m_nHeight < 96) level.AddRow();
  frame->WidthSpin()->StepUp();
  frame->HeightSpin()->StepDown();
  EXPECT_EQ(level.m_nWidthBytes, 24);
  EXPECT_EQ(level.m_nHeight, 96);
  EXPECT_TRUE(platform.messages.empty());
}

// At fractional pointer positions (fractional display scaling) the status
// bar names the pixel a click there changes, and nothing where a click
// changes none.
TEST_F(FrameFilesTest, StatusBarNamesThePixelAClickWouldChange) {
  QWidget* canvas = &frame->Canvas();
  const auto move = [&](QPointF at) {
    QMouseEvent event(QEvent::MouseMove, at, canvas->mapToGlobal(at),
                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &event);
  };
  const auto press = [&](QPointF at) {
    QMouseEvent down(QEvent::MouseButtonPress, at, canvas->mapToGlobal(at),
                     Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &down);
    QMouseEvent up(QEvent::MouseButtonRelease, at, canvas->mapToGlobal(at),
                   Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &up);
  };
  // The last client column and row of pixel (10, 10)'s block, plus a
  // fraction that rounding would carry into the next block.
  const Point corner = frame->Logic().LevelToClient({10, 10});
  const QPointF at(corner.x + 3.6, corner.y + 4.6);
  move(at);
  EXPECT_EQ(frame->PixelLabel()->text(), "Pixel: 10, 10");
  press(at);
  EXPECT_TRUE(Pack().Current().GetPixel(10, 10));
  EXPECT_FALSE(Pack().Current().GetPixel(11, 11));

  // Scrolled down, the widget's top row lies in the block of a row whose
  // cell is not painted: a click there changes nothing, so no pixel is named.
  while (Pack().Current().m_nHeight < MAX_HEIGHT) Pack().Current().AddRow();
  frame->RefreshView();
  frame->Logic().View().m_nOriginY = 40;
  const double x = frame->Logic().LevelToClient({10, 0}).x + 1.5;
  move(QPointF(x, 0.5));
  EXPECT_TRUE(frame->PixelLabel()->text().isEmpty())
      << frame->PixelLabel()->text().toStdString();
  move(QPointF(x, 1.5));
  EXPECT_EQ(frame->PixelLabel()->text(), "Pixel: 10, 10");
}

// A passing note that would run under the permanent fields is shortened in
// the middle, keeping its start and the file's name.
TEST_F(FrameFilesTest, LongStatusNotesAreShortenedInTheMiddle) {
  frame->resize(520, 400);
  ProcessEvents();
  const QString path = QStringLiteral("/home/author/") +
                       QString(120, QLatin1Char('d')) +
                       QStringLiteral("/my pack.83p");
  frame->ShowStatus(QStringLiteral("Loaded ") + path);
  const QString shown = frame->statusBar()->currentMessage();
  EXPECT_TRUE(shown.startsWith(QStringLiteral("Loaded /")))
      << shown.toStdString();
  EXPECT_TRUE(shown.endsWith(QStringLiteral("my pack.83p")))
      << shown.toStdString();
  EXPECT_LE(frame->statusBar()->fontMetrics().horizontalAdvance(shown),
            frame->PixelLabel()->geometry().left());
  // The fields that give way have; the pixel and the sizes stay.
  EXPECT_FALSE(frame->ToolLabel()->isVisible());
  for (QLabel* kept :
       {frame->PixelLabel(), frame->LevelSizeLabel(), frame->PackSizeLabel()}) {
    EXPECT_TRUE(kept->isVisible());
  }
  // Wider again, the note has more room and shows more of itself.
  frame->resize(1400, 400);
  ProcessEvents();
  EXPECT_GT(frame->statusBar()->currentMessage().size(), shown.size());
  // A note that fits is shown as it is.
  frame->ShowStatus(QStringLiteral("Saved /tmp/a.83p"));
  EXPECT_EQ(frame->statusBar()->currentMessage(), "Saved /tmp/a.83p");
}

TEST_F(FrameFilesTest, StatusBarShowsThePointersPixelAndThePacksSize) {
  std::vector<std::uint8_t> image;
  std::string error;
  ASSERT_TRUE(EncodePackImage(Pack().Contents(), image, error));
  EXPECT_EQ(frame->PackSizeLabel()->text(),
            QString("Pack: %1 of 9926 bytes").arg(image.size()));

  const Rect cell = frame->Logic().View().CellClientRect({5, 7});
  MouseMove(&frame->Canvas(), {cell.left + 1, cell.top + 1}, false);
  EXPECT_EQ(frame->PixelLabel()->text(), "Pixel: 5, 7");
  MouseMove(&frame->Canvas(), {1, 1}, false);  // outside the level
  EXPECT_TRUE(frame->PixelLabel()->text().isEmpty());

  // A stroke changes the pack: the size follows once the click is done.
  const QString before = frame->PackSizeLabel()->text();
  for (int y = 0; y < 64; y += 2) {
    const Rect c = frame->Logic().View().CellClientRect({y % 96, y});
    MousePress(&frame->Canvas(), {c.left + 1, c.top + 1});
    MouseRelease(&frame->Canvas(), {c.left + 1, c.top + 1});
  }
  ProcessEvents();
  EXPECT_NE(frame->PackSizeLabel()->text(), before);
  EXPECT_EQ(frame->windowTitle(), "Plodderz Level File Maker*");
}

TEST_F(FrameFilesTest, FailedSavesAreReportedAndKeepTheChanges) {
  MakeSaveable();
  ASSERT_TRUE(QDir(dir.path()).mkpath("target.83p"));  // a folder
  ASSERT_TRUE(QDir(dir.path()).mkdir("locked"));
  QFile::setPermissions(Path("locked"),
                        QFileDevice::ReadOwner | QFileDevice::ExeOwner);
  const bool lockedWorks = !QFileInfo(Path("locked")).isWritable();

  const struct {
    const char* what;
    QString path;
    bool needsLock;
  } cases[] = {
      {"target is a folder", Path("target.83p"), false},
      {"folder missing", Path("missing/pack.83p"), false},
      {"folder not writable", Path("locked/pack.83p"), true},
  };
  for (const auto& c : cases) {
    if (c.needsLock && !lockedWorks) continue;  // e.g. running as root
    SCOPED_TRACE(c.what);
    Pack().m_bModified = true;
    platform.messages.clear();
    platform.answers = {Answer::Ok};
    platform.fileNames = {c.path};
    Command(IDM_FILE_SAVE_AS);

    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].caption, "Save Error");
    EXPECT_TRUE(platform.messages[0].text.contains(c.path));
    EXPECT_TRUE(Pack().m_bModified);
    EXPECT_TRUE(Pack().m_szFilePath.empty());
    EXPECT_EQ(frame->windowTitle(), "Plodderz Level File Maker*");
  }
  EXPECT_TRUE(QFileInfo(Path("target.83p")).isDir());
  QFile::setPermissions(Path("locked"), QFileDevice::ReadOwner |
                                            QFileDevice::WriteOwner |
                                            QFileDevice::ExeOwner);
}

TEST_F(FrameFilesTest, FileCommandsHaveTheirShortcuts) {
  const struct {
    int id;
    const char* keys;
  } cases[] = {
      {IDM_FILE_NEW, "Ctrl+N"},  {IDM_FILE_LOAD, "Ctrl+O"},
      {IDM_FILE_SAVE, "Ctrl+S"}, {IDM_FILE_SAVE_AS, "Ctrl+Shift+S"},
      {IDM_FILE_EXIT, "Ctrl+Q"}, {IDM_HELP_TIPS, "F1"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(frame->Action(c.id)->shortcut(), QKeySequence(c.keys)) << c.keys;
  }
}

TEST_F(FrameFilesTest, BarEditsTakeOnlyPrintableAscii) {
  const struct {
    QLineEdit* edit;
    QString typed;
    QString shown;
  } cases[] = {
      {frame->LevelNameEdit(), "Cave\tHall", ""},
      {frame->LevelNameEdit(), QString::fromUtf8("Caf\u00e9"), ""},
      {frame->LevelNameEdit(), "Cave ~1", "Cave ~1"},
      {frame->PasscodeEdit(), QString::fromUtf8("\u00e9t"), ""},
      {frame->PasscodeEdit(), "ab!", "AB!"},
  };
  frame->PasscodeEdit()->setReadOnly(false);
  for (const auto& c : cases) {
    c.edit->clear();
    c.edit->insert(c.typed);
    EXPECT_EQ(c.edit->text(), c.shown) << c.typed.toStdString();
  }
}

}  // namespace
