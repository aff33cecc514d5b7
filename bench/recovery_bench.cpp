// One crash-recovery write of the largest pack: nine levels of 2304 bytes,
// every byte of terrain random, 49 blocks each. The editor makes it on a
// timer a few seconds after a change: the window's thread reads the pack
// and encodes it (which must stay well under one 60 Hz frame, 16.7 ms),
// the store's own thread writes and flushes the file.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>
#include <cstring>
#include <random>

#include "model/LevelPack.h"
#include "packfile/RecoveryFile.h"
#include "shell/Recovery.h"

namespace {

// The largest pack the editor can hold, as the live pack it copies.
void FillLargestPack(CLevelPack& pack) {
  PackContents contents;
  contents.m_szAuthorName = "Benchmark Author";
  contents.m_szPassword = "secret";
  std::mt19937 rng(13);
  for (int i = 0; i < MAX_LEVELS; ++i) {
    LevelRecord level;
    level.m_nWidthBytes = MAX_WIDTH_BYTES;
    for (int b = 0; b < MAX_BITMAP_BYTES; ++b) {
      level.m_bitmap[b] = static_cast<std::uint8_t>(rng());
    }
    std::strcpy(level.m_szPasscode, "ABCD");
    level.PlaceObject({16, 8}, OBJ_ENTRANCE);
    level.PlaceObject({200, 40}, OBJ_EXIT);
    for (int b = 0; b < MAX_BLOCKS; ++b) {
      level.PlaceObject({8 * (b % 30), 16 * (b / 30)}, OBJ_BLOCK);
    }
    contents.levels.push_back(level);
  }
  pack.ReplaceWithLoaded(contents);
  pack.m_szFilePath = "/home/author/packs/largest.83p";
}

RecoveryRecord Snapshot(const CLevelPack& pack) {
  RecoveryRecord record;
  record.pack = pack.Contents();
  record.currentLevel = pack.m_nCurLevel;
  record.filePath = pack.m_szFilePath;
  return record;
}

// The window thread's share: the snapshot of the live pack and its
// encoding.
void BM_RecoverySnapshotEncode(benchmark::State& state) {
  CLevelPack pack;
  FillLargestPack(pack);
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::vector<std::uint8_t> copy = EncodeRecoveryFile(Snapshot(pack));
    bytes = copy.size();
    benchmark::DoNotOptimize(copy.data());
  }
  state.counters["copy_bytes"] = static_cast<double>(bytes);
  pack.DeleteAllLevels();
}
BENCHMARK(BM_RecoverySnapshotEncode)->Unit(benchmark::kMicrosecond);

// The whole write, waited for: snapshot, encode, a temporary file in the
// recovery folder flushed to disk and renamed over the copy.
void BM_RecoveryWriteLargestPack(benchmark::State& state) {
  // In the working folder, on a disk as the user's data folder is (the
  // system's temporary folder may be memory, where a flush costs nothing).
  QTemporaryDir folder(QDir::currentPath() +
                       QStringLiteral("/plodderz-recovery-bench-XXXXXX"));
  CRecoveryStore store(folder.path() + QStringLiteral("/recovery"));
  QString why;
  if (!folder.isValid() || !store.Open(why)) {
    state.SkipWithError("no recovery folder");
    return;
  }
  CLevelPack pack;
  FillLargestPack(pack);
  for (auto _ : state) {
    std::string error;
    if (!store.Write(Snapshot(pack), error)) {
      state.SkipWithError(error.c_str());
      break;
    }
  }
  store.Discard();
  pack.DeleteAllLevels();
}
BENCHMARK(BM_RecoveryWriteLargestPack)->Unit(benchmark::kMillisecond);

}  // namespace
