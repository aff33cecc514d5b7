#include <gtest/gtest.h>

#include <QLineEdit>
#include <QToolButton>
#include <vector>

#include "support/QtTestApp.h"
#include "uikit/UpDown.h"

namespace {

struct Recorder {
  std::vector<int> deltas;
};

TEST(UpDownTest, ArrowsProposeDeltasByRangeDirection) {
  QtTestApp();
  const struct {
    Qt::Orientation orientation;
    int min, max;
    int up, down;  // what the up (right) and down (left) arrows propose
  } kCases[] = {
      {Qt::Vertical, 0, 9, +1, -1},
      // The default range (minimum 100 above maximum 0) reverses them.
      {Qt::Vertical, 100, 0, -1, +1},
      {Qt::Horizontal, 100, 0, -1, +1},
  };
  for (const auto& c : kCases) {
    CUpDown spin(c.orientation);
    spin.SetRange(c.min, c.max);
    std::vector<int> deltas;
    QObject::connect(&spin, &CUpDown::DeltaPos,
                     [&deltas](int d) { deltas.push_back(d); });
    spin.UpButton()->click();
    spin.DownButton()->click();
    EXPECT_EQ(deltas, (std::vector<int>{c.up, c.down}));
  }
}

TEST(UpDownTest, DeltaIsAppliedAfterTheReceiverAndKeptInRange) {
  QtTestApp();
  CUpDown spin(Qt::Vertical);
  QLineEdit buddy;
  spin.SetBuddy(&buddy);
  spin.SetRange(0, 9);
  spin.SetPos(1);
  EXPECT_EQ(buddy.text(), "1");

  // The receiver moves the position; the control then applies the delta.
  QObject::connect(&spin, &CUpDown::DeltaPos,
                   [&spin](int d) { spin.SetPos(5 - d + 1); });
  spin.StepUp();
  EXPECT_EQ(spin.Pos(), 6);
  EXPECT_EQ(buddy.text(), "6");

  CUpDown edge(Qt::Vertical);
  edge.SetRange(0, 9);
  edge.SetPos(9);
  edge.StepUp();
  EXPECT_EQ(edge.Pos(), 9);
  edge.SetPos(0);
  edge.StepDown();
  EXPECT_EQ(edge.Pos(), 0);
}

TEST(UpDownTest, HeldArrowStepsByOneEveryTime) {
  QtTestApp();
  CUpDown spin(Qt::Horizontal);
  EXPECT_TRUE(spin.UpButton()->autoRepeat());
  std::vector<int> deltas;
  QObject::connect(&spin, &CUpDown::DeltaPos,
                   [&deltas](int d) { deltas.push_back(d); });
  for (int i = 0; i < 20; ++i) spin.StepDown();
  EXPECT_EQ(deltas, std::vector<int>(20, +1));
}

}  // namespace
