#include "packfile/PackFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <random>

#include "PackFixtures.h"
#include "packfile/Scramble.h"
#include "support/TempFiles.h"

namespace fs = std::filesystem;
using packfixtures::BlankLevel;
using packfixtures::BlankPack;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Encode(const PackContents& pack) {
  Bytes image;
  std::string error;
  EXPECT_TRUE(EncodePackImage(pack, image, error)) << error;
  return image;
}

PackContents Decode(const Bytes& image) {
  PackContents pack;
  std::string error;
  EXPECT_TRUE(DecodePackImage(image, pack, error)) << error;
  return pack;
}

void Append(Bytes& out, std::initializer_list<int> bytes) {
  for (int b : bytes) out.push_back(static_cast<std::uint8_t>(b));
}

void AppendText(Bytes& out, const std::string& text) {
  out.insert(out.end(), text.begin(), text.end());
  out.push_back(0);
}

TEST(PackImage, BlankOneLevelPackByteForByte) {
  const Bytes image = Encode(BlankPack());
  Bytes expected = {0x01, 0x01, 'p', 'l', 'o'};
  AppendText(expected, ScrambledString("p"));
  AppendText(expected, "A");
  Append(expected, {0x01});
  AppendText(expected, "Level 1 Name");
  Append(expected,
         {30, 30, 30, 30, 30, 30, 30, 30, 20, 15, 20, 12, 0xFF, 0xB0, 0x04});
  Append(expected, {10, 1 + 2, 20 + 16, 11, 8 + 2, 40 + 16, 0x81});
  Append(expected, {0x0C, 0x00, 0x80, 0x00, 0xFA, 0x80, 0x00, 0xFA, 0x80, 0x00,
                    0xFA, 0x80, 0x00, 0x12});
  EXPECT_EQ(image, expected);
  EXPECT_EQ(ScrambledString("p").size(), 1u);
}

TEST(PackImage, FieldsOfTheLevelRecord) {
  // Offsets inside the blank pack's image (password "p", author "A").
  constexpr std::size_t record = 5 + 2 + 2 + 1;
  constexpr std::size_t settings = record + 13;
  constexpr std::size_t height = settings + 12;
  constexpr std::size_t time = settings + 13;
  constexpr std::size_t slots = settings + 15;
  struct Case {
    const char* what;
    std::function<void(LevelRecord&)> change;
    std::size_t at;
    Bytes expected;
  };
  const Case cases[] = {
      {"height 64", [](LevelRecord&) {}, height, {0xFF}},
      {"height 65", [](LevelRecord& l) { l.m_nHeight = 65; }, height, {0x00}},
      {"height 192", [](LevelRecord& l) { l.m_nHeight = 192; }, height, {0x7F}},
      {"time 20000",
       [](LevelRecord& l) { l.m_nTime = 20000; },
       time,
       {0x20, 0x4E}},
      {"spawn interval 220",
       [](LevelRecord& l) { l.m_nSpawnInterval = 220; },
       settings + 9,
       {220}},
      {"entrance at column 3, row 40",
       [](LevelRecord& l) {
         l.PlaceObject({24, 40}, OBJ_ENTRANCE);
       },
       slots,
       {10, 5, 56}},
      {"block at column 3, row 40",
       [](LevelRecord& l) {
         l.PlaceObject({24, 40}, OBJ_BLOCK);
       },
       slots + 6,
       {12, 5, 54, 0x81}},
      {"skills in order",
       [](LevelRecord& l) {
         for (int i = 0; i < SKILL_COUNT; ++i) {
           l.m_nSkills[i] = static_cast<std::int8_t>(i);
         }
       },
       record + 13,
       {0, 1, 2, 3, 4, 5, 6, 7}},
  };
  for (const Case& c : cases) {
    PackContents pack = BlankPack();
    c.change(pack.levels[0]);
    const Bytes image = Encode(pack);
    ASSERT_GE(image.size(), c.at + c.expected.size()) << c.what;
    EXPECT_EQ(
        Bytes(image.begin() + static_cast<long>(c.at),
              image.begin() + static_cast<long>(c.at + c.expected.size())),
        c.expected)
        << c.what;
    EXPECT_TRUE(packfixtures::SamePack(Decode(image), pack)) << c.what;
  }
}

TEST(PackImage, StoresOnePasscodePerLevelAfterTheFirst) {
  PackContents pack = BlankPack();
  pack.levels[0] = BlankLevel("QQQQ");  // never stored
  pack.levels.push_back(BlankLevel("ABCD"));
  pack.levels.push_back(BlankLevel("WXYZ"));
  const Bytes image = Encode(pack);
  Bytes expected = {0x03};
  AppendText(expected, ScrambledString("ABCD"));
  AppendText(expected, ScrambledString("WXYZ"));
  AppendText(expected, "Level 1 Name");
  EXPECT_EQ(Bytes(image.begin() + 9, image.begin() + 9 + 24), expected);

  const PackContents read = Decode(image);
  EXPECT_STREQ(read.levels[0].m_szPasscode, "");
  EXPECT_STREQ(read.levels[1].m_szPasscode, "ABCD");
  EXPECT_STREQ(read.levels[2].m_szPasscode, "WXYZ");
}

TEST(PackImage, EncoderLeavesThePackAlone) {
  PackContents pack = BlankPack();
  LevelRecord& level = pack.levels[0];
  level.m_bitmap[level.BitmapBytes()] = 0x55;  // where a sentinel would go
  const PackContents before = pack;
  Encode(pack);
  EXPECT_EQ(
      std::memcmp(&before.levels[0], &pack.levels[0], sizeof(LevelRecord)), 0);
}

TEST(PackImage, VariableNames) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\packs\\my pack 2.83p", "MYAPACKA"},
      {"/home/me/abcdefghijk.83p", "ABCDEFGH"},
      {"level_1.83p", "LEVELA1"},
      {"pack0.83p", "PACKA"},
      {"/tmp/x.y/Plain", "PLAIN"},
      {"dir\\sub/last.83p", "LAST"},
      // The calculator wants a name that starts with a letter.
      {"/tmp/2pack.83p", "A2PACK"},
      {"12345678.83p", "A1234567"},
      {"0abc.83p", "AABC"},
      {"/tmp/.83p", "PLODPAK"},
      {"/tmp/", "PLODPAK"},
      {"", "PLODPAK"},
      // Each character of a UTF-8 name gives one letter, whatever its bytes.
      {"\xC3\x84\xC3\x96\xC3\x9C.83p", "AAA"},  // ÄÖÜ, 2 bytes each
      {"caf\xC3\xA9 2.83p", "CAFAA2"},          // é
      {"\xE2\x82\xAC"
       "5.83p",
       "A5"},                           // €, 3 bytes
      {"\xF0\x9F\x98\x80x.83p", "AX"},  // an emoji, 4 bytes
      {"7\xC3\xA4.83p", "A7A"},         // a digit first
      {"\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3"
       "\xA4.83p",
       "AAAAAAAA"},  // nine ä, cut to 8
      {"ab\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4z.83p", "ABAAAAAZ"},
      // A byte that starts no well-formed character is one character.
      {"\xFF\xFE"
       "ab.83p",
       "AAAB"},
      {"\xC4x.83p", "AX"},            // a lead byte without its follower
      {"\xE2\x82x.83p", "AAX"},       // a 3-byte character cut short
      {"\x80\x80y.83p", "AAY"},       // followers without a lead byte
      {"\xC0\xAEq.83p", "AAQ"},       // an overlong form is two bytes
      {"\xED\xA0\x80z.83p", "AAAZ"},  // a surrogate is three
      {"x\xC3", "XA"},                // cut short at the end of the path
  };
  for (const auto& [path, name] : cases) {
    EXPECT_EQ(MakeVariableName(path), name) << path;
  }
}

TEST(PackImage, Comment) {
  EXPECT_EQ(MakePackComment("Q"), "Plodpak by Q");
  EXPECT_EQ(MakePackComment("Q").size(), 12u);
}

TEST(PackImage, EncoderRefusals) {
  struct Case {
    const char* what;
    std::function<void(PackContents&)> change;
    const char* reason;
  };
  const Case cases[] = {
      {"no level", [](PackContents& p) { p.levels.clear(); }, "1 to 9 levels"},
      {"ten levels",
       [](PackContents& p) { p.levels.resize(10, BlankLevel("ABCD")); },
       "1 to 9 levels"},
      {"password of 11",
       [](PackContents& p) { p.m_szPassword = std::string(11, 'x'); },
       "password is longer than 10"},
      {"author of 29",
       [](PackContents& p) { p.m_szAuthorName = std::string(29, 'x'); },
       "author name is longer than 28"},
      {"author with a tab", [](PackContents& p) { p.m_szAuthorName = "a\tb"; },
       "author name holds a character"},
      {"password with a byte above 0x7E",
       [](PackContents& p) { p.m_szPassword = "\xE9"; },
       "password holds a character"},
      {"name without its NUL",
       [](PackContents& p) {
         std::memset(p.levels[0].m_szName, 'n', NAME_CHARS + 1);
       },
       "name of level 1 is longer than 29"},
      {"name not printable",
       [](PackContents& p) { p.levels[0].m_szName[0] = '\x7F'; },
       "name of level 1 holds a character"},
      {"passcode of level 2 not printable",
       [](PackContents& p) { p.levels.push_back(BlankLevel("AB\x01")); },
       "passcode of level 2 holds a character"},
      {"passcode without its NUL",
       [](PackContents& p) {
         p.levels.push_back(BlankLevel());
         std::memset(p.levels[1].m_szPasscode, 'P', PASSCODE_CHARS + 1);
       },
       "passcode of level 2 is longer than 4"},
      {"width 11", [](PackContents& p) { p.levels[0].m_nWidthBytes = 11; },
       "size of level 1"},
      {"height 193", [](PackContents& p) { p.levels[0].m_nHeight = 193; },
       "size of level 1"},
      {"36 x 65",
       [](PackContents& p) {
         p.levels[0].m_nWidthBytes = 36;
         p.levels[0].m_nHeight = 65;
       },
       "size of level 1"},
      {"50 blocks", [](PackContents& p) { p.levels[0].m_nBlockCount = 50; },
       "block count of level 1"},
      {"a kind the reader takes as the end",
       [](PackContents& p) { p.levels[0].m_objects[0].kind = 0x81; },
       "unknown kind"},
  };
  for (const Case& c : cases) {
    PackContents pack = BlankPack();
    c.change(pack);
    Bytes image = {42};
    std::string error;
    EXPECT_FALSE(EncodePackImage(pack, image, error)) << c.what;
    EXPECT_NE(error.find(c.reason), std::string::npos)
        << c.what << ": " << error;
    EXPECT_EQ(image, Bytes{42}) << c.what;
  }
  // The first level's passcode is never stored, so it is not checked.
  PackContents pack = BlankPack();
  pack.levels[0].m_szPasscode[0] = '\x01';
  Bytes image;
  std::string error;
  EXPECT_TRUE(EncodePackImage(pack, image, error)) << error;
}

// Nine levels of the largest terrain, every byte 0x80: far too large.
PackContents OversizedPack(int levels) {
  PackContents pack = BlankPack();
  pack.levels.clear();
  for (int i = 0; i < levels; ++i) {
    LevelRecord level = BlankLevel(i ? "ABCD" : "");
    level.m_nWidthBytes = 36;
    std::memset(level.m_bitmap, 0x80, MAX_BITMAP_BYTES);
    pack.levels.push_back(level);
  }
  return pack;
}

TEST(PackImage, RefusesAnImageOverTheLimit) {
  const PackContents pack = OversizedPack(3);
  Bytes image;
  std::string error;
  EXPECT_FALSE(EncodePackImage(pack, image, error));
  EXPECT_TRUE(image.empty());
  const std::size_t needed =
      5 + 2 + 2 + 1 + 2 * 5 + 3 * (13 + 15 + 7 + 2 + 4608);
  EXPECT_EQ(error, "The pack needs " + std::to_string(needed) +
                       " bytes; a Plodpak holds at most 9926.");
}

// A pack whose image is exactly `size` bytes: four levels of 0x11 bytes
// (never a run), with as many turned into 0x80 (two bytes each) as it takes.
// The callers check the size through the file size and the refusal's text.
PackContents PackOfImageSize(std::size_t size) {
  PackContents pack = BlankPack();
  pack.levels[0] = BlankLevel();
  pack.levels.resize(4, BlankLevel("ABCD"));
  for (auto& level : pack.levels) {
    level.m_nWidthBytes = 36;
    std::memset(level.m_bitmap, 0x11, MAX_BITMAP_BYTES);
  }
  std::size_t current = Encode(pack).size();
  // Each 0x11 turned into 0x80 adds one byte.
  for (auto& level : pack.levels) {
    for (int i = 0; i < MAX_BITMAP_BYTES && current < size; ++i, ++current) {
      level.m_bitmap[i] = 0x80;
    }
  }
  return pack;
}

TEST(PackFile, SizeLimitsOfBothFlavours) {
  const testsupport::TempFolder dir("plodderz-limit");
  struct Case {
    VariableFlavour flavour;
    std::size_t largest;
    const char* limitText;
  };
  const Case cases[] = {
      {VariableFlavour::TI83, 9926, "a Plodpak holds at most 9926."},
      {VariableFlavour::TI83Plus, 9924,
       "a TI-83 Plus Plodpak holds at most 9924."},
  };
  for (const Case& c : cases) {
    const std::string path = dir / "limit.83p";
    std::string error;
    const PackContents fits = PackOfImageSize(c.largest);
    ASSERT_TRUE(SavePackFile(path, fits, error, c.flavour)) << error;
    EXPECT_EQ(fs::file_size(path), 10000u);
    PackContents read;
    ASSERT_TRUE(LoadPackFile(path, read, error)) << error;
    EXPECT_TRUE(packfixtures::SamePack(read, fits));
    fs::remove(path);

    const PackContents over = PackOfImageSize(c.largest + 1);
    EXPECT_FALSE(SavePackFile(path, over, error, c.flavour));
    EXPECT_EQ(error, "The pack needs " + std::to_string(c.largest + 1) +
                         " bytes; " + c.limitText);
    EXPECT_FALSE(fs::exists(path));
  }
}

// ---- Decoding --------------------------------------------------------------

// A hand-built image: magic, scrambled password, author, count, passcodes,
// then records given as raw bytes.
struct ImageBuilder {
  Bytes bytes = {0x01, 0x01, 'p', 'l', 'o'};

  ImageBuilder& Text(const std::string& text) {
    AppendText(bytes, text);
    return *this;
  }
  ImageBuilder& Raw(std::initializer_list<int> values) {
    Append(bytes, values);
    return *this;
  }
  // A level record of the given size and slots with a blank bitmap.
  ImageBuilder& Record(int width, int heightByte,
                       std::initializer_list<int> slots,
                       const Bytes& compressed, const std::string& name = "L") {
    Text(name);
    Raw({30, 30, 30, 30, 30, 30, 30, 30, 20, 15, 20, width, heightByte, 0xB0,
         0x04});
    Append(bytes, slots);
    Raw({0x81, static_cast<int>(compressed.size() & 0xFF),
         static_cast<int>(compressed.size() >> 8)});
    bytes.insert(bytes.end(), compressed.begin(), compressed.end());
    return *this;
  }
};

const Bytes kBlank768 = {0x80, 0x00, 0xFA, 0x80, 0x00, 0xFA,
                         0x80, 0x00, 0xFA, 0x80, 0x00, 0x12};
const std::initializer_list<int> kTwoSlots = {10, 3, 36, 11, 10, 56};

Bytes Slots(int count) {
  Bytes slots = {10, 3, 36, 11, 10, 56};
  for (int i = 2; i < count; ++i) Append(slots, {12, 4, 30});
  return slots;
}

ImageBuilder Header(int count = 1) {
  ImageBuilder b;
  b.Text(ScrambledString("pw")).Text("Me").Raw({count});
  return b;
}

TEST(PackDecoder, ReadsAHandBuiltImage) {
  ImageBuilder b = Header(2);
  b.Text(ScrambledString("WXYZ"));
  b.Record(12, 0xFF, kTwoSlots, kBlank768);
  b.Record(12, 0xFF, {10, 3, 36, 11, 10, 56, 12, 5, 54}, kBlank768, "Two");
  b.Raw({0xDE, 0xAD});  // bytes after the last record are ignored
  const PackContents pack = Decode(b.bytes);
  ASSERT_EQ(pack.levels.size(), 2u);
  EXPECT_EQ(pack.m_szPassword, "pw");
  EXPECT_EQ(pack.m_szAuthorName, "Me");
  EXPECT_STREQ(pack.levels[1].m_szPasscode, "WXYZ");
  EXPECT_STREQ(pack.levels[1].m_szName, "Two");
  EXPECT_EQ(pack.levels[0].m_nBlockCount, 0);
  EXPECT_EQ(pack.levels[1].m_nBlockCount, 1);
  EXPECT_EQ(pack.levels[1].m_objects[2], (LevelObject{OBJ_BLOCK, 3, 40}));
  EXPECT_EQ(pack.levels[0].m_objects[0], (LevelObject{OBJ_ENTRANCE, 1, 20}));
  EXPECT_EQ(pack.levels[0].m_nTime, 1200);
}

TEST(PackDecoder, HeightByte) {
  const std::pair<int, int> cases[] = {{0xFF, 64}, {0x00, 65}, {0x7F, 192}};
  for (const auto& [byte, height] : cases) {
    // An all-zero bitmap of 12 x height bytes in runs of up to 250.
    Bytes compressed;
    for (int left = 12 * height; left > 0; left -= 250) {
      Append(compressed, {0x80, 0x00, std::min(left, 250)});
    }
    ImageBuilder b = Header();
    b.Record(12, byte, kTwoSlots, compressed);
    EXPECT_EQ(Decode(b.bytes).levels[0].m_nHeight, height) << byte;
  }
}

TEST(PackDecoder, Refusals) {
  struct Case {
    const char* what;
    Bytes image;
    const char* reason;
  };
  std::vector<Case> cases;
  auto add = [&](const char* what, const ImageBuilder& b, const char* reason) {
    cases.push_back({what, b.bytes, reason});
  };
  add("wrong magic", ImageBuilder{{0x01, 0x01, 'p', 'l', 'x', 0}},
      "not a Plodpak");
  add("no magic at all", ImageBuilder{{0x01}}, "not a Plodpak");
  add("password of 11",
      ImageBuilder{}.Text(std::string(11, 'x')).Text("A").Raw({1}),
      "password is longer than 10");
  add("password without its 0x00", ImageBuilder{}.Raw({'x', 'y'}),
      "ends inside the password");
  add("author of 29", ImageBuilder{}.Text("x").Text(std::string(29, 'a')),
      "author name is longer than 28");
  add("no level count", ImageBuilder{}.Text("x").Text("a"),
      "ends inside the level count");
  add("level count 0", Header(0), "holds 0 levels");
  add("level count 10", Header(10), "holds 10 levels");
  add("level count 0x80", Header(0x80), "holds 128 levels");
  add("level count 0xFF", Header(0xFF), "holds 255 levels");
  add("passcode of 5", Header(2).Text("ABCDE"),
      "passcode of level 2 is longer than 4");
  add("missing passcode", Header(2), "ends inside the passcode of level 2");
  add("name of 30",
      Header().Record(12, 0xFF, kTwoSlots, kBlank768, std::string(30, 'n')),
      "name of level 1 is longer than 29");
  add("second record missing",
      Header(2).Text("ABCD").Record(12, 0xFF, kTwoSlots, kBlank768),
      "ends inside the name of level 2");
  add("width 11", Header().Record(11, 0xFF, kTwoSlots, kBlank768),
      "width of level 1 (11 bytes)");
  add("width 37", Header().Record(37, 0xFF, kTwoSlots, kBlank768),
      "width of level 1 (37 bytes)");
  add("height 63", Header().Record(12, 0xFE, kTwoSlots, kBlank768),
      "height of level 1 (63 rows)");
  add("height -63", Header().Record(12, 0x80, kTwoSlots, kBlank768),
      "height of level 1 (-63 rows)");
  add("36 x 65", Header().Record(36, 0x00, kTwoSlots, kBlank768),
      "larger than 2304");
  add("one slot", Header().Record(12, 0xFF, {10, 3, 36}, kBlank768),
      "lacks its entrance and exit");
  add("no slot", Header().Record(12, 0xFF, {}, kBlank768),
      "lacks its entrance and exit");
  {
    ImageBuilder b = Header();
    b.Text("L").Raw(
        {30, 30, 30, 30, 30, 30, 30, 30, 20, 15, 20, 12, 0xFF, 0xB0, 0x04});
    const Bytes slots = Slots(52);
    b.bytes.insert(b.bytes.end(), slots.begin(), slots.end());
    b.Raw({0x81, 12, 0});
    b.bytes.insert(b.bytes.end(), kBlank768.begin(), kBlank768.end());
    add("52 slots", b, "more than 49 metal blocks");
  }
  add("slots without their end",
      Header().Text("L").Raw({30, 30, 30, 30, 30, 30, 30, 30, 20, 15, 20, 12,
                              0xFF, 0xB0, 0x04, 10, 3, 36, 11}),
      "ends inside the objects of level 1");
  add("bitmap expands too far",
      Header().Record(12, 0xFF, kTwoSlots,
                      {0x80, 0x00, 0xFA, 0x80, 0x00, 0xFA, 0x80, 0x00, 0xFA,
                       0x80, 0x00, 0x13}),
      "more than 768 bytes");
  add("bitmap expands short",
      Header().Record(12, 0xFF, kTwoSlots,
                      {0x80, 0x00, 0xFA, 0x80, 0x00, 0xFA, 0x80, 0x00, 0xFA,
                       0x80, 0x00, 0x11}),
      "expands to 767 bytes instead of 768");
  add("bitmap ends inside a run",
      Header().Record(12, 0xFF, kTwoSlots, {0x80, 0x00, 0xFA, 0x80, 0x00}),
      "ends inside a run");
  {
    ImageBuilder b = Header().Record(12, 0xFF, kTwoSlots, kBlank768);
    b.bytes.pop_back();
    add("bitmap cut short", b, "ends inside the terrain of level 1");
  }
  for (const Case& c : cases) {
    PackContents pack;
    pack.m_szAuthorName = "kept";
    std::string error;
    EXPECT_FALSE(DecodePackImage(c.image, pack, error)) << c.what;
    EXPECT_NE(error.find(c.reason), std::string::npos)
        << c.what << ": " << error;
    EXPECT_EQ(pack.m_szAuthorName, "kept") << c.what;
    EXPECT_TRUE(pack.levels.empty()) << c.what;
  }
}

TEST(PackDecoder, FiftyOneSlotsAreFortyNineBlocks) {
  ImageBuilder b = Header();
  b.Text("L").Raw(
      {30, 30, 30, 30, 30, 30, 30, 30, 20, 15, 20, 12, 0xFF, 0xB0, 0x04});
  const Bytes slots = Slots(51);
  b.bytes.insert(b.bytes.end(), slots.begin(), slots.end());
  b.Raw({0x81, 12, 0});
  b.bytes.insert(b.bytes.end(), kBlank768.begin(), kBlank768.end());
  EXPECT_EQ(Decode(b.bytes).levels[0].m_nBlockCount, 49);
}

TEST(PackDecoder, AcceptsAnyNonZeroBytesInTexts) {
  ImageBuilder b;
  b.Text("\x01\xFF").Text("\x7F\x80\xFE").Raw({1});
  b.Record(12, 0xFF, kTwoSlots, kBlank768, "\x01\x02");
  const PackContents pack = Decode(b.bytes);
  EXPECT_EQ(pack.m_szAuthorName, "\x7F\x80\xFE");
  EXPECT_STREQ(pack.levels[0].m_szName, "\x01\x02");
}

TEST(PackFile, SavedRandomPacksLoadBack) {
  const testsupport::TempFolder dir("plodderz-rt");
  std::mt19937 rng(9926);
  for (int round = 0; round < 60; ++round) {
    const PackContents pack = packfixtures::RandomPack(rng, 4);
    const VariableFlavour flavour =
        round % 3 == 0 ? VariableFlavour::TI83Plus : VariableFlavour::TI83;
    const std::string path = dir / ("pack" + std::to_string(round) + ".83p");
    std::string error;
    if (!SavePackFile(path, pack, error, flavour)) {
      // Random terrain can be too large; that must be the only reason.
      ASSERT_NE(error.find("The pack needs"), std::string::npos) << error;
      continue;
    }
    PackContents read;
    VariableFile container;
    ASSERT_TRUE(LoadPackFile(path, read, error, &container)) << error;
    EXPECT_TRUE(packfixtures::SamePack(read, pack)) << "round " << round;
    EXPECT_EQ(container.plus, flavour == VariableFlavour::TI83Plus);
    EXPECT_EQ(container.name, MakeVariableName(path));
    EXPECT_EQ(container.comment, MakePackComment(pack.m_szAuthorName));
    EXPECT_EQ(container.type, TYPE_PROTECTED_PROGRAM);
  }
}

TEST(PackFile, DecodeFileBytes) {
  const PackContents pack = BlankPack();
  const Bytes image = Encode(pack);
  struct Case {
    const char* what;
    VariableFlavour flavour;
    Bytes data;
    bool ok;
    const char* reason;
  };
  const Case cases[] = {
      {"TI-83 file", VariableFlavour::TI83, image, true, ""},
      {"TI-83 Plus file", VariableFlavour::TI83Plus, image, true, ""},
      {"another program",
       VariableFlavour::TI83,
       {0xBB, 0x6D, 0xC9},
       false,
       "not a Plodpak"},
  };
  for (const Case& c : cases) {
    Bytes file;
    std::string error;
    ASSERT_TRUE(
        EncodeVariableFile("x", "X", c.data, 6, file, error, c.flavour));
    PackContents read;
    EXPECT_EQ(DecodePackFileBytes(file, read, error), c.ok) << c.what << error;
    if (c.ok) {
      EXPECT_TRUE(packfixtures::SamePack(read, pack)) << c.what;
    } else {
      EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << error;
    }
  }
  // A TI-83 Plus file whose variable is one byte: too short for the
  // program's length word.
  Bytes file;
  std::string error;
  ASSERT_TRUE(EncodeVariableFile("", "X", {}, 6, file, error));
  file[6] = 'F';
  file[70] = 1;
  file.insert(file.begin() + 72, 0x00);
  unsigned sum = 0;
  for (std::size_t i = 55; i < 73; ++i) sum += file[i];
  file[73] = static_cast<std::uint8_t>(sum);
  file[74] = static_cast<std::uint8_t>(sum >> 8);
  PackContents read;
  EXPECT_FALSE(DecodePackFileBytes(file, read, error));
  EXPECT_NE(error.find("lacks its length word"), std::string::npos) << error;
}

}  // namespace
