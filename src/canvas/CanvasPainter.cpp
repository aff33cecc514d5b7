#include "canvas/CanvasPainter.h"

#include <algorithm>
#include <cstring>

#include "model/Level.h"

std::uint32_t CanvasPalette::Of(Ink ink) const {
  switch (ink) {
    case Ink::Paper:
      return paper;
    case Ink::Terrain:
      return terrain;
    case Ink::Entrance:
      return entrance;
    case Ink::Exit:
      return exit;
    case Ink::Block:
      return block;
    case Ink::Preview:
      return preview;
  }
  return terrain;
}

CanvasPalette CanvasPalette::Clear() {
  CanvasPalette palette;
  palette.grid = 0xFFD4D4D4u;      // light grey
  palette.entrance = 0xFF1F9D3Au;  // green
  palette.exit = 0xFFD62828u;      // red
  palette.block = 0xFF2D6CDFu;     // blue
  palette.preview = 0xFFF08C00u;   // orange
  return palette;
}

Ink ObjectInk(int kind) {
  if (kind == OBJ_ENTRANCE) return Ink::Entrance;
  if (kind == OBJ_EXIT) return Ink::Exit;
  return Ink::Block;
}

void ICanvasPainter::PaintInkRun(Point first, const Rect& span, int count,
                                 Ink) {
  PaintBlackRun(first, span, count);
}

void ICanvasPainter::PaintBlackRun(Point first, const Rect& span, int count) {
  const int size = span.bottom - span.top;
  const int pitch = count > 1 ? (span.Width() - size) / (count - 1) : 0;
  for (int k = 0; k < count; ++k) {
    const int left = span.left + pitch * k;
    PaintCell({first.x + k, first.y},
              {left, span.top, left + size, span.bottom}, false);
  }
}

PixelBufferPainter::PixelBufferPainter(std::uint32_t* pixels, int width,
                                       int height, int stridePixels) {
  SetBuffer(pixels, width, height, stridePixels);
}

void PixelBufferPainter::SetBuffer(std::uint32_t* pixels, int width, int height,
                                   int stridePixels) {
  m_pixels = pixels;
  m_width = width;
  m_height = height;
  m_stride = stridePixels;
  m_clip = {0, 0, width, height};
}

void PixelBufferPainter::SetClip(const Rect& client) {
  if (client.IsEmpty()) {
    m_clip = {0, 0, m_width, m_height};
    return;
  }
  m_clip = {std::clamp(client.left, 0, m_width),
            std::clamp(client.top, 0, m_height),
            std::clamp(client.right, 0, m_width),
            std::clamp(client.bottom, 0, m_height)};
}

namespace {

// Fills n pixels with one colour. White (all bits set) is a memset; other
// colours write a short stretch and then double it with memcpy, which keeps
// long fills at memory speed.
void FillPixels(std::uint32_t* p, int n, std::uint32_t colour) {
  if (n <= 0) return;
  if (colour == 0xFFFFFFFFu) {
    std::memset(p, 0xFF, sizeof(std::uint32_t) * static_cast<std::size_t>(n));
    return;
  }
  const int head = std::min(n, 16);
  for (int i = 0; i < head; ++i) p[i] = colour;
  for (int done = head; done < n;) {
    const int chunk = std::min(done, n - done);
    std::memcpy(p + done, p,
                sizeof(std::uint32_t) * static_cast<std::size_t>(chunk));
    done += chunk;
  }
}

void CopyPixels(std::uint32_t* to, const std::uint32_t* from, int n) {
  std::memcpy(to, from, sizeof(std::uint32_t) * static_cast<std::size_t>(n));
}

bool OnGridLine(int v, int phase, int pitch) {
  return pitch > 0 && ((v % pitch) + pitch) % pitch == phase;
}

}  // namespace

void PixelBufferPainter::FillRect(const Rect& r, std::uint32_t colour) {
  const int left = std::max(r.left, m_clip.left);
  const int right = std::min(r.right, m_clip.right);
  const int top = std::max(r.top, m_clip.top);
  const int bottom = std::min(r.bottom, m_clip.bottom);
  if (left >= right || top >= bottom) return;
  const int n = right - left;
  std::uint32_t* const first = m_pixels + top * m_stride + left;
  if (n <= 32) {
    // Cells and short runs: plain stores beat any call.
    for (int y = top; y < bottom; ++y) {
      std::uint32_t* p = m_pixels + y * m_stride + left;
      for (int i = 0; i < n; ++i) p[i] = colour;
    }
    return;
  }
  FillPixels(first, n, colour);
  for (int y = top + 1; y < bottom; ++y) {
    CopyPixels(m_pixels + y * m_stride + left, first, n);
  }
}

void PixelBufferPainter::PaintBackground(const Rect& outline, Point gridPhase) {
  const std::uint32_t paper = m_palette.paper;
  const std::uint32_t grid = m_palette.grid;
  const std::uint32_t edge = m_palette.outline;
  const int clipLeft = m_clip.left;
  const int clipRight = m_clip.right;
  if (clipLeft >= clipRight || m_clip.top >= m_clip.bottom) return;
  const int left = std::clamp(outline.left, clipLeft, clipRight);
  const int right = std::clamp(outline.right, left, clipRight);
  const int top = std::clamp(outline.top, m_clip.top, m_clip.bottom);
  const int bottom = std::clamp(outline.bottom, top, m_clip.bottom);
  // Rows above and below the outline are paper.
  FillRect({clipLeft, m_clip.top, clipRight, top}, paper);
  FillRect({clipLeft, bottom, clipRight, m_clip.bottom}, paper);
  if (left >= right) {
    FillRect({clipLeft, top, clipRight, bottom}, paper);
    return;
  }
  // The outline's sides, where they lie in the clip.
  const auto sides = [&](std::uint32_t* row) {
    if (outline.left >= clipLeft && outline.left < clipRight) {
      row[outline.left] = edge;
    }
    if (outline.right - 1 >= clipLeft && outline.right - 1 < clipRight) {
      row[outline.right - 1] = edge;
    }
  };
  // Rows between grid lines are paper with the grid's colour on the
  // vertical lines and the outline's on its sides; the first one built is
  // copied to the rest.
  const std::uint32_t* cellRow = nullptr;
  for (int y = top; y < bottom; ++y) {
    std::uint32_t* row = m_pixels + y * m_stride;
    FillPixels(row + clipLeft, left - clipLeft, paper);
    FillPixels(row + right, clipRight - right, paper);
    if (y == outline.top || y == outline.bottom - 1) {
      FillPixels(row + left, right - left, edge);
    } else if (OnGridLine(y, gridPhase.y, m_nGridPitch)) {
      FillPixels(row + left, right - left, grid);
      sides(row);
    } else if (cellRow != nullptr) {
      CopyPixels(row + left, cellRow + left, right - left);
    } else {
      for (int x = left; x < right; ++x) {
        row[x] = OnGridLine(x, gridPhase.x, m_nGridPitch) ? grid : paper;
      }
      sides(row);
      cellRow = row;
    }
  }
}

void PixelBufferPainter::PaintCell(Point, const Rect& cell, bool white) {
  FillRect(cell, white ? m_palette.paper : m_palette.terrain);
}

void PixelBufferPainter::PaintBlackRun(Point, const Rect& span, int) {
  FillRect(span, m_palette.terrain);
}

void PixelBufferPainter::PaintInkRun(Point, const Rect& span, int, Ink ink) {
  FillRect(span, m_palette.Of(ink));
}

void PixelBufferPainter::Invalidate(const Rect&) {}
