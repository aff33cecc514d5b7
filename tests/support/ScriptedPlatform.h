#pragma once

#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "uikit/Platform.h"

// A platform for tests: nothing ever blocks. Every message box, file dialog
// and modal dialog asked for is recorded; message boxes and file dialogs take
// their answers from queues the test fills, and dialogs run through a
// callback the test gives. An empty queue answers the least committing way
// (Cancel, No or OK; a cancelled file dialog) and counts as unexpected, so a
// test can check that nothing unplanned was asked.
class ScriptedPlatform : public IPlatform {
 public:
  struct MessageCall {
    QString text;
    QString caption;
    Buttons buttons;
    Icon icon;
    QString informative;  // the second text under `text`, if any
  };
  struct FileCall {
    bool save;
    QString title;
    QString folder;
    QString filters;
    QString selectedFilter;  // the filter the dialog started with, if asked
  };

  Answer MessageBox(QWidget* parent, const QString& text,
                    const QString& caption, Buttons buttons,
                    Icon icon) override;
  Answer InformativeMessageBox(QWidget* parent, const QString& text,
                               const QString& informative,
                               const QString& caption, Buttons buttons,
                               Icon icon) override;
  QString GetOpenFileName(QWidget* parent, const QString& title,
                          const QString& folder,
                          const QString& filters) override;
  QString GetSaveFileName(QWidget* parent, const QString& title,
                          const QString& folder,
                          const QString& filters) override;
  // Answers with the next queued name and the next queued filter (none
  // queued: the filter the dialog started with).
  QString GetSaveFileNameAndFilter(QWidget* parent, const QString& title,
                                   const QString& folder,
                                   const QString& filters,
                                   QString& selectedFilter) override;
  int RunDialog(QDialog& dialog) override;
  // Recorded as a file dialog (not a save, no filters); answered from
  // fileNames.
  QString GetExistingDirectory(QWidget* parent, const QString& title,
                               const QString& folder) override;

  // Answers, used in order.
  std::deque<Answer> answers;
  std::deque<QString> fileNames;
  std::deque<QString> selectedFilters;
  // Runs each dialog: it may fill the dialog's fields and returns what exec()
  // would (QDialog::Accepted or QDialog::Rejected). Unset: Rejected.
  std::function<int(QDialog&)> onDialog;
  // Answers a message box when the queue is empty (a randomised session
  // answers by the question's text); unset, or returning nothing, falls
  // back to the least committing answer. Either way the call is expected.
  std::function<std::optional<Answer>(const MessageCall&)> onMessage;

  // What was asked, in order.
  std::vector<MessageCall> messages;
  std::vector<FileCall> fileDialogs;
  std::vector<QString> dialogTitles;
  int unexpected = 0;  // calls that found no scripted answer

 private:
  // Records a message box and answers it with the next queued answer.
  Answer NextAnswer(MessageCall call);
  // Records a file dialog and answers it with the next queued name.
  QString NextFileName(FileCall call);
};
