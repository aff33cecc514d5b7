#include "model/Level.h"

#include <cstdlib>
#include <cstring>
#include <ctime>

std::int32_t CLevel::s_nLiveCount = 0;

bool LevelRecord::GetPixel(int x, int y) const {
  const std::uint8_t mask = static_cast<std::uint8_t>(0x80 >> (x % 8));
  return (m_bitmap[y * m_nWidthBytes + x / 8] & mask) != 0;
}

void LevelRecord::SetPixel(int x, int y, bool terrain) {
  const std::uint8_t mask = static_cast<std::uint8_t>(0x80 >> (x % 8));
  std::uint8_t& byte = m_bitmap[y * m_nWidthBytes + x / 8];
  byte = terrain ? static_cast<std::uint8_t>(byte | mask)
                 : static_cast<std::uint8_t>(byte & ~mask);
}

void LevelRecord::AddColumn() {
  // Work from the end towards the start so the move can be done in place.
  const int w = m_nWidthBytes;
  for (int r = m_nHeight - 1; r >= 0; --r) {
    m_bitmap[(r + 1) * (w + 1) - 1] = 0;
    for (int b = w - 1; b >= 0; --b) {
      m_bitmap[r * (w + 1) + b] = m_bitmap[r * w + b];
    }
  }
  m_nWidthBytes = w + 1;
}

void LevelRecord::RemoveColumn() {
  const int w = --m_nWidthBytes;
  for (int r = 0; r < m_nHeight; ++r) {
    std::memmove(&m_bitmap[r * w], &m_bitmap[r * (w + 1)],
                 static_cast<std::size_t>(w));
  }
  ClipObjects();
}

void LevelRecord::AddRow() {
  std::memset(&m_bitmap[m_nHeight * m_nWidthBytes], 0,
              static_cast<std::size_t>(m_nWidthBytes));
  ++m_nHeight;
}

void LevelRecord::RemoveRow() {
  --m_nHeight;
  ClipObjects();
}

void LevelRecord::PlaceObject(Point p, int kind) {
  LevelObject* slot = nullptr;
  if (kind == OBJ_ENTRANCE) {
    slot = &m_objects[ENTRANCE_SLOT];
  } else if (kind == OBJ_EXIT) {
    slot = &m_objects[EXIT_SLOT];
  } else if (m_nBlockCount < MAX_BLOCKS) {
    slot = &m_objects[FIRST_BLOCK_SLOT + m_nBlockCount];
    ++m_nBlockCount;
  } else {
    return;
  }
  slot->kind = static_cast<std::uint8_t>(kind);
  slot->col = static_cast<std::uint8_t>(p.x / 8);
  slot->row = static_cast<std::uint8_t>(p.y);
}

Point LevelRecord::PopLastBlock() {
  --m_nBlockCount;
  const LevelObject& block = m_objects[FIRST_BLOCK_SLOT + m_nBlockCount];
  return {8 * block.col, block.row};
}

bool LevelRecord::ObjectInside(const LevelObject& object) const {
  return object.col + 2 <= m_nWidthBytes && object.row + 16 <= m_nHeight;
}

void LevelRecord::ClipObjects() {
  int slot = 0;
  while (slot < SlotsInUse()) {
    LevelObject& object = m_objects[slot];
    if (object.kind == OBJ_NONE || ObjectInside(object)) {
      ++slot;
    } else if (slot < FIRST_BLOCK_SLOT) {
      object.kind = OBJ_NONE;
      ++slot;
    } else {
      // The last block takes the dropped block's place and is examined next.
      object = m_objects[SlotsInUse() - 1];
      --m_nBlockCount;
    }
  }
}

bool LevelRecord::HasEntranceAndExit() const {
  return m_objects[ENTRANCE_SLOT].kind != OBJ_NONE &&
         m_objects[EXIT_SLOT].kind != OBJ_NONE;
}

bool LevelRecord::SameLevelAs(const LevelRecord& other) const {
  if (m_nWidthBytes != other.m_nWidthBytes || m_nHeight != other.m_nHeight ||
      m_nPopulation != other.m_nPopulation || m_nToSave != other.m_nToSave ||
      m_nSpawnInterval != other.m_nSpawnInterval || m_nTime != other.m_nTime ||
      m_nBlockCount != other.m_nBlockCount) {
    return false;
  }
  if (std::memcmp(m_nSkills, other.m_nSkills, sizeof m_nSkills) != 0 ||
      std::strcmp(m_szName, other.m_szName) != 0 ||
      std::strcmp(m_szPasscode, other.m_szPasscode) != 0) {
    return false;
  }
  const int bytes = BitmapBytes();
  if (bytes < 0 || bytes > MAX_BITMAP_BYTES ||
      std::memcmp(m_bitmap, other.m_bitmap, static_cast<std::size_t>(bytes)) !=
          0) {
    return false;
  }
  for (int slot = 0; slot < SlotsInUse() && slot < OBJECT_SLOTS; ++slot) {
    const LevelObject& a = m_objects[slot];
    const LevelObject& b = other.m_objects[slot];
    if (a.kind != b.kind) return false;
    if (a.kind != OBJ_NONE && (a.col != b.col || a.row != b.row)) return false;
  }
  return true;
}

CLevel::CLevel() : m_nSerial(static_cast<std::uint32_t>(s_nLiveCount)) {
  Init();
  ++s_nLiveCount;
}

CLevel::~CLevel() { --s_nLiveCount; }

void CLevel::Init() {
  if (m_nSerial == 0) {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
  }
  char name[] = "Level 1 Name";
  name[6] = static_cast<char>(name[6] + static_cast<std::uint8_t>(m_nSerial));
  std::memcpy(m_szName, name, sizeof name);
  m_nHeight = MIN_HEIGHT;
  m_nWidthBytes = MIN_WIDTH_BYTES;
  std::memset(m_bitmap, 0, DEFAULT_BITMAP_BYTES);
  for (int i = 0; i < PASSCODE_CHARS; ++i) {
    m_szPasscode[i] = static_cast<char>('A' + std::rand() % 26);
  }
  m_szPasscode[PASSCODE_CHARS] = '\0';
  for (std::int8_t& skill : m_nSkills) skill = 30;
  m_nPopulation = 20;
  m_nSpawnInterval = 15;
  m_nToSave = 20;
  m_nTime = 1200;
  m_nBlockCount = 0;
  m_objects[EXIT_SLOT].kind = OBJ_NONE;
  m_objects[ENTRANCE_SLOT].kind = OBJ_NONE;
}
