// The pack check runs after every change of the pack: the whole check of a
// full pack of nine of the largest levels (2304 bytes of bitmap each), with
// drawn-like terrain that touches both edges, every object slot in use and
// blocks heaped on one another, so that every rule has work and words.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>

#include "check/PackCheck.h"

namespace {

PackContents FullPack() {
  std::mt19937 random(14);
  auto pick = [&random](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  PackContents pack;
  pack.m_szAuthorName = "Bench";
  pack.m_szPassword = "bench";
  const int shapes[][2] = {{36, 64}, {24, 96}, {18, 128}, {12, 192}};
  for (int i = 0; i < MAX_LEVELS; ++i) {
    LevelRecord level;
    level.m_nWidthBytes = shapes[i % 4][0];
    level.m_nHeight = shapes[i % 4][1];
    const int width = level.WidthPixels();
    for (int r = 0; r < 12; ++r) {
      const int left = pick(0, width - 1);
      const int top = pick(0, level.m_nHeight - 1);
      for (int y = top; y < std::min(level.m_nHeight, top + pick(1, 20)); ++y) {
        for (int x = left; x < std::min(width, left + pick(1, 80)); ++x) {
          level.SetPixel(x, y, true);
        }
      }
    }
    for (int slot = 0; slot < OBJECT_SLOTS - 1; ++slot) {
      level.PlaceObject({8 * pick(0, level.m_nWidthBytes - 2),
                         pick(0, level.m_nHeight - OBJECT_SIZE)},
                        slot == 0   ? OBJ_ENTRANCE
                        : slot == 1 ? OBJ_EXIT
                                    : OBJ_BLOCK);
    }
    std::strcpy(level.m_szPasscode, i % 2 ? "AB1D" : "ABCD");
    level.m_nToSave = level.m_nPopulation;
    pack.levels.push_back(level);
  }
  return pack;
}

void BM_PackCheckNineFullLevels(benchmark::State& state) {
  const PackContents pack = FullPack();
  std::size_t problems = 0;
  for (auto _ : state) {
    const std::vector<PackProblem> found = CheckPack(pack);
    problems = found.size();
    benchmark::DoNotOptimize(found.data());
  }
  state.counters["problems"] = static_cast<double>(problems);
}

BENCHMARK(BM_PackCheckNineFullLevels);

}  // namespace
