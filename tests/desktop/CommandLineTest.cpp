#include <gtest/gtest.h>

#include "shell/CommandLine.h"
#include "shell/EditorApp.h"

namespace {

TEST(CommandLineTest, ReadsAFileTheAnswersAndTheMistakes) {
  CEditorApp::SetApplicationNames();
  const struct {
    QStringList arguments;
    bool run;
    int exitCode;
    const char* file;
    const char* outputHas;
    const char* errorHas;
  } kCases[] = {
      {{}, true, 0, "", "", ""},
      {{"pack.83p"}, true, 0, "pack.83p", "", ""},
      {{"--", "--odd-name.8xp"}, true, 0, "--odd-name.8xp", "", ""},
      // Qt's own options pass to the application object untouched.
      {{"-platform", "offscreen", "pack.83p"}, true, 0, "pack.83p", "", ""},
      {{"--help"}, false, 0, "", "Usage: plodderz-editor [options] [FILE]", ""},
      {{"--version"}, false, 0, "", "plodderz-editor 1.0.0\n", ""},
      {{"--frobnicate"},
       false,
       2,
       "",
       "",
       "plodderz-editor: Unknown option 'frobnicate'.\n"
       "Usage: plodderz-editor [--help] [--version] [FILE]\n"},
      {{"a.83p", "b.83p"}, false, 2, "", "", "Usage: plodderz-editor"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.arguments.join(' ').toStdString());
    const EditorCommandLine line =
        ParseEditorCommandLine(QStringList{"plodderz-editor"} + c.arguments);
    EXPECT_EQ(line.run, c.run);
    EXPECT_EQ(line.exitCode, c.exitCode);
    EXPECT_EQ(line.file, QString::fromUtf8(c.file));
    EXPECT_TRUE(line.output.contains(QString::fromUtf8(c.outputHas)))
        << line.output.toStdString();
    EXPECT_TRUE(line.errorOutput.contains(QString::fromUtf8(c.errorHas)))
        << line.errorOutput.toStdString();
    if (c.run) {
      EXPECT_TRUE(line.output.isEmpty() && line.errorOutput.isEmpty());
    }
  }
}

}  // namespace
