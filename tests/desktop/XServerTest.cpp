// The built editor in a real X server: Xvfb, started by the test on a
// display of its own. Skipped, saying so, only where no X server starts.
#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <chrono>
#include <thread>

#include "ProcessSupport.h"
#include "packfile/PackFile.h"
#include "support/QtTestApp.h"

using desktoptest::EditorHome;
using desktoptest::ParseReport;
using testsupport::ReadText;

namespace {

// An Xvfb server on a free display, stopped when this goes.
class XServer {
 public:
  bool Start(QString& why) {
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty()) {
      why = QStringLiteral("Xvfb is not installed");
      return false;
    }
    // Xvfb picks a free display and writes its number to the pipe it is
    // given: -displayfd 1 is its standard output.
    m_server.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"),
                          QStringLiteral("-screen"), QStringLiteral("0"),
                          QStringLiteral("1024x768x24"),
                          QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    if (!m_server.waitForStarted(10000)) {
      why = QStringLiteral("Xvfb did not start");
      return false;
    }
    QByteArray number;
    while (!number.contains('\n') && m_server.waitForReadyRead(10000)) {
      number += m_server.readAllStandardOutput();
    }
    if (!number.contains('\n')) {
      why = QStringLiteral("Xvfb named no display");
      return false;
    }
    m_display = QStringLiteral(":") + QString::fromLatin1(number.trimmed());
    return true;
  }
  ~XServer() {
    if (m_server.state() != QProcess::NotRunning) {
      m_server.terminate();
      if (!m_server.waitForFinished(5000)) m_server.kill();
      m_server.waitForFinished();
    }
  }
  const QString& Display() const { return m_display; }

 private:
  QProcess m_server;
  QString m_display;
};

TEST(XServerTest, TheEditorShowsTheFileItWasGivenAndExitsWhenClosed) {
  QtTestApp();
  XServer server;
  QString why;
  if (!server.Start(why)) {
    GTEST_SKIP() << "no X server could be started (" << why.toStdString()
                 << "): the editor is not tried in one";
  }
  EditorHome home;
  home.MakeFolders();
  PackContents pack;
  pack.m_szPassword = "pw";
  pack.levels.resize(1);
  const std::string file = (home.Path() / "On Screen.83p").string();
  std::string error;
  ASSERT_TRUE(SavePackFile(file, pack, error)) << error;

  QProcessEnvironment env = home.Environment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  env.insert(QStringLiteral("DISPLAY"), server.Display());
  env.remove(QStringLiteral("WAYLAND_DISPLAY"));
  const std::string report = (home.Path() / "x.report").string();
  env.insert(QStringLiteral("PLODDERZ_DRIVER_STEPS"),
             QStringLiteral("report,ready,wait,close"));
  env.insert(QStringLiteral("PLODDERZ_DRIVER_PASSWORD"), QStringLiteral("pw"));
  env.insert(QStringLiteral("PLODDERZ_DRIVER_REPORT"),
             QString::fromStdString(report));
  const std::string go = (home.Path() / "go").string();
  env.insert(QStringLiteral("PLODDERZ_DRIVER_GO"), QString::fromStdString(go));
  QProcess editor;
  editor.setProcessEnvironment(env);
  editor.setProcessChannelMode(QProcess::ForwardedChannels);
  editor.start(QStringLiteral(PLODDERZ_DRIVER_EXE),
               {QString::fromStdString(file)});
  ASSERT_TRUE(editor.waitForStarted(10000));
  for (int i = 0; i < 600 && ParseReport(ReadText(report)).count("ready") == 0;
       ++i) {
    if (editor.waitForFinished(50)) break;
  }
  const auto state = ParseReport(ReadText(report));
  ASSERT_EQ(state.count("ready"), 1u) << "the editor did not come up";
  EXPECT_EQ(state.at("title"), "Plodderz Level File Maker - On Screen.83p");
  EXPECT_EQ(state.at("visible"), "1");

  // The X server itself shows a window of that title.
  const QString xwininfo =
      QStandardPaths::findExecutable(QStringLiteral("xwininfo"));
  if (!xwininfo.isEmpty()) {
    QString tree;
    for (int i = 0; i < 50; ++i) {
      QProcess query;
      QProcessEnvironment queryEnv = QProcessEnvironment::systemEnvironment();
      queryEnv.insert(QStringLiteral("DISPLAY"), server.Display());
      query.setProcessEnvironment(queryEnv);
      query.start(xwininfo, {QStringLiteral("-root"), QStringLiteral("-tree")});
      query.waitForFinished(5000);
      tree = QString::fromUtf8(query.readAllStandardOutput());
      if (tree.contains(QStringLiteral("On Screen.83p"))) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_TRUE(tree.contains(
        QStringLiteral("\"Plodderz Level File Maker - On Screen.83p\"")))
        << tree.toStdString();
  }

  // Closed as its close box closes it: the unmodified pack asks nothing,
  // and the program ends with 0.
  testsupport::WriteText(go, "");
  ASSERT_TRUE(editor.waitForFinished(10000));
  EXPECT_EQ(editor.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(editor.exitCode(), 0);
}

}  // namespace
