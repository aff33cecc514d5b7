#include "dialogs/LevelSizeChecks.h"

#include "model/Level.h"

namespace {

// A whole number of at most four digits; -1 for anything else.
int ParseCount(const std::string& text) {
  if (text.empty() || text.size() > 4) return -1;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace

std::string BudgetText(int bytes) {
  return std::to_string(bytes) + " of " + std::to_string(MAX_BITMAP_BYTES) +
         " bytes";
}

LevelSizeVerdict CheckLevelSize(const std::string& width,
                                const std::string& height) {
  LevelSizeVerdict verdict;
  verdict.width = ParseCount(width);
  verdict.height = ParseCount(height);
  const int minWidth = 8 * MIN_WIDTH_BYTES;
  const int maxWidth = 8 * MAX_WIDTH_BYTES;
  if (verdict.width >= 0 && verdict.height >= 0) {
    verdict.bytes = (verdict.width + 7) / 8 * verdict.height;
  }
  if (verdict.width < minWidth || verdict.width > maxWidth) {
    verdict.reason = "The width must be " + std::to_string(minWidth) + " to " +
                     std::to_string(maxWidth) + " pixels.";
  } else if (verdict.width % 8 != 0) {
    verdict.reason = "The width must be a multiple of 8 pixels.";
  } else if (verdict.height < MIN_HEIGHT || verdict.height > MAX_HEIGHT) {
    verdict.reason = "The height must be " + std::to_string(MIN_HEIGHT) +
                     " to " + std::to_string(MAX_HEIGHT) + " rows.";
  } else if (verdict.bytes > MAX_BITMAP_BYTES) {
    verdict.reason = "A level holds at most " +
                     std::to_string(MAX_BITMAP_BYTES) + " bytes of bitmap; " +
                     width + " x " + height + " needs " +
                     std::to_string(verdict.bytes) + ".";
  } else {
    verdict.ok = true;
  }
  return verdict;
}
