#pragma once

#include <QValidator>

// Turns typed letters into capitals as they are typed, the way an upper-case
// edit does; every text is acceptable.
class CUpperCaseValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& /*pos*/) const override {
    input = input.toUpper();
    return Acceptable;
  }
};
