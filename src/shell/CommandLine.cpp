#include "shell/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

EditorCommandLine ParseEditorCommandLine(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Plodderz Level File Maker: draws the levels of a Plodderz level pack "
      "for TI-83 and TI-83 Plus calculators."));
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  parser.addPositionalArgument(
      QStringLiteral("FILE"),
      QStringLiteral("A pack file (.83p or .8xp) to open."),
      QStringLiteral("[FILE]"));

  // The options Qt itself reads (-platform, -style, ...) pass untouched: the
  // command line is read before the application object takes them.
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  for (const char* name :
       {"platform", "platformpluginpath", "platformtheme", "plugin",
        "qwindowgeometry", "qwindowtitle", "qwindowicon", "style", "stylesheet",
        "session", "display", "geometry"}) {
    QCommandLineOption option(QString::fromLatin1(name), QString(),
                              QStringLiteral("value"));
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
  }
  for (const char* name :
       {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
    QCommandLineOption option(QString::fromLatin1(name));
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
  }

  EditorCommandLine result;
  const QString usage =
      QStringLiteral("Usage: %1 [--help] [--version] [FILE]\n")
          .arg(QCoreApplication::applicationName());
  const auto refuse = [&](const QString& why) {
    result.run = false;
    result.exitCode = 2;
    result.errorOutput =
        QStringLiteral("%1: %2\n%3")
            .arg(QCoreApplication::applicationName(), why, usage);
  };
  if (!parser.parse(arguments)) {
    refuse(parser.errorText());
    return result;
  }
  if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
    result.run = false;
    // Read before the application object exists, the parser does not know
    // the program's name.
    result.output =
        parser.helpText().replace(QStringLiteral("<executable_name>"),
                                  QCoreApplication::applicationName());
    return result;
  }
  if (parser.isSet(version)) {
    result.run = false;
    result.output =
        QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(),
                                      QCoreApplication::applicationVersion());
    return result;
  }
  const QStringList files = parser.positionalArguments();
  if (files.size() > 1) {
    refuse(QStringLiteral("only one file can be opened at a time."));
    return result;
  }
  if (!files.isEmpty()) result.file = files.front();
  return result;
}
