#pragma once

// Terrain to picture and back: the code plodpak and the editor share. It
// needs QtGui for QImage, so it lives beside the core, not in it.

#include <QByteArray>
#include <QImage>
#include <cstddef>
#include <string>

#include "model/Level.h"

// True when a picture's pixel is terrain: darker than middle grey once it is
// laid over white (a partly transparent pixel counts by how much of it
// covers the white).
bool IsTerrainPixel(QRgb pixel);

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

// A picture file larger than this is refused unread: no level-sized
// picture in any format comes near it.
inline constexpr std::size_t PICTURE_FILE_MAX_BYTES = 16 * 1024 * 1024;
// The most memory, in megabytes, the picture reader may take for one
// picture whose header tells no size.
inline constexpr int PICTURE_ALLOCATION_LIMIT_MB = 16;

// Reads a picture file into the level's terrain. The size is checked from the
// file's header before any pixel is decoded, so an oversized picture costs
// nothing.
bool ReadTerrainFile(const std::string& path, LevelRecord& level,
                     std::string& error);
// The same from a picture's bytes.
bool ReadTerrainBytes(const QByteArray& bytes, LevelRecord& level,
                      std::string& error);

// The level's terrain as a 1-bit picture of exactly the level's size: black
// terrain on white.
QImage TerrainToImage(const LevelRecord& level);

// The picture encoded as PNG; empty when encoding failed.
QByteArray EncodePng(const QImage& image);

// The picture file name of level `index` (0-based) in an export: level-1.png
// and on.
std::string TerrainFileName(int index);

// A picture of any size as the terrain of a level, for the editor's import:
// the level takes the picture's size, its width rounded up to a multiple of
// 8 and both raised to the smallest level (96 x 64); the pixels added are
// empty. A picture larger than any level can be (288 pixels wide, 192 high,
// 2304 bytes of bitmap) is refused with a reason naming those limits and the
// level is left alone. Objects that no longer fit are dropped, as a shrink
// drops them.
bool FitTerrainFromImage(const QImage& image, LevelRecord& level,
                         std::string& error);
// The same from a picture file; an oversized picture is refused from its
// header, before any pixel is decoded.
bool ImportTerrainFile(const std::string& path, LevelRecord& level,
                       std::string& error);
// The same from a picture's bytes.
bool ImportTerrainBytes(const QByteArray& bytes, LevelRecord& level,
                        std::string& error);

// The level as a picture for people: black terrain on white, the objects
// drawn over it in black as the canvas draws them when `objects` is set,
// each level pixel a square of `scale` x `scale` pixels (scale >= 1).
QImage LevelPicture(const LevelRecord& level, bool objects, int scale);

// A small picture of the level that fits `maxWidth` x `maxHeight`: each of
// its pixels is a square of level pixels (the smallest whole size that
// fits), grey as dark as the share of terrain and objects in it.
QImage LevelThumbnail(const LevelRecord& level, int maxWidth, int maxHeight);
