#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "model/LevelPack.h"
#include "shell/PackHistory.h"
#include "support/HeapInUse.h"

namespace {

using testsupport::HeapInUse;

constexpr int kSteps = 200;
constexpr std::size_t kBudget = 10u * 1024u * 1024u;

// Nine levels of the largest size, every bitmap byte in use and different.
void MakeFullPack(CLevelPack& pack) {
  ASSERT_TRUE(pack.NewPack());
  while (pack.Count() < MAX_LEVELS) ASSERT_TRUE(pack.AddLevel());
  std::uint32_t noise = 12345;
  for (int i = 0; i < pack.Count(); ++i) {
    CLevel& level = pack.Level(i);
    level.m_nWidthBytes = MAX_WIDTH_BYTES;
    for (int b = 0; b < MAX_BITMAP_BYTES; ++b) {
      noise = noise * 1103515245u + 12345u;
      level.m_bitmap[b] = static_cast<std::uint8_t>(noise >> 16);
    }
    for (int n = 0; n < MAX_BLOCKS; ++n) {
      level.PlaceObject({8 * (n % 30), n}, OBJ_BLOCK);
    }
  }
}

struct Workload {
  const char* name;
  // The n-th user action on the pack; each changes it.
  std::function<void(CLevelPack&, int)> action;
};

void PrintTo(const Workload& workload, std::ostream* os) {
  *os << workload.name;
}

class HistoryMemoryTest : public ::testing::TestWithParam<Workload> {};

// The history must hold 200 steps of a full pack in under 10 MB and give
// back the starting pack after undoing all of them.
TEST_P(HistoryMemoryTest, TwoHundredStepsOfAFullPackFitTheBudget) {
  CLevelPack pack;
  MakeFullPack(pack);
  const PackContents start = pack.Contents();
  std::vector<std::uint32_t> startSerials;
  for (int i = 0; i < pack.Count(); ++i) {
    startSerials.push_back(pack.Level(i).m_nSerial);
  }

  PackHistory history(pack);
  history.Clear();
  const std::size_t before = HeapInUse();
  for (int n = 0; n < kSteps; ++n) {
    history.Begin("Step");
    GetParam().action(pack, n);
    history.Commit();
  }
  const std::size_t after = HeapInUse();
  ASSERT_EQ(history.StepCount(), kSteps);

  const std::size_t used = after > before ? after - before : 0;
  std::printf("[ memory   ] %s: %d steps use %zu bytes (%.1f KB per step)\n",
              GetParam().name, kSteps, used,
              static_cast<double>(used) / kSteps / 1024.0);
  RecordProperty("bytes", std::to_string(used));
  EXPECT_LT(used, kBudget);

  int undone = 0;
  while (history.Undo()) ++undone;
  EXPECT_EQ(undone, kSteps);
  ASSERT_EQ(pack.Count(), static_cast<int>(start.levels.size()));
  for (int i = 0; i < pack.Count(); ++i) {
    EXPECT_TRUE(pack.Level(i).SameLevelAs(start.levels[i])) << "level " << i;
    EXPECT_EQ(pack.Level(i).m_nSerial, startSerials[i]);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Workloads, HistoryMemoryTest,
    ::testing::Values(
        // A stroke on a different level each time: every step keeps one
        // whole level record.
        Workload{"strokes",
                 [](CLevelPack& pack, int n) {
                   pack.m_nCurLevel = n % MAX_LEVELS;
                   CLevel& level = pack.Current();
                   for (int x = 0; x < level.WidthPixels(); ++x) {
                     level.SetPixel(x, n % 64, !level.GetPixel(x, n % 64));
                   }
                 }},
        // Level moves change only the table.
        Workload{"moves", [](CLevelPack& pack,
                             int n) { pack.SwapLevels(n % (MAX_LEVELS - 1)); }},
        // Deleting and adding levels in turn.
        Workload{"deletes and additions",
                 [](CLevelPack& pack, int n) {
                   if (pack.Count() == MAX_LEVELS) {
                     pack.DeleteLevel(n % MAX_LEVELS);
                   } else {
                     ASSERT_TRUE(pack.AddLevel());
                   }
                 }}),
    [](const ::testing::TestParamInfo<Workload>& info) {
      std::string name;
      for (const char* c = info.param.name; *c != '\0'; ++c) {
        if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
      }
      return name;
    });

}  // namespace

namespace {

// The history keeps at most kStepLimit steps: past it the oldest go, so a
// long session's memory levels off instead of growing with every edit.
TEST(HistoryBoundTest, OldestStepsGoPastTheLimitAndTheHeapLevelsOff) {
  CLevelPack pack;
  MakeFullPack(pack);
  PackHistory history(pack);
  history.Clear();
  const auto stroke = [&pack, &history](int n) {
    history.Begin("Step");
    pack.m_nCurLevel = n % MAX_LEVELS;
    CLevel& level = pack.Current();
    for (int x = 0; x < level.WidthPixels(); ++x) {
      level.SetPixel(x, n % 64, !level.GetPixel(x, n % 64));
    }
    history.Commit();
  };
  int n = 0;
  for (; n < PackHistory::kStepLimit; ++n) stroke(n);
  ASSERT_EQ(history.StepCount(), PackHistory::kStepLimit);
  const std::size_t full = HeapInUse();
  // Twice the limit again: every new step pushes the oldest out.
  for (; n < 3 * PackHistory::kStepLimit; ++n) stroke(n);
  EXPECT_EQ(history.StepCount(), PackHistory::kStepLimit);
  const std::size_t later = HeapInUse();
  const std::size_t growth = later > full ? later - full : 0;
  // A step of a full pack keeps about one level record (2.5 KB); a hundred
  // steps' worth of slack is far less than the 1000 more steps taken.
  EXPECT_LT(growth, 100u * sizeof(LevelRecord))
      << "the heap grew by " << growth << " bytes past the step limit";
  // The oldest steps are gone, the newest can all be undone.
  int undone = 0;
  while (history.Undo()) ++undone;
  EXPECT_EQ(undone, PackHistory::kStepLimit);
}

}  // namespace
