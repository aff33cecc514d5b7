#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class IPlatform;
class QDialog;
class QWidget;

// Help > User Guide and Help > Keyboard Shortcuts: windows that show
// information only and change nothing.

// README.md's "User guide" section as Markdown, taken from the README when
// the editor is built.
const char* UserGuideMarkdown();

// The guide's headings, in order, for its contents list: each "### "
// heading and each paragraph that begins with a bold title ending in a full
// stop ("**Drawing.** Choose ..." gives "Drawing"). Nothing inside a fenced
// code block counts.
QStringList GuideHeadings(const QString& markdown);

// One line of the shortcut list: where the command stands ("File > Save")
// and its keys ("Ctrl+S", more than one separated by ", ").
struct ShortcutRow {
  QString command;
  QString keys;
};

// The property an image-only button's action carries its name in, for a
// bar whose buttons have no tooltips ("Small black pen (B)").
inline constexpr const char* kCommandNameProperty = "commandName";

// Every shortcut of `window`'s actions, read from the actions themselves:
// first the menus' items in menu order ("Edit > Redo"), then actions with
// shortcuts outside the menus, named by their text, their command name or
// their tooltip.
std::vector<ShortcutRow> ShortcutRowsOf(const QWidget& window);

// Fills an empty dialog with the user guide, shown from its Markdown, with
// its contents (GuideHeadings) in a list beside it, where a click scrolls
// the guide to that heading, and a Close button.
void BuildUserGuideDialog(QDialog& dialog);
// Fills an empty dialog with a filter field, a two-column list of `rows`
// and a Close button. The window is as tall as the list (up to most of the
// screen's height); the filter keeps the rows whose command or keys hold
// what is typed, in either case.
void BuildShortcutsDialog(QDialog& dialog,
                          const std::vector<ShortcutRow>& rows);

int RunUserGuideDialog(IPlatform& platform, QWidget* parent);
int RunShortcutsDialog(IPlatform& platform, QWidget* parent,
                       const std::vector<ShortcutRow>& rows);
