#pragma once

#include <QString>
#include <functional>

class QLineEdit;
class QToolBar;

// The status-bar notes and looks by which the level bar says what it will
// not take, so that no key or arrow is refused without a word.
namespace barnotes {

// A character the calculator cannot store was typed or pasted.
inline const QString kUnstorable =
    QStringLiteral("Only plain ASCII letters, digits and signs can be stored");
inline const QString kNameFull =
    QStringLiteral("A level name has at most 29 characters");
inline const QString kPasscodeFull =
    QStringLiteral("A passcode has 4 characters");
// The first level's passcode edit, which takes nothing.
inline const QString kNoPasscodeNeeded =
    QStringLiteral("The first level needs no passcode");
// The same, short enough for the edit itself.
inline const QString kNoPasscodePlaceholder = QStringLiteral("none");
// The level number's arrows at either end.
inline const QString kFirstLevel = QStringLiteral("Level 1 is the first level");
inline const QString kPackFull =
    QStringLiteral("A pack holds at most 9 levels");
// Delete Level on a pack of one level.
inline const QString kLastLevel =
    QStringLiteral("A pack needs at least one level");

// Adds the "of N" beside the level number to `bar`: a frameless read-only
// edit on the bar's background, so the bar keeps no static text of its own.
QLineEdit* AddLevelCount(QToolBar& bar);

// Calls `show` with a note whenever `edit` refuses a key or a paste: `full`
// when the edit holds as many characters as it takes, else kUnstorable (its
// validator takes printable ASCII only).
void NoteRefusedInput(QLineEdit& edit, const QString& full,
                      std::function<void(const QString&)> show);

// The passcode edit of the first level is read-only and looks so, and says
// why in its placeholder and tooltip; every other level's is a plain edit.
void ShowPasscodeNeeded(QLineEdit& edit, bool needed);

}  // namespace barnotes
