#pragma once

#include <QImage>

#include "canvas/SelectTool.h"

// Terrain pixels as a picture for the system clipboard and back. A picture
// is black terrain on white; from a picture, a pixel is terrain when it is
// darker than middle grey laid over white (partly transparent pixels count
// by how much of them covers the white). Pictures larger than the largest
// level are cut to 288 x 192 pixels.
QImage ClipToImage(const TerrainClip& clip);
TerrainClip ClipFromImage(const QImage& image);
