#pragma once

#include <string_view>

#include "model/Geometry.h"
#include "model/Level.h"

// Why an object cannot stand where the pointer puts it, for the status bar:
// the edge of the level its 16 x 16 box would cross, or, for a click beside
// the level, where to click instead. The refusals that say nothing else
// would leave the author guessing.
namespace fitnotes {

// Empty when the box with its top-left pixel at `topLeft` lies inside
// `level`; else which way the object is too large for the place: its rows
// when it crosses the top or bottom edge, else its width.
std::string_view DoesNotFit(const CLevel& level, int kind, Point topLeft);

// For a placement click outside the level.
std::string_view ClickInside(int kind);

}  // namespace fitnotes
