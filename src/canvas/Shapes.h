#pragma once

#include <vector>

#include "canvas/Sprites.h"
#include "model/Geometry.h"

struct LevelRecord;

// Which level pixels a shape covers, as plain functions of its points. The
// tools decide what to do with the pixels (preview them, write them); these
// functions know nothing of the canvas. Points may lie outside any level;
// nothing here clips, except where a level is given.

// The pixels of the straight line from a to b, both ends included, in order
// from a: one pixel per step along the longer axis (Bresenham), so a line is
// unbroken and exactly one pixel thick.
std::vector<Point> LinePixels(Point a, Point b);

// The end point of a line from a toward b with its angle snapped to the
// nearest multiple of 45 degrees; a diagonal takes the longer of the two
// distances.
Point SnapTo45(Point a, Point b);

// The corner opposite a of the square with corner a that reaches toward b:
// both sides take the longer of the two distances.
Point SnapToSquare(Point a, Point b);

// The box with corners a and b, both included, as an exclusive Rect.
Rect BoxOf(Point a, Point b);

// The pixels of the rectangle with corners a and b (both inside it): its
// one-pixel outline, or every pixel of it when `filled`. Each pixel once.
std::vector<Point> RectanglePixels(Point a, Point b, bool filled);

// The pixels of the ellipse inscribed in the box with corners a and b: its
// outline (unbroken, 8-connected, symmetric about both axes of the box), or
// the outline with every pixel between its left and right ends in each row
// when `filled`. A box one or two pixels thin is wholly covered. Each pixel
// once, rows top to bottom, left to right.
std::vector<Point> EllipsePixels(Point a, Point b, bool filled);

// Every pixel within the pen's disc of some pixel of `path`, clipped to a
// width x height level: what the large pens cover along it. Each pixel once.
std::vector<Point> DiscFootprint(const std::vector<Point>& path,
                                 const Sprite& disc, int width, int height);

// A run of pixels of one row, x0 to x1 inclusive.
struct Span {
  int y = 0;
  int x0 = 0;
  int x1 = 0;
  friend bool operator==(const Span&, const Span&) = default;
};

// The 4-connected region of terrain pixels that have the colour of `seed`,
// up to the level's edges, as runs of rows. Empty when seed lies outside.
std::vector<Span> FillRegion(const LevelRecord& level, Point seed);
