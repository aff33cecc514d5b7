#pragma once

#include <QValidator>

// Turns typed letters into capitals as they are typed, the way an upper-case
// edit does. Only printable ASCII (0x20 to 0x7E), what a pack can store, can
// be typed or pasted.
class CUpperCaseValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& /*pos*/) const override {
    for (const QChar c : input) {
      if (c.unicode() < 0x20 || c.unicode() > 0x7E) return Invalid;
    }
    input = input.toUpper();
    return Acceptable;
  }
};
