#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "canvas/Shapes.h"
#include "canvas/Sprites.h"
#include "model/Level.h"

namespace {

using Pixels = std::vector<Point>;

std::set<std::pair<int, int>> AsSet(const Pixels& pixels) {
  std::set<std::pair<int, int>> s;
  for (const Point& p : pixels) s.insert({p.x, p.y});
  return s;
}

// Draws pixels into rows of '#' and '.' over the box they span from (0, 0).
std::vector<std::string> Picture(const Pixels& pixels, int w, int h) {
  std::vector<std::string> rows(static_cast<std::size_t>(h),
                                std::string(static_cast<std::size_t>(w), '.'));
  for (const Point& p : pixels) {
    rows[static_cast<std::size_t>(p.y)][static_cast<std::size_t>(p.x)] = '#';
  }
  return rows;
}

struct LineCase {
  const char* name;
  Point a, b;
  Pixels expected;
};

TEST(LinePixels, CoversExactlyTheExpectedPixelsInOrder) {
  const LineCase cases[] = {
      {"one pixel", {3, 4}, {3, 4}, {{3, 4}}},
      {"horizontal", {1, 2}, {4, 2}, {{1, 2}, {2, 2}, {3, 2}, {4, 2}}},
      {"horizontal leftwards", {4, 2}, {2, 2}, {{4, 2}, {3, 2}, {2, 2}}},
      {"vertical", {0, 0}, {0, 3}, {{0, 0}, {0, 1}, {0, 2}, {0, 3}}},
      {"45 degrees", {0, 0}, {3, 3}, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
      {"45 degrees up", {0, 3}, {3, 0}, {{0, 3}, {1, 2}, {2, 1}, {3, 0}}},
      {"shallow",
       {0, 0},
       {5, 1},
       {{0, 0}, {1, 0}, {2, 0}, {3, 1}, {4, 1}, {5, 1}}},
      {"steep",
       {0, 0},
       {1, 5},
       {{0, 0}, {0, 1}, {0, 2}, {1, 3}, {1, 4}, {1, 5}}},
      {"from outside", {-2, 0}, {1, 0}, {{-2, 0}, {-1, 0}, {0, 0}, {1, 0}}},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.name);
    const Pixels line = LinePixels(c.a, c.b);
    ASSERT_EQ(line.size(), c.expected.size());
    for (std::size_t i = 0; i < line.size(); ++i) {
      EXPECT_EQ(line[i], c.expected[i]) << "pixel " << i;
    }
  }
}

TEST(LinePixels, IsUnbrokenAndOnePixelPerStepForAnyDirection) {
  for (int dx = -7; dx <= 7; ++dx) {
    for (int dy = -7; dy <= 7; ++dy) {
      const Pixels line = LinePixels({10, 10}, {10 + dx, 10 + dy});
      ASSERT_EQ(line.size(), static_cast<std::size_t>(
                                 std::max(std::abs(dx), std::abs(dy)) + 1));
      for (std::size_t i = 1; i < line.size(); ++i) {
        EXPECT_LE(std::abs(line[i].x - line[i - 1].x), 1);
        EXPECT_LE(std::abs(line[i].y - line[i - 1].y), 1);
      }
      EXPECT_EQ(line.back(), (Point{10 + dx, 10 + dy}));
    }
  }
}

TEST(Snapping, AnglesGoToMultiplesOf45AndBoxesToSquares) {
  const struct {
    Point b, to45, square;
  } cases[] = {
      {{10, 1}, {10, 0}, {10, 10}},     // nearly level
      {{1, -10}, {0, -10}, {10, -10}},  // nearly upright
      {{9, 8}, {9, 9}, {9, 9}},         // nearly diagonal
      {{-6, 5}, {-6, 6}, {-6, 6}},      // diagonal, down and left
      {{-3, -7}, {-7, -7}, {-7, -7}},   // 67 degrees: the diagonal still
      {{0, 0}, {0, 0}, {0, 0}},         // no drag at all
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SnapTo45({0, 0}, c.b), c.to45) << c.b.x << "," << c.b.y;
    EXPECT_EQ(SnapToSquare({0, 0}, c.b), c.square) << c.b.x << "," << c.b.y;
  }
}

// Small boxes of both shapes, outlined and filled, in any corner order.
TEST(BoxShapes, SmallBoxesGiveTheExpectedPictures) {
  using Shape = std::vector<Point> (*)(Point, Point, bool);
  const struct {
    const char* name;
    Shape shape;
    Point a, b;
    bool filled;
    std::vector<std::string> picture;
  } cases[] = {
      {"rectangle: one pixel",
       RectanglePixels,
       {1, 1},
       {1, 1},
       false,
       {"...", ".#.", "..."}},
      {"rectangle: one row",
       RectanglePixels,
       {2, 1},
       {0, 1},
       false,
       {"...", "###", "..."}},
      {"rectangle: one column",
       RectanglePixels,
       {1, 0},
       {1, 2},
       false,
       {".#.", ".#.", ".#."}},
      {"rectangle: outline",
       RectanglePixels,
       {0, 0},
       {3, 2},
       false,
       {"####", "#..#", "####"}},
      {"rectangle: filled",
       RectanglePixels,
       {3, 2},
       {0, 0},
       true,
       {"####", "####", "####"}},
      {"ellipse: one pixel", EllipsePixels, {0, 0}, {0, 0}, false, {"#"}},
      {"ellipse: thin box, wholly covered",
       EllipsePixels,
       {0, 0},
       {4, 1},
       false,
       {"#####", "#####"}},
      {"ellipse: 3 x 3",
       EllipsePixels,
       {0, 0},
       {2, 2},
       false,
       {".#.", "#.#", ".#."}},
      {"ellipse: 5 x 5 circle",
       EllipsePixels,
       {0, 0},
       {4, 4},
       false,
       {".###.", "#...#", "#...#", "#...#", ".###."}},
      {"ellipse: 5 x 5 disc",
       EllipsePixels,
       {4, 4},
       {0, 0},
       true,
       {".###.", "#####", "#####", "#####", ".###."}},
      {"ellipse: 7 x 3",
       EllipsePixels,
       {0, 0},
       {6, 2},
       false,
       {".#####.", "#.....#", ".#####."}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Pixels pixels = c.shape(c.a, c.b, c.filled);
    EXPECT_EQ(AsSet(pixels).size(), pixels.size()) << "a pixel twice";
    const int w = static_cast<int>(c.picture[0].size());
    const int h = static_cast<int>(c.picture.size());
    EXPECT_EQ(Picture(pixels, w, h), c.picture);
  }
}

// Circles and ellipses of many sizes, even and odd: inside their box,
// touching all four sides, symmetric about both axes of the box, unbroken.
TEST(EllipsePixels, OutlinesAreSymmetricUnbrokenAndFillTheirBox) {
  for (int w = 1; w <= 24; ++w) {
    for (int h = 1; h <= 24; h += 3) {
      SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
      const Pixels e = EllipsePixels({5, 7}, {5 + w - 1, 7 + h - 1}, false);
      const auto set = AsSet(e);
      int minX = 1 << 20, maxX = -1, minY = 1 << 20, maxY = -1;
      for (const Point& p : e) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
        EXPECT_TRUE(set.count({5 + 5 + w - 1 - p.x, p.y})) << "mirror x";
        EXPECT_TRUE(set.count({p.x, 7 + 7 + h - 1 - p.y})) << "mirror y";
        // 8-connected: every pixel has a neighbour on the outline.
        bool neighbour = e.size() == 1;
        for (int dx = -1; dx <= 1; ++dx) {
          for (int dy = -1; dy <= 1; ++dy) {
            if ((dx || dy) && set.count({p.x + dx, p.y + dy})) neighbour = true;
          }
        }
        EXPECT_TRUE(neighbour) << p.x << "," << p.y;
      }
      EXPECT_EQ(minX, 5);
      EXPECT_EQ(maxX, 5 + w - 1);
      EXPECT_EQ(minY, 7);
      EXPECT_EQ(maxY, 7 + h - 1);
    }
  }
}

TEST(DiscFootprint, IsTheDiscAroundEachPixelClippedAndOnce) {
  const Pixels one = DiscFootprint({{20, 20}}, LargePenDisc(), 96, 64);
  EXPECT_EQ(one.size(), 37u);
  const Pixels two =
      DiscFootprint({{20, 20}, {21, 20}}, LargePenDisc(), 96, 64);
  EXPECT_EQ(AsSet(two).size(), two.size());
  EXPECT_GT(two.size(), 37u);
  EXPECT_LT(two.size(), 74u);
  const Pixels corner = DiscFootprint({{0, 0}}, LargePenDisc(), 96, 64);
  for (const Point& p : corner) {
    EXPECT_GE(p.x, 0);
    EXPECT_GE(p.y, 0);
  }
  EXPECT_LT(corner.size(), 37u);
}

// A level drawn from rows of '#' (terrain) and '.', 8 pixels per byte.
LevelRecord LevelFrom(const std::vector<std::string>& rows) {
  LevelRecord level;
  level.m_nWidthBytes = static_cast<int>(rows[0].size()) / 8;
  level.m_nHeight = static_cast<int>(rows.size());
  for (int y = 0; y < level.m_nHeight; ++y) {
    for (int x = 0; x < level.WidthPixels(); ++x) {
      level.SetPixel(
          x, y,
          rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] ==
              '#');
    }
  }
  return level;
}

std::vector<std::string> Filled(const LevelRecord& level,
                                const std::vector<Span>& spans) {
  std::vector<std::string> rows;
  for (int y = 0; y < level.m_nHeight; ++y) {
    std::string row;
    for (int x = 0; x < level.WidthPixels(); ++x) {
      row += level.GetPixel(x, y) ? '#' : '.';
    }
    rows.push_back(row);
  }
  for (const Span& s : spans) {
    for (int x = s.x0; x <= s.x1; ++x) {
      rows[static_cast<std::size_t>(s.y)][static_cast<std::size_t>(x)] = '*';
    }
  }
  return rows;
}

TEST(FillRegion, FillsTheFourConnectedRegionOfTheSeedsColour) {
  const struct {
    const char* name;
    Point seed;
    std::vector<std::string> level, expected;
  } cases[] = {
      {"not across a diagonal",
       {0, 0},
       {"..#.....", ".#......", "#.......", "........"},
       {"**#.....", "*#......", "#.......", "........"}},
      {"through a gap",
       {6, 0},
       {"..#..#..", ".#...#..", "#....#..", "........"},
       {"..#**#**", ".#***#**", "#****#**", "********"}},
      {"around an island",
       {0, 0},
       {"........", ".##.....", ".##.....", "........"},
       {"********", "*##*****", "*##*****", "********"}},
      {"terrain fills terrain",
       {3, 0},
       {"...##...", "....#...", "#.......", "####...."},
       {"...**...", "....*...", "#.......", "####...."}},
      {"an enclosed pocket only",
       {2, 1},
       {"#####...", "#...#...", "#####...", "........"},
       {"#####...", "#***#...", "#####...", "........"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const LevelRecord level = LevelFrom(c.level);
    EXPECT_EQ(Filled(level, FillRegion(level, c.seed)), c.expected);
  }
}

TEST(FillRegion, CoversAWholeEmptyLevelAndNothingOutside) {
  LevelRecord level;
  level.m_nWidthBytes = 36;
  level.m_nHeight = 64;
  std::size_t count = 0;
  for (const Span& s : FillRegion(level, {100, 30})) count += s.x1 - s.x0 + 1;
  EXPECT_EQ(count, 288u * 64u);
  EXPECT_TRUE(FillRegion(level, {-1, 0}).empty());
  EXPECT_TRUE(FillRegion(level, {288, 0}).empty());
  EXPECT_TRUE(FillRegion(level, {0, 64}).empty());
}

}  // namespace
