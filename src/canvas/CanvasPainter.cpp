#include "canvas/CanvasPainter.h"

#include <algorithm>
#include <cstring>

void ICanvasPainter::PaintBlackRun(Point first, const Rect& span, int count) {
  for (int k = 0; k < count; ++k) {
    const int left = span.left + 4 * k;
    PaintCell({first.x + k, first.y}, {left, span.top, left + 3, span.bottom},
              false);
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
}

void PixelBufferPainter::FillRect(const Rect& r, std::uint32_t colour) {
  const int left = std::max(r.left, 0);
  const int right = std::min(r.right, m_width);
  const int top = std::max(r.top, 0);
  const int bottom = std::min(r.bottom, m_height);
  if (left >= right || top >= bottom) return;
  for (int y = top; y < bottom; ++y) {
    std::fill_n(m_pixels + y * m_stride + left, right - left, colour);
  }
}

void PixelBufferPainter::PaintBackground(const Rect& outline, Point gridPhase) {
  FillRect({0, 0, m_width, m_height}, kWhite);
  const int left = std::max(outline.left, 0);
  const int right = std::min(outline.right, m_width);
  const int top = std::max(outline.top, 0);
  const int bottom = std::min(outline.bottom, m_height);
  if (left >= right || top >= bottom) return;

  // Rows between grid lines are white with black pixels on the vertical
  // lines and the outline's sides; build one and copy it to every such row.
  bool haveCellRow = false;
  std::uint32_t* cellRow = nullptr;
  for (int y = top; y < bottom; ++y) {
    std::uint32_t* row = m_pixels + y * m_stride;
    const bool lineRow = y == outline.top || y == outline.bottom - 1 ||
                         ((y % 4) + 4) % 4 == gridPhase.y;
    if (lineRow) {
      std::fill_n(row + left, right - left, kBlack);
      continue;
    }
    if (haveCellRow) {
      std::memcpy(
          row + left, cellRow + left,
          sizeof(std::uint32_t) * static_cast<std::size_t>(right - left));
      continue;
    }
    for (int x = left; x < right; ++x) {
      const bool line = x == outline.left || x == outline.right - 1 ||
                        ((x % 4) + 4) % 4 == gridPhase.x;
      row[x] = line ? kBlack : kWhite;
    }
    cellRow = row;
    haveCellRow = true;
  }
}

void PixelBufferPainter::PaintCell(Point, const Rect& cell, bool white) {
  FillRect(cell, white ? kWhite : kBlack);
}

void PixelBufferPainter::PaintBlackRun(Point, const Rect& span, int) {
  FillRect(span, kBlack);
}

void PixelBufferPainter::Invalidate(const Rect&) {}
