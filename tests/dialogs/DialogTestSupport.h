#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <ostream>

// Widget lookups shared by the dialog tests.

// The push button with the given caption (mnemonic included), or null.
inline QPushButton* FindButton(const QWidget& parent, const QString& text) {
  for (QPushButton* button : parent.findChildren<QPushButton*>()) {
    if (button->text() == text) return button;
  }
  return nullptr;
}

// The texts of the dialog's labels, top to bottom.
QStringList LabelTexts(const QWidget& parent);

// Every label's text fits its label and the label lies inside the dialog:
// no static text is cut, whatever the font.
void ExpectLabelsFit(const QWidget& dialog);

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}
