// Debian's libtifiles (the generic TI file library) as an independent reader
// and writer: it reads what the pack file code writes, and the pack file code
// reads a TI-83 Plus program file that it wrote.
#include <gtest/gtest.h>

// The library's C headers use the C keyword `restrict`.
#define restrict __restrict
#include <tifiles.h>
#undef restrict

#include <cstring>
#include <filesystem>
#include <random>

#include "PackFixtures.h"
#include "packfile/PackFile.h"
#include "support/TempFiles.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

class TiFiles : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { tifiles_library_init(); }
  static void TearDownTestSuite() { tifiles_library_exit(); }

  testsupport::TempFolder m_dir{"plodderz-tifiles"};
};

// The program's length word and the program: a program variable's data.
Bytes ProgramData(const Bytes& image) {
  Bytes data(image.size() + 2);
  data[0] = static_cast<std::uint8_t>(image.size() & 0xFF);
  data[1] = static_cast<std::uint8_t>(image.size() >> 8);
  std::copy(image.begin(), image.end(), data.begin() + 2);
  return data;
}

TEST_F(TiFiles, ReadsWhatWeWrite) {
  std::mt19937 rng(83);
  for (int round = 0; round < 6; ++round) {
    PackContents pack = packfixtures::RandomPack(rng, 3);
    pack.m_szAuthorName = "Tester " + std::to_string(round);
    Bytes image;
    std::string error;
    if (!EncodePackImage(pack, image, error)) continue;
    const std::string path = m_dir / "levels7.83p";
    ASSERT_TRUE(SavePackFile(path, pack, error)) << error;

    FileContent* content = tifiles_content_create_regular(CALC_NONE);
    ASSERT_EQ(tifiles_file_read_regular(path.c_str(), content), 0);
    EXPECT_EQ(content->model, CALC_TI83);
    EXPECT_STREQ(content->comment,
                 ("Plodpak by Tester " + std::to_string(round)).c_str());
    ASSERT_EQ(content->num_entries, 1u);
    const VarEntry* entry = content->entries[0];
    EXPECT_STREQ(entry->name, "LEVELS7");
    EXPECT_EQ(entry->type, 0x06);
    EXPECT_EQ(Bytes(entry->data, entry->data + entry->size),
              ProgramData(image));
    EXPECT_EQ(content->checksum, content->stored_checksum);
    tifiles_content_delete_regular(content);
  }
}

TEST_F(TiFiles, WeReadAPlusFileItWrote) {
  std::mt19937 rng(84);
  const PackContents pack = packfixtures::RandomPack(rng, 2);
  Bytes image;
  std::string error;
  ASSERT_TRUE(EncodePackImage(pack, image, error)) << error;
  const Bytes data = ProgramData(image);

  FileContent* content = tifiles_content_create_regular(CALC_TI83P);
  std::strcpy(content->comment, "Written by libtifiles");
  VarEntry* entry =
      tifiles_ve_create_alloc_data(static_cast<uint32_t>(data.size()));
  std::strcpy(entry->name, "PLODPAK");
  entry->type = 0x06;
  entry->size = static_cast<uint32_t>(data.size());
  std::memcpy(entry->data, data.data(), data.size());
  tifiles_content_add_entry(content, entry);
  const std::string path = m_dir / "plus.8xp";
  ASSERT_EQ(tifiles_file_write_regular(path.c_str(), content, nullptr), 0);
  tifiles_content_delete_regular(content);

  PackContents read;
  VariableFile container;
  ASSERT_TRUE(LoadPackFile(path, read, error, &container)) << error;
  EXPECT_TRUE(container.plus);
  EXPECT_EQ(container.name, "PLODPAK");
  EXPECT_EQ(container.type, 0x06);
  EXPECT_EQ(container.comment, "Written by libtifiles");
  EXPECT_TRUE(packfixtures::SamePack(read, pack));
}

// Our own TI-83 Plus writer, checked by the same independent reader.
TEST_F(TiFiles, ReadsOurPlusFile) {
  const PackContents pack = packfixtures::BlankPack();
  Bytes image;
  std::string error;
  ASSERT_TRUE(EncodePackImage(pack, image, error)) << error;
  const std::string path = m_dir / "ours.8xp";
  ASSERT_TRUE(SavePackFile(path, pack, error, VariableFlavour::TI83Plus))
      << error;

  FileContent* content = tifiles_content_create_regular(CALC_NONE);
  ASSERT_EQ(tifiles_file_read_regular(path.c_str(), content), 0);
  EXPECT_EQ(content->model, CALC_TI83P);
  ASSERT_EQ(content->num_entries, 1u);
  const VarEntry* entry = content->entries[0];
  EXPECT_STREQ(entry->name, "OURS");
  EXPECT_EQ(entry->type, 0x06);
  EXPECT_EQ(Bytes(entry->data, entry->data + entry->size), ProgramData(image));
  EXPECT_EQ(content->checksum, content->stored_checksum);
  tifiles_content_delete_regular(content);
}

}  // namespace
