#pragma once

#include <string>
#include <vector>

#include "model/Geometry.h"
#include "model/LevelPack.h"
#include "packfile/VariableFile.h"

// The pack check: everything that would stop Save As (errors), what the
// game's own advice and plain mistakes say about a level (warnings), and
// advice that holds for every level as the editor makes it (notes), for the
// editor's Problems panel, its Save and plodpak verify. Only errors make a
// pack not ready; notes are not counted with the warnings.

enum class ProblemSeverity { Error, Warning, Note };

enum class ProblemKind {
  // Errors, in the order Save As checks them.
  PasscodeLength,  // a level after the first without a four-character code
  NoEntrance,
  NoExit,
  NoSecurityInfo,  // no author or no password
  PackTooLarge,    // or any other limit of the file the encoder refuses
  // Warnings.
  NearEdge,         // terrain or an object within 8 pixels of a side
  ExitNotOnGround,  // no terrain right under the exit's bottom row
  // Overlaps are decided by the pixels an object draws (its sprite's set
  // pixels, as the canvas shows it), not by its 16 x 16 box.
  ObjectOverTerrain,  // the entrance or the exit overlaps terrain
  ObjectsOverlap,
  SamePasscode,
  PasscodeNotLetters,  // anything but A to Z
  // Notes.
  NoSpare,  // as many to save as there are Plodders (a new level's default)
};

struct PackProblem {
  ProblemSeverity severity = ProblemSeverity::Error;
  ProblemKind kind = ProblemKind::PasscodeLength;
  int level = -1;    // zero-based; -1 for the pack as a whole
  Point at{-1, -1};  // the level pixel to show; x < 0 when there is none
  std::string text;  // "level 4 has no exit"
  // What to mark on the level when the problem is shown, in level pixels:
  // the boxes of the objects concerned and runs of the terrain pixels
  // concerned (one row high). Empty when nothing in the level shows it.
  std::vector<Rect> marks;

  bool IsError() const { return severity == ProblemSeverity::Error; }
  bool IsNote() const { return severity == ProblemSeverity::Note; }
};

// Pixels from the left and right edges the game's advice keeps clear.
inline constexpr int EDGE_MARGIN = 8;

// Every problem of the pack: first the errors in the order Save As meets
// them (passcodes of levels 2 to 9, entrances and exits level by level, the
// security info, the size of the file for `flavour`), then the warnings
// level by level, then the notes level by level. A pack without problems
// gives an empty list. The first
// level's passcode is never stored and is not checked.
std::vector<PackProblem> CheckPack(
    const PackContents& pack, VariableFlavour flavour = VariableFlavour::TI83);

// How many of the problems are errors, and how many are of `severity`.
int CountErrors(const std::vector<PackProblem>& problems);
int CountOf(const std::vector<PackProblem>& problems, ProblemSeverity severity);
