#include "packfile/VariableFile.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Encode(const std::string& comment, const std::string& name,
             const Bytes& data,
             VariableFlavour flavour = VariableFlavour::TI83) {
  Bytes file;
  std::string error;
  EXPECT_TRUE(EncodeVariableFile(comment, name, data, TYPE_PROTECTED_PROGRAM,
                                 file, error, flavour))
      << error;
  return file;
}

void MendChecksum(Bytes& file, std::size_t checksumAt) {
  const unsigned sum = std::accumulate(
      file.begin() + 55, file.begin() + static_cast<long>(checksumAt), 0u);
  file[checksumAt] = static_cast<std::uint8_t>(sum);
  file[checksumAt + 1] = static_cast<std::uint8_t>(sum >> 8);
}

TEST(VariableFile, AbcFileByteForByte) {
  const Bytes file = Encode("", "A", {'a', 'b', 'c'});
  ASSERT_EQ(file.size(), 77u);
  const Bytes head = {'*', '*', 'T', 'I', '8', '3', '*', '*', 0x1A, 0x0A, 0x00};
  EXPECT_TRUE(std::equal(head.begin(), head.end(), file.begin()));
  for (int i = 11; i <= 52; ++i) EXPECT_EQ(file[i], 0) << i;
  const Bytes tail = {0x14, 0x00, 0x0B, 0x00, 0x05, 0x00, 0x06, 0x41,
                      0,    0,    0,    0,    0,    0,    0,    0x05,
                      0x00, 0x03, 0x00, 'a',  'b',  'c',  0x85, 0x01};
  EXPECT_EQ(Bytes(file.begin() + 53, file.end()), tail);
}

TEST(VariableFile, EmptyImage) {
  const Bytes file = Encode("", "A", {});
  ASSERT_EQ(file.size(), 74u);
  EXPECT_EQ(file[53], 17);
  EXPECT_EQ(file[57], 2);
  EXPECT_EQ(file[68], 2);
  EXPECT_EQ(file[70], 0);
  const unsigned sum =
      std::accumulate(file.begin() + 55, file.begin() + 72, 0u);
  EXPECT_EQ(file[72], sum & 0xFF);
  EXPECT_EQ(file[73], sum >> 8);
}

TEST(VariableFile, CommentAndNameAreCut) {
  const std::string comment42(42, 'c');
  Bytes file = Encode(comment42, "ABCDEFGH", {1});
  EXPECT_EQ(std::string(file.begin() + 11, file.begin() + 53), comment42);
  EXPECT_EQ(std::string(file.begin() + 60, file.begin() + 68), "ABCDEFGH");

  file = Encode(std::string(50, 'd'), "ABCDEFGHIJK", {1});
  ASSERT_EQ(file.size(), 75u);
  VariableFile read;
  std::string error;
  ASSERT_TRUE(DecodeVariableFile(file, read, error)) << error;
  EXPECT_EQ(read.comment, std::string(42, 'd'));
  EXPECT_EQ(read.name, "ABCDEFGH");
}

TEST(VariableFile, RoundTrip) {
  Bytes data(300);
  std::iota(data.begin(), data.end(), 0);
  const Bytes file = Encode("Plodpak by Q", "PACK", data);
  VariableFile read;
  std::string error;
  ASSERT_TRUE(DecodeVariableFile(file, read, error)) << error;
  EXPECT_EQ(read.comment, "Plodpak by Q");
  EXPECT_EQ(read.name, "PACK");
  EXPECT_EQ(read.type, 6);
  EXPECT_FALSE(read.plus);
  EXPECT_EQ(read.data, data);
}

TEST(VariableFile, TypeIsWidenedWithItsSign) {
  Bytes file = Encode("", "A", {1, 2});
  file[59] = 0xF0;
  MendChecksum(file, 72 + 2);
  VariableFile read;
  std::string error;
  ASSERT_TRUE(DecodeVariableFile(file, read, error)) << error;
  EXPECT_EQ(read.type, -16);
}

// What the checksum covers and what the signature test skips.
TEST(VariableFile, ChangedBytes) {
  const Bytes data = {'a', 'b', 'c'};
  const Bytes good = Encode("note", "A", data);
  for (std::size_t at = 0; at < good.size(); ++at) {
    Bytes file = good;
    file[at] ^= 0x01;
    VariableFile read;
    std::string error;
    const bool accepted = DecodeVariableFile(file, read, error);
    // Accepted: the comment, the flavour letter at 6, the section length at
    // 53 (never compared); the low checksum byte changes the stored sum.
    const bool expected = (at >= 11 && at <= 54) || at == 6;
    EXPECT_EQ(accepted, expected) << "offset " << at << ": " << error;
  }
}

TEST(VariableFile, RefusesBrokenContainers) {
  const Bytes good = Encode("", "A", {'a', 'b', 'c'});
  Bytes longer = good;
  longer.resize(10001, 0);
  Bytes pastEnd = good;
  pastEnd[70] = 0x04;  // one more data byte than the file has
  pastEnd[71] = 0x00;
  Bytes huge = good;
  huge[70] = 0xFF;
  huge[71] = 0xFF;
  struct Case {
    const char* what;
    Bytes file;
    const char* reason;
  };
  const Case cases[] = {
      {"longer than 10000 bytes", longer, "longer than 10000"},
      {"too short for a signature", Bytes(good.begin(), good.begin() + 10),
       "too short"},
      {"ends inside the header", Bytes(good.begin(), good.begin() + 60),
       "ends inside"},
      {"length word reaches past the end", pastEnd, "reaches past"},
      {"length word far past the end", huge, "reaches past"},
      {"cut before the checksum", Bytes(good.begin(), good.end() - 1),
       "reaches past"},
  };
  for (const Case& c : cases) {
    VariableFile read;
    read.name = "kept";
    std::string error;
    EXPECT_FALSE(DecodeVariableFile(c.file, read, error)) << c.what;
    EXPECT_NE(error.find(c.reason), std::string::npos)
        << c.what << ": " << error;
    EXPECT_EQ(read.name, "kept") << c.what;
  }
}

TEST(VariableFile, TrailingBytesAreIgnored) {
  Bytes file = Encode("", "A", {'a'});
  file.push_back(0x99);
  VariableFile read;
  std::string error;
  EXPECT_TRUE(DecodeVariableFile(file, read, error)) << error;
  EXPECT_EQ(read.data, Bytes{'a'});
}

TEST(VariableFile, DataLimits) {
  struct Case {
    VariableFlavour flavour;
    std::size_t largest;
  };
  for (const Case& c : {Case{VariableFlavour::TI83, 9926},
                        Case{VariableFlavour::TI83Plus, 9924}}) {
    Bytes file;
    std::string error;
    ASSERT_TRUE(EncodeVariableFile("", "A", Bytes(c.largest, 1), 6, file, error,
                                   c.flavour))
        << error;
    EXPECT_EQ(file.size(), 10000u);
    VariableFile read;
    EXPECT_TRUE(DecodeVariableFile(file, read, error)) << error;

    Bytes untouched = {42};
    EXPECT_FALSE(EncodeVariableFile("", "A", Bytes(c.largest + 1, 1), 6,
                                    untouched, error, c.flavour));
    EXPECT_NE(error.find("at most " + std::to_string(c.largest)),
              std::string::npos)
        << error;
    EXPECT_EQ(untouched, Bytes{42});
  }
}

TEST(VariableFile, PlusLayoutAndReading) {
  const Bytes data = {'a', 'b', 'c'};
  const Bytes file = Encode("c", "A", data, VariableFlavour::TI83Plus);
  ASSERT_EQ(file.size(), 79u);
  EXPECT_EQ(std::string(file.begin(), file.begin() + 8), "**TI83F*");
  const Bytes header = {0x16, 0x00,  // 53: L + 19
                        0x0D, 0x00,  // 55: header
                        0x05, 0x00, 0x06, 'A', 0,    0,    0,
                        0,    0,    0,    0,   0x00, 0x00,  // version, flag
                        0x05, 0x00,                         // 70: L + 2
                        0x03, 0x00, 'a',  'b', 'c'};        // 72: L, data
  EXPECT_EQ(Bytes(file.begin() + 53, file.begin() + 77), header);
  const unsigned sum =
      std::accumulate(file.begin() + 55, file.begin() + 77, 0u);
  EXPECT_EQ(file[77], sum & 0xFF);
  EXPECT_EQ(file[78], sum >> 8);

  // Read with the TI-83 layout: the data starts with the program's length.
  VariableFile read;
  std::string error;
  ASSERT_TRUE(DecodeVariableFile(file, read, error)) << error;
  EXPECT_TRUE(read.plus);
  EXPECT_EQ(read.data, (Bytes{0x03, 0x00, 'a', 'b', 'c'}));
}

}  // namespace
