#pragma once

// Terrain to picture and back: the code plodpak and the editor share. It
// needs QtGui for QImage, so it lives beside the core, not in it.

#include <QByteArray>
#include <QImage>
#include <string>

#include "model/Level.h"

// Checks that a picture of width x height pixels can be a level's terrain:
// 96 to 288 pixels wide in steps of 8, 64 to 192 high, at most 2304 bytes of
// bitmap. On failure `error` says which limit the size breaks.
bool CheckTerrainSize(int width, int height, std::string& error);

// Sets the level's size to the picture's and its terrain from the picture's
// pixels: a pixel is terrain when it is dark, its luminance (over a white
// background, for pixels that are partly transparent) below half. The
// picture's size must pass CheckTerrainSize. Objects are left alone.
bool TerrainFromImage(const QImage& image, LevelRecord& level,
                      std::string& error);

// Reads a picture file into the level's terrain. The size is checked from the
// file's header before any pixel is decoded, so an oversized picture costs
// nothing.
bool ReadTerrainFile(const std::string& path, LevelRecord& level,
                     std::string& error);

// The level's terrain as a 1-bit picture of exactly the level's size: black
// terrain on white.
QImage TerrainToImage(const LevelRecord& level);

// The picture encoded as PNG; empty when encoding failed.
QByteArray EncodePng(const QImage& image);
