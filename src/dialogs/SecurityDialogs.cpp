#include "dialogs/SecurityDialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <algorithm>

#include "dialogs/DialogChecks.h"
#include "dialogs/DialogSupport.h"
#include "model/LevelPack.h"
#include "model/Text.h"
#include "uikit/Platform.h"

namespace {

constexpr int kEditHeight = 13;

QLineEdit* AddTextEdit(QDialog& dialog, const DialogUnits& du, QRect units,
                       bool password, const char* name) {
  auto* edit = new QLineEdit(&dialog);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setGeometry(
      du.Rect(units.x(), units.y(), units.width(), units.height()));
  edit->setValidator(new CPrintableAsciiValidator(edit));
  if (password) edit->setEchoMode(QLineEdit::Password);
  return edit;
}

// An edit shows what it is given whole: a text that came from a file may be
// longer than what can be typed (an author name holds up to 28 characters,
// 25 can be typed), and cutting it to the typing limit would lose part of it
// on OK. Typing can still never make it longer than the limit or the held
// text.
void SetLimitedText(QLineEdit* edit, const QString& text, int typedLimit,
                    int heldLimit) {
  const auto held = static_cast<int>(
      std::min<qsizetype>(text.size(), static_cast<qsizetype>(heldLimit)));
  edit->setMaxLength(std::max(typedLimit, held));
  edit->setText(text.left(held));
}

}  // namespace

// ---- CSecurityInfoDlg -------------------------------------------------------

CSecurityInfoDlg::CSecurityInfoDlg(IPlatform& platform, QWidget* parent)
    : QDialog(parent), m_platform(platform) {
  const DialogUnits du(font());
  SetUpFixedDialog(*this, du, QStringLiteral("Name & Security Info"), 154, 122);

  QLabel* nameLabel =
      AddLabel(*this, du, QStringLiteral("Your &Name:"), {17, 8, 119, 8});
  m_pNameEdit =
      AddTextEdit(*this, du, {17, 18, 119, kEditHeight}, false, "edit1029");
  nameLabel->setBuddy(m_pNameEdit);

  QLabel* passwordLabel =
      AddLabel(*this, du, QStringLiteral("&Password:"), {17, 38, 119, 8});
  m_pPasswordEdit =
      AddTextEdit(*this, du, {17, 48, 40, kEditHeight}, true, "edit1030");
  passwordLabel->setBuddy(m_pPasswordEdit);

  QLabel* confirmLabel = AddLabel(
      *this, du, QStringLiteral("&Confirm Password:"), {17, 68, 119, 8});
  m_pConfirmEdit =
      AddTextEdit(*this, du, {17, 78, 40, kEditHeight}, true, "edit1031");
  confirmLabel->setBuddy(m_pConfirmEdit);

  QPushButton* ok =
      AddButton(*this, du, QStringLiteral("OK"), {22, 101, 50, 14}, true);
  QPushButton* cancel =
      AddButton(*this, du, QStringLiteral("Cancel"), {82, 101, 50, 14}, false);
  connect(ok, &QPushButton::clicked, this, &CSecurityInfoDlg::accept);
  connect(cancel, &QPushButton::clicked, this, &CSecurityInfoDlg::reject);

  SetLimitedText(m_pNameEdit, QString(), AUTHOR_TYPED_CHARS, AUTHOR_CHARS);
  SetLimitedText(m_pPasswordEdit, QString(), PASSWORD_CHARS, PASSWORD_CHARS);
  SetLimitedText(m_pConfirmEdit, QString(), PASSWORD_CHARS, PASSWORD_CHARS);
  FitDialogToTexts(*this);
  // Each edit shows all it takes: the typed name whole, all ten password
  // characters.
  FitEditToChars(*this, *m_pNameEdit, AUTHOR_TYPED_CHARS);
  FitEditToChars(*this, *m_pPasswordEdit, PASSWORD_CHARS);
  FitEditToChars(*this, *m_pConfirmEdit, PASSWORD_CHARS);
}

void CSecurityInfoDlg::DoDataExchange(bool bSaveAndValidate) {
  if (bSaveAndValidate) {
    m_strName = m_pNameEdit->text();
    m_strPassword = m_pPasswordEdit->text();
    m_strConfirm = m_pConfirmEdit->text();
  } else {
    SetLimitedText(m_pNameEdit, m_strName, AUTHOR_TYPED_CHARS, AUTHOR_CHARS);
    SetLimitedText(m_pPasswordEdit, m_strPassword, PASSWORD_CHARS,
                   PASSWORD_CHARS);
    SetLimitedText(m_pConfirmEdit, m_strConfirm, PASSWORD_CHARS,
                   PASSWORD_CHARS);
  }
}

// Filled from the fields each time the dialog opens, focus in the name.
void CSecurityInfoDlg::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) {
    DoDataExchange(false);
    m_pNameEdit->setFocus();
  }
  QDialog::showEvent(event);
}

void CSecurityInfoDlg::accept() {
  DoDataExchange(true);
  const SecurityVerdict verdict =
      CheckSecurityInfo(ToPackText(m_strName), ToPackText(m_strPassword),
                        ToPackText(m_strConfirm));
  if (const auto message = SecurityMessage(verdict)) {
    ShowDialogMessage(m_platform, this, *message);
    if (verdict == SecurityVerdict::PasswordsDiffer) {
      // The masked texts cannot be compared by eye: both are typed afresh.
      m_pPasswordEdit->clear();
      m_pConfirmEdit->clear();
      m_pPasswordEdit->setFocus();
    }
    return;
  }
  QDialog::accept();
}

int RunSecurityDialog(IPlatform& platform, QWidget* parent, CLevelPack& pack) {
  CSecurityInfoDlg dlg(platform, parent);
  dlg.m_strName = FromPackText(pack.m_szAuthorName);
  dlg.m_strPassword = FromPackText(pack.m_szPassword);
  dlg.m_strConfirm = dlg.m_strPassword;
  const int result = platform.RunDialog(dlg);
  if (result == QDialog::Accepted) {
    pack.m_szAuthorName = ToPackText(dlg.m_strName).substr(0, AUTHOR_CHARS);
    pack.m_szPassword = ToPackText(dlg.m_strPassword).substr(0, PASSWORD_CHARS);
    pack.m_bModified = true;
  }
  return result;
}

// ---- CPasswordPromptDlg -----------------------------------------------------

CPasswordPromptDlg::CPasswordPromptDlg(IPlatform& platform, QWidget* parent)
    : QDialog(parent), m_platform(platform) {
  const DialogUnits du(font());
  SetUpFixedDialog(*this, du, QStringLiteral("Protected File"), 186, 74);

  QLabel* first = AddLabel(
      *this, du, QStringLiteral("You must enter the password for this file"),
      {7, 7, 172, 8});
  first->setAlignment(Qt::AlignHCenter);
  QLabel* second = AddLabel(*this, du, QStringLiteral("in order to view it:"),
                            {7, 17, 172, 8});
  second->setAlignment(Qt::AlignHCenter);
  m_pPasswordEdit =
      AddTextEdit(*this, du, {73, 31, 40, kEditHeight}, true, "edit1032");
  m_pPasswordEdit->setMaxLength(PASSWORD_CHARS);

  QPushButton* ok =
      AddButton(*this, du, QStringLiteral("OK"), {37, 53, 50, 14}, true);
  QPushButton* cancel =
      AddButton(*this, du, QStringLiteral("Cancel"), {99, 53, 50, 14}, false);
  connect(ok, &QPushButton::clicked, this, &CPasswordPromptDlg::accept);
  connect(cancel, &QPushButton::clicked, this, &CPasswordPromptDlg::reject);
  FitDialogToTexts(*this);
  FitEditToChars(*this, *m_pPasswordEdit, PASSWORD_CHARS, true);
}

void CPasswordPromptDlg::DoDataExchange(bool bSaveAndValidate) {
  if (bSaveAndValidate) {
    m_strPassword = m_pPasswordEdit->text();
  } else {
    m_pPasswordEdit->setText(m_strPassword.left(PASSWORD_CHARS));
  }
}

void CPasswordPromptDlg::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) {
    DoDataExchange(false);
    m_pPasswordEdit->setFocus();
  }
  QDialog::showEvent(event);
}

void CPasswordPromptDlg::accept() {
  DoDataExchange(true);
  if (!PasswordMatches(ToPackText(m_strPassword), m_pszExpected)) {
    ShowDialogMessage(m_platform, this, WrongPasswordMessage());
    return;
  }
  QDialog::accept();
}

int RunPasswordPrompt(IPlatform& platform, QWidget* parent,
                      const char* pszExpected) {
  CPasswordPromptDlg dlg(platform, parent);
  dlg.m_pszExpected = pszExpected;
  return platform.RunDialog(dlg);
}
