#pragma once

#include <string>

// The checks of Level > Level Size...: a width and a height as typed.
struct LevelSizeVerdict {
  bool ok = false;
  int width = 0;       // pixels, when it is a number
  int height = 0;      // rows, when it is a number
  int bytes = 0;       // bitmap bytes, when both are numbers
  std::string reason;  // why OK is refused
};

// Width 96 to 288 pixels in steps of 8, height 64 to 192 rows, at most 2304
// bytes of bitmap (width / 8 x height).
LevelSizeVerdict CheckLevelSize(const std::string& width,
                                const std::string& height);

// "768 of 2304 bytes".
std::string BudgetText(int bytes);
