// What the window tells the author when it refuses something: the reason
// under a refused file's message, the level a message speaks of shown while
// it stands.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ShownFrameFixture.h"
#include "model/LevelPack.h"
#include "packfile/PackFile.h"
#include "shell/CommandIds.h"
#include "shell/EditorFrame.h"
#include "support/PackState.h"
#include "support/TempFiles.h"
#include "uikit/UpDown.h"

namespace {

using Answer = IPlatform::Answer;
using Bytes = std::vector<std::uint8_t>;

class FrameNotesTest : public ShownFrameFixture<CEditorFrame> {
 protected:
  CLevelPack& Pack() { return frame->Pack(); }

  void Command(int id) {
    frame->OnCommand(id);
    ProcessEvents();
  }

  QString Path(const QString& name) const { return dir.filePath(name); }

  QTemporaryDir dir;
};

// ---- A refused file says why ------------------------------------------------

// A small sound pack file: two levels, password "pw", author "Ann".
Bytes SoundPackFile(const std::string& path) {
  PackContents pack;
  pack.m_szAuthorName = "Ann";
  pack.m_szPassword = "pw";
  pack.levels.resize(2);
  for (LevelRecord& level : pack.levels) {
    level.PlaceObject({0, 30}, OBJ_ENTRANCE);
    level.PlaceObject({40, 30}, OBJ_EXIT);
  }
  std::strcpy(pack.levels[1].m_szPasscode, "KEYS");
  std::string error;
  EXPECT_TRUE(SavePackFile(path, pack, error)) << error;
  return testsupport::ReadBytes(path);
}

// The checksum of a TI-83 file after its bytes were changed.
void MendChecksum(Bytes& file) {
  unsigned sum = 0;
  for (std::size_t i = 55; i + 2 < file.size(); ++i) sum += file[i];
  file[file.size() - 2] = static_cast<std::uint8_t>(sum & 0xFF);
  file[file.size() - 1] = static_cast<std::uint8_t>(sum >> 8);
}

// The pack image starts at 72: magic (5), password "pw" scrambled and its
// zero (3), author "Ann" and its zero (4), then the level count.
constexpr std::size_t kLevelCount = 72 + 5 + 3 + 4;

struct Damage {
  const char* label;
  std::function<void(Bytes&)> apply;  // nullptr: the file does not exist
  const char* reason;                 // the start of the decoder's reason
};

const Damage kDamages[] = {
    {"Missing", nullptr, "Cannot open"},
    {"Empty", [](Bytes& f) { f.clear(); },
     "The file is too short to be a TI-83 program file."},
    {"NotATiFile", [](Bytes& f) { f[2] = 'X'; },
     "The file does not have the signature of a TI-83 file."},
    {"CutInTheHeader", [](Bytes& f) { f.resize(60); },
     "The file ends inside its variable header."},
    {"CutShort", [](Bytes& f) { f.resize(f.size() - 10); },
     "The variable's length ("},
    {"ChecksumWrong", [](Bytes& f) { f.back() ^= 0x01; },
     "The file's checksum does not match its contents."},
    {"LongerThanAnyPack", [](Bytes& f) { f.resize(10001); }, "\""},
    {"NotAPlodpak",
     [](Bytes& f) {
       f[72] ^= 0x20;
       MendChecksum(f);
     },
     "The program is not a Plodpak."},
    {"NoLevels",
     [](Bytes& f) {
       f[kLevelCount] = 0;
       MendChecksum(f);
     },
     "The pack says it holds 0 levels; a Plodpak holds 1 to 9."},
    {"PasscodeTooLong",  // nine levels: level data read as passcodes
     [](Bytes& f) {
       f[kLevelCount] = 9;
       MendChecksum(f);
     },
     "The passcode of level 3 is longer than 4 characters."},
};

class FrameRefusedFile : public FrameNotesTest,
                         public testing::WithParamInterface<Damage> {};

TEST_P(FrameRefusedFile, SaysWhyUnderTheFixedMessage) {
  const Damage& damage = GetParam();
  const std::string path = Path("bad.83p").toStdString();
  Bytes bytes = SoundPackFile(path);
  if (damage.apply) {
    damage.apply(bytes);
    testsupport::WriteBytes(path, bytes);
  } else {
    QFile::remove(QString::fromStdString(path));
  }
  Pack().Current().SetPixel(3, 3, true);  // something of the old pack's
  const PackState before = StateOf(Pack());
  platform.fileNames = {QString::fromStdString(path)};
  platform.answers = {Answer::Ok};
  Command(IDM_FILE_LOAD);

  ASSERT_EQ(platform.messages.size(), 1u);
  const auto& message = platform.messages[0];
  EXPECT_EQ(message.text, QDir::toNativeSeparators(Path("bad.83p")) +
                              " is not a valid Plodpak.");
  EXPECT_EQ(message.caption, "Uh-Oh!");
  EXPECT_EQ(message.icon, IPlatform::Icon::Exclamation);
  EXPECT_TRUE(message.informative.startsWith(damage.reason))
      << message.informative.toStdString();
  EXPECT_EQ(StateOf(Pack()), before);
  EXPECT_EQ(platform.unexpected, 0);
}

INSTANTIATE_TEST_SUITE_P(Damages, FrameRefusedFile, testing::ValuesIn(kDamages),
                         [](const auto& info) {
                           return std::string(info.param.label);
                         });

// ---- A message about a level shows that level ------------------------------

TEST_F(FrameNotesTest, SaveAsShowsTheLevelItSpeaksOfWhileItsMessageStands) {
  const struct {
    const char* what;
    std::function<void(CLevelPack&)> spoil;
    const char* text;
    int level;
  } cases[] = {
      {"a short passcode",
       [](CLevelPack& p) { std::strcpy(p.Level(2).m_szPasscode, "AB"); },
       "Make sure all passcodes are EXACTLY four characters long.", 2},
      {"a missing exit",
       [](CLevelPack& p) { p.Level(1).m_objects[EXIT_SLOT] = {}; },
       "Before saving, you must position both an entrance and an exit.", 1},
  };
  platform.answers = {Answer::Yes, Answer::Yes};
  frame->LevelNumberSpin()->StepUp();
  frame->LevelNumberSpin()->StepUp();
  ASSERT_EQ(Pack().Count(), 3);
  const PackContents good = [&] {
    for (int i = 0; i < 3; ++i) {
      Pack().Level(i).PlaceObject({0, 30}, OBJ_ENTRANCE);
      Pack().Level(i).PlaceObject({40, 30}, OBJ_EXIT);
      if (i > 0) std::strcpy(Pack().Level(i).m_szPasscode, "ABCD");
    }
    return Pack().Contents();
  }();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(Pack().ReplaceWithLoaded(good));
    Pack().m_nCurLevel = 0;
    frame->RefreshView();
    c.spoil(Pack());
    int shownLevel = -1;
    QString shownNumber;
    platform.messages.clear();
    // The box is answered while the test looks at the window.
    platform.onMessage = [&](const ScriptedPlatform::MessageCall&) {
      shownLevel = Pack().m_nCurLevel;
      shownNumber = frame->LevelNumberEdit()->text();
      return std::optional<Answer>(Answer::Ok);
    };
    Command(IDM_FILE_SAVE_AS);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, c.text);
    EXPECT_EQ(shownLevel, c.level);
    EXPECT_EQ(shownNumber, QString::number(c.level + 1));
  }
  platform.onMessage = nullptr;
}

}  // namespace
