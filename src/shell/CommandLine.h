#pragma once

#include <QString>
#include <QStringList>

// What the editor's command line asks for: `plodderz-editor [FILE]`, with
// --help and --version answered on the terminal.
struct EditorCommandLine {
  bool run = true;      // false: the program ends with `exitCode` at once
  int exitCode = 0;     // 0 for --help and --version, 2 for a bad command line
  QString output;       // for standard output (help, version)
  QString errorOutput;  // for standard error (what was wrong, a usage line)
  QString file;         // the pack to open, empty for none
};

// Reads `arguments` (the program's name first). The application name and
// version must be set.
EditorCommandLine ParseEditorCommandLine(const QStringList& arguments);
