#include "dialogs/ExportImageDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>

CExportImageDlg::CExportImageDlg(const QString& caption, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(caption);
  auto* form = new QFormLayout(this);
  m_pObjects = new QCheckBox(QStringLiteral("Draw the &objects"), this);
  m_pScale = new QSpinBox(this);
  m_pScale->setRange(1, 16);
  m_pScale->setSuffix(QStringLiteral(" x"));
  form->addRow(m_pObjects);
  form->addRow(QStringLiteral("&Scale:"), m_pScale);
  auto* buttons = new QDialogButtonBox(
      QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  form->addRow(buttons);
}

void CExportImageDlg::SetOptions(bool objects, int scale) {
  m_pObjects->setChecked(objects);
  m_pScale->setValue(scale);
}

bool CExportImageDlg::DrawObjects() const { return m_pObjects->isChecked(); }
int CExportImageDlg::Scale() const { return m_pScale->value(); }
