#pragma once

#include <string>
#include <vector>

#include "model/Geometry.h"
#include "model/LevelPack.h"
#include "packfile/VariableFile.h"

// The pack check: everything that would stop Save As (errors) and what the
// game's own advice and plain mistakes say about a level (warnings), for the
// editor's Problems panel, its Save and plodpak verify.

enum class ProblemSeverity { Error, Warning };

enum class ProblemKind {
  // Errors, in the order Save As checks them.
  PasscodeLength,  // a level after the first without a four-character code
  NoEntrance,
  NoExit,
  NoSecurityInfo,  // no author or no password
  PackTooLarge,    // or any other limit of the file the encoder refuses
  // Warnings.
  NearEdge,           // terrain or an object within 8 pixels of a side
  ExitNotOnGround,    // no terrain right under the exit's bottom row
  ObjectOverTerrain,  // the entrance or the exit overlaps terrain
  ObjectsOverlap,
  SamePasscode,
  PasscodeNotLetters,  // anything but A to Z
  NoSpare,             // as many to save as there are Plodders
};

struct PackProblem {
  ProblemSeverity severity = ProblemSeverity::Error;
  ProblemKind kind = ProblemKind::PasscodeLength;
  int level = -1;    // zero-based; -1 for the pack as a whole
  Point at{-1, -1};  // the level pixel to show; x < 0 when there is none
  std::string text;  // "level 4 has no exit"

  bool IsError() const { return severity == ProblemSeverity::Error; }
};

// Pixels from the left and right edges the game's advice keeps clear.
inline constexpr int EDGE_MARGIN = 8;

// Every problem of the pack: first the errors in the order Save As meets
// them (passcodes of levels 2 to 9, entrances and exits level by level, the
// security info, the size of the file for `flavour`), then the warnings
// level by level. A pack without problems gives an empty list. The first
// level's passcode is never stored and is not checked.
std::vector<PackProblem> CheckPack(
    const PackContents& pack, VariableFlavour flavour = VariableFlavour::TI83);

// How many of the problems are errors.
int CountErrors(const std::vector<PackProblem>& problems);
