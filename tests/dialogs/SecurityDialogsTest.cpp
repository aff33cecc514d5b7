#include "dialogs/SecurityDialogs.h"

#include <gtest/gtest.h>
#include <QLineEdit>
#include <QtTest/QTest>

#include "DialogTestSupport.h"
#include "model/LevelPack.h"
#include "model/Text.h"
#include "support/ScriptedPlatform.h"

namespace {

using Icon = IPlatform::Icon;

QLineEdit* Edit(const QDialog& dialog, const char* name) {
  auto* edit = dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
  EXPECT_NE(edit, nullptr) << name;
  return edit;
}

class DlgSecurityInfo : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(pack.NewPack()); }

  // Fills the three edits and presses OK on a shown dialog.
  static void Submit(CSecurityInfoDlg& dlg, const QString& name,
                     const QString& password, const QString& confirm) {
    Edit(dlg, "edit1029")->setText(name);
    Edit(dlg, "edit1030")->setText(password);
    Edit(dlg, "edit1031")->setText(confirm);
    FindButton(dlg, "OK")->click();
  }

  ScriptedPlatform platform;
  CLevelPack pack;
};

TEST_F(DlgSecurityInfo, RefusedOkShowsTheMessageAndKeepsTheDialogOpen) {
  struct Case {
    const char* name;
    const char* password;
    const char* confirm;
    const char* message;
    bool passwordsKept;  // else both password edits are emptied
  };
  const Case cases[] = {
      {"", "", "", "All fields must have data entered.", true},
      {"Ann", "secret", "", "All fields must have data entered.", true},
      {"Ann", "Secret", "secret", "Passwords do not match.", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    ScriptedPlatform boxes;
    CSecurityInfoDlg dlg(boxes);
    dlg.show();
    Submit(dlg, c.name, c.password, c.confirm);
    ASSERT_EQ(boxes.messages.size(), 1u);
    EXPECT_EQ(boxes.messages[0].text, c.message);
    EXPECT_EQ(boxes.messages[0].caption, "Security Error");
    EXPECT_EQ(boxes.messages[0].icon, Icon::Exclamation);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_NE(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(Edit(dlg, "edit1029")->text(), c.name);
    if (c.passwordsKept) {
      // A missing field: the contents stay as typed.
      EXPECT_EQ(Edit(dlg, "edit1030")->text(), c.password);
      EXPECT_EQ(Edit(dlg, "edit1031")->text(), c.confirm);
    } else {
      // Passwords that differ are both typed again, from the first.
      EXPECT_EQ(Edit(dlg, "edit1030")->text(), "");
      EXPECT_EQ(Edit(dlg, "edit1031")->text(), "");
      EXPECT_EQ(dlg.focusWidget(), Edit(dlg, "edit1030"));
    }
  }
}

TEST_F(DlgSecurityInfo, ShowsThePackMaskedAndTakesItOverOnOk) {
  pack.m_szAuthorName = "Ann";
  pack.m_szPassword = "plod";
  platform.onDialog = [](QDialog& d) {
    auto& dlg = static_cast<CSecurityInfoDlg&>(d);
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), "Name & Security Info");
    EXPECT_EQ(Edit(dlg, "edit1029")->text(), "Ann");
    EXPECT_EQ(Edit(dlg, "edit1030")->text(), "plod");
    EXPECT_EQ(Edit(dlg, "edit1031")->text(), "plod");
    EXPECT_EQ(Edit(dlg, "edit1029")->echoMode(), QLineEdit::Normal);
    EXPECT_EQ(Edit(dlg, "edit1030")->echoMode(), QLineEdit::Password);
    EXPECT_EQ(Edit(dlg, "edit1031")->echoMode(), QLineEdit::Password);
    ExpectLabelsFit(dlg);
    Submit(dlg, "Bob", "Newpass", "Newpass");
    return dlg.result();
  };
  EXPECT_EQ(RunSecurityDialog(platform, nullptr, pack), QDialog::Accepted);
  EXPECT_EQ(pack.m_szAuthorName, "Bob");
  EXPECT_EQ(pack.m_szPassword, "Newpass");
  EXPECT_TRUE(pack.m_bModified);
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(DlgSecurityInfo, UnchangedOkStillMarksThePackModified) {
  pack.m_szAuthorName = "Ann";
  pack.m_szPassword = "plod";
  platform.onDialog = [](QDialog& d) {
    d.show();
    FindButton(d, "OK")->click();
    return d.result();
  };
  EXPECT_EQ(RunSecurityDialog(platform, nullptr, pack), QDialog::Accepted);
  EXPECT_EQ(pack.m_szAuthorName, "Ann");
  EXPECT_EQ(pack.m_szPassword, "plod");
  EXPECT_TRUE(pack.m_bModified);
}

TEST_F(DlgSecurityInfo, CancelChangesNothing) {
  pack.m_szAuthorName = "Ann";
  pack.m_szPassword = "plod";
  platform.onDialog = [](QDialog& d) {
    d.show();
    Edit(d, "edit1029")->setText("Bob");
    FindButton(d, "Cancel")->click();
    return d.result();
  };
  EXPECT_EQ(RunSecurityDialog(platform, nullptr, pack), QDialog::Rejected);
  EXPECT_EQ(pack.m_szAuthorName, "Ann");
  EXPECT_EQ(pack.m_szPassword, "plod");
  EXPECT_FALSE(pack.m_bModified);
}

TEST_F(DlgSecurityInfo, TypingStopsAtTheLimitsAndAtUnstorableCharacters) {
  CSecurityInfoDlg dlg(platform);
  dlg.show();
  QLineEdit* name = Edit(dlg, "edit1029");
  QLineEdit* password = Edit(dlg, "edit1030");
  QLineEdit* confirm = Edit(dlg, "edit1031");

  QTest::keyClicks(name, QString(30, 'n'));
  EXPECT_EQ(name->text(), QString(25, 'n'));
  QTest::keyClicks(password, "0123456789abc");
  EXPECT_EQ(password->text(), "0123456789");
  QTest::keyClicks(confirm, "0123456789abc");
  EXPECT_EQ(confirm->text(), "0123456789");

  // Neither typed nor pasted: characters outside printable ASCII.
  name->clear();
  QTest::keyClicks(name, "A");
  QTest::sendKeyEvent(QTest::Click, name, Qt::Key_Eacute,
                      QString::fromUtf8("\xc3\xa9"), Qt::NoModifier);
  QTest::keyClicks(name, "z");
  EXPECT_EQ(name->text(), "Az");
  name->clear();
  name->insert("tab\there");
  EXPECT_EQ(name->text(), "");
  name->insert(QString::fromUtf8("caf\xc3\xa9"));
  EXPECT_EQ(name->text(), "");
  name->insert("~ Ann! ~");
  EXPECT_EQ(name->text(), "~ Ann! ~");
}

TEST_F(DlgSecurityInfo, AnAuthorNameLongerThanTypableIsKeptWhole) {
  // A loaded pack may hold 28 characters of author name; only 25 can be
  // typed, but OK must not cut the name that is there.
  const std::string longName(AUTHOR_CHARS, 'L');
  pack.m_szAuthorName = longName;
  pack.m_szPassword = "plod";
  platform.onDialog = [](QDialog& d) {
    d.show();
    QLineEdit* name = Edit(d, "edit1029");
    EXPECT_EQ(name->text().size(), AUTHOR_CHARS);
    name->end(false);
    QTest::keyClicks(name, "xyz");  // no room for more
    EXPECT_EQ(name->text().size(), AUTHOR_CHARS);
    FindButton(d, "OK")->click();
    return d.result();
  };
  EXPECT_EQ(RunSecurityDialog(platform, nullptr, pack), QDialog::Accepted);
  EXPECT_EQ(pack.m_szAuthorName, longName);
}

// ---- Protected File ---------------------------------------------------------

TEST(DlgPasswordPrompt, WrongTextsKeepItOpenAsOftenAsTyped) {
  ScriptedPlatform platform;
  const char stored[] = "Plod";
  int attempts = 0;
  platform.onDialog = [&attempts](QDialog& d) {
    d.show();
    EXPECT_EQ(d.windowTitle(), "Protected File");
    QLineEdit* edit = Edit(d, "edit1032");
    EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
    EXPECT_EQ(LabelTexts(d),
              (QStringList{"You must enter the password for this file",
                           "in order to view it:"}));
    ExpectLabelsFit(d);
    for (const char* wrong : {"plod", "Plo", "Plodd", ""}) {
      edit->setText(wrong);
      FindButton(d, "OK")->click();
      ++attempts;
      EXPECT_TRUE(d.isVisible()) << wrong;
      EXPECT_EQ(edit->text(), wrong);  // the typed text stays
    }
    edit->setText("Plod");
    FindButton(d, "OK")->click();
    EXPECT_FALSE(d.isVisible());
    return d.result();
  };
  EXPECT_EQ(RunPasswordPrompt(platform, nullptr, stored), QDialog::Accepted);
  ASSERT_EQ(platform.messages.size(), static_cast<size_t>(attempts));
  for (const auto& message : platform.messages) {
    EXPECT_EQ(message.text, "Wrong. Try again.");
    EXPECT_EQ(message.caption, "Error");
    EXPECT_EQ(message.buttons, IPlatform::Buttons::Ok);
    EXPECT_EQ(message.icon, Icon::None);
  }
}

TEST(DlgPasswordPrompt, EmptyStoredPasswordOpensWithAnEmptyEdit) {
  ScriptedPlatform platform;
  platform.onDialog = [](QDialog& d) {
    d.show();
    FindButton(d, "OK")->click();
    return d.result();
  };
  EXPECT_EQ(RunPasswordPrompt(platform, nullptr, ""), QDialog::Accepted);
  EXPECT_TRUE(platform.messages.empty());
}

TEST(DlgPasswordPrompt, CancelAndEscapeReject) {
  for (const bool escape : {false, true}) {
    ScriptedPlatform platform;
    platform.onDialog = [escape](QDialog& d) {
      d.show();
      Edit(d, "edit1032")->setText("Plod");
      if (escape) {
        QTest::keyClick(&d, Qt::Key_Escape);
      } else {
        FindButton(d, "Cancel")->click();
      }
      return d.result();
    };
    EXPECT_EQ(RunPasswordPrompt(platform, nullptr, "Plod"), QDialog::Rejected);
    EXPECT_TRUE(platform.messages.empty());
  }
}

}  // namespace
