#include "canvas/Sprites.h"

#include "model/Level.h"

namespace {

// Builds the sprite layout from 16 rows given as left byte << 8 | right byte.
constexpr Sprite FromRows(const std::array<std::uint16_t, 16>& rows) {
  Sprite sprite{};
  for (std::size_t r = 0; r < 16; ++r) {
    sprite[r] = rows[r] >> 8;
    sprite[16 + r] = rows[r] & 0xFFu;
  }
  return sprite;
}

constexpr Sprite kEntrance = FromRows({
    0xFFFF, 0x8001, 0x8001, 0xC003, 0xC003, 0xBFFD, 0xA005, 0xA005,  //
    0xE007, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000,  //
});

constexpr Sprite kExit = FromRows({
    0x0000, 0x0000, 0x1FF8, 0x1008, 0x1008, 0x1008, 0x1008, 0x1008,  //
    0x1008, 0x1008, 0x1FF8, 0x1548, 0x1A88, 0x1528, 0x1808, 0x1FF8,  //
});

constexpr Sprite kBlock = FromRows({
    0xFFFF, 0x8001, 0xA005, 0x8001, 0x8001, 0x8001, 0x8001, 0x8001,  //
    0x8001, 0x8001, 0x8001, 0x8001, 0x8001, 0xA005, 0x8001, 0xFFFF,  //
});

constexpr Sprite kDisc = FromRows({
    0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0380, 0x07C0, 0x0FE0,  //
    0x0FE0, 0x0FE0, 0x07C0, 0x0380, 0x0000, 0x0000, 0x0000, 0x0000,  //
});

}  // namespace

const Sprite& GetSprite(int kind) {
  if (kind == OBJ_ENTRANCE) return kEntrance;
  if (kind == OBJ_EXIT) return kExit;
  return kBlock;
}

const Sprite& LargePenDisc() { return kDisc; }
