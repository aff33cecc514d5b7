// What build writes, read back by the core and by Debian's libtifiles, a
// TI file library written independently of this project.

#include <gtest/gtest.h>

// libtifiles' headers use C's `restrict`, which C++ spells __restrict__.
#define restrict __restrict__
#include <tifiles.h>
#undef restrict

#include <cstring>

#include "PlodpakSupport.h"
#include "packfile/PackFile.h"

namespace plodpak_test {
namespace {

struct Flavour {
  const char* label;
  const char* file;
  bool plus;
  CalcModel model;
};

class PlodpakBuiltFile : public testing::TestWithParam<Flavour> {
 protected:
  static void SetUpTestSuite() { tifiles_library_init(); }
  static void TearDownTestSuite() { tifiles_library_exit(); }
};

TEST_P(PlodpakBuiltFile, ReadsBackThroughCoreAndLibtifiles) {
  const Flavour& flavour = GetParam();
  TempFolder folder;
  const std::string manifest =
      SaveManifest(folder.Path(), WriteSampleManifest(folder.Path()));
  const std::string target = folder / flavour.file;
  std::vector<std::string> args = {"build", manifest, "--out", target};
  if (flavour.plus) args.push_back("--8xp");
  const ToolResult built = RunPlodpak(args);
  ASSERT_EQ(built.status, 0) << built.err;

  // The core: the same pack, and the container's flavour.
  PackContents pack;
  VariableFile container;
  std::string error;
  ASSERT_TRUE(LoadPackFile(target, pack, error, &container)) << error;
  EXPECT_EQ(container.plus, flavour.plus);
  EXPECT_EQ(pack.m_szAuthorName, "Ann");
  EXPECT_EQ(pack.m_szPassword, "secret");
  ASSERT_EQ(pack.levels.size(), 2u);
  EXPECT_STREQ(pack.levels[1].m_szPasscode, "WXYZ");
  std::vector<std::uint8_t> image;
  ASSERT_TRUE(EncodePackImage(pack, image, error)) << error;

  // libtifiles: the model the signature names, one protected program named
  // after the file, the comment, and the pack image as the program's bytes.
  EXPECT_EQ(tifiles_file_get_model(target.c_str()), flavour.model);
  FileContent* content = tifiles_content_create_regular(flavour.model);
  ASSERT_NE(content, nullptr);
  ASSERT_EQ(tifiles_file_read_regular(target.c_str(), content), 0);
  EXPECT_STREQ(content->comment, "Plodpak by Ann");
  ASSERT_EQ(content->num_entries, 1u);
  const VarEntry* entry = content->entries[0];
  EXPECT_STREQ(entry->name, "PACK");
  EXPECT_EQ(entry->type, 0x06);
  // libtifiles hands out the variable's data: the program's length word,
  // then the program.
  ASSERT_EQ(entry->size, image.size() + 2);
  EXPECT_EQ(entry->data[0] | entry->data[1] << 8,
            static_cast<int>(image.size()));
  EXPECT_EQ(std::memcmp(entry->data + 2, image.data(), image.size()), 0);
  tifiles_content_delete_regular(content);
}

INSTANTIATE_TEST_SUITE_P(
    Flavours, PlodpakBuiltFile,
    testing::Values(Flavour{"Ti83", "pack.83p", false, CALC_TI83},
                    Flavour{"Ti83Plus", "pack.8xp", true, CALC_TI83P}),
    [](const testing::TestParamInfo<Flavour>& info) {
      return std::string(info.param.label);
    });

}  // namespace
}  // namespace plodpak_test
