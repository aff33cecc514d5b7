#include "canvas/Shapes.h"

#include <algorithm>
#include <cstdlib>

#include "model/Level.h"

std::vector<Point> LinePixels(Point a, Point b) {
  // 64-bit error terms: a captured mouse may put b far outside the window.
  const long long dx = std::llabs(static_cast<long long>(b.x) - a.x);
  const long long dy = -std::llabs(static_cast<long long>(b.y) - a.y);
  const int sx = a.x < b.x ? 1 : -1;
  const int sy = a.y < b.y ? 1 : -1;
  std::vector<Point> pixels;
  pixels.reserve(static_cast<std::size_t>(std::max(dx, -dy) + 1));
  long long err = dx + dy;
  Point p = a;
  for (;;) {
    pixels.push_back(p);
    if (p == b) break;
    const long long e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      p.x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      p.y += sy;
    }
  }
  return pixels;
}

Point SnapTo45(Point a, Point b) {
  const int dx = b.x - a.x;
  const int dy = b.y - a.y;
  const long long ax = std::abs(dx);
  const long long ay = std::abs(dy);
  // tan(22.5 degrees) is about 5/12: below it the line is level or upright.
  if (12 * ay < 5 * ax) return {b.x, a.y};
  if (12 * ax < 5 * ay) return {a.x, b.y};
  const int d = static_cast<int>(std::max(ax, ay));
  return {a.x + (dx < 0 ? -d : d), a.y + (dy < 0 ? -d : d)};
}

Point SnapToSquare(Point a, Point b) {
  const int dx = b.x - a.x;
  const int dy = b.y - a.y;
  const int d = std::max(std::abs(dx), std::abs(dy));
  return {a.x + (dx < 0 ? -d : d), a.y + (dy < 0 ? -d : d)};
}

Rect BoxOf(Point a, Point b) {
  return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1,
          std::max(a.y, b.y) + 1};
}

std::vector<Point> RectanglePixels(Point a, Point b, bool filled) {
  const Rect r = BoxOf(a, b);
  std::vector<Point> pixels;
  for (int y = r.top; y < r.bottom; ++y) {
    const bool edgeRow = y == r.top || y == r.bottom - 1;
    if (filled || edgeRow) {
      for (int x = r.left; x < r.right; ++x) pixels.push_back({x, y});
    } else {
      pixels.push_back({r.left, y});
      if (r.right - 1 > r.left) pixels.push_back({r.right - 1, y});
    }
  }
  return pixels;
}

std::vector<Point> EllipsePixels(Point a, Point b, bool filled) {
  const Rect box = BoxOf(a, b);
  if (box.Width() <= 2 || box.Height() <= 2) {
    return RectanglePixels(a, b, true);
  }
  // The outline's pixels of each row; every step plots all four quadrants
  // at once, so the outline is symmetric.
  const int h = box.Height();
  std::vector<std::vector<int>> outline(static_cast<std::size_t>(h));
  const auto plot = [&](long long x, long long y) {
    if (y < box.top || y >= box.bottom) return;
    auto& row = outline[static_cast<std::size_t>(y - box.top)];
    row.push_back(static_cast<int>(x));
  };

  // Zingl's rasterisation of an ellipse inscribed in a rectangle: exact for
  // even and odd sizes, with integer error terms.
  long long x0 = box.left;
  long long x1 = box.right - 1;
  long long y0 = box.top;
  long long y1 = box.bottom - 1;
  long long ra = x1 - x0;
  const long long rb = y1 - y0;
  long long b1 = rb & 1;
  long long dx = 4 * (1 - ra) * rb * rb;
  long long dy = 4 * (b1 + 1) * ra * ra;
  long long err = dx + dy + b1 * ra * ra;
  y0 += (rb + 1) / 2;
  y1 = y0 - b1;
  ra *= 8 * ra;
  b1 = 8 * rb * rb;
  do {
    plot(x1, y0);
    plot(x0, y0);
    plot(x0, y1);
    plot(x1, y1);
    const long long e2 = 2 * err;
    if (e2 <= dy) {
      ++y0;
      --y1;
      err += dy += ra;
    }
    if (e2 >= dx || 2 * err > dy) {
      ++x0;
      --x1;
      err += dx += b1;
    }
  } while (x0 <= x1);
  while (y0 - y1 <= rb) {  // a narrow ellipse stops early: finish its tips
    plot(x0 - 1, y0);
    plot(x1 + 1, y0++);
    plot(x0 - 1, y1);
    plot(x1 + 1, y1--);
  }

  std::vector<Point> pixels;
  for (int r = 0; r < h; ++r) {
    auto& row = outline[static_cast<std::size_t>(r)];
    std::sort(row.begin(), row.end());
    row.erase(std::unique(row.begin(), row.end()), row.end());
    const int y = box.top + r;
    if (row.empty()) continue;
    if (filled) {
      for (int x = row.front(); x <= row.back(); ++x) pixels.push_back({x, y});
    } else {
      for (int x : row) pixels.push_back({x, y});
    }
  }
  return pixels;
}

std::vector<Point> DiscFootprint(const std::vector<Point>& path,
                                 const Sprite& disc, int width, int height) {
  std::vector<Point> offsets;
  for (int i = 0; i < 32; ++i) {
    for (int j = 0; j < 8; ++j) {
      if (disc[i] & (0x80u >> j)) {
        offsets.push_back({8 * (i / 16) + j - 8, (i % 16) - 8});
      }
    }
  }
  std::vector<bool> seen(static_cast<std::size_t>(width) * height);
  std::vector<Point> pixels;
  for (const Point& p : path) {
    for (const Point& o : offsets) {
      const Point q = p + o;
      if (q.x < 0 || q.y < 0 || q.x >= width || q.y >= height) continue;
      const std::size_t at = static_cast<std::size_t>(q.y) * width + q.x;
      if (seen[at]) continue;
      seen[at] = true;
      pixels.push_back(q);
    }
  }
  return pixels;
}

std::vector<Span> FillRegion(const LevelRecord& level, Point seed) {
  const int width = level.WidthPixels();
  const int height = level.m_nHeight;
  std::vector<Span> spans;
  if (seed.x < 0 || seed.y < 0 || seed.x >= width || seed.y >= height) {
    return spans;
  }
  const bool colour = level.GetPixel(seed.x, seed.y);
  std::vector<bool> done(static_cast<std::size_t>(width) * height);
  const auto open = [&](int x, int y) {
    return !done[static_cast<std::size_t>(y) * width + x] &&
           level.GetPixel(x, y) == colour;
  };
  // Scanline fill: each popped point grows to its whole run, which is then
  // marked and whose rows above and below are searched for new runs.
  std::vector<Point> stack{seed};
  while (!stack.empty()) {
    const Point p = stack.back();
    stack.pop_back();
    if (!open(p.x, p.y)) continue;
    int x0 = p.x;
    int x1 = p.x;
    while (x0 > 0 && open(x0 - 1, p.y)) --x0;
    while (x1 + 1 < width && open(x1 + 1, p.y)) ++x1;
    for (int x = x0; x <= x1; ++x) {
      done[static_cast<std::size_t>(p.y) * width + x] = true;
    }
    spans.push_back({p.y, x0, x1});
    for (const int y : {p.y - 1, p.y + 1}) {
      if (y < 0 || y >= height) continue;
      bool inRun = false;
      for (int x = x0; x <= x1; ++x) {
        const bool o = open(x, y);
        if (o && !inRun) stack.push_back({x, y});
        inRun = o;
      }
    }
  }
  std::sort(spans.begin(), spans.end(), [](const Span& l, const Span& r) {
    return l.y != r.y ? l.y < r.y : l.x0 < r.x0;
  });
  return spans;
}
