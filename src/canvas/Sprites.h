#pragma once

#include <array>
#include <cstdint>

// A 16 x 16 one-bit image in the layout the objects and the large pen use:
// 32 entries, each holding one byte in its low 8 bits. Entries 0 to 15 are
// the left byte of rows 0 to 15, entries 16 to 31 the right byte. The most
// significant bit is the leftmost pixel; a set bit is drawn black, a clear
// bit is transparent.
using Sprite = std::array<std::uint32_t, 32>;

// The sprite of an object kind: the entrance for OBJ_ENTRANCE, the exit for
// OBJ_EXIT and the metal block for every other kind.
const Sprite& GetSprite(int kind);

// The large pens' disc: 37 pixels around mask pixel (8, 8).
const Sprite& LargePenDisc();
