#include "packfile/BitmapCodec.h"

#include <gtest/gtest.h>

#include <random>

#include "PackFixtures.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Compress(const Bytes& bitmap) {
  Bytes out;
  const int written = CompressBitmap(out, bitmap);
  EXPECT_EQ(static_cast<std::size_t>(written), out.size());
  return out;
}

// The compressor as first described: runs end at a 0x80 byte placed right
// behind the bitmap. The bounded compressor must write the same bytes.
Bytes CompressWithSentinel(Bytes bitmap) {
  const int n = static_cast<int>(bitmap.size());
  bitmap.push_back(0x80);
  Bytes out;
  auto literal = [&](std::uint8_t b) {
    out.push_back(b);
    if (b == 0x80) out.push_back(0x80);
  };
  int i = 0;
  while (i < n) {
    const std::uint8_t b = bitmap[i];
    if (i >= n - 3) {
      literal(b);
      ++i;
    } else if ((b == 0x00 || b == 0xFF) && bitmap[i + 1] == b &&
               bitmap[i + 2] == b) {
      int r = 1;
      while (r < 250 && bitmap[i + r] == b) ++r;
      out.insert(out.end(), {0x80, b, static_cast<std::uint8_t>(r)});
      i += r;
    } else {
      literal(b);
      ++i;
    }
  }
  return out;
}

TEST(BitmapCodec, CompressExamples) {
  Bytes tail(768, 0x00);
  tail[765] = 0x80;
  Bytes twoZeros = {0x12, 0x00, 0x00, 0x34, 0x56, 0x78, 0x9A};
  Bytes threeZeros = {0x12, 0x00, 0x00, 0x00, 0x34, 0x56, 0x78};
  struct Case {
    const char* what;
    Bytes bitmap;
    Bytes expected;
  };
  const Case cases[] = {
      {"blank 96 x 64",
       Bytes(768, 0x00),
       {0x80, 0x00, 0xFA, 0x80, 0x00, 0xFA, 0x80, 0x00, 0xFA, 0x80, 0x00,
        0x12}},
      {"solid 96 x 64",
       Bytes(768, 0xFF),
       {0x80, 0xFF, 0xFA, 0x80, 0xFF, 0xFA, 0x80, 0xFF, 0xFA, 0x80, 0xFF,
        0x12}},
      {"0x80 0x00 0x00 at the end",
       tail,
       {0x80, 0x00, 0xFA, 0x80, 0x00, 0xFA, 0x80, 0x00, 0xFA, 0x80, 0x00, 0x0F,
        0x80, 0x80, 0x00, 0x00}},
      {"two zeros stay single", twoZeros, twoZeros},
      {"three zeros become a run",
       threeZeros,
       {0x12, 0x80, 0x00, 0x03, 0x34, 0x56, 0x78}},
      {"a run reaches into the last three bytes",
       Bytes(5, 0xFF),
       {0x80, 0xFF, 0x05}},
      {"three equal bytes at the end stay single",
       {0x12, 0x00, 0x00, 0x00},
       {0x12, 0x00, 0x00, 0x00}},
      {"0x80 bytes double", Bytes(4, 0x80), Bytes(8, 0x80)},
      {"only 0x00 and 0xFF make runs", Bytes(6, 0x55), Bytes(6, 0x55)},
      {"empty", {}, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Compress(c.bitmap), c.expected) << c.what;
  }
}

TEST(BitmapCodec, CountRunStopsAtDifferenceEndAnd250) {
  Bytes bytes(600, 0x00);
  bytes[5] = 0x01;
  const std::uint8_t* p = bytes.data();
  EXPECT_EQ(CountRun(p, p + bytes.size()), 5);
  EXPECT_EQ(CountRun(p + 5, p + bytes.size()), 1);
  EXPECT_EQ(CountRun(p + 6, p + bytes.size()), 250);
  EXPECT_EQ(CountRun(p + 6, p + 10), 4);  // the end bound, no sentinel
}

TEST(BitmapCodec, SameOutputAsSentinelVersionAndRoundTrips) {
  std::mt19937 rng(2304);
  for (int round = 0; round < 400; ++round) {
    const int n = std::uniform_int_distribution<int>(0, MAX_BITMAP_BYTES)(rng);
    // An exactly sized buffer: reading past the end shows under ASan.
    Bytes bitmap(static_cast<std::size_t>(n));
    packfixtures::RandomTerrain(rng, bitmap.data(), n);
    const Bytes compressed = Compress(bitmap);
    ASSERT_EQ(compressed, CompressWithSentinel(bitmap)) << "round " << round;
    ASSERT_LE(compressed.size(), MaxCompressedBytes(bitmap.size()));

    Bytes expanded(bitmap.size());
    std::size_t produced = 0;
    std::string error;
    ASSERT_TRUE(ExpandBitmap(expanded, compressed, produced, error)) << error;
    ASSERT_EQ(produced, bitmap.size());
    ASSERT_EQ(expanded, bitmap);
  }
}

TEST(BitmapCodec, ExpandTokens) {
  struct Case {
    const char* what;
    Bytes compressed;
    Bytes expected;
  };
  const Case cases[] = {
      {"literals", {0x01, 0xFF, 0x00}, {0x01, 0xFF, 0x00}},
      {"escaped 0x80", {0x80, 0x80}, {0x80}},
      {"run of any value", {0x80, 0x42, 0x03}, {0x42, 0x42, 0x42}},
      {"run of zero length writes nothing",
       {0x01, 0x80, 0x00, 0x00, 0x02},
       {0x01, 0x02}},
  };
  for (const Case& c : cases) {
    Bytes out(c.expected.size());
    std::size_t produced = 0;
    std::string error;
    EXPECT_TRUE(ExpandBitmap(out, c.compressed, produced, error)) << c.what;
    EXPECT_EQ(out, c.expected) << c.what;
  }
}

TEST(BitmapCodec, ExpandRefusesOverflowAndCutTokens) {
  struct Case {
    const char* what;
    Bytes compressed;
    std::size_t capacity;
    const char* reason;
  };
  const Case cases[] = {
      {"literal past the end", {0x01, 0x02, 0x03}, 2, "more than 2 bytes"},
      {"escaped 0x80 past the end", {0x01, 0x80, 0x80}, 1, "more than 1"},
      {"run past the end", {0x80, 0x00, 0xFF}, 254, "more than 254"},
      {"ends after the escape", {0x01, 0x80}, 10, "ends inside a run"},
      {"ends after the value", {0x80, 0x00}, 10, "ends inside a run"},
  };
  for (const Case& c : cases) {
    // Exactly sized buffers, so a stray access shows under ASan.
    Bytes out(c.capacity);
    const Bytes in = c.compressed;
    std::size_t produced = 0;
    std::string error;
    EXPECT_FALSE(ExpandBitmap(out, in, produced, error)) << c.what;
    EXPECT_NE(error.find(c.reason), std::string::npos)
        << c.what << ": " << error;
    EXPECT_LE(produced, c.capacity) << c.what;
  }
}

}  // namespace
