#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstring>
#include <string>
#include <vector>

#include "FailingAllocation.h"
#include "RecordingFrame.h"
#include "model/LevelPack.h"
#include "packfile/PackFile.h"
#include "packfile/VariableFile.h"
#include "shell/FileCommands.h"
#include "support/ScriptedPlatform.h"

namespace {

using Answer = IPlatform::Answer;

struct Shown {
  QString text;
  QString caption;
  friend bool operator==(const Shown&, const Shown&) = default;
};

void PrintTo(const Shown& shown, std::ostream* os) {
  *os << '"' << shown.text.toStdString() << "\" / \""
      << shown.caption.toStdString() << '"';
}

const Shown kSaveChangesNew{"Save changes?", "Open New File"};
const Shown kSaveChangesExit{"Save changes?", "Ready to Exit"};

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

// Same author, password and levels; the first level's passcode only when
// asked (a file stores none for it).
void ExpectSamePack(const PackContents& want, const CLevelPack& pack,
                    bool firstPasscode) {
  EXPECT_EQ(pack.m_szAuthorName, want.m_szAuthorName);
  EXPECT_EQ(pack.m_szPassword, want.m_szPassword);
  ASSERT_EQ(pack.Count(), static_cast<int>(want.levels.size()));
  for (int i = 0; i < pack.Count(); ++i) {
    LevelRecord level = pack.Level(i);
    if (i == 0 && !firstPasscode) {
      std::strcpy(level.m_szPasscode, want.levels[0].m_szPasscode);
    }
    EXPECT_TRUE(level.SameLevelAs(want.levels[static_cast<std::size_t>(i)]))
        << "level " << i + 1;
  }
}

class FileCommandsTest : public ::testing::Test {
 protected:
  FileCommandsTest() {
    pack.NewPack();
    Complete(pack.Level(0));
  }
  ~FileCommandsTest() override { FailLevelAllocations(0); }

  static void Complete(CLevel& level) {
    level.PlaceObject({0, 40}, OBJ_ENTRANCE);
    level.PlaceObject({80, 40}, OBJ_EXIT);
  }

  // A pack that passes every pre-save check, with something in each level.
  void MakeSaveable(int levels) {
    while (pack.Count() < levels) {
      pack.AddLevel();
      Complete(pack.Level(pack.Count() - 1));
    }
    for (int i = 0; i < levels; ++i) {
      CLevel& level = pack.Level(i);
      for (int x = 0; x < 8 * level.m_nWidthBytes; x += 3) {
        level.SetPixel(x, 63 - i, true);
      }
      level.PlaceObject({16, 20 + i}, OBJ_BLOCK);
      level.m_nTime = 20000;
      level.m_nSpawnInterval = 220;
    }
    pack.Level(levels - 1).AddColumn();
    pack.Level(levels - 1).AddRow();
    pack.m_szAuthorName = "Ann";
    pack.m_szPassword = "Secret";
    pack.m_bModified = true;
  }

  QString Path(const QString& name) const { return dir.filePath(name); }

  std::vector<Shown> Messages() const {
    std::vector<Shown> shown;
    for (const auto& m : platform.messages)
      shown.push_back({m.text, m.caption});
    return shown;
  }

  void AcceptPasswords() {
    frame.onPassword = [](const std::string&) { return true; };
  }

  QTemporaryDir dir;
  CLevelPack pack;
  ScriptedPlatform platform;
  RecordingFrame frame;
  CFileCommands commands{pack, platform, frame};
};

// ---- Save As: checks -------------------------------------------------------

TEST_F(FileCommandsTest, SaveAsChecksRunInOrderAndShowTheFirstOffendingLevel) {
  const Shown passcodes{
      "Make sure all passcodes are EXACTLY four characters long.",
      "Save Error"};
  const Shown incomplete{
      "Before saving, you must position both an entrance and an exit.",
      "Level Incomplete"};
  const Shown security{
      "Before saving, please provide a password to protect your Plodpak.",
      "Security Information"};
  const struct {
    const char* what;
    std::function<void(CLevelPack&)> spoil;
    Shown message;
    int wantLevel;
  } cases[] = {
      {"passcodes come first",
       [](CLevelPack& p) {
         std::strcpy(p.Level(2).m_szPasscode, "ABC");
         p.Level(0).m_objects[EXIT_SLOT].kind = OBJ_NONE;
       },
       passcodes, 2},
      {"first short passcode wins",
       [](CLevelPack& p) {
         std::strcpy(p.Level(1).m_szPasscode, "");
         std::strcpy(p.Level(2).m_szPasscode, "A");
       },
       passcodes, 1},
      {"first level's passcode is never tested",
       [](CLevelPack& p) {
         std::strcpy(p.Level(0).m_szPasscode, "A");
         p.Level(1).m_objects[ENTRANCE_SLOT].kind = OBJ_NONE;
       },
       incomplete, 1},
      {"missing exit",
       [](CLevelPack& p) { p.Level(2).m_objects[EXIT_SLOT] = {}; }, incomplete,
       2},
      {"no author", [](CLevelPack& p) { p.m_szAuthorName.clear(); }, security,
       1},
      {"no password", [](CLevelPack& p) { p.m_szPassword.clear(); }, security,
       1},
  };
  MakeSaveable(3);
  const PackContents good = pack.Contents();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(pack.ReplaceWithLoaded(good));
    pack.m_nCurLevel = 1;
    pack.m_bModified = true;
    pack.m_szFilePath.clear();
    c.spoil(pack);
    platform.messages.clear();
    platform.fileDialogs.clear();
    frame.calls.clear();

    EXPECT_FALSE(commands.SaveAs());

    EXPECT_EQ(Messages(), std::vector<Shown>{c.message});
    EXPECT_EQ(platform.messages[0].buttons, IPlatform::Buttons::Ok);
    EXPECT_EQ(platform.messages[0].icon, IPlatform::Icon::None);
    EXPECT_EQ(pack.m_nCurLevel, c.wantLevel);
    EXPECT_TRUE(platform.fileDialogs.empty());
    EXPECT_TRUE(pack.m_bModified);
    EXPECT_TRUE(pack.m_szFilePath.empty());
    const bool askedSecurity = c.message == security;
    EXPECT_EQ(frame.calls, askedSecurity ? std::vector<std::string>{"security"}
                                         : std::vector<std::string>{"refresh"});
  }
  EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST_F(FileCommandsTest,
       SecurityDialogFillsTheMissingFieldsThenTheFileIsAsked) {
  MakeSaveable(1);
  pack.m_szAuthorName.clear();
  frame.onSecurity = [this] {
    pack.m_szAuthorName = "Bo";
    pack.m_szPassword = "pw";
    pack.m_bModified = true;
    return true;
  };
  platform.answers = {Answer::Ok};
  platform.fileNames = {Path("secure")};

  ASSERT_TRUE(commands.SaveAs());

  EXPECT_EQ(frame.calls[0], "security");
  ASSERT_EQ(platform.fileDialogs.size(), 1u);
  const auto& asked = platform.fileDialogs[0];
  EXPECT_TRUE(asked.save);
  EXPECT_EQ(asked.title, "Save Plodder Level Pack");
  EXPECT_EQ(asked.filters,
            "83 Programs (*.83p *.83P);;83+ Programs (*.8xp *.8XP)");
  EXPECT_EQ(asked.folder, QDir::homePath());

  PackContents read;
  std::string error;
  ASSERT_TRUE(LoadPackFile(Path("secure.83p").toStdString(), read, error))
      << error;
  EXPECT_EQ(read.m_szAuthorName, "Bo");
  EXPECT_EQ(read.m_szPassword, "pw");
}

// ---- Save As: the file -----------------------------------------------------

TEST_F(FileCommandsTest, SaveAsAddsTheExtensionOnlyWhenTheNameHasNone) {
  ASSERT_TRUE(QDir(dir.path()).mkdir("dotted.dir"));
  const struct {
    QString chosen;
    QString written;
  } cases[] = {
      {"mypack", "mypack.83p"},
      {"my.pack", "my.pack"},
      {"upper.83P", "upper.83P"},
      {"dotted.dir/plain", "dotted.dir/plain.83p"},
  };
  MakeSaveable(2);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.chosen.toStdString());
    pack.m_bModified = true;
    platform.fileNames = {Path(c.chosen)};

    ASSERT_TRUE(commands.SaveAs());

    EXPECT_EQ(pack.m_szFilePath, Path(c.written).toStdString());
    EXPECT_FALSE(pack.m_bModified);
    EXPECT_TRUE(ReadFile(Path(c.written)).startsWith("**TI83**"));
    EXPECT_EQ(frame.status.back(), "Saved " + Path(c.written));
  }
  EXPECT_TRUE(Messages().empty());
  // Save As starts in the folder of the pack's file.
  EXPECT_EQ(platform.fileDialogs.back().folder, dir.path());
  EXPECT_EQ(commands.StartFolder(), Path("dotted.dir"));
}

TEST_F(FileCommandsTest, SaveWritesAtOnceOnlyWhenThereIsAFileAndAChange) {
  MakeSaveable(2);
  // Save writes without the pre-save checks.
  std::strcpy(pack.Level(1).m_szPasscode, "AB");
  pack.Level(1).m_objects[EXIT_SLOT].kind = OBJ_NONE;
  pack.m_szFilePath = Path("quick.83p").toStdString();

  pack.m_bModified = false;
  EXPECT_TRUE(commands.Save());
  EXPECT_FALSE(QFileInfo::exists(Path("quick.83p")));

  pack.m_bModified = true;
  EXPECT_TRUE(commands.Save());
  EXPECT_TRUE(QFileInfo::exists(Path("quick.83p")));
  EXPECT_FALSE(pack.m_bModified);
  EXPECT_TRUE(Messages().empty());
  EXPECT_TRUE(platform.fileDialogs.empty());

  // With no file yet, Save is Save As: checks first.
  pack.m_szFilePath.clear();
  pack.m_bModified = true;
  EXPECT_FALSE(commands.Save());
  EXPECT_EQ(Messages().at(0).caption, "Save Error");
}

TEST_F(FileCommandsTest, AFailedSaveIsReportedAndLosesNothing) {
  MakeSaveable(1);
  const QString existing = Path("kept.83p");
  WriteFile(existing, "previous contents");

  const struct {
    const char* what;
    QString path;
    bool tooLarge;
    QString reasonPart;
  } cases[] = {
      {"folder missing", Path("missing/pack.83p"), false, ""},
      {"pack too large", existing, true, "9926"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.tooLarge) {
      // Nine levels of noise: far too large for a file.
      while (pack.Count() < MAX_LEVELS) {
        pack.AddLevel();
        Complete(pack.Level(pack.Count() - 1));
      }
      for (int i = 0; i < pack.Count(); ++i) {
        CLevel& level = pack.Level(i);
        while (level.m_nHeight > MIN_HEIGHT) level.RemoveRow();
        while (level.m_nWidthBytes < MAX_WIDTH_BYTES) level.AddColumn();
        for (int b = 0; b < level.BitmapBytes(); ++b) {
          level.m_bitmap[b] =
              static_cast<std::uint8_t>((b * 37 + i * 11) ^ (b >> 3));
        }
      }
    }
    pack.m_szFilePath = c.path.toStdString();
    pack.m_bModified = true;
    platform.messages.clear();
    platform.answers = {Answer::Ok};

    EXPECT_FALSE(commands.Save());

    ASSERT_EQ(platform.messages.size(), 1u);
    const auto& shown = platform.messages[0];
    EXPECT_EQ(shown.caption, "Save Error");
    EXPECT_EQ(shown.icon, IPlatform::Icon::Exclamation);
    EXPECT_TRUE(shown.text.contains(c.path)) << shown.text.toStdString();
    EXPECT_TRUE(shown.text.contains(c.reasonPart)) << shown.text.toStdString();
    EXPECT_GT(shown.text.size(), c.path.size() + 20);  // a reason is given
    EXPECT_TRUE(pack.m_bModified);
    EXPECT_EQ(pack.m_szFilePath, c.path.toStdString());
  }
  EXPECT_EQ(ReadFile(existing), "previous contents");
  EXPECT_FALSE(QFileInfo::exists(Path("missing")));
}

TEST_F(FileCommandsTest, AFailedSaveAsKeepsTheFileOfThePack) {
  MakeSaveable(1);
  pack.m_szFilePath = Path("first.83p").toStdString();
  platform.fileNames = {Path("nowhere/second.83p")};
  platform.answers = {Answer::Ok};
  EXPECT_FALSE(commands.SaveAs());
  EXPECT_EQ(pack.m_szFilePath, Path("first.83p").toStdString());
  EXPECT_TRUE(pack.m_bModified);
}

// ---- Save changes? ---------------------------------------------------------

enum class Command { New, Load, Close };

TEST_F(FileCommandsTest, SaveChangesQuestionDecidesWhetherTheCommandGoesOn) {
  const struct {
    const char* what;
    Command command;
    bool modified;
    const char* file;  // the pack's file, "" for none
    std::vector<Answer> answers;
    bool wantGoOn;
    bool wantWritten;
  } cases[] = {
      {"New, unmodified: no question",
       Command::New,
       false,
       "a.83p",
       {},
       true,
       false},
      {"New, Cancel",
       Command::New,
       true,
       "a.83p",
       {Answer::Cancel},
       false,
       false},
      {"New, No", Command::New, true, "a.83p", {Answer::No}, true, false},
      {"New, Yes", Command::New, true, "a.83p", {Answer::Yes}, true, true},
      {"New, Yes, Save As cancelled",
       Command::New,
       true,
       "",
       {Answer::Yes},
       false,
       false},
      {"New, Yes, write fails",
       Command::New,
       true,
       "gone/a.83p",
       {Answer::Yes, Answer::Ok},
       false,
       false},
      {"Exit, unmodified", Command::Close, false, "", {}, true, false},
      {"Exit, Cancel",
       Command::Close,
       true,
       "a.83p",
       {Answer::Cancel},
       false,
       false},
      {"Exit, No", Command::Close, true, "a.83p", {Answer::No}, true, false},
      {"Exit, Yes", Command::Close, true, "a.83p", {Answer::Yes}, true, true},
      {"Exit, Yes, write fails",
       Command::Close,
       true,
       "gone/a.83p",
       {Answer::Yes, Answer::Ok},
       false,
       false},
      {"Load, Cancel",
       Command::Load,
       true,
       "a.83p",
       {Answer::Cancel},
       false,
       false},
      {"Load, Yes", Command::Load, true, "a.83p", {Answer::Yes}, true, true},
  };
  MakeSaveable(2);
  std::strcpy(pack.Level(0).m_szName, "Mine");
  const PackContents mine = pack.Contents();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    QFile::remove(Path("a.83p"));
    ASSERT_TRUE(pack.ReplaceWithLoaded(mine));
    // The first level got a fresh passcode from a generator seeded with the
    // clock: compare with the pack as it stands now, not with `mine`.
    const PackContents before = pack.Contents();
    pack.m_bModified = c.modified;
    pack.m_szFilePath = *c.file ? Path(c.file).toStdString() : "";
    const std::string file = pack.m_szFilePath;
    platform.messages.clear();
    platform.fileDialogs.clear();
    platform.unexpected = 0;
    platform.answers.assign(c.answers.begin(), c.answers.end());
    frame.calls.clear();

    bool wentOn = false;
    switch (c.command) {
      case Command::New:
        commands.New();
        wentOn = std::string(pack.Level(0).m_szName) != "Mine";
        break;
      case Command::Load:
        // The open dialog, cancelled here, shows that the load went on.
        commands.Load();
        wentOn =
            !platform.fileDialogs.empty() && !platform.fileDialogs.back().save;
        break;
      case Command::Close:
        wentOn = commands.CanClose();
        break;
    }

    EXPECT_EQ(wentOn, c.wantGoOn);
    EXPECT_EQ(QFileInfo::exists(Path("a.83p")), c.wantWritten);
    if (c.modified) {
      EXPECT_EQ(Messages().at(0), c.command == Command::Close
                                      ? kSaveChangesExit
                                      : kSaveChangesNew);
      EXPECT_EQ(platform.messages[0].buttons, IPlatform::Buttons::YesNoCancel);
      EXPECT_EQ(platform.messages[0].icon, IPlatform::Icon::Question);
    } else {
      EXPECT_TRUE(Messages().empty());
    }
    if (!c.wantGoOn) {
      ExpectSamePack(before, pack, true);
      EXPECT_EQ(pack.m_szFilePath, file);
      EXPECT_TRUE(pack.m_bModified);
    }
  }
}

TEST_F(FileCommandsTest, NewMakesAFreshPackWithNoFileAndKeepsTheFlag) {
  MakeSaveable(4);
  pack.m_nCurLevel = 3;
  pack.m_szFilePath = Path("old.83p").toStdString();
  platform.answers = {Answer::No};

  ASSERT_TRUE(commands.New());

  EXPECT_EQ(pack.Count(), 1);
  EXPECT_EQ(pack.m_nCurLevel, 0);
  EXPECT_EQ(std::string(pack.Level(0).m_szName), "Level 1 Name");
  EXPECT_TRUE(pack.m_szAuthorName.empty());
  EXPECT_TRUE(pack.m_szPassword.empty());
  EXPECT_TRUE(pack.m_szFilePath.empty());
  EXPECT_TRUE(pack.m_bModified);  // still unsaved: the next New asks again
  EXPECT_EQ(frame.calls, std::vector<std::string>{"refresh"});
}

// ---- Load ------------------------------------------------------------------

TEST_F(FileCommandsTest, SavedPackLoadsBackFromALongPath) {
  // Far longer than the 114 characters a path was once cut to.
  const QString folder = QString(60, 'f') + "/" + QString(70, 'g');
  ASSERT_TRUE(QDir(dir.path()).mkpath(folder));
  const QString path = Path(folder + "/round trip.83p");
  ASSERT_GT(path.size(), 150);

  MakeSaveable(3);
  std::strcpy(pack.Level(1).m_szName, "Second");
  std::strcpy(pack.Level(2).m_szPasscode, "WXYZ");
  const PackContents saved = pack.Contents();
  platform.fileNames = {path};
  ASSERT_TRUE(commands.SaveAs());

  // Changes made after the save are given up when the file is opened.
  std::strcpy(pack.Level(0).m_szName, "Changed");
  pack.m_bModified = true;
  pack.m_nCurLevel = 2;
  platform.answers = {Answer::No};
  platform.fileNames = {path};
  AcceptPasswords();

  ASSERT_TRUE(commands.Load());

  ExpectSamePack(saved, pack, false);
  EXPECT_EQ(pack.m_szFilePath, path.toStdString());
  EXPECT_FALSE(pack.m_bModified);
  EXPECT_EQ(pack.m_nCurLevel, 0);
  EXPECT_EQ(std::strlen(pack.Level(0).m_szPasscode), 4u);
  EXPECT_EQ(frame.calls,
            (std::vector<std::string>{"password Secret", "refresh"}));
  EXPECT_EQ(Messages(), std::vector<Shown>{kSaveChangesNew});

  const auto& asked = platform.fileDialogs.back();
  EXPECT_FALSE(asked.save);
  EXPECT_EQ(asked.title, "Open Plodder Level Pack");
  EXPECT_EQ(asked.filters,
            "83 Programs (*.83p *.83P);;83+ Programs (*.8xp *.8XP);;All Files "
            "(*)");
  EXPECT_EQ(asked.folder, Path(folder));

  VariableFile container;
  PackContents again;
  std::string error;
  ASSERT_TRUE(LoadPackFile(path.toStdString(), again, error, &container));
  EXPECT_EQ(container.name, "ROUNDATR");
  EXPECT_EQ(container.comment, "Plodpak by Ann");
}

TEST_F(FileCommandsTest, A8xpPackIsWrittenForTheTi83PlusAndLoads) {
  MakeSaveable(2);
  const PackContents saved = pack.Contents();
  platform.fileNames = {Path("plus.8xp"), Path("plus.8xp")};
  ASSERT_TRUE(commands.SaveAs());
  EXPECT_TRUE(ReadFile(Path("plus.8xp")).startsWith("**TI83F*"));

  pack.NewPack();
  AcceptPasswords();
  ASSERT_TRUE(commands.Load());
  ExpectSamePack(saved, pack, false);
  EXPECT_EQ(pack.m_szFilePath, Path("plus.8xp").toStdString());
}

TEST_F(FileCommandsTest, ARefusedOrCancelledLoadChangesNothing) {
  MakeSaveable(2);
  platform.fileNames = {Path("good.83p")};
  ASSERT_TRUE(commands.SaveAs());
  const QByteArray good = ReadFile(Path("good.83p"));

  std::vector<std::uint8_t> other;
  std::string error;
  const std::uint8_t program[] = {0xDE, 0x2A, 0x22, 0x48, 0x49, 0x22};
  ASSERT_TRUE(
      EncodeVariableFile("Some program", "OTHER", program, 0x06, other, error));

  QByteArray flipped = good;
  flipped[80] = static_cast<char>(flipped[80] ^ 0x10);
  const struct {
    const char* what;
    QByteArray bytes;  // empty: no file at all
    bool refused;
  } cases[] = {
      {"no such file", {}, true},
      {"checksum broken", flipped, true},
      {"cut short", good.left(good.size() - 9), true},
      {"another program",
       QByteArray(reinterpret_cast<const char*>(other.data()),
                  static_cast<qsizetype>(other.size())),
       true},
      {"password prompt cancelled", good, false},
  };

  std::strcpy(pack.Level(0).m_szName, "Unsaved");
  pack.m_bModified = true;
  pack.m_nCurLevel = 1;
  const PackContents before = pack.Contents();
  const std::string file = pack.m_szFilePath;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const QString path = Path("try.83p");
    QFile::remove(path);
    if (!c.bytes.isEmpty()) WriteFile(path, c.bytes);
    platform.messages.clear();
    platform.answers = {Answer::No, Answer::Ok};
    platform.fileNames = {path};
    frame.calls.clear();
    frame.onPassword = [](const std::string&) { return false; };

    EXPECT_FALSE(commands.Load());

    if (c.refused) {
      EXPECT_EQ(
          Messages(),
          (std::vector<Shown>{kSaveChangesNew,
                              {path + " is not a valid Plodpak.", "Uh-Oh!"}}));
      EXPECT_EQ(platform.messages[1].icon, IPlatform::Icon::Exclamation);
      EXPECT_EQ(frame.calls, std::vector<std::string>{"refresh"});
    } else {
      EXPECT_EQ(Messages(), std::vector<Shown>{kSaveChangesNew});
      EXPECT_EQ(frame.calls,
                (std::vector<std::string>{"password Secret", "refresh"}));
    }
    ExpectSamePack(before, pack, true);
    EXPECT_EQ(pack.m_szFilePath, file);
    EXPECT_TRUE(pack.m_bModified);
    EXPECT_EQ(pack.m_nCurLevel, 1);
  }

  // The open dialog cancelled: nothing is read, the view still refreshed.
  platform.messages.clear();
  platform.answers = {Answer::No};
  frame.calls.clear();
  EXPECT_FALSE(commands.Load());
  EXPECT_EQ(frame.calls, std::vector<std::string>{"refresh"});
  ExpectSamePack(before, pack, true);
}

TEST_F(FileCommandsTest, RunningOutOfMemoryWhileLoadingKeepsThePackBefore) {
  MakeSaveable(3);
  platform.fileNames = {Path("three.83p")};
  ASSERT_TRUE(commands.SaveAs());

  pack.NewPack();
  pack.AddLevel();
  std::strcpy(pack.Level(1).m_szName, "Before");
  pack.m_nCurLevel = 1;
  pack.m_bModified = true;
  pack.m_szFilePath.clear();
  const PackContents before = pack.Contents();

  platform.answers = {Answer::No, Answer::Ok};
  platform.fileNames = {Path("three.83p")};
  AcceptPasswords();
  FailLevelAllocations(1, 1);  // the second level of the file fails

  EXPECT_FALSE(commands.Load());

  EXPECT_EQ(Messages().back(),
            (Shown{"Not enough memory!", "Level Addition Error"}));
  ExpectSamePack(before, pack, true);
  EXPECT_EQ(pack.m_nCurLevel, 1);
  EXPECT_TRUE(pack.m_bModified);
  EXPECT_TRUE(pack.m_szFilePath.empty());
}

}  // namespace
