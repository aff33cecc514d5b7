#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <optional>
#include <string>

#include "RecordingFrame.h"
#include "model/LevelPack.h"
#include "shell/FileCommands.h"
#include "support/ScriptedPlatform.h"

namespace {

using Answer = IPlatform::Answer;

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

// Save As with a name typed without extension: the file dialog asked about
// that name only, so the file the pack is written to, with ".83p" added,
// must not be replaced without a question of its own.
TEST(FileCommandsConformanceTest,
     SaveAsAsksBeforeReplacingTheFileWithAddedExtension) {
  const struct {
    const char* what;
    const char* typed;
    bool exists;                   // "caves.83p" is there before the save
    std::optional<Answer> answer;  // to the replace question, when asked
    bool written;
  } kCases[] = {
      {"kept on No", "caves", true, Answer::No, false},
      {"replaced on Yes", "caves", true, Answer::Yes, true},
      {"new file, no question", "caves", false, std::nullopt, true},
      {"the dialog asked about this name", "caves.83p", true, std::nullopt,
       true},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString target = dir.filePath("caves.83p");
    if (c.exists) {
      QFile file(target);
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      file.write("previous pack");
    }
    CLevelPack pack;
    ASSERT_TRUE(pack.NewPack());
    pack.Current().PlaceObject({0, 40}, OBJ_ENTRANCE);
    pack.Current().PlaceObject({80, 40}, OBJ_EXIT);
    pack.m_szAuthorName = "Ann";
    pack.m_szPassword = "Secret";
    pack.m_bModified = true;
    ScriptedPlatform platform;
    RecordingFrame frame;
    CFileCommands commands(pack, platform, frame);
    platform.fileNames = {dir.filePath(QString::fromLatin1(c.typed))};
    if (c.answer) platform.answers = {*c.answer};

    EXPECT_EQ(commands.SaveAs(), c.written);

    if (c.answer) {
      ASSERT_EQ(platform.messages.size(), 1u);
      const auto& asked = platform.messages[0];
      EXPECT_EQ(asked.text,
                "caves.83p already exists.\nDo you want to "
                "replace it?");
      EXPECT_EQ(asked.caption, "Save Plodder Level Pack");
      EXPECT_EQ(asked.buttons, IPlatform::Buttons::YesNo);
      EXPECT_EQ(asked.icon, IPlatform::Icon::Exclamation);
    } else {
      EXPECT_TRUE(platform.messages.empty());
    }
    EXPECT_EQ(platform.unexpected, 0);
    if (c.written) {
      EXPECT_TRUE(ReadFile(target).startsWith("**TI83**"));
      EXPECT_EQ(pack.m_szFilePath, target.toStdString());
      EXPECT_FALSE(pack.m_bModified);
    } else {
      EXPECT_EQ(ReadFile(target), "previous pack");
      EXPECT_TRUE(pack.m_szFilePath.empty());
      EXPECT_TRUE(pack.m_bModified);
    }
  }
}

}  // namespace
