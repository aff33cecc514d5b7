#pragma once

#include "dialogs/DialogSupport.h"

// Turns typed letters into capitals as they are typed, the way an upper-case
// edit does. Like every text edit of a pack, it takes only printable ASCII.
class CUpperCaseValidator : public CPrintableAsciiValidator {
 public:
  using CPrintableAsciiValidator::CPrintableAsciiValidator;
  State validate(QString& input, int& pos) const override {
    const State state = CPrintableAsciiValidator::validate(input, pos);
    if (state == Acceptable) input = input.toUpper();
    return state;
  }
};
