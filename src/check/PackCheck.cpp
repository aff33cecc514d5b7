#include "check/PackCheck.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "packfile/PackFile.h"

namespace {

std::string LevelName(int index) {
  return "level " + std::to_string(index + 1);
}

// "entrance", "exit", "block 4".
std::string SlotName(int slot) {
  if (slot == ENTRANCE_SLOT) return "entrance";
  if (slot == EXIT_SLOT) return "exit";
  return "block " + std::to_string(slot - FIRST_BLOCK_SLOT + 1);
}

// "level 3's block 4".
std::string ObjectName(int index, int slot) {
  return LevelName(index) + "'s " + SlotName(slot);
}

Point ObjectPixel(const LevelObject& object) {
  return {8 * object.col, object.row};
}

class Checker {
 public:
  explicit Checker(std::vector<PackProblem>& out) : m_out(out) {}

  void Add(ProblemSeverity severity, ProblemKind kind, int level, Point at,
           std::string text) {
    m_out.push_back({severity, kind, level, at, std::move(text)});
  }
  void Error(ProblemKind kind, int level, Point at, std::string text) {
    Add(ProblemSeverity::Error, kind, level, at, std::move(text));
  }
  void Warn(ProblemKind kind, int level, Point at, std::string text) {
    Add(ProblemSeverity::Warning, kind, level, at, std::move(text));
  }

 private:
  std::vector<PackProblem>& m_out;
};

constexpr Point kNowhere{-1, -1};

bool ObjectInUse(const LevelRecord& level, int slot) {
  return level.m_objects[slot].kind != OBJ_NONE;
}

// The first terrain pixel of byte column `col`, scanning rows downwards;
// x < 0 when the column is clear.
Point FirstTerrainInColumn(const LevelRecord& level, int col) {
  for (int y = 0; y < level.m_nHeight; ++y) {
    const std::uint8_t byte = level.m_bitmap[y * level.m_nWidthBytes + col];
    if (byte == 0) continue;
    int bit = 0;
    while ((byte & (0x80 >> bit)) == 0) ++bit;
    return {8 * col + bit, y};
  }
  return kNowhere;
}

// The first terrain pixel under a 16 x 16 object; x < 0 when there is none.
// An object's left edge is a byte column, so it covers two whole bytes.
Point TerrainUnder(const LevelRecord& level, const LevelObject& object) {
  const int w = level.m_nWidthBytes;
  const int bottom = std::min<int>(object.row + OBJECT_SIZE, level.m_nHeight);
  for (int y = object.row; y < bottom; ++y) {
    for (int b = object.col; b < object.col + 2 && b < w; ++b) {
      if (level.m_bitmap[y * w + b] != 0) return {8 * b, y};
    }
  }
  return kNowhere;
}

void CheckEdges(Checker& check, const LevelRecord& level, int index) {
  const int last = level.m_nWidthBytes - 1;
  const Point left = FirstTerrainInColumn(level, 0);
  if (left.x >= 0) {
    check.Warn(
        ProblemKind::NearEdge, index, left,
        LevelName(index) + " has terrain within 8 pixels of the left edge");
  }
  const Point right = FirstTerrainInColumn(level, last);
  if (right.x >= 0) {
    check.Warn(
        ProblemKind::NearEdge, index, right,
        LevelName(index) + " has terrain within 8 pixels of the right edge");
  }
  for (int slot = 0; slot < level.SlotsInUse(); ++slot) {
    const LevelObject& object = level.m_objects[slot];
    if (object.kind == OBJ_NONE) continue;
    const char* side = object.col == 0         ? "left"
                       : object.col + 2 > last ? "right"
                                               : nullptr;
    if (side != nullptr) {
      check.Warn(ProblemKind::NearEdge, index, ObjectPixel(object),
                 ObjectName(index, slot) + " is within 8 pixels of the " +
                     side + " edge");
    }
  }
}

void CheckExitGround(Checker& check, const LevelRecord& level, int index) {
  if (!ObjectInUse(level, EXIT_SLOT)) return;
  const LevelObject& exit = level.m_objects[EXIT_SLOT];
  const int below = exit.row + OBJECT_SIZE;
  if (below < level.m_nHeight) {
    const int w = level.m_nWidthBytes;
    for (int b = exit.col; b < exit.col + 2 && b < w; ++b) {
      if (level.m_bitmap[below * w + b] != 0) return;
    }
  }
  check.Warn(ProblemKind::ExitNotOnGround, index, ObjectPixel(exit),
             LevelName(index) + "'s exit has no ground right under it");
}

void CheckObjects(Checker& check, const LevelRecord& level, int index) {
  for (int slot : {ENTRANCE_SLOT, EXIT_SLOT}) {
    if (!ObjectInUse(level, slot)) continue;
    const Point at = TerrainUnder(level, level.m_objects[slot]);
    if (at.x >= 0) {
      check.Warn(ProblemKind::ObjectOverTerrain, index, at,
                 ObjectName(index, slot) + " overlaps terrain");
    }
  }
  // Each object is reported once, with the first object before it that it
  // overlaps: a heap of blocks gives one line per block, not one per pair.
  const int slots = level.SlotsInUse();
  for (int b = 1; b < slots; ++b) {
    const LevelObject& second = level.m_objects[b];
    if (second.kind == OBJ_NONE) continue;
    for (int a = 0; a < b; ++a) {
      const LevelObject& first = level.m_objects[a];
      // Footprints are 16 pixels (two byte columns) each way.
      if (first.kind != OBJ_NONE && std::abs(first.col - second.col) < 2 &&
          std::abs(first.row - second.row) < OBJECT_SIZE) {
        check.Warn(ProblemKind::ObjectsOverlap, index, ObjectPixel(second),
                   ObjectName(index, b) + " overlaps " +
                       (a < FIRST_BLOCK_SLOT ? "the " : "") + SlotName(a));
        break;
      }
    }
  }
}

void CheckPasscode(Checker& check, const PackContents& pack, int index) {
  const char* code = pack.levels[index].m_szPasscode;
  if (code[0] == '\0') return;
  for (int other = 1; other < index; ++other) {
    if (std::strcmp(pack.levels[other].m_szPasscode, code) == 0) {
      check.Warn(
          ProblemKind::SamePasscode, index, kNowhere,
          LevelName(index) + " has the same passcode as " + LevelName(other));
      break;
    }
  }
  for (const char* c = code; *c != '\0'; ++c) {
    if (*c < 'A' || *c > 'Z') {
      check.Warn(
          ProblemKind::PasscodeNotLetters, index, kNowhere,
          LevelName(index) + "'s passcode holds more than the letters A to Z");
      break;
    }
  }
}

void CheckSpare(Checker& check, const LevelRecord& level, int index) {
  if (level.m_nToSave < level.m_nPopulation) return;
  check.Warn(ProblemKind::NoSpare, index, kNowhere,
             LevelName(index) + " asks to save " +
                 std::to_string(level.m_nToSave) + " of " +
                 std::to_string(level.m_nPopulation) +
                 " Plodders: none to spare");
}

}  // namespace

std::vector<PackProblem> CheckPack(const PackContents& pack,
                                   VariableFlavour flavour) {
  std::vector<PackProblem> problems;
  Checker check(problems);
  const int count = static_cast<int>(pack.levels.size());

  for (int i = 1; i < count; ++i) {
    if (std::strlen(pack.levels[i].m_szPasscode) != PASSCODE_CHARS) {
      check.Error(ProblemKind::PasscodeLength, i, kNowhere,
                  LevelName(i) + "'s passcode is not four characters");
    }
  }
  for (int i = 0; i < count; ++i) {
    const LevelRecord& level = pack.levels[i];
    if (!ObjectInUse(level, ENTRANCE_SLOT)) {
      check.Error(ProblemKind::NoEntrance, i, kNowhere,
                  LevelName(i) + " has no entrance");
    }
    if (!ObjectInUse(level, EXIT_SLOT)) {
      check.Error(ProblemKind::NoExit, i, kNowhere,
                  LevelName(i) + " has no exit");
    }
  }
  if (pack.m_szAuthorName.empty() || pack.m_szPassword.empty()) {
    check.Error(ProblemKind::NoSecurityInfo, -1, kNowhere,
                "the pack has no author or password");
  }
  std::vector<std::uint8_t> image;
  std::string error;
  const auto limit = static_cast<std::size_t>(MaxVariableDataBytes(flavour));
  if (!LayOutPackImage(pack, image, error)) {
    check.Error(ProblemKind::PackTooLarge, -1, kNowhere,
                "the pack cannot be saved: " + error);
  } else if (image.size() > limit) {
    check.Error(ProblemKind::PackTooLarge, -1, kNowhere,
                "the pack needs " + std::to_string(image.size()) + " bytes; " +
                    (flavour == VariableFlavour::TI83Plus ? "a TI-83 Plus"
                                                          : "a TI-83") +
                    " file holds at most " + std::to_string(limit));
  }

  for (int i = 0; i < count; ++i) {
    const LevelRecord& level = pack.levels[i];
    CheckEdges(check, level, i);
    CheckExitGround(check, level, i);
    CheckObjects(check, level, i);
    if (i > 0) CheckPasscode(check, pack, i);
    CheckSpare(check, level, i);
  }
  return problems;
}

int CountErrors(const std::vector<PackProblem>& problems) {
  int errors = 0;
  for (const PackProblem& problem : problems) errors += problem.IsError();
  return errors;
}
