#include "dialogs/DialogSupport.h"

#include <QDialog>
#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <algorithm>
#include <cmath>

namespace {

// Integer a * b / c rounded to nearest, as dialog unit conversion does.
int MulDiv(int a, int b, int c) { return (a * b + c / 2) / c; }

IPlatform::Icon ToPlatformIcon(MessageIcon icon) {
  return icon == MessageIcon::Exclamation ? IPlatform::Icon::Exclamation
                                          : IPlatform::Icon::None;
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  const int alphabet = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  m_nBaseX = (alphabet / 26 + 1) / 2;
  if (m_nBaseX < 1) m_nBaseX = 1;
  m_nBaseY = metrics.height();
  if (m_nBaseY < 1) m_nBaseY = 1;
}

int DialogUnits::X(int units) const { return MulDiv(units, m_nBaseX, 4); }
int DialogUnits::Y(int units) const { return MulDiv(units, m_nBaseY, 8); }

QRect DialogUnits::Rect(int x, int y, int width, int height) const {
  return {X(x), Y(y), X(width), Y(height)};
}

QSize DialogUnits::Size(int width, int height) const {
  return {X(width), Y(height)};
}

QValidator::State CPrintableAsciiValidator::validate(QString& input,
                                                     int& /*pos*/) const {
  for (const QChar c : input) {
    if (c.unicode() < 0x20 || c.unicode() > 0x7E) return Invalid;
  }
  return Acceptable;
}

QString FromPackText(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToPackText(const QString& text) {
  return text.toLatin1().toStdString();
}

void ShowDialogMessage(IPlatform& platform, QWidget* parent,
                       const DialogMessage& message) {
  platform.MessageBox(parent, QString::fromStdString(message.text),
                      QString::fromStdString(message.caption),
                      IPlatform::Buttons::Ok, ToPlatformIcon(message.icon));
}

QLabel* AddLabel(QDialog& dialog, const DialogUnits& du, const QString& text,
                 QRect units) {
  auto* label = new QLabel(text, &dialog);
  label->setGeometry(
      du.Rect(units.x(), units.y(), units.width(), units.height()));
  return label;
}

QPushButton* AddButton(QDialog& dialog, const DialogUnits& du,
                       const QString& text, QRect units, bool isDefault) {
  auto* button = new QPushButton(text, &dialog);
  button->setGeometry(
      du.Rect(units.x(), units.y(), units.width(), units.height()));
  button->setAutoDefault(false);
  button->setDefault(isDefault);
  return button;
}

void SetUpFixedDialog(QDialog& dialog, const DialogUnits& du,
                      const QString& caption, int width, int height) {
  dialog.setWindowTitle(caption);
  dialog.setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  dialog.setFixedSize(du.Size(width, height));
}

int LabelTextWidth(const QLabel& label) {
  QString text = label.text();
  if (label.buddy() != nullptr) text.remove(QLatin1Char('&'));
  const QMargins margins = label.contentsMargins();
  return label.fontMetrics().horizontalAdvance(text) + 2 * label.margin() +
         margins.left() + margins.right();
}

int CharsWidth(const QLineEdit& edit, int chars) {
  const QFontMetrics metrics = edit.fontMetrics();
  if (edit.echoMode() == QLineEdit::Password) {
    const QChar bullet(edit.style()->styleHint(
        QStyle::SH_LineEdit_PasswordCharacter, nullptr, &edit));
    return metrics.horizontalAdvance(QString(chars, bullet));
  }
  return metrics.averageCharWidth() * chars;
}

void FitEditToChars(QDialog& dialog, QLineEdit& edit, int chars, bool centred) {
  // What the edit's frame and margins take: its size hint is the width of 17
  // "x" plus them.
  const int frame = edit.sizeHint().width() -
                    17 * edit.fontMetrics().horizontalAdvance(QLatin1Char('x'));
  // One more character's room for the cursor and the last one's bearing.
  const int wanted = frame + CharsWidth(edit, chars + 1);
  QRect r = edit.geometry();
  if (r.width() >= wanted) return;
  const int centre = r.center().x();
  r.setWidth(wanted);
  if (centred) r.moveLeft(std::max(0, centre - wanted / 2));
  edit.setGeometry(r);
  const int margin = std::max(r.left(), 8);
  if (r.right() + 1 + margin > dialog.width()) {
    dialog.setFixedSize(r.right() + 1 + margin, dialog.height());
  }
}

void FitDialogToTexts(QDialog& dialog) {
  double factor = 1.0;
  for (const QLabel* label :
       dialog.findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
    if (label->width() <= 0) continue;
    factor = std::max(
        factor, static_cast<double>(LabelTextWidth(*label)) / label->width());
  }
  if (factor <= 1.0) return;
  const auto scale = [factor](int value) {
    return static_cast<int>(std::ceil(value * factor));
  };
  for (QWidget* child :
       dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    const QRect r = child->geometry();
    // Scale both edges, so that neighbours that touched still touch.
    const int left = scale(r.left());
    const int right = scale(r.left() + r.width());
    child->setGeometry(left, r.top(), right - left, r.height());
  }
  dialog.setFixedSize(scale(dialog.width()), dialog.height());
}
