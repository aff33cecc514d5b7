#include "canvas/OverviewPicture.h"

#include <algorithm>
#include <cstring>

#include "canvas/Sprites.h"

namespace {

Rect Union(const Rect& a, const Rect& b) {
  if (a.IsEmpty()) return b;
  if (b.IsEmpty()) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top),
          std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

Rect Intersect(const Rect& a, const Rect& b) {
  const Rect r{std::max(a.left, b.left), std::max(a.top, b.top),
               std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  return r.IsEmpty() ? Rect{} : r;
}

Rect ObjectBox(const LevelObject& object) {
  const int x = 8 * object.col;
  return {x, object.row, x + OBJECT_SIZE, object.row + OBJECT_SIZE};
}

}  // namespace

void COverviewPicture::SetPalette(const CanvasPalette& palette) {
  if (palette == m_palette) return;
  m_palette = palette;
  m_bValid = false;
}

void COverviewPicture::SetScale(int scale) {
  scale = std::max(scale, 1);
  if (scale == m_nScale) return;
  m_nScale = scale;
  m_bValid = false;
}

Rect COverviewPicture::Update(const LevelRecord& level) {
  const Rect whole{0, 0, level.WidthPixels(), level.m_nHeight};
  const int slots = std::min(level.SlotsInUse(), OBJECT_SLOTS);
  const int shownSlots = std::min(m_shown.SlotsInUse(), OBJECT_SLOTS);
  Rect changed;
  if (!m_bValid || level.m_nWidthBytes != m_shown.m_nWidthBytes ||
      level.m_nHeight != m_shown.m_nHeight) {
    m_nWidth = whole.right * m_nScale;
    m_nHeight = whole.bottom * m_nScale;
    m_pixels.assign(static_cast<std::size_t>(m_nWidth) * m_nHeight, 0);
    changed = whole;
  } else {
    // Changed terrain bytes, eight pixels each; a stroke's bytes lie close
    // together, so their bounding box is small.
    const int width = level.m_nWidthBytes;
    const int bytes = level.BitmapBytes();
    for (int i = 0; i < bytes; ++i) {
      if (level.m_bitmap[i] == m_shown.m_bitmap[i]) continue;
      const int x = 8 * (i % width);
      const int y = i / width;
      changed = Union(changed, {x, y, x + 8, y + 1});
    }
    // An object that came, went or moved: where it was and where it is.
    for (int slot = 0; slot < std::max(slots, shownSlots); ++slot) {
      const LevelObject now =
          slot < slots ? level.m_objects[slot] : LevelObject{};
      const LevelObject before =
          slot < shownSlots ? m_shown.m_objects[slot] : LevelObject{};
      if (now == before) continue;
      if (before.kind != OBJ_NONE) changed = Union(changed, ObjectBox(before));
      if (now.kind != OBJ_NONE) changed = Union(changed, ObjectBox(now));
    }
    changed = Intersect(changed, whole);
  }
  if (changed.IsEmpty()) return {};
  m_shown = level;
  m_bValid = true;
  Draw(changed);
  return changed;
}

void COverviewPicture::Draw(const Rect& area) {
  const LevelRecord& level = m_shown;
  const int scale = m_nScale;
  // Level pixels first, one per picture pixel at the area's top-left of
  // each block, then the objects over them, then the blocks filled.
  std::vector<std::uint32_t> colours(static_cast<std::size_t>(area.Width()) *
                                     area.Height());
  const auto colourAt = [&](int x, int y) -> std::uint32_t& {
    return colours[static_cast<std::size_t>((y - area.top) * area.Width() +
                                            (x - area.left))];
  };
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      colourAt(x, y) =
          level.GetPixel(x, y) ? m_palette.terrain : m_palette.paper;
    }
  }
  const int slots = std::min(level.SlotsInUse(), OBJECT_SLOTS);
  for (int slot = 0; slot < slots; ++slot) {
    const LevelObject& object = level.m_objects[slot];
    if (object.kind == OBJ_NONE) continue;
    const Rect box = Intersect(ObjectBox(object), area);
    if (box.IsEmpty()) continue;
    const Sprite& sprite = GetSprite(object.kind);
    const std::uint32_t ink = m_palette.Of(ObjectInk(object.kind));
    for (int y = box.top; y < box.bottom; ++y) {
      for (int x = box.left; x < box.right; ++x) {
        const int dx = x - 8 * object.col;
        const std::uint32_t bits = sprite[16 * (dx / 8) + (y - object.row)];
        if (bits & (0x80u >> (dx % 8))) colourAt(x, y) = ink;
      }
    }
  }
  for (int y = area.top; y < area.bottom; ++y) {
    std::uint32_t* row = m_pixels.data() +
                         static_cast<std::size_t>(y * scale) * m_nWidth +
                         static_cast<std::size_t>(area.left * scale);
    std::uint32_t* out = row;
    for (int x = area.left; x < area.right; ++x) {
      const std::uint32_t c = colourAt(x, y);
      for (int k = 0; k < scale; ++k) *out++ = c;
    }
    const std::size_t n = static_cast<std::size_t>(out - row);
    for (int k = 1; k < scale; ++k) {
      std::memcpy(row + static_cast<std::size_t>(k) * m_nWidth, row,
                  n * sizeof(std::uint32_t));
    }
  }
}

Rect CalculatorScreenAt(const LevelRecord& level, Point pointer) {
  const auto place = [](int centre, int size, int extent) {
    const int start = centre - size / 2;
    return std::max(0, std::min(start, extent - size));
  };
  const int left =
      place(pointer.x, kCalculatorScreenWidth, level.WidthPixels());
  const int top = place(pointer.y, kCalculatorScreenHeight, level.m_nHeight);
  return {left, top,
          left + std::min(kCalculatorScreenWidth, level.WidthPixels()),
          top + std::min(kCalculatorScreenHeight, level.m_nHeight)};
}
