#include "uikit/Platform.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace {

QMessageBox::StandardButtons ToQtButtons(IPlatform::Buttons buttons) {
  switch (buttons) {
    case IPlatform::Buttons::YesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case IPlatform::Buttons::YesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case IPlatform::Buttons::Ok:
      break;
  }
  return QMessageBox::Ok;
}

QMessageBox::Icon ToQtIcon(IPlatform::Icon icon) {
  switch (icon) {
    case IPlatform::Icon::Exclamation:
      return QMessageBox::Warning;
    case IPlatform::Icon::Question:
      return QMessageBox::Question;
    case IPlatform::Icon::Information:
      return QMessageBox::Information;
    case IPlatform::Icon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

IPlatform::Answer IPlatform::LeastCommitting(Buttons buttons) {
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

IPlatform::Answer IPlatform::InformativeMessageBox(
    QWidget* parent, const QString& text, const QString& /*informative*/,
    const QString& caption, Buttons buttons, Icon icon) {
  return MessageBox(parent, text, caption, buttons, icon);
}

IPlatform::Answer QtPlatform::MessageBox(QWidget* parent, const QString& text,
                                         const QString& caption,
                                         Buttons buttons, Icon icon) {
  return InformativeMessageBox(parent, text, QString(), caption, buttons, icon);
}

IPlatform::Answer QtPlatform::InformativeMessageBox(
    QWidget* parent, const QString& text, const QString& informative,
    const QString& caption, Buttons buttons, Icon icon) {
  QMessageBox box(ToQtIcon(icon), caption, text, ToQtButtons(buttons), parent);
  box.setInformativeText(informative);
  // Closing the box with the window's close button or Escape answers what
  // the least committing button would.
  switch (box.exec()) {
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    case QMessageBox::Cancel:
      return Answer::Cancel;
    case QMessageBox::Ok:
      return Answer::Ok;
    default:
      break;
  }
  return LeastCommitting(buttons);
}

QString QtPlatform::GetOpenFileName(QWidget* parent, const QString& title,
                                    const QString& folder,
                                    const QString& filters) {
  return QFileDialog::getOpenFileName(parent, title, folder, filters);
}

QString QtPlatform::GetSaveFileName(QWidget* parent, const QString& title,
                                    const QString& folder,
                                    const QString& filters) {
  // QFileDialog asks before replacing an existing file by default.
  return QFileDialog::getSaveFileName(parent, title, folder, filters);
}

QString IPlatform::GetSaveFileNameAndFilter(QWidget* parent,
                                            const QString& title,
                                            const QString& folder,
                                            const QString& filters,
                                            QString& /*selectedFilter*/) {
  return GetSaveFileName(parent, title, folder, filters);
}

QString QtPlatform::GetSaveFileNameAndFilter(QWidget* parent,
                                             const QString& title,
                                             const QString& folder,
                                             const QString& filters,
                                             QString& selectedFilter) {
  return QFileDialog::getSaveFileName(parent, title, folder, filters,
                                      &selectedFilter);
}

int QtPlatform::RunDialog(QDialog& dialog) { return dialog.exec(); }

QString QtPlatform::GetExistingDirectory(QWidget* parent, const QString& title,
                                         const QString& folder) {
  return QFileDialog::getExistingDirectory(parent, title, folder);
}
