#pragma once

#include <QDialog>
#include <QString>

class CLevelPack;
class IPlatform;
class QLineEdit;

// "Name & Security Info": the pack's author name and its password, typed
// twice. OK closes only when all three fields hold text and the two
// passwords agree.
class CSecurityInfoDlg : public QDialog {
  Q_OBJECT

 public:
  CSecurityInfoDlg(IPlatform& platform, QWidget* parent = nullptr);

  // The texts moved in and out of the edits: filled before the dialog is
  // run, read back after it closed with OK.
  QString m_strName;
  QString m_strPassword;
  QString m_strConfirm;

  void DoDataExchange(bool bSaveAndValidate);
  void accept() override;  // the OK button, Enter

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  IPlatform& m_platform;
  QLineEdit* m_pNameEdit;
  QLineEdit* m_pPasswordEdit;
  QLineEdit* m_pConfirmEdit;
};

// "Protected File": asks for the password of a pack being opened and closes
// with OK only when the typed text equals the stored one exactly.
class CPasswordPromptDlg : public QDialog {
  Q_OBJECT

 public:
  CPasswordPromptDlg(IPlatform& platform, QWidget* parent = nullptr);

  QString m_strPassword;
  // The stored password, not owned; the caller keeps it alive while the
  // dialog runs.
  const char* m_pszExpected = nullptr;

  void DoDataExchange(bool bSaveAndValidate);
  void accept() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  IPlatform& m_platform;
  QLineEdit* m_pPasswordEdit;
};

// Runs "Name & Security Info" filled from the pack. On OK the author name
// and password are taken over and the pack counts as modified; on Cancel
// nothing changes. Returns QDialog::Accepted or QDialog::Rejected.
int RunSecurityDialog(IPlatform& platform, QWidget* parent, CLevelPack& pack);

// Runs "Protected File" against the stored password. Returns
// QDialog::Accepted only when the user typed that password.
int RunPasswordPrompt(IPlatform& platform, QWidget* parent,
                      const char* pszExpected);
