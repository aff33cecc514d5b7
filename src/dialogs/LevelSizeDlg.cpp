#include "dialogs/LevelSizeDlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "dialogs/LevelSizeChecks.h"

CLevelSizeDlg::CLevelSizeDlg(int width, int height, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(QStringLiteral("Level Size"));
  auto* form = new QFormLayout(this);
  const auto digits = [this] {
    return new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,4}")), this);
  };
  m_pWidth = new QLineEdit(QString::number(width), this);
  m_pWidth->setValidator(digits());
  m_pHeight = new QLineEdit(QString::number(height), this);
  m_pHeight->setValidator(digits());
  m_pBudget = new QLabel(this);
  m_pReason = new QLabel(this);
  m_pReason->setWordWrap(true);
  // Room for the longest reason, so the dialog never jumps while typing.
  m_pReason->setMinimumHeight(2 * fontMetrics().lineSpacing());
  form->addRow(QStringLiteral("&Width (96 to 288 pixels, steps of 8):"),
               m_pWidth);
  form->addRow(QStringLiteral("&Height (64 to 192 rows):"), m_pHeight);
  form->addRow(QStringLiteral("Bitmap:"), m_pBudget);
  form->addRow(m_pReason);
  auto* buttons = new QDialogButtonBox(
      QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  m_pOk = buttons->button(QDialogButtonBox::Ok);
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    if (m_pOk->isEnabled()) accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  form->addRow(buttons);
  connect(m_pWidth, &QLineEdit::textChanged, this, [this] { Update(); });
  connect(m_pHeight, &QLineEdit::textChanged, this, [this] { Update(); });
  Update();
}

void CLevelSizeDlg::Update() {
  const LevelSizeVerdict verdict = CheckLevelSize(
      m_pWidth->text().toStdString(), m_pHeight->text().toStdString());
  m_pBudget->setText(verdict.width >= 0 && verdict.height >= 0
                         ? QString::fromStdString(BudgetText(verdict.bytes))
                         : QString());
  m_pReason->setText(QString::fromStdString(verdict.reason));
  m_pOk->setEnabled(verdict.ok);
}

int CLevelSizeDlg::LevelWidth() const { return m_pWidth->text().toInt(); }
int CLevelSizeDlg::LevelHeight() const { return m_pHeight->text().toInt(); }
