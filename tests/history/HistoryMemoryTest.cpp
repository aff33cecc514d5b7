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

#if defined(__SANITIZE_ADDRESS__)
// From the sanitizer runtime (its header is not always installed).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace {

// Bytes the heap has handed out and not taken back, whoever asked (the
// history, Qt's undo stack, the labels' strings).
std::size_t HeapInUse() {
#if defined(__SANITIZE_ADDRESS__)
  return __sanitizer_get_current_allocated_bytes();
#else
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
#endif
}

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
