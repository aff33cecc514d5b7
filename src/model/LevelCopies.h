#pragma once

#include "model/LevelPack.h"

// Copies of levels inside a pack: Duplicate Level and Paste Level.

// Gives `level` a passcode of four capitals that no level of the pack has.
void GiveFreshPasscode(const CLevelPack& pack, LevelRecord& level);

// Gives `level`, a copy of a level of the pack, a name no level of the pack
// has: its name with " (copy)", or " (copy 2)", " (copy 3)" and on when that
// is taken. A name that already ends in such a suffix gives it up first, so
// a copy of "Cave (copy)" is "Cave (copy 2)". The name is cut, never the
// suffix, so the whole fits NAME_CHARS characters.
void GiveCopyName(const CLevelPack& pack, LevelRecord& level);

// Inserts a copy of `record` at `index` (0 to Count()) and makes it current;
// the levels from `index` on move one place down. The new level keeps its
// own serial. False, with the pack unchanged, when no memory could be had.
// Must not be called with MAX_LEVELS levels.
bool InsertLevelCopy(CLevelPack& pack, int index, const LevelRecord& record);
