#include "check/PackCheck.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "canvas/Sprites.h"
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
           std::string text, std::vector<Rect> marks = {}) {
    m_out.push_back(
        {severity, kind, level, at, std::move(text), std::move(marks)});
  }
  void Error(ProblemKind kind, int level, Point at, std::string text) {
    Add(ProblemSeverity::Error, kind, level, at, std::move(text));
  }
  void Warn(ProblemKind kind, int level, Point at, std::string text,
            std::vector<Rect> marks = {}) {
    Add(ProblemSeverity::Warning, kind, level, at, std::move(text),
        std::move(marks));
  }
  void Note(ProblemKind kind, int level, Point at, std::string text) {
    Add(ProblemSeverity::Note, kind, level, at, std::move(text));
  }

 private:
  std::vector<PackProblem>& m_out;
};

constexpr Point kNowhere{-1, -1};

bool ObjectInUse(const LevelRecord& level, int slot) {
  return level.m_objects[slot].kind != OBJ_NONE;
}

// The 16 x 16 box of an object, in level pixels.
Rect BoxOf(const LevelObject& object) {
  const Point at = ObjectPixel(object);
  return {at.x, at.y, at.x + OBJECT_SIZE, at.y + OBJECT_SIZE};
}

// Whether the object draws level pixel (x, y): a set pixel of its sprite,
// which the canvas shows; the clear ones are transparent.
bool Draws(const LevelObject& object, int x, int y) {
  const Point at = ObjectPixel(object);
  const int dx = x - at.x;
  const int dy = y - at.y;
  if (dx < 0 || dx >= OBJECT_SIZE || dy < 0 || dy >= OBJECT_SIZE) return false;
  const Sprite& sprite = GetSprite(object.kind);
  const std::uint32_t byte =
      sprite[static_cast<std::size_t>(dx < 8 ? dy : 16 + dy)];
  return (byte & (0x80u >> (dx % 8))) != 0;
}

// Adds `x` of row `y` to the marks, joining it to the run it continues.
void MarkPixel(std::vector<Rect>& marks, int x, int y) {
  if (!marks.empty() && marks.back().top == y && marks.back().right == x) {
    ++marks.back().right;
  } else {
    marks.push_back({x, y, x + 1, y + 1});
  }
}

// The terrain pixels of byte column `col` as runs, rows downwards; empty
// when the column is clear.
std::vector<Rect> TerrainInColumn(const LevelRecord& level, int col) {
  std::vector<Rect> runs;
  for (int y = 0; y < level.m_nHeight; ++y) {
    if (level.m_bitmap[y * level.m_nWidthBytes + col] == 0) continue;
    for (int x = 8 * col; x < 8 * col + 8; ++x) {
      if (level.GetPixel(x, y)) MarkPixel(runs, x, y);
    }
  }
  return runs;
}

// The terrain pixels the object draws over, as runs, rows downwards.
std::vector<Rect> TerrainUnder(const LevelRecord& level,
                               const LevelObject& object) {
  std::vector<Rect> runs;
  const Rect box = BoxOf(object);
  const int right = std::min(box.right, level.WidthPixels());
  const int bottom = std::min<int>(box.bottom, level.m_nHeight);
  for (int y = box.top; y < bottom; ++y) {
    for (int x = box.left; x < right; ++x) {
      if (Draws(object, x, y) && level.GetPixel(x, y)) MarkPixel(runs, x, y);
    }
  }
  return runs;
}

// Whether two objects draw a pixel in common.
bool DrawOverEachOther(const LevelObject& a, const LevelObject& b) {
  const Rect ra = BoxOf(a);
  const Rect rb = BoxOf(b);
  const int left = std::max(ra.left, rb.left);
  const int right = std::min(ra.right, rb.right);
  const int top = std::max(ra.top, rb.top);
  const int bottom = std::min(ra.bottom, rb.bottom);
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      if (Draws(a, x, y) && Draws(b, x, y)) return true;
    }
  }
  return false;
}

void CheckEdges(Checker& check, const LevelRecord& level, int index) {
  const int last = level.m_nWidthBytes - 1;
  std::vector<Rect> left = TerrainInColumn(level, 0);
  if (!left.empty()) {
    const Point at{left.front().left, left.front().top};
    check.Warn(
        ProblemKind::NearEdge, index, at,
        LevelName(index) + " has terrain within 8 pixels of the left edge",
        std::move(left));
  }
  std::vector<Rect> right = TerrainInColumn(level, last);
  if (!right.empty()) {
    const Point at{right.front().left, right.front().top};
    check.Warn(
        ProblemKind::NearEdge, index, at,
        LevelName(index) + " has terrain within 8 pixels of the right edge",
        std::move(right));
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
                     side + " edge",
                 {BoxOf(object)});
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
             LevelName(index) + "'s exit has no ground right under it",
             {BoxOf(exit)});
}

void CheckObjects(Checker& check, const LevelRecord& level, int index) {
  for (int slot : {ENTRANCE_SLOT, EXIT_SLOT}) {
    if (!ObjectInUse(level, slot)) continue;
    std::vector<Rect> under = TerrainUnder(level, level.m_objects[slot]);
    if (!under.empty()) {
      const Point at{under.front().left, under.front().top};
      check.Warn(ProblemKind::ObjectOverTerrain, index, at,
                 ObjectName(index, slot) + " overlaps terrain",
                 std::move(under));
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
      if (first.kind != OBJ_NONE && DrawOverEachOther(first, second)) {
        check.Warn(ProblemKind::ObjectsOverlap, index, ObjectPixel(second),
                   ObjectName(index, b) + " overlaps " +
                       (a < FIRST_BLOCK_SLOT ? "the " : "") + SlotName(a),
                   {BoxOf(first), BoxOf(second)});
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

// Every new level asks to save all its Plodders: advice worth seeing on the
// level, not a warning on every pack.
void CheckSpare(Checker& check, const LevelRecord& level, int index) {
  if (level.m_nToSave < level.m_nPopulation) return;
  check.Note(ProblemKind::NoSpare, index, kNowhere,
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
  }
  for (int i = 0; i < count; ++i) CheckSpare(check, pack.levels[i], i);
  return problems;
}

int CountErrors(const std::vector<PackProblem>& problems) {
  return CountOf(problems, ProblemSeverity::Error);
}

int CountOf(const std::vector<PackProblem>& problems,
            ProblemSeverity severity) {
  int count = 0;
  for (const PackProblem& problem : problems) {
    count += problem.severity == severity;
  }
  return count;
}
