#include <QApplication>

#include "shell/EditorApp.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  // Declared after the QApplication: the platform it owns must not outlive
  // the application, and the frame is gone when the loop ends.
  CEditorApp editor;
  if (!editor.InitInstance()) return 1;
  const int status = QApplication::exec();
  editor.ExitInstance();
  return status;
}
