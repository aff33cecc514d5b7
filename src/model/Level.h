#pragma once

#include <cstdint>

#include "model/Geometry.h"

// Limits of a level and of a pack.
inline constexpr int MAX_LEVELS = 9;
inline constexpr int MAX_BLOCKS = 49;
inline constexpr int OBJECT_SLOTS = 52;
inline constexpr int ENTRANCE_SLOT = 0;
inline constexpr int EXIT_SLOT = 1;
inline constexpr int FIRST_BLOCK_SLOT = 2;
inline constexpr int OBJECT_SIZE = 16;  // objects are 16 x 16 pixels

inline constexpr int MIN_WIDTH_BYTES = 12;  // 96 pixels
inline constexpr int MAX_WIDTH_BYTES = 36;  // 288 pixels (at height 64)
inline constexpr int MIN_HEIGHT = 64;
inline constexpr int MAX_HEIGHT = 192;  // at width 12 bytes
inline constexpr int MAX_BITMAP_BYTES = 2304;
inline constexpr int BITMAP_STORAGE = MAX_BITMAP_BYTES + 1;
inline constexpr int DEFAULT_BITMAP_BYTES = MIN_WIDTH_BYTES * MIN_HEIGHT;

inline constexpr int NAME_CHARS = 29;
inline constexpr int PASSCODE_CHARS = 4;
inline constexpr int SKILL_COUNT = 8;

// The kind of an object slot. The same values name the placement tools and
// are stored in the pack file.
enum ObjectKind : int {
  OBJ_NONE = 0,
  OBJ_ENTRANCE = 10,
  OBJ_EXIT = 11,
  OBJ_BLOCK = 12,
};

// The skills, in the order of `m_nSkills` and of the pack file.
enum Skill : int {
  SKILL_BASHERS = 0,
  SKILL_BLOCKERS,
  SKILL_BUILDERS,
  SKILL_CLIMBERS,
  SKILL_DIGGERS,
  SKILL_EXPLODERS,
  SKILL_FLOATERS,
  SKILL_MINERS,
};

// One object slot: what it holds, the byte column of its left edge and the
// pixel row of its top edge.
struct LevelObject {
  std::uint8_t kind = OBJ_NONE;
  std::uint8_t col = 0;
  std::uint8_t row = 0;

  friend bool operator==(const LevelObject&, const LevelObject&) = default;
};

// Everything a level holds, as a plain copyable record. The pack file reads
// and writes these fields; the level's size and object operations work on
// them in place and check none of their preconditions (the callers do).
struct LevelRecord {
  std::int32_t m_nWidthBytes = MIN_WIDTH_BYTES;
  std::int32_t m_nHeight = MIN_HEIGHT;
  std::int32_t m_nPopulation = 20;
  std::int32_t m_nToSave = 20;
  std::int32_t m_nSpawnInterval = 15;
  std::int32_t m_nTime = 1200;
  std::int8_t m_nSkills[SKILL_COUNT] = {30, 30, 30, 30, 30, 30, 30, 30};
  char m_szName[NAME_CHARS + 1] = "Level 1 Name";
  char m_szPasscode[PASSCODE_CHARS + 1] = "";
  std::uint8_t m_bitmap[BITMAP_STORAGE] = {};
  LevelObject m_objects[OBJECT_SLOTS] = {};
  std::int32_t m_nBlockCount = 0;

  int BitmapBytes() const { return m_nWidthBytes * m_nHeight; }
  int WidthPixels() const { return 8 * m_nWidthBytes; }

  // Terrain pixel access; (x, y) must lie inside the level.
  bool GetPixel(int x, int y) const;
  void SetPixel(int x, int y, bool terrain);

  // One byte column more or less at the right edge, one row at the bottom.
  void AddColumn();
  void RemoveColumn();
  void AddRow();
  void RemoveRow();

  // Records an object whose 16 x 16 footprint has its top-left pixel at p.
  // An entrance or exit replaces the one before; a block is appended while
  // fewer than MAX_BLOCKS are in use and ignored otherwise.
  void PlaceObject(Point p, int kind);
  // Drops the block placed last and returns its top-left pixel.
  Point PopLastBlock();
  // Empties the entrance or exit slot and drops blocks that no longer lie
  // inside the level.
  void ClipObjects();
  bool HasEntranceAndExit() const;
  bool ObjectInside(const LevelObject& object) const;
  // Slots 0 to 1 + m_nBlockCount: the entrance, the exit and the blocks in use.
  int SlotsInUse() const { return FIRST_BLOCK_SLOT + m_nBlockCount; }

  // True when both records mean the same level: same size, settings, texts,
  // the bitmap bytes that belong to the level and the object slots in use.
  // Bytes behind the bitmap and stale slots are not compared.
  bool SameLevelAs(const LevelRecord& other) const;
};

// A level of the editor's pack. Each construction is counted in the
// class-wide live count, which is the pack's level count; the serial is the
// count when the level was made and gives its default name.
class CLevel : public LevelRecord {
 public:
  CLevel();
  ~CLevel();
  CLevel(const CLevel&) = delete;
  CLevel& operator=(const CLevel&) = delete;

  // Gives every field its default value; keeps the serial.
  void Init();

  std::uint32_t m_nSerial = 0;
  static std::int32_t s_nLiveCount;
};
