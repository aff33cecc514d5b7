// The frame as a desktop program, in-process on the scripted platform:
// recent files and the remembered layout across a close and a new frame,
// damaged settings, dropped files and Send to Calculator. Settings go to a
// temporary folder only.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QSpinBox>
#include <QThread>
#include <QToolBar>
#include <QUrl>
#include <QtTest/QTest>
#include <chrono>
#include <cstring>
#include <functional>
#include <thread>

#include "ProcessSupport.h"
#include "canvas/CanvasWidget.h"
#include "dialogs/ExportImageDlg.h"
#include "dialogs/SecurityDialogs.h"
#include "packfile/PackFile.h"
#include "shell/CommandIds.h"
#include "shell/EditorFrame.h"
#include "shell/FileCommands.h"
#include "shell/FrameSession.h"
#include "shell/RecentFiles.h"
#include "shell/SendToCalculator.h"
#include "shell/Settings.h"
#include "support/NotRegularFiles.h"
#include "support/QtTestApp.h"
#include "support/ScriptedPlatform.h"
#include "support/TempFiles.h"

namespace fs = std::filesystem;
using Answer = IPlatform::Answer;
using testsupport::ReadText;
using testsupport::TempFolder;
using testsupport::WriteText;

namespace {

// Frames made and closed within one test, on one scripted platform; the
// password prompt is accepted.
class DesktopSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QtTestApp();
    platform.onDialog = [](QDialog& dialog) {
      return dynamic_cast<CPasswordPromptDlg*>(&dialog) != nullptr
                 ? int(QDialog::Accepted)
                 : int(QDialog::Rejected);
    };
  }
  void TearDown() override {
    if (frame) Close(Answer::No);
    EXPECT_EQ(CLevel::s_nLiveCount, 0);
  }

  CEditorFrame& Open(bool withSettings = true) {
    frame = new CEditorFrame(platform);
    if (withSettings) {
      frame->Session().UseSettings(
          std::make_unique<CEditorSettings>(SettingsPath()));
    }
    frame->show();
    ProcessEvents();
    return *frame;
  }
  void Close(Answer saveChanges = Answer::No) {
    if (frame->Pack().m_bModified) platform.answers.push_back(saveChanges);
    frame->close();
    ProcessEvents();
    ASSERT_TRUE(frame.isNull());
  }

  QString SettingsPath() const {
    return QString::fromStdString(folder / "config/plodderz-editor.conf");
  }
  // A saveable pack file.
  std::string PackFile(const std::string& name) {
    const PackContents pack = desktoptest::SaveablePack();
    const std::string path = folder / name;
    fs::create_directories(fs::path(path).parent_path());
    std::string error;
    EXPECT_TRUE(SavePackFile(path, pack, error)) << error;
    return path;
  }
  static QStringList MenuTexts(QMenu* menu) {
    QStringList texts;
    for (QAction* a : menu->actions()) {
      texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    return texts;
  }

  TempFolder folder{"plodderz-session"};
  ScriptedPlatform platform;
  QPointer<CEditorFrame> frame;
};

TEST(RecentFilesTest, NewestFirstEachOnceAtMostEight) {
  CRecentFiles recent;
  for (int i = 1; i <= 10; ++i) recent.Add(QStringLiteral("/p/%1.83p").arg(i));
  recent.Add(QStringLiteral("/p/5.83p"));
  EXPECT_EQ(recent.Files(),
            (QStringList{"/p/5.83p", "/p/10.83p", "/p/9.83p", "/p/8.83p",
                         "/p/7.83p", "/p/6.83p", "/p/4.83p", "/p/3.83p"}));
  recent.Remove(QStringLiteral("/p/9.83p"));
  EXPECT_EQ(recent.Files().size(), 7);
  recent.SetFiles(
      {"", "/a", "/a", "/b", "/c", "/d", "/e", "/f", "/g", "/h", "/i"});
  EXPECT_EQ(recent.Files(),
            (QStringList{"/a", "/b", "/c", "/d", "/e", "/f", "/g", "/h"}));
}

TEST_F(DesktopSessionTest,
       RecentFilesLastFolderAndLayoutComeBackInTheNextWindow) {
  const std::string first = PackFile("one/first.83p");
  const std::string second = PackFile("two/second.8xp");
  Open();
  frame->OpenFile(QString::fromStdString(first));
  frame->OpenFile(QString::fromStdString(second));
  ASSERT_EQ(frame->Pack().m_szFilePath, second);
  // The pen bar moves to the left edge; the window grows.
  frame->addToolBar(Qt::LeftToolBarArea, frame->PenBar());
  frame->resize(910, 640);
  Close();

  Open();
  EXPECT_EQ(MenuTexts(frame->Session().RecentMenu()),
            (QStringList{"&1 second.8xp", "&2 first.83p", "-", "&Clear Menu"}));
  EXPECT_EQ(frame->toolBarArea(frame->PenBar()), Qt::LeftToolBarArea);
  EXPECT_EQ(frame->toolBarArea(frame->ObjectBar()), Qt::TopToolBarArea);
  EXPECT_EQ(frame->size(), QSize(910, 640));
  // A fresh pack has no folder of its own: the dialogs start where the last
  // file was.
  EXPECT_EQ(frame->FileCommands().StartFolder().toStdString(),
            (folder.Path() / "two").string());
  // Nothing of a pack is kept in the settings.
  const std::string settings = ReadText(SettingsPath().toStdString());
  EXPECT_EQ(settings.find("Ann"), std::string::npos);
  EXPECT_EQ(settings.find("pw"), std::string::npos);

  // Choosing an entry opens it as Load does.
  frame->Session().RecentMenu()->actions()[1]->trigger();
  EXPECT_EQ(frame->Pack().m_szFilePath, first);
  EXPECT_EQ(MenuTexts(frame->Session().RecentMenu()).front(), "&1 first.83p");

  // Clear Menu empties the list, also for the next window.
  frame->Session().RecentMenu()->actions().back()->trigger();
  EXPECT_EQ(MenuTexts(frame->Session().RecentMenu()),
            (QStringList{"&Clear Menu"}));
  EXPECT_FALSE(frame->Session().RecentMenu()->actions().back()->isEnabled());
  Close();
  Open();
  EXPECT_TRUE(frame->Session().Recent().Files().isEmpty());
}

TEST_F(DesktopSessionTest, ARecentFileThatHasGoneIsReportedAndTakenOffTheList) {
  const std::string kept = PackFile("kept.83p");
  const std::string gone = PackFile("gone.83p");
  Open();
  frame->OpenFile(QString::fromStdString(gone));
  frame->OpenFile(QString::fromStdString(kept));
  fs::remove(gone);
  frame->Session().RecentMenu()->actions()[1]->trigger();
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text.toStdString(),
            gone +
                " is no longer there: it has been moved, renamed or "
                "deleted.\nIt is taken off the list of recent files.");
  EXPECT_EQ(frame->Pack().m_szFilePath, kept);  // nothing else happened
  EXPECT_EQ(MenuTexts(frame->Session().RecentMenu()),
            (QStringList{"&1 kept.83p", "-", "&Clear Menu"}));
}

TEST_F(DesktopSessionTest, ADamagedSettingsFileGivesTheDefaults) {
  // The window as a frame without settings lays itself out.
  Open(false);
  const QRect defaults = frame->geometry();
  const Qt::ToolBarArea penArea = frame->toolBarArea(frame->PenBar());
  Close();

  const std::string kCases[] = {
      std::string("\x00\xff\xfe garbage \x01\x02", 15),
      "[window]\ngeometry=@ByteArray(\x01\x02\x03 not a geometry)\n"
      "state=@ByteArray(nonsense)\n[files]\nrecent=@Variant(\\0\\0\\0\\x7f)\n"
      "lastFolder=@ByteArray(\\xff)\n",
      "[window]\ngeometry=12\nstate=@Rect(1 2 3 4)\n[files]\nrecent=3\n",
      "[files\nrecent=\"unterminated\n",
  };
  for (const std::string& contents : kCases) {
    SCOPED_TRACE(contents);
    fs::create_directories(folder.Path() / "config");
    WriteText(SettingsPath().toStdString(), contents);
    Open();
    EXPECT_EQ(frame->geometry(), defaults);
    EXPECT_EQ(frame->toolBarArea(frame->PenBar()), penArea);
    for (const QString& file : frame->Session().Recent().Files()) {
      EXPECT_FALSE(file.isEmpty());
    }
    EXPECT_EQ(frame->FileCommands().StartFolder(), QDir::homePath());
    Close();
  }
  // A folder where the file should be cannot be read or written.
  fs::remove(SettingsPath().toStdString());
  fs::create_directories(SettingsPath().toStdString());
  Open();
  EXPECT_EQ(frame->geometry(), defaults);
  Close();
}

// The layout and the view are written soon after they change, with the
// window still open, so an editor that dies keeps them; what was written
// already is not written again.
TEST_F(DesktopSessionTest, TheLayoutAndTheViewAreWrittenWhenTheyChange) {
  Open();
  // Waits until the file holds what `kept` looks for.
  const auto written = [this](
                           const std::function<bool(const QSettings&)>& kept) {
    return QTest::qWaitFor(
        [&] { return kept(QSettings(SettingsPath(), QSettings::IniFormat)); },
        5000);
  };
  const auto settled = [this] {
    EXPECT_TRUE(QTest::qWaitFor(
        [this] { return !frame->Session().LayoutWritePending(); }, 5000));
  };
  settled();  // what showing the window wrote

  const struct {
    const char* change;
    std::function<void()> make;
    std::function<bool(const QSettings&)> kept;
  } cases[] = {
      {"zoom", [this] { frame->OnCommand(IDM_VIEW_ZOOM_IN); },
       [this](const QSettings& s) {
         return s.value("view/zoom").toInt() == frame->Canvas().UserZoom() &&
                frame->Canvas().UserZoom() != 4;
       }},
      {"grid", [this] { frame->OnCommand(IDM_VIEW_SHOW_GRID); },
       [](const QSettings& s) {
         return s.value("view/showGrid").toString() == "false";
       }},
      {"colours", [this] { frame->OnCommand(IDM_VIEW_CLASSIC_COLOURS); },
       [](const QSettings& s) {
         return s.value("view/classicColours").toString() == "false";
       }},
      {"screen frame", [this] { frame->OnCommand(IDM_VIEW_CALCULATOR_SCREEN); },
       [](const QSettings& s) {
         return s.value("view/calculatorScreen").toString() == "true";
       }},
      {"bar moved",
       [this] { frame->addToolBar(Qt::LeftToolBarArea, frame->PenBar()); },
       [this](const QSettings& s) {
         return s.value("window/state").toByteArray() ==
                CEditorSettings::LayoutState(*frame);
       }},
      {"dock shown", [this] { frame->OnCommand(IDM_VIEW_OVERVIEW); },
       [this](const QSettings& s) {
         return s.value("window/state").toByteArray() ==
                CEditorSettings::LayoutState(*frame);
       }},
      {"resized", [this] { frame->resize(930, 650); },
       [this](const QSettings& s) {
         return s.value("window/geometry").toByteArray() ==
                frame->saveGeometry();
       }},
      {"moved", [this] { frame->move(frame->pos() + QPoint(40, 30)); },
       [this](const QSettings& s) {
         return s.value("window/geometry").toByteArray() ==
                frame->saveGeometry();
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.change);
    c.make();
    EXPECT_TRUE(written(c.kept));
  }

  // A change that changes nothing kept writes nothing.
  fs::remove(SettingsPath().toStdString());
  frame->Session().LayoutChanged();
  settled();
  EXPECT_FALSE(fs::exists(SettingsPath().toStdString()));

  // The next window comes back as this one was left.
  const QByteArray geometry = frame->saveGeometry();
  const int zoom = frame->Canvas().UserZoom();
  Close();
  Open();
  EXPECT_EQ(frame->saveGeometry(), geometry);
  EXPECT_EQ(frame->Canvas().UserZoom(), zoom);
  EXPECT_FALSE(frame->ClassicColours());
  EXPECT_TRUE(frame->CalculatorScreen());
  EXPECT_EQ(frame->toolBarArea(frame->PenBar()), Qt::LeftToolBarArea);
}

// The picture export's options come back in the next window; stored values
// that are not options give the defaults.
TEST_F(DesktopSessionTest, TheExportOptionsComeBackInTheNextWindow) {
  const auto offered = [this](bool objects, int scale, bool accept) {
    std::pair<bool, int> shown;
    platform.onDialog = [&](QDialog& dialog) {
      auto* options = qobject_cast<CExportImageDlg*>(&dialog);
      EXPECT_NE(options, nullptr);
      if (options == nullptr) return int(QDialog::Rejected);
      shown = {options->DrawObjects(), options->Scale()};
      options->ObjectsBox()->setChecked(objects);
      options->ScaleBox()->setValue(scale);
      return int(accept ? QDialog::Accepted : QDialog::Rejected);
    };
    platform.fileNames = {QString()};  // no file: nothing is written
    frame->OnCommand(IDM_FILE_EXPORT_IMAGE);
    return shown;
  };
  Open();
  EXPECT_EQ(offered(true, 4, true), std::make_pair(false, 1));
  Close();
  Open();
  EXPECT_EQ(offered(false, 1, false), std::make_pair(true, 4));
  Close();

  fs::create_directories(folder.Path() / "config");
  for (const char* stored :
       {"[export]\ndrawObjects=maybe\nscale=99\n",
        "[export]\ndrawObjects=1\nscale=0\n", "[export]\nscale=x3\n"}) {
    SCOPED_TRACE(stored);
    WriteText(SettingsPath().toStdString(), stored);
    Open();
    EXPECT_EQ(offered(false, 1, false), std::make_pair(false, 1));
    Close();
  }
}

// A value Qt would rebuild as an object of any type ("@Variant(...)", here
// a cursor, which the settings fuzz target found makes Qt abort where no
// window system is up) is never read: the file, which the editor did not
// write, is kept aside as .damaged and every value is its default.
TEST_F(DesktopSessionTest, ASettingsFileWithAnObjectInItIsSetAsideUnread) {
  const std::string contents(
      "&[view]\nzoom=3\nclass)kColours=1\n[files]\nrecent=@Variant(\\0\\0"
      "\0J\\n\\0)\n",
      0x44);
  fs::create_directories(folder.Path() / "config");
  const std::string path = SettingsPath().toStdString();
  WriteText(path, contents);
  StoredSettings stored;
  {
    const CEditorSettings settings(SettingsPath());
    stored = settings.Stored();
  }
  StoredSettings defaults;
  defaults.zoom = 4;
  EXPECT_TRUE(stored == defaults);
  EXPECT_EQ(ReadText(path + ".damaged"), contents);
  EXPECT_FALSE(fs::exists(path));
}

// ---- What is not a regular file ----

// Load, Open Recent, a drop and Import Terrain Image each refuse a pipe, a
// socket, a device, a folder or a broken link at once, with the reason
// under the usual message, and the pack stays as it was. An alarm ends the
// test program if any of them blocks, so a hang fails instead of stalling.
TEST_F(DesktopSessionTest, WhatIsNotARegularFileIsRefusedByEveryWayIn) {
  Open(false);
  ::alarm(60);
  for (const auto& file : testsupport::MakeNotRegularFiles(folder.Path())) {
    SCOPED_TRACE(file.what);
    const QString path = QString::fromStdString(file.path);
    const std::string reason = "\"" + file.path + "\" " + file.reason;
    const std::string invalid = file.path + " is not a valid Plodpak.";
    const auto expectRefused = [&](const char* way) {
      SCOPED_TRACE(way);
      ProcessEvents();
      ASSERT_EQ(platform.messages.size(), 1u);
      EXPECT_EQ(platform.messages[0].text.toStdString(), invalid);
      EXPECT_EQ(platform.messages[0].informative.toStdString(), reason);
      EXPECT_TRUE(frame->Pack().m_szFilePath.empty());
      EXPECT_FALSE(frame->Pack().m_bModified);
      platform.messages.clear();
    };
    platform.fileNames = {path};
    frame->OnCommand(IDM_FILE_LOAD);
    expectRefused("Load");
    // A recent file that something else has taken the place of.
    const std::string recent = PackFile("recent.83p");
    frame->OpenFile(QString::fromStdString(recent));
    frame->OnCommand(IDM_FILE_NEW);
    fs::remove(recent);
    fs::create_symlink(file.path, recent);
    frame->Session().RecentMenu()->actions()[0]->trigger();
    ProcessEvents();
    ASSERT_EQ(platform.messages.size(), 1u);
    if (file.reason.find("link") != std::string::npos) {
      // Through a link to nothing the file is simply gone.
      EXPECT_NE(platform.messages[0].text.indexOf("is no longer there"), -1);
    } else {
      EXPECT_EQ(platform.messages[0].text.toStdString(),
                recent + " is not a valid Plodpak.");
      EXPECT_EQ(platform.messages[0].informative.toStdString(),
                "\"" + recent + "\" " + file.reason);
    }
    EXPECT_TRUE(frame->Pack().m_szFilePath.empty());
    platform.messages.clear();
    fs::remove(recent);
    if (path.endsWith(QStringLiteral(".83p"))) {
      QMimeData data;
      data.setUrls({QUrl::fromLocalFile(path)});
      QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data,
                            Qt::LeftButton, Qt::NoModifier);
      QCoreApplication::sendEvent(frame, &enter);
      QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton,
                      Qt::NoModifier);
      QCoreApplication::sendEvent(frame, &drop);
      expectRefused("a drop");
    }
    platform.fileNames = {path};
    frame->OnCommand(IDM_FILE_IMPORT_IMAGE);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text.toStdString(),
              "Could not import " + file.path + ".\n" + reason);
    EXPECT_FALSE(frame->Pack().m_bModified);
    platform.messages.clear();
  }
  ::alarm(0);
}

// ---- Dropping files onto the window ----

TEST_F(DesktopSessionTest,
       ADroppedPackOpensAfterTheQuestionAndAnythingElseIsRefused) {
  const std::string pack = PackFile("dropped.8XP");
  const std::string text = folder / "notes.txt";
  WriteText(text, "hello");
  Open(false);
  const auto drop = [this](const std::vector<std::string>& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& path : paths) {
      urls << QUrl::fromLocalFile(QString::fromStdString(path));
    }
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton,
                          Qt::NoModifier);
    QCoreApplication::sendEvent(frame, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent event(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(frame, &event);
    ProcessEvents();  // the file opens once the drop has ended
  };

  platform.answers = {Answer::Ok};
  drop({text});
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text.toStdString(),
            text +
                " is not a Plodpak file: only .83p and .8xp files can be "
                "opened.");
  platform.answers = {Answer::Ok};
  drop({pack, pack});
  ASSERT_EQ(platform.messages.size(), 2u);
  EXPECT_EQ(platform.messages[1].text, "Drop one .83p or .8xp file at a time.");
  EXPECT_TRUE(frame->Pack().m_szFilePath.empty());

  // A modified pack is offered to save first; Cancel keeps it.
  frame->LevelNameEdit()->setText(QStringLiteral("Mine"));
  ASSERT_TRUE(frame->Pack().m_bModified);
  platform.answers = {Answer::Cancel};
  drop({pack});
  ASSERT_EQ(platform.messages.size(), 3u);
  EXPECT_EQ(platform.messages[2].text, "Save changes?");
  EXPECT_TRUE(frame->Pack().m_szFilePath.empty());
  platform.answers = {Answer::No};
  drop({pack});
  EXPECT_EQ(frame->Pack().m_szFilePath, pack);
  EXPECT_FALSE(frame->Pack().m_bModified);
  EXPECT_EQ(platform.dialogTitles.back(), "Protected File");
  EXPECT_EQ(platform.unexpected, 0);
}

// ---- Send to Calculator ----

class SendTest : public DesktopSessionTest {
 protected:
  void SetUp() override {
    DesktopSessionTest::SetUp();
    m_path = qgetenv("PATH");
    fs::create_directories(folder.Path() / "bin");
    qputenv("PATH", QByteArray::fromStdString(folder / "bin"));
  }
  void TearDown() override {
    qputenv("PATH", m_path);
    DesktopSessionTest::TearDown();
  }
  // A stand-in tilp that writes its arguments, one a line.
  void InstallStandIn() {
    const std::string tilp = folder / "bin/tilp";
    WriteText(tilp, "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > \"" +
                        (folder / "tilp.args.tmp") + "\"\n/bin/mv \"" +
                        (folder / "tilp.args.tmp") + "\" \"" +
                        (folder / "tilp.args") + "\"\n");
    fs::permissions(tilp, fs::perms::owner_all);
  }
  std::string WaitForArguments() {
    const fs::path args = folder.Path() / "tilp.args";
    for (int i = 0; i < 250 && !fs::exists(args); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return ReadText(args);
  }
  void Send() { frame->OnCommand(IDM_FILE_SEND_TO_CALCULATOR); }

  QByteArray m_path;
};

TEST_F(SendTest, ChecksSavesThenHandsTheFileToTilp) {
  InstallStandIn();
  Open(false);
  EXPECT_EQ(frame->Action(IDM_FILE_SEND_TO_CALCULATOR)->text(),
            "Sen&d to Calculator...");

  // A pack the game cannot play stops at the first failing check.
  Send();
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].caption, "Level Incomplete");
  EXPECT_FALSE(fs::exists(folder.Path() / "tilp.args"));

  // A modified pack with a file is saved to it first, once the author has
  // agreed to the file being written over; No writes and sends nothing.
  const std::string plus = PackFile("plus.8xp");
  frame->OpenFile(QString::fromStdString(plus));
  frame->LevelNameEdit()->setText(QStringLiteral("Sent"));
  ASSERT_TRUE(frame->Pack().m_bModified);
  const std::string onDisk = ReadText(plus);
  platform.answers = {Answer::No};
  Send();
  ASSERT_EQ(platform.messages.size(), 2u);
  EXPECT_EQ(platform.messages[1].caption, "Send to Calculator");
  EXPECT_EQ(platform.messages[1].buttons, IPlatform::Buttons::YesNo);
  EXPECT_TRUE(platform.messages[1].text.contains(QString::fromStdString(plus)));
  EXPECT_EQ(ReadText(plus), onDisk);
  EXPECT_TRUE(frame->Pack().m_bModified);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_FALSE(fs::exists(folder.Path() / "tilp.args"));

  platform.answers = {Answer::Yes};
  Send();
  EXPECT_EQ(WaitForArguments(), "--calc=ti83+\n" + plus + "\n");
  EXPECT_FALSE(frame->Pack().m_bModified);
  PackContents written;
  std::string error;
  ASSERT_TRUE(LoadPackFile(plus, written, error));
  EXPECT_STREQ(written.levels[0].m_szName, "Sent");
  EXPECT_EQ(platform.messages.size(), 3u);

  // An unmodified TI-83 pack goes as it is, without a question.
  fs::remove(folder.Path() / "tilp.args");
  const std::string plain = PackFile("plain.83p");
  frame->OpenFile(QString::fromStdString(plain));
  Send();
  EXPECT_EQ(WaitForArguments(), "--calc=ti83\n" + plain + "\n");
  EXPECT_EQ(platform.messages.size(), 3u);
  EXPECT_EQ(CCalculatorLink::Arguments(QStringLiteral("/x/Y.8XP")),
            (QStringList{"--calc=ti83+", "/x/Y.8XP"}));
}

// Without TiLP nothing can be sent, so nothing is checked or written: the
// message says how to install it and whether the pack is saved.
TEST_F(SendTest, WithoutTilpAMessageSaysHowToInstallItAndNothingIsWritten) {
  Open(false);
  const std::string path = PackFile("alone.83p");
  frame->OpenFile(QString::fromStdString(path));
  Send();
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].caption, "Send to Calculator");
  EXPECT_TRUE(platform.messages[0].text.contains("sudo apt install tilp2"));
  EXPECT_TRUE(platform.messages[0].text.contains("The pack is saved in " +
                                                 QString::fromStdString(path)));

  const std::string onDisk = ReadText(path);
  const auto written = fs::last_write_time(path);
  frame->LevelNameEdit()->setText(QStringLiteral("Not saved"));
  Send();
  ASSERT_EQ(platform.messages.size(), 2u);
  EXPECT_TRUE(platform.messages[1].text.contains("sudo apt install tilp2"));
  EXPECT_TRUE(platform.messages[1].text.contains("Nothing has been saved."));
  EXPECT_TRUE(frame->Pack().m_bModified);
  EXPECT_EQ(ReadText(path), onDisk);
  EXPECT_EQ(fs::last_write_time(path), written);

  // A new pack that the game could not play: the missing sender comes
  // first, and no save dialog opens.
  frame->Pack().m_bModified = false;
  frame->OnCommand(IDM_FILE_NEW);
  Send();
  ASSERT_EQ(platform.messages.size(), 3u);
  EXPECT_TRUE(platform.messages[2].text.contains("Nothing has been saved."));
  EXPECT_TRUE(platform.fileDialogs.empty());
}

}  // namespace
