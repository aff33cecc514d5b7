#pragma once

#include <QString>

class QDialog;
class QWidget;

// Everything that would block a test goes through this seam: message boxes,
// file dialogs and running a modal dialog. The editor passes QtPlatform;
// tests pass a scripted platform that records what was asked and answers as
// the test says.
class IPlatform {
 public:
  enum class Buttons { Ok, YesNo, YesNoCancel };
  enum class Icon { None, Exclamation, Question, Information };
  enum class Answer { Ok, Yes, No, Cancel };

  virtual ~IPlatform() = default;

  // What a box with `buttons` answers when it is closed without a button:
  // the least committing one, Cancel, else No, else OK.
  static Answer LeastCommitting(Buttons buttons);

  virtual Answer MessageBox(QWidget* parent, const QString& text,
                            const QString& caption, Buttons buttons,
                            Icon icon) = 0;
  // The same box with `informative` as a second text under `text`, saying
  // why (Qt's informative text); `text` stays as it is. A platform that has
  // no second text shows `text` alone.
  virtual Answer InformativeMessageBox(QWidget* parent, const QString& text,
                                       const QString& informative,
                                       const QString& caption, Buttons buttons,
                                       Icon icon);

  // Returns the chosen path, or an empty string when cancelled. `filters`
  // are Qt name filters separated by ";;".
  virtual QString GetOpenFileName(QWidget* parent, const QString& title,
                                  const QString& folder,
                                  const QString& filters) = 0;
  // Asks before replacing an existing file.
  virtual QString GetSaveFileName(QWidget* parent, const QString& title,
                                  const QString& folder,
                                  const QString& filters) = 0;

  // The same, and `selectedFilter` is the filter chosen in the dialog; it
  // comes in as the one to start with. A platform that cannot tell leaves
  // it as it is.
  virtual QString GetSaveFileNameAndFilter(QWidget* parent,
                                           const QString& title,
                                           const QString& folder,
                                           const QString& filters,
                                           QString& selectedFilter);

  // Runs a modal dialog and returns QDialog::Accepted or QDialog::Rejected.
  virtual int RunDialog(QDialog& dialog) = 0;

  // Returns the chosen folder, or an empty string when cancelled. A
  // platform without a folder dialog cancels.
  virtual QString GetExistingDirectory(QWidget* /*parent*/,
                                       const QString& /*title*/,
                                       const QString& /*folder*/) {
    return {};
  }
};

// The real platform: QMessageBox, QFileDialog and QDialog::exec().
class QtPlatform final : public IPlatform {
 public:
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
  QString GetSaveFileNameAndFilter(QWidget* parent, const QString& title,
                                   const QString& folder,
                                   const QString& filters,
                                   QString& selectedFilter) override;
  int RunDialog(QDialog& dialog) override;
  QString GetExistingDirectory(QWidget* parent, const QString& title,
                               const QString& folder) override;
};
