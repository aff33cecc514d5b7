#pragma once

#include "model/LevelPack.h"

// The pack as every reader beside the editing itself sees it (the pack
// check, thumbnails, image export, copies of a level): the author's work as
// values, never a placement preview standing in the terrain.
inline PackContents PackForReading(const CLevelPack& pack) {
  return pack.Contents();
}
