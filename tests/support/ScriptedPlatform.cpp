#include "support/ScriptedPlatform.h"

#include <QDialog>
#include <utility>

IPlatform::Answer ScriptedPlatform::MessageBox(QWidget* /*parent*/,
                                               const QString& text,
                                               const QString& caption,
                                               Buttons buttons, Icon icon) {
  return NextAnswer({text, caption, buttons, icon, QString()});
}

IPlatform::Answer ScriptedPlatform::InformativeMessageBox(
    QWidget* /*parent*/, const QString& text, const QString& informative,
    const QString& caption, Buttons buttons, Icon icon) {
  return NextAnswer({text, caption, buttons, icon, informative});
}

IPlatform::Answer ScriptedPlatform::NextAnswer(MessageCall call) {
  const Buttons buttons = call.buttons;
  messages.push_back(std::move(call));
  if (!answers.empty()) {
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  if (onMessage) {
    if (const std::optional<Answer> answer = onMessage(messages.back())) {
      return *answer;
    }
    return LeastCommitting(buttons);
  }
  ++unexpected;
  return LeastCommitting(buttons);
}

QString ScriptedPlatform::GetOpenFileName(QWidget* /*parent*/,
                                          const QString& title,
                                          const QString& folder,
                                          const QString& filters) {
  return NextFileName({false, title, folder, filters, QString()});
}

QString ScriptedPlatform::GetSaveFileName(QWidget* /*parent*/,
                                          const QString& title,
                                          const QString& folder,
                                          const QString& filters) {
  return NextFileName({true, title, folder, filters, QString()});
}

QString ScriptedPlatform::GetSaveFileNameAndFilter(QWidget* /*parent*/,
                                                   const QString& title,
                                                   const QString& folder,
                                                   const QString& filters,
                                                   QString& selectedFilter) {
  QString name = NextFileName({true, title, folder, filters, selectedFilter});
  if (!selectedFilters.empty()) {
    selectedFilter = selectedFilters.front();
    selectedFilters.pop_front();
  }
  return name;
}

QString ScriptedPlatform::NextFileName(FileCall call) {
  fileDialogs.push_back(std::move(call));
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

QString ScriptedPlatform::GetExistingDirectory(QWidget* /*parent*/,
                                               const QString& title,
                                               const QString& folder) {
  return NextFileName({false, title, folder, QString(), QString()});
}
