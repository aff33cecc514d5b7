#include "support/ScriptedPlatform.h"

#include <QDialog>

IPlatform::Answer ScriptedPlatform::MessageBox(QWidget* /*parent*/,
                                               const QString& text,
                                               const QString& caption,
                                               Buttons buttons, Icon icon) {
  messages.push_back({text, caption, buttons, icon});
  if (!answers.empty()) {
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  ++unexpected;
  switch (buttons) {
    case Buttons::YesNoCancel:
      return Answer::Cancel;
    case Buttons::YesNo:
      return Answer::No;
    case Buttons::Ok:
      break;
  }
  return Answer::Ok;
}

QString ScriptedPlatform::GetOpenFileName(QWidget* /*parent*/,
                                          const QString& title,
                                          const QString& folder,
                                          const QString& filters) {
  fileDialogs.push_back({false, title, folder, filters});
  if (fileNames.empty()) {
    ++unexpected;
    return {};
  }
  QString name = fileNames.front();
  fileNames.pop_front();
  return name;
}

QString ScriptedPlatform::GetSaveFileName(QWidget* /*parent*/,
                                          const QString& title,
                                          const QString& folder,
                                          const QString& filters) {
  fileDialogs.push_back({true, title, folder, filters});
  if (fileNames.empty()) {
    ++unexpected;
    return {};
  }
  QString name = fileNames.front();
  fileNames.pop_front();
  return name;
}

int ScriptedPlatform::RunDialog(QDialog& dialog) {
  dialogTitles.push_back(dialog.windowTitle());
  if (!onDialog) {
    ++unexpected;
    return QDialog::Rejected;
  }
  return onDialog(dialog);
}
