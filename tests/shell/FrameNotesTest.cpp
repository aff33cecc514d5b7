// What the window tells the author when it refuses something: the reason
// under a refused file's message, the level a message speaks of shown while
// it stands.

#include <gtest/gtest.h>

#include <QDialog>
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
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QStatusBar>
#include <QTableWidget>
#include <algorithm>

#include "ShownFrameFixture.h"
#include "dialogs/HelpDialogs.h"
#include "model/LevelPack.h"
#include "packfile/PackFile.h"
#include "shell/BarNotes.h"
#include "shell/CommandIds.h"
#include "shell/EditorFrame.h"
#include "shell/FileCommands.h"
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
              first ? barnotes::kNoPasscodePlaceholder : "");
    EXPECT_EQ(
        edit->palette().color(QPalette::Base) == plain.color(QPalette::Base),
        !first);
  }
}

// The menu of the menu bar titled `title`.
QMenu* menuBarMenu(CEditorFrame* frame, const char* title) {
  for (QAction* top : frame->menuBar()->actions()) {
    if (top->text() == QLatin1String(title)) return top->menu();
  }
  ADD_FAILURE() << "no menu " << title;
  return nullptr;
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

namespace {

// ---- Where am I in the pack: "of N" and the Level menu ---------------------

TEST_F(FrameNotesTest, LevelMenuAddsAndDeletesLevelsAsUndoSteps) {
  const QList<QAction*> menus = frame->menuBar()->actions();
  ASSERT_GE(menus.size(), 4);
  const QAction* levelMenu = menus[menus.size() - 2];
  EXPECT_EQ(levelMenu->text(), "&Level");
  // Add and Delete stand around Duplicate; copies and the size follow.
  const QList<QAction*> items = levelMenu->menu()->actions();
  ASSERT_EQ(items.size(), 8);
  EXPECT_EQ(items[0], frame->Action(IDM_LEVEL_ADD));
  EXPECT_EQ(items[1], frame->Action(IDM_LEVEL_DUPLICATE));
  EXPECT_EQ(items[2], frame->Action(IDM_LEVEL_DELETE));
  EXPECT_TRUE(items[3]->isSeparator());
  EXPECT_EQ(items[4], frame->Action(IDM_LEVEL_COPY));
  EXPECT_EQ(items[5], frame->Action(IDM_LEVEL_PASTE));
  EXPECT_TRUE(items[6]->isSeparator());
  EXPECT_EQ(items[7], frame->Action(IDM_LEVEL_SIZE));
  EXPECT_EQ(frame->Action(IDM_LEVEL_ADD)->text(), "&Add Level");
  EXPECT_EQ(frame->Action(IDM_LEVEL_DELETE)->text(), "&Delete Level");

  QLineEdit* count = frame->LevelCountLabel();
  EXPECT_EQ(count->text(), "of 1");
  // The last level is never deleted, and nothing is asked.
  Command(IDM_LEVEL_DELETE);
  EXPECT_EQ(Status(), barnotes::kLastLevel);
  EXPECT_TRUE(platform.messages.empty());

  // Add Level asks nothing and shows the new last level.
  Command(IDM_LEVEL_ADD);
  Command(IDM_LEVEL_ADD);
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(Pack().Count(), 3);
  EXPECT_EQ(Pack().m_nCurLevel, 2);
  EXPECT_EQ(frame->LevelNumberEdit()->text(), "3");
  EXPECT_EQ(count->text(), "of 3");
  EXPECT_TRUE(Pack().m_bModified);
  EXPECT_EQ(frame->Action(IDM_EDIT_UNDO)->text(), "&Undo Add Level");

  // Delete Level asks first; No keeps the level.
  Pack().m_nCurLevel = 1;
  frame->RefreshView();
  const std::uint32_t kept = Pack().Level(2).m_nSerial;
  platform.answers = {Answer::No};
  Command(IDM_LEVEL_DELETE);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text,
            "Are you sure you want to delete level 2?");
  EXPECT_EQ(platform.messages[0].buttons, IPlatform::Buttons::YesNo);
  EXPECT_EQ(Pack().Count(), 3);
  platform.answers = {Answer::Yes};
  Command(IDM_LEVEL_DELETE);
  EXPECT_EQ(Pack().Count(), 2);
  EXPECT_EQ(Pack().Level(1).m_nSerial, kept);
  EXPECT_EQ(count->text(), "of 2");
  EXPECT_EQ(frame->Action(IDM_EDIT_UNDO)->text(), "&Undo Delete Level");

  // Undo and redo bring the count along.
  for (const auto& [command, levels] :
       {std::pair{IDM_EDIT_UNDO, 3}, std::pair{IDM_EDIT_UNDO, 2},
        std::pair{IDM_EDIT_REDO, 3}, std::pair{IDM_EDIT_UNDO, 2},
        std::pair{IDM_EDIT_UNDO, 1}}) {
    Command(command);
    EXPECT_EQ(Pack().Count(), levels);
    EXPECT_EQ(count->text(), QStringLiteral("of %1").arg(levels));
  }
  EXPECT_FALSE(Pack().m_bModified);

  // Nine levels: Add Level says the pack is full.
  AddLevels(MAX_LEVELS - 1);
  EXPECT_EQ(count->text(), "of 9");
  Command(IDM_LEVEL_ADD);
  EXPECT_EQ(Pack().Count(), MAX_LEVELS);
  EXPECT_EQ(Status(), barnotes::kPackFull);
  EXPECT_EQ(platform.unexpected, 0);
}

TEST_F(FrameNotesTest, LevelCountFollowsLoadAndNew) {
  const std::string path = Path("two.83p").toStdString();
  SoundPackFile(path);
  platform.fileNames = {QString::fromStdString(path)};
  platform.onDialog = [](QDialog&) { return int(QDialog::Accepted); };
  Command(IDM_FILE_LOAD);
  ASSERT_EQ(Pack().Count(), 2);
  EXPECT_EQ(frame->LevelCountLabel()->text(), "of 2");
  EXPECT_EQ(frame->CalculatorNameLabel()->text(), "Calculator: prgmTWO");
  Command(IDM_FILE_NEW);
  EXPECT_EQ(frame->LevelCountLabel()->text(), "of 1");
  EXPECT_EQ(frame->CalculatorNameLabel()->text(), "");
}

// ---- Save As offers both file types ----------------------------------------

TEST_F(FrameNotesTest, SaveAsWithThe83PlusFilterWritesATi83PlusFile) {
  Pack().Current().PlaceObject({0, 30}, OBJ_ENTRANCE);
  Pack().Current().PlaceObject({40, 30}, OBJ_EXIT);
  Pack().m_szAuthorName = "Ann";
  Pack().m_szPassword = "pw";
  Pack().m_bModified = true;
  const struct {
    const char* chosen;
    QString filter;
    const char* written;
    bool plus;
    const char* startFilter;  // what the dialog started on
    const char* calculator;
  } cases[] = {
      {"myapack", CFileCommands::kSaveFilter83Plus, "myapack.8xp", true,
       "83 Programs (*.83p *.83P)", "Calculator: prgmMYAPACK"},
      // The next Save As starts on the filter of the pack's file.
      {"castle", CFileCommands::kSaveFilter83, "castle.83p", false,
       "83+ Programs (*.8xp *.8XP)", "Calculator: prgmCASTLE"},
      // A typed extension decides, whatever the filter.
      {"tower.83p", CFileCommands::kSaveFilter83Plus, "tower.83p", false,
       "83 Programs (*.83p *.83P)", "Calculator: prgmTOWER"},
      // One letter for each character of the name, not for each byte.
      {"\xC3\x84\xC3\x96\xC3\x9C.83p", CFileCommands::kSaveFilter83,
       "\xC3\x84\xC3\x96\xC3\x9C.83p", false, "83 Programs (*.83p *.83P)",
       "Calculator: prgmAAA"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.chosen);
    platform.fileDialogs.clear();
    platform.fileNames = {Path(c.chosen)};
    platform.selectedFilters = {c.filter};
    Pack().m_bModified = true;
    Command(IDM_FILE_SAVE_AS);
    ASSERT_EQ(platform.fileDialogs.size(), 1u);
    EXPECT_EQ(platform.fileDialogs[0].filters,
              "83 Programs (*.83p *.83P);;83+ Programs (*.8xp *.8XP)");
    EXPECT_EQ(platform.fileDialogs[0].selectedFilter, c.startFilter);
    const std::string written = Path(c.written).toStdString();
    ASSERT_TRUE(QFile::exists(QString::fromStdString(written)));
    const Bytes bytes = testsupport::ReadBytes(written);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 8),
              c.plus ? "**TI83F*" : "**TI83**");
    EXPECT_EQ(frame->CalculatorNameLabel()->text(), c.calculator);
  }
  EXPECT_EQ(platform.unexpected, 0);
}

}  // namespace

namespace {

// ---- Undo says what it did -------------------------------------------------

TEST_F(FrameNotesTest, UndoAndRedoNameTheStepAndShowItsLevel) {
  AddLevels(2);
  ProcessEvents();
  // New population settings on level 2: nothing on the canvas shows them.
  Pack().m_nCurLevel = 1;
  frame->RefreshView();
  platform.onDialog = [](QDialog& d) {
    d.show();
    d.findChild<QLineEdit*>(QStringLiteral("edit1037"))->setText("33");
    d.accept();
    return d.result();
  };
  Command(IDT_POPULATION);
  ASSERT_EQ(Pack().Level(1).m_nPopulation, 33);
  // New security info belongs to no level.
  platform.onDialog = [](QDialog& d) {
    d.show();
    for (const char* name : {"edit1029", "edit1030", "edit1031"}) {
      d.findChild<QLineEdit*>(QString::fromLatin1(name))->setText("Ann");
    }
    d.accept();
    return d.result();
  };
  Command(IDM_FILE_SECURITY);
  ASSERT_EQ(Pack().m_szAuthorName, "Ann");
  platform.onDialog = nullptr;

  Pack().m_nCurLevel = 2;
  frame->RefreshView();
  const struct {
    int command;
    const char* note;
    int level;  // shown afterwards
  } steps[] = {
      {IDM_EDIT_UNDO, "Undid Security Info", 2},
      {IDM_EDIT_UNDO, "Undid Population Settings on level 2", 1},
      {IDM_EDIT_UNDO, "Undid Add Level on level 2", 1},
      {IDM_EDIT_REDO, "Redid Add Level on level 3", 2},
      {IDM_EDIT_REDO, "Redid Population Settings on level 2", 1},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.note);
    Command(s.command);
    EXPECT_EQ(Status(), s.note);
    EXPECT_EQ(Pack().m_nCurLevel, s.level);
    EXPECT_EQ(frame->LevelNumberEdit()->text(), QString::number(s.level + 1));
  }
  EXPECT_EQ(Pack().Level(1).m_nPopulation, 33);
}

}  // namespace

namespace {

// ---- A passing note passes --------------------------------------------------

// A note stands through whatever only looks at the pack (a zoom, another
// level and back) and goes at the next edit, made in any way; a note of a
// saved pack goes once it is modified.
TEST_F(FrameNotesTest, APassingNoteGoesAtTheNextEdit) {
  frame->resize(1200, 500);
  AddLevels(1);
  Pack().m_nCurLevel = 0;
  frame->RefreshView();
  ProcessEvents();
  const auto stroke = [this](Point at) {
    frame->OnSelectPen(IDT_PEN_SMALL_BLACK);
    MousePress(&frame->Canvas(), CellPoint(at));
    MouseRelease(&frame->Canvas(), CellPoint(at));
  };
  const struct {
    const char* edit;
    std::function<void()> act;
  } edits[] = {
      {"a pen stroke",
       [&] {
         stroke({30, 10});
       }},
      {"a letter typed into the level name",
       [this] { Type(frame->LevelNameEdit(), "x"); }},
      {"a command", [this] { Command(IDM_LEVEL_ADD); }},
  };
  int x = 10;
  for (const auto& e : edits) {
    SCOPED_TRACE(e.edit);
    // A rectangle drawn, undone and redone names itself.
    Command(IDT_TOOL_RECTANGLE);
    MousePress(&frame->Canvas(), CellPoint({x, 40}));
    MouseMove(&frame->Canvas(), CellPoint({x + 10, 50}), true);
    MouseRelease(&frame->Canvas(), CellPoint({x + 10, 50}));
    x += 20;
    ProcessEvents();
    Command(IDM_EDIT_UNDO);
    Command(IDM_EDIT_REDO);
    const QString redid = QStringLiteral("Redid Rectangle on level %1")
                              .arg(Pack().m_nCurLevel + 1);
    EXPECT_EQ(Status(), redid);
    Command(IDM_VIEW_ZOOM_IN);
    Command(IDM_VIEW_ZOOM_OUT);
    frame->OnNotify(IDC_LEVEL_NUMBER_SPIN, Pack().m_nCurLevel == 0 ? 1 : -1);
    frame->OnNotify(IDC_LEVEL_NUMBER_SPIN, Pack().m_nCurLevel == 0 ? 1 : -1);
    ProcessEvents();
    EXPECT_EQ(Status(), redid);
    e.act();
    ProcessEvents();
    EXPECT_EQ(Status(), "");
  }

  // "Saved" stands while the title has no star.
  Pack().m_szFilePath = Path("noted.83p").toStdString();
  Pack().m_bModified = true;
  Command(IDM_FILE_SAVE);
  const QString saved =
      "Saved, but not ready for the calculator: level 1 "
      "has no entrance";
  EXPECT_EQ(Status(), saved);
  EXPECT_FALSE(frame->windowTitle().endsWith('*'));
  stroke({50, 30});
  ProcessEvents();
  EXPECT_TRUE(frame->windowTitle().endsWith('*'));
  EXPECT_EQ(Status(), "");
  EXPECT_EQ(platform.unexpected, 0);
}

// ---- Help inside the editor ------------------------------------------------

TEST_F(FrameNotesTest, HelpMenuOpensTheGuideAndListsEveryShortcut) {
  QStringList titles;
  std::vector<ShortcutRow> listed;
  platform.onDialog = [&](QDialog& d) {
    titles << d.windowTitle();
    if (const auto* table = d.findChild<QTableWidget*>("shortcuts")) {
      for (int row = 0; row < table->rowCount(); ++row) {
        listed.push_back(
            {table->item(row, 0)->text(), table->item(row, 1)->text()});
      }
    }
    return int(QDialog::Rejected);
  };
  Command(IDM_HELP_GUIDE);
  // A shortcut added later appears by itself.
  QAction* extra =
      menuBarMenu(frame, "&Level")->addAction(QStringLiteral("&Later..."));
  extra->setShortcut(QKeySequence(QStringLiteral("Ctrl+L")));
  // Undo's item names its step; the list names the command.
  Command(IDM_LEVEL_ADD);
  ASSERT_EQ(frame->Action(IDM_EDIT_UNDO)->text(), "&Undo Add Level");
  Command(IDM_HELP_SHORTCUTS);
  EXPECT_EQ(titles, (QStringList{"User Guide", "Keyboard Shortcuts"}));

  const auto keys = [](const char* text) {
    return QKeySequence(QString::fromLatin1(text))
        .toString(QKeySequence::NativeText);
  };
  const std::vector<std::pair<QString, QString>> expected = {
      {"File > New", keys("Ctrl+N")},
      {"File > Save", keys("Ctrl+S")},
      {"File > Save As", keys("Ctrl+Shift+S")},
      {"File > Load", keys("Ctrl+O")},
      {"File > Exit", keys("Ctrl+Q")},
      {"Edit > Undo", keys("Ctrl+Z")},
      {"Edit > Redo", keys("Ctrl+Y") + ", " + keys("Ctrl+Shift+Z")},
      {"Level > Later", keys("Ctrl+L")},
      {"Help > Tips", keys("F1")},
  };
  for (const auto& [command, shortcut] : expected) {
    const auto found = std::find_if(
        listed.begin(), listed.end(),
        [&](const ShortcutRow& r) { return r.command == command; });
    ASSERT_NE(found, listed.end()) << command.toStdString();
    EXPECT_EQ(found->keys, shortcut) << command.toStdString();
  }
  // Every action with a shortcut is listed once.
  int withShortcuts = 0;
  for (const QAction* action : frame->findChildren<QAction*>()) {
    if (!action->shortcuts().isEmpty()) ++withShortcuts;
  }
  EXPECT_EQ(listed.size(), static_cast<std::size_t>(withShortcuts));
}

}  // namespace
