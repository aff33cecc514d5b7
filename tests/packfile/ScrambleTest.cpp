#include "packfile/Scramble.h"

#include <gtest/gtest.h>

#include <random>

#include "PackFixtures.h"

namespace {

TEST(Scramble, KnownValues) {
  struct Case {
    std::string plain;
    std::string scrambled;
  };
  const Case cases[] = {
      {"abc", "\x77\x67\x69"},  // wgi
      {"a", "e"},
      {"", ""},
      // Two characters: only steps one and two apply.
      {"ab", std::string{static_cast<char>('a' + 2 + 4), 'b' + 5}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ScrambledString(c.plain), c.scrambled) << c.plain;
    EXPECT_EQ(UnscrambledString(c.scrambled), c.plain) << c.plain;
  }
}

TEST(Scramble, InPlaceOnBuffer) {
  char text[16] = "abc";
  ScrambleString(text);
  EXPECT_STREQ(text, "wgi");
  UnscrambleString(text);
  EXPECT_STREQ(text, "abc");
}

// Every printable text up to the longest stored field scrambles to bytes in
// 0x24..0xAA of the same length, and back.
TEST(Scramble, PrintableTextsRoundTrip) {
  std::mt19937 rng(83);
  for (int round = 0; round < 5000; ++round) {
    const std::string plain = packfixtures::RandomText(rng, 10);
    const std::string scrambled = ScrambledString(plain);
    ASSERT_EQ(scrambled.size(), plain.size()) << plain;
    for (char c : scrambled) {
      const int byte = static_cast<unsigned char>(c);
      ASSERT_GE(byte, 0x24) << plain;
      ASSERT_LE(byte, 0xAA) << plain;
    }
    ASSERT_EQ(UnscrambledString(scrambled), plain);
  }
}

}  // namespace
