// Speed of the bitmap codec and of the whole pack image, encode and decode.
// Part of plodderz-bench: build/bench/plodderz-bench --benchmark_filter=Pack
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "model/LevelPack.h"
#include "packfile/BitmapCodec.h"
#include "packfile/PackFile.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Drawn terrain: empty sky, solid ground and ragged edges between them.
void MixedTerrain(std::mt19937& rng, std::uint8_t* bitmap, int n) {
  std::uniform_int_distribution<int> stretch(1, 40);
  std::uniform_int_distribution<int> kind(0, 2);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int i = 0; i < n;) {
    const int k = kind(rng);
    for (int len = stretch(rng); len > 0 && i < n; --len, ++i) {
      bitmap[i] = k == 0   ? 0x00
                  : k == 1 ? 0xFF
                           : static_cast<std::uint8_t>(byte(rng));
    }
  }
}

Bytes Bitmap(int kind) {
  Bytes bitmap(MAX_BITMAP_BYTES, kind == 1 ? 0xFF : 0x00);
  if (kind == 2) {
    std::mt19937 rng(2304);
    MixedTerrain(rng, bitmap.data(), MAX_BITMAP_BYTES);
  }
  return bitmap;
}

const char* const kKindNames[] = {"empty", "solid", "mixed"};

void BM_Compress(benchmark::State& state) {
  const Bytes bitmap = Bitmap(static_cast<int>(state.range(0)));
  state.SetLabel(kKindNames[state.range(0)]);
  Bytes out(MaxCompressedBytes(bitmap.size()));
  for (auto _ : state) {
    std::uint8_t* cursor = out.data();
    benchmark::DoNotOptimize(
        CompressBitmap(cursor, bitmap.data(), MAX_BITMAP_BYTES));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * MAX_BITMAP_BYTES);
}
BENCHMARK(BM_Compress)->DenseRange(0, 2);

void BM_Expand(benchmark::State& state) {
  const Bytes bitmap = Bitmap(static_cast<int>(state.range(0)));
  state.SetLabel(kKindNames[state.range(0)]);
  Bytes compressed;
  CompressBitmap(compressed, bitmap);
  Bytes out(MAX_BITMAP_BYTES);
  for (auto _ : state) {
    std::size_t produced = 0;
    std::string error;
    benchmark::DoNotOptimize(ExpandBitmap(out, compressed, produced, error));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * MAX_BITMAP_BYTES);
}
BENCHMARK(BM_Expand)->DenseRange(0, 2);

// Nine levels of 2304 bytes each (36 x 64) with mixed terrain and a few
// objects; the image fits the file.
PackContents FullPack() {
  std::mt19937 rng(9);
  PackContents pack;
  pack.m_szAuthorName = "Benchmark Author";
  pack.m_szPassword = "secret";
  for (int i = 0; i < MAX_LEVELS; ++i) {
    LevelRecord level;
    level.m_nWidthBytes = MAX_WIDTH_BYTES;
    std::strcpy(level.m_szPasscode, "ABCD");
    Bytes bitmap(MAX_BITMAP_BYTES, 0x00);
    // Mostly sky with ground at the bottom, so nine levels fit.
    MixedTerrain(rng, bitmap.data() + 1600, MAX_BITMAP_BYTES - 1600);
    std::memcpy(level.m_bitmap, bitmap.data(), bitmap.size());
    level.PlaceObject({16, 8}, OBJ_ENTRANCE);
    level.PlaceObject({200, 40}, OBJ_EXIT);
    for (int b = 0; b < 10; ++b) level.PlaceObject({8 * b, 20}, OBJ_BLOCK);
    pack.levels.push_back(level);
  }
  return pack;
}

// The full pack and its image; false, with the benchmark skipped for the
// reason, when the pack does not encode.
bool EncodeFullPack(benchmark::State& state, PackContents& pack, Bytes& image) {
  pack = FullPack();
  std::string error;
  if (!EncodePackImage(pack, image, error)) {
    state.SkipWithError(error.c_str());
    return false;
  }
  return true;
}

void BM_EncodePack(benchmark::State& state) {
  PackContents pack;
  Bytes image;
  if (!EncodeFullPack(state, pack, image)) return;
  state.counters["image_bytes"] = static_cast<double>(image.size());
  std::string error;
  for (auto _ : state) {
    benchmark::DoNotOptimize(EncodePackImage(pack, image, error));
  }
}
BENCHMARK(BM_EncodePack);

void BM_DecodePack(benchmark::State& state) {
  PackContents pack;
  Bytes image;
  if (!EncodeFullPack(state, pack, image)) return;
  std::string error;
  for (auto _ : state) {
    PackContents read;
    benchmark::DoNotOptimize(DecodePackImage(image, read, error));
  }
}
BENCHMARK(BM_DecodePack);

// Save and load without the disk: encode, wrap in the variable file, read the
// container and decode.
void BM_PackRoundTrip(benchmark::State& state) {
  const PackContents pack = FullPack();
  for (auto _ : state) {
    Bytes image;
    Bytes file;
    std::string error;
    EncodePackImage(pack, image, error);
    EncodeVariableFile(MakePackComment(pack.m_szAuthorName), "BENCH", image,
                       TYPE_PROTECTED_PROGRAM, file, error);
    PackContents read;
    benchmark::DoNotOptimize(DecodePackFileBytes(file, read, error));
  }
}
BENCHMARK(BM_PackRoundTrip);

}  // namespace
