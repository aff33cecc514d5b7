// Damaged and hand-edited files: every one must be refused or decode to a
// valid pack, and never crash or touch memory outside its buffers (run the
// suite under ASan to see the latter).
#include <gtest/gtest.h>

#include <random>

#include "PackFixtures.h"
#include "packfile/PackFile.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ValidFile(std::uint32_t seed, VariableFlavour flavour) {
  std::mt19937 rng(seed);
  for (;;) {
    const PackContents pack = packfixtures::RandomPack(rng, 3);
    Bytes image;
    Bytes file;
    std::string error;
    if (EncodePackImage(pack, image, error) &&
        EncodeVariableFile(MakePackComment(pack.m_szAuthorName), "DAMAGED",
                           image, TYPE_PROTECTED_PROGRAM, file, error,
                           flavour)) {
      return file;
    }
  }
}

// The checksum word sits right behind the variable's data; the length word at
// offset 70 tells where.
void MendChecksum(Bytes& file) {
  const std::size_t at = 72 + (file[70] | file[71] << 8);
  if (at + 2 > file.size()) return;
  unsigned sum = 0;
  for (std::size_t i = 55; i < at; ++i) sum += file[i];
  file[at] = static_cast<std::uint8_t>(sum);
  file[at + 1] = static_cast<std::uint8_t>(sum >> 8);
}

// Decodes and checks the verdict: a refusal leaves the output alone and
// says why; an acceptance yields a valid pack.
bool Check(const Bytes& file) {
  PackContents pack;
  pack.m_szAuthorName = "untouched";
  std::string error;
  if (DecodePackFileBytes(file, pack, error)) {
    EXPECT_TRUE(packfixtures::IsValidPack(pack));
    return true;
  }
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(pack.m_szAuthorName, "untouched");
  EXPECT_TRUE(pack.levels.empty());
  return false;
}

TEST(DamagedFile, EveryTruncationIsRefused) {
  for (VariableFlavour flavour :
       {VariableFlavour::TI83, VariableFlavour::TI83Plus}) {
    const Bytes file = ValidFile(1, flavour);
    ASSERT_TRUE(Check(file));
    for (std::size_t size = 0; size < file.size(); ++size) {
      // Exactly sized copies, so a read past the end shows under ASan.
      const Bytes cut(file.begin(), file.begin() + static_cast<long>(size));
      EXPECT_FALSE(Check(cut)) << "cut to " << size;
    }
  }
}

// A cut image in an intact container: the decoder itself must notice.
TEST(DamagedFile, EveryTruncatedImageInAMendedFileIsRefused) {
  const Bytes file = ValidFile(2, VariableFlavour::TI83);
  const std::size_t imageLength = file[70] | file[71] << 8;
  const Bytes image(file.begin() + 72,
                    file.begin() + 72 + static_cast<long>(imageLength));
  for (std::size_t size = 0; size < imageLength; ++size) {
    Bytes cutFile;
    std::string error;
    ASSERT_TRUE(EncodeVariableFile("", "CUT", std::span(image.data(), size), 6,
                                   cutFile, error));
    EXPECT_FALSE(Check(cutFile)) << "image cut to " << size;
  }
}

TEST(DamagedFile, RandomByteFlipsWithMendedChecksum) {
  std::mt19937 rng(404);
  int accepted = 0;
  int refused = 0;
  for (std::uint32_t seed = 10; seed < 16; ++seed) {
    const Bytes good = ValidFile(
        seed, seed % 2 ? VariableFlavour::TI83Plus : VariableFlavour::TI83);
    std::uniform_int_distribution<std::size_t> where(55, good.size() - 3);
    std::uniform_int_distribution<int> flips(1, 4);
    std::uniform_int_distribution<int> value(0, 255);
    for (int round = 0; round < 1000; ++round) {
      Bytes file = good;
      for (int f = flips(rng); f > 0; --f) {
        file[where(rng)] = static_cast<std::uint8_t>(value(rng));
      }
      MendChecksum(file);
      (Check(file) ? accepted : refused)++;
    }
  }
  // Both outcomes occur: flips in terrain bytes or settings decode, flips in
  // lengths and structure are refused.
  EXPECT_GT(accepted, 0);
  EXPECT_GT(refused, 0);
}

}  // namespace
