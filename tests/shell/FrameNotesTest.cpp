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

#include <QApplication>
#include <QKeyEvent>
#include <QPalette>
#include <QStatusBar>

#include "ShownFrameFixture.h"
#include "model/LevelPack.h"
#include "packfile/PackFile.h"
#include "shell/BarNotes.h"
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

  QString Status() const { return frame->statusBar()->currentMessage(); }

  // A key typed into `edit` as the keyboard delivers it.
  static void Type(QLineEdit* edit, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
    QApplication::sendEvent(edit, &press);
  }

  // Adds levels after the last through the level number's question.
  void AddLevels(int count) {
    Pack().m_nCurLevel = Pack().Count() - 1;
    frame->RefreshView();
    for (int i = 0; i < count; ++i) {
      platform.answers.push_back(Answer::Yes);
      frame->LevelNumberSpin()->StepUp();
    }
  }

  QTemporaryDir dir;
};

// ---- Nothing is refused without a word ------------------------------------

TEST_F(FrameNotesTest, EveryRefusedInputSaysWhyInTheStatusBar) {
  const struct {
    const char* what;
    std::function<void()> act;
    QString note;
    std::function<bool()> unchanged;
  } cases[] = {
      {"a key the calculator cannot store, in the name",
       [this] {
         frame->LevelNameEdit()->setText("Cave");
         Type(frame->LevelNameEdit(), QString::fromUtf8("\u00e9"));
       },
       barnotes::kUnstorable,
       [this] { return std::string(Pack().Current().m_szName) == "Cave"; }},
      {"a pasted text with one, in the name",
       [this] {
         frame->LevelNameEdit()->setText("Cave");
         frame->LevelNameEdit()->insert(QString::fromUtf8(" Caf\u00e9"));
       },
       barnotes::kUnstorable,
       [this] { return std::string(Pack().Current().m_szName) == "Cave"; }},
      {"a key the calculator cannot store, in the passcode",
       [this] {
         Pack().m_nCurLevel = 1;
         frame->RefreshView();
         frame->PasscodeEdit()->setText("AB");
         Type(frame->PasscodeEdit(), QString::fromUtf8("\u00fc"));
       },
       barnotes::kUnstorable,
       [this] { return std::string(Pack().Level(1).m_szPasscode) == "AB"; }},
      {"the fifth passcode character",
       [this] {
         Pack().m_nCurLevel = 1;
         frame->RefreshView();
         frame->PasscodeEdit()->setText("ABCD");
         Type(frame->PasscodeEdit(), "E");
       },
       barnotes::kPasscodeFull,
       [this] { return std::string(Pack().Level(1).m_szPasscode) == "ABCD"; }},
      {"the thirtieth name character",
       [this] {
         frame->LevelNameEdit()->setText(QString(29, 'n'));
         Type(frame->LevelNameEdit(), "x");
       },
       barnotes::kNameFull,
       [this] {
         return std::string(Pack().Current().m_szName) == std::string(29, 'n');
       }},
      {"a name pasted past 29 characters",
       [this] {
         frame->LevelNameEdit()->setText(QString(27, 'n'));
         frame->LevelNameEdit()->insert("xyz");
       },
       barnotes::kNameFull,
       [this] {
         return std::string(Pack().Current().m_szName) ==
                std::string(27, 'n') + "xy";
       }},
      {"the level number's down arrow on level 1",
       [this] {
         Pack().m_nCurLevel = 0;
         frame->RefreshView();
         frame->LevelNumberSpin()->StepDown();
       },
       barnotes::kFirstLevel,
       [this] {
         return Pack().m_nCurLevel == 0 &&
                frame->LevelNumberEdit()->text() == "1";
       }},
      {"the level number's up arrow on the ninth of nine",
       [this] {
         AddLevels(MAX_LEVELS - Pack().Count());
         frame->LevelNumberSpin()->StepUp();
       },
       barnotes::kPackFull,
       [this] {
         return Pack().Count() == MAX_LEVELS &&
                Pack().m_nCurLevel == MAX_LEVELS - 1;
       }},
      {"a save with nothing to save",
       [this] {
         Pack().m_szFilePath = Path("kept.83p").toStdString();
         Pack().m_bModified = false;
         Command(IDM_FILE_SAVE);
       },
       "No changes to save",
       [this] { return !QFile::exists(Path("kept.83p")); }},
  };
  AddLevels(1);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    frame->statusBar()->clearMessage();
    c.act();
    ProcessEvents();
    EXPECT_EQ(Status(), c.note);
    EXPECT_TRUE(c.unchanged());
  }
  EXPECT_EQ(platform.unexpected, 0);
}

TEST_F(FrameNotesTest, FirstLevelsPasscodeEditSaysItNeedsNoneAndLooksReadOnly) {
  QLineEdit* edit = frame->PasscodeEdit();
  const QPalette plain = frame->LevelNameEdit()->palette();
  AddLevels(1);
  for (const int level : {0, 1, 0}) {
    SCOPED_TRACE(level);
    Pack().m_nCurLevel = level;
    frame->RefreshView();
    const bool first = level == 0;
    EXPECT_EQ(edit->isReadOnly(), first);
    EXPECT_EQ(edit->toolTip(), first ? barnotes::kNoPasscodeNeeded : "");
    EXPECT_EQ(edit->placeholderText(),
              first ? barnotes::kNoPasscodeNeeded : "");
    EXPECT_EQ(
        edit->palette().color(QPalette::Base) == plain.color(QPalette::Base),
        !first);
  }
}

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
