#include <QApplication>
#include <cstdio>

#include "shell/CommandLine.h"
#include "shell/EditorApp.h"

int main(int argc, char* argv[]) {
  // The command line is read before the window system is reached, so that
  // --help, --version and a mistyped option answer without a display.
  CEditorApp::SetApplicationNames();
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const EditorCommandLine command = ParseEditorCommandLine(arguments);
  if (!command.run) {
    std::fputs(command.output.toLocal8Bit().constData(), stdout);
    std::fputs(command.errorOutput.toLocal8Bit().constData(), stderr);
    return command.exitCode;
  }

  QApplication application(argc, argv);
  // Declared after the QApplication: the platform it owns must not outlive
  // the application, and the frame is gone when the loop ends.
  CEditorApp editor;
  editor.EnableSession();
  if (!editor.InitInstance(command.file)) return 1;
  const int status = QApplication::exec();
  editor.ExitInstance();
  return status;
}
