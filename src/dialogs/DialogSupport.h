#pragma once

#include <QRect>
#include <QString>
#include <QValidator>
#include <string>

#include "dialogs/DialogChecks.h"
#include "uikit/Platform.h"

class QDialog;
class QFont;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Converts the dialog-unit coordinates of a dialog template to pixels for the
// dialog's font: a horizontal unit is a quarter of the font's average
// character width, a vertical unit an eighth of its height. With the usual
// desktop fonts that gives about 1.5 to 2 pixels per horizontal unit.
class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font);

  int X(int units) const;
  int Y(int units) const;
  QRect Rect(int x, int y, int width, int height) const;
  QSize Size(int width, int height) const;

 private:
  int m_nBaseX;
  int m_nBaseY;
};

// Accepts only printable ASCII (0x20 to 0x7E): the characters a pack can
// store. Anything else can be neither typed nor pasted.
class CPrintableAsciiValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& pos) const override;
};

// Text of a pack field shown in an edit, and back: one character per byte.
QString FromPackText(const std::string& text);
std::string ToPackText(const QString& text);

// Shows a check's message through the platform seam with an OK button.
void ShowDialogMessage(IPlatform& platform, QWidget* parent,
                       const DialogMessage& message);

// Widgets placed by dialog units, in creation order, which is the tab order.
QLabel* AddLabel(QDialog& dialog, const DialogUnits& du, const QString& text,
                 QRect units);
QPushButton* AddButton(QDialog& dialog, const DialogUnits& du,
                       const QString& text, QRect units, bool isDefault);
// Widens a dialog laid out in dialog units until every label's text fits
// its label: all x positions and widths grow by the same factor, so the
// layout keeps its proportions. Fonts wider than the template's need it.
void FitDialogToTexts(QDialog& dialog);
// Widens `edit` until `chars` characters show whole in it: bullets for a
// password edit, characters of average width otherwise. It keeps its left
// edge, or its centre when `centred`; the dialog widens with it if needed.
// Never narrows.
void FitEditToChars(QDialog& dialog, QLineEdit& edit, int chars,
                    bool centred = false);
// The width of the text area `edit` needs for `chars` such characters.
int CharsWidth(const QLineEdit& edit, int chars);
// The width a label's text needs, mnemonic marks not counted.
int LabelTextWidth(const QLabel& label);
// A dialog of a fixed size with a caption, a close box and no help button.
void SetUpFixedDialog(QDialog& dialog, const DialogUnits& du,
                      const QString& caption, int width, int height);
