#include "imageio/TerrainImage.h"

#include <sys/stat.h>

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <functional>
#include <vector>

#include "canvas/Sprites.h"
#include "packfile/RegularFile.h"

namespace {

// Luminance weights in thousandths; a pixel of full white sums to 255000.
constexpr int LUMA_RED = 299;
constexpr int LUMA_GREEN = 587;
constexpr int LUMA_BLUE = 114;
constexpr int LUMA_HALF = 255 * 1000 / 2;

// One channel of a pixel laid over white with the pixel's alpha.
int OverWhite(int channel, int alpha) {
  return (channel * alpha + 255 * (255 - alpha)) / 255;
}

}  // namespace

bool IsTerrainPixel(QRgb pixel) {
  const int alpha = qAlpha(pixel);
  const int luma = LUMA_RED * OverWhite(qRed(pixel), alpha) +
                   LUMA_GREEN * OverWhite(qGreen(pixel), alpha) +
                   LUMA_BLUE * OverWhite(qBlue(pixel), alpha);
  return luma < LUMA_HALF;
}

bool CheckTerrainSize(int width, int height, std::string& error) {
  const std::string size =
      std::to_string(width) + " x " + std::to_string(height) + " pixels";
  if (width < 8 * MIN_WIDTH_BYTES || width > 8 * MAX_WIDTH_BYTES ||
      width % 8 != 0) {
    error = "the picture is " + size + "; a level is " +
            std::to_string(8 * MIN_WIDTH_BYTES) + " to " +
            std::to_string(8 * MAX_WIDTH_BYTES) + " pixels wide in steps of 8";
    return false;
  }
  if (height < MIN_HEIGHT || height > MAX_HEIGHT) {
    error = "the picture is " + size + "; a level is " +
            std::to_string(MIN_HEIGHT) + " to " + std::to_string(MAX_HEIGHT) +
            " pixels high";
    return false;
  }
  const int bytes = width / 8 * height;
  if (bytes > MAX_BITMAP_BYTES) {
    error = "the picture is " + size + ", " + std::to_string(bytes) +
            " bytes of bitmap; a level holds at most " +
            std::to_string(MAX_BITMAP_BYTES);
    return false;
  }
  return true;
}

bool TerrainFromImage(const QImage& image, LevelRecord& level,
                      std::string& error) {
  if (!CheckTerrainSize(image.width(), image.height(), error)) return false;
  const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  if (argb.isNull()) {
    error = "the picture could not be converted to pixels";
    return false;
  }
  level.m_nWidthBytes = image.width() / 8;
  level.m_nHeight = image.height();
  for (int y = 0; y < argb.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
    for (int xByte = 0; xByte < level.m_nWidthBytes; ++xByte) {
      std::uint8_t byte = 0;
      for (int bit = 0; bit < 8; ++bit) {
        if (IsTerrainPixel(line[8 * xByte + bit])) {
          byte = static_cast<std::uint8_t>(byte | (0x80 >> bit));
        }
      }
      level.m_bitmap[y * level.m_nWidthBytes + xByte] = byte;
    }
  }
  return true;
}

namespace {

// Reads a picture from its bytes, refusing it by `fits` from its header's
// size before any pixel is decoded (a header without a size is read and
// checked after, within the reader's allocation limit).
bool ReadPictureBytes(const QByteArray& bytes,
                      const std::function<bool(QSize, std::string&)>& fits,
                      QImage& image, std::string& error) {
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  reader.setAllocationLimit(PICTURE_ALLOCATION_LIMIT_MB);
  if (!reader.canRead()) {
    error = "cannot read the picture: " + reader.errorString().toStdString();
    return false;
  }
  const QSize size = reader.size();
  if (size.isValid() && !fits(size, error)) return false;
  if (!reader.read(&image)) {
    error = "cannot read the picture: " + reader.errorString().toStdString();
    return false;
  }
  return true;
}

// The same from a file, which must be a regular file of at most
// PICTURE_FILE_MAX_BYTES.
bool ReadPicture(const std::string& path,
                 const std::function<bool(QSize, std::string&)>& fits,
                 QImage& image, std::string& error) {
  std::vector<std::uint8_t> bytes;
  if (!ReadRegularFile(path, PICTURE_FILE_MAX_BYTES, bytes, error)) {
    // A missing picture keeps the picture reader's words.
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 && errno == ENOENT) {
      error = "cannot read the picture: File not found";
    }
    return false;
  }
  return ReadPictureBytes(
      QByteArray(reinterpret_cast<const char*>(bytes.data()),
                 static_cast<qsizetype>(bytes.size())),
      fits, image, error);
}

bool FitsTerrain(QSize size, std::string& why) {
  return CheckTerrainSize(size.width(), size.height(), why);
}

}  // namespace

bool ReadTerrainFile(const std::string& path, LevelRecord& level,
                     std::string& error) {
  QImage image;
  return ReadPicture(path, FitsTerrain, image, error) &&
         TerrainFromImage(image, level, error);
}

bool ReadTerrainBytes(const QByteArray& bytes, LevelRecord& level,
                      std::string& error) {
  QImage image;
  return ReadPictureBytes(bytes, FitsTerrain, image, error) &&
         TerrainFromImage(image, level, error);
}

QImage TerrainToImage(const LevelRecord& level) {
  QImage image(level.WidthPixels(), level.m_nHeight, QImage::Format_Mono);
  image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
  for (int y = 0; y < level.m_nHeight; ++y) {
    uchar* line = image.scanLine(y);
    // Format_Mono keeps the leftmost pixel in the most significant bit, as
    // the level bitmap does, and index 1 is black: the rows copy as they are.
    for (int xByte = 0; xByte < level.m_nWidthBytes; ++xByte) {
      line[xByte] = level.m_bitmap[y * level.m_nWidthBytes + xByte];
    }
  }
  return image;
}

QByteArray EncodePng(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "png");
  if (!writer.write(image)) return {};
  return bytes;
}

std::string TerrainFileName(int index) {
  return "level-" + std::to_string(index + 1) + ".png";
}

namespace {

// The level size a picture of width x height pixels is imported as; false,
// with a reason, when no level can be that large.
bool FitSize(int width, int height, int& widthBytes, int& rows,
             std::string& error) {
  widthBytes = std::max(MIN_WIDTH_BYTES, (width + 7) / 8);
  rows = std::max(MIN_HEIGHT, height);
  if (width > 8 * MAX_WIDTH_BYTES || height > MAX_HEIGHT ||
      widthBytes * rows > MAX_BITMAP_BYTES) {
    error = "The picture is " + std::to_string(width) + " x " +
            std::to_string(height) + " pixels. A level is at most " +
            std::to_string(8 * MAX_WIDTH_BYTES) + " pixels wide and " +
            std::to_string(MAX_HEIGHT) + " pixels high, with at most " +
            std::to_string(MAX_BITMAP_BYTES) +
            " bytes of bitmap (width / 8 x height).";
    return false;
  }
  return true;
}

// Each row of the object's sprite ORed into a row of bytes, as the canvas
// paints objects over the terrain.
void DrawObjects(const LevelRecord& level, std::uint8_t* bits) {
  const int w = level.m_nWidthBytes;
  const int slotCount = std::min(level.SlotsInUse(), OBJECT_SLOTS);
  for (int slot = 0; slot < slotCount; ++slot) {
    const LevelObject& object = level.m_objects[slot];
    if (object.kind == OBJ_NONE) continue;
    const Sprite& sprite = GetSprite(object.kind);
    for (int r = 0; r < OBJECT_SIZE && object.row + r < level.m_nHeight; ++r) {
      std::uint8_t* row = bits + (object.row + r) * w;
      if (object.col < w) row[object.col] |= std::uint8_t(sprite[r]);
      if (object.col + 1 < w)
        row[object.col + 1] |= std::uint8_t(sprite[16 + r]);
    }
  }
}

}  // namespace

bool FitTerrainFromImage(const QImage& image, LevelRecord& level,
                         std::string& error) {
  if (image.isNull()) {
    error = "The picture is empty.";
    return false;
  }
  int widthBytes = 0;
  int rows = 0;
  if (!FitSize(image.width(), image.height(), widthBytes, rows, error)) {
    return false;
  }
  QImage padded(8 * widthBytes, rows, QImage::Format_ARGB32);
  padded.fill(Qt::white);
  const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < argb.height(); ++y) {
    const auto* from = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
    std::copy_n(from, argb.width(),
                reinterpret_cast<QRgb*>(padded.scanLine(y)));
  }
  LevelRecord result = level;
  if (!TerrainFromImage(padded, result, error)) return false;
  result.ClipObjects();
  level = result;
  return true;
}

namespace {

bool FitsImport(QSize size, std::string& why) {
  int widthBytes = 0;
  int rows = 0;
  return FitSize(size.width(), size.height(), widthBytes, rows, why);
}

}  // namespace

bool ImportTerrainFile(const std::string& path, LevelRecord& level,
                       std::string& error) {
  QImage image;
  return ReadPicture(path, FitsImport, image, error) &&
         FitTerrainFromImage(image, level, error);
}

bool ImportTerrainBytes(const QByteArray& bytes, LevelRecord& level,
                        std::string& error) {
  QImage image;
  return ReadPictureBytes(bytes, FitsImport, image, error) &&
         FitTerrainFromImage(image, level, error);
}

QImage LevelPicture(const LevelRecord& level, bool objects, int scale) {
  LevelRecord drawn = level;
  if (objects) DrawObjects(level, drawn.m_bitmap);
  const QImage image = TerrainToImage(drawn);
  if (scale <= 1) return image;
  return image.scaled(image.width() * scale, image.height() * scale,
                      Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

QImage LevelThumbnail(const LevelRecord& level, int maxWidth, int maxHeight) {
  const int width = level.WidthPixels();
  const int height = level.m_nHeight;
  int cell = 1;
  while (width > cell * maxWidth || height > cell * maxHeight) ++cell;
  const int tw = (width + cell - 1) / cell;
  const int th = (height + cell - 1) / cell;

  std::array<std::uint8_t, BITMAP_STORAGE> bits{};
  std::copy_n(level.m_bitmap, level.BitmapBytes(), bits.begin());
  DrawObjects(level, bits.data());

  // Terrain pixels per thumbnail pixel, counted a byte at a time where a
  // byte lies inside one cell.
  std::array<int, 8 * MAX_WIDTH_BYTES> counts{};
  QImage thumb(tw, th, QImage::Format_Grayscale8);
  const int w = level.m_nWidthBytes;
  for (int ty = 0; ty < th; ++ty) {
    std::fill_n(counts.begin(), tw, 0);
    const int top = ty * cell;
    const int bottom = std::min(height, top + cell);
    for (int y = top; y < bottom; ++y) {
      const std::uint8_t* row = bits.data() + y * w;
      for (int b = 0; b < w; ++b) {
        const std::uint8_t byte = row[b];
        if (byte == 0) continue;
        const int x0 = 8 * b;
        if (x0 / cell == (x0 + 7) / cell) {
          counts[x0 / cell] += std::popcount(byte);
        } else {
          for (int bit = 0; bit < 8; ++bit) {
            if (byte & (0x80 >> bit)) ++counts[(x0 + bit) / cell];
          }
        }
      }
    }
    uchar* line = thumb.scanLine(ty);
    const int rowsIn = bottom - top;
    for (int tx = 0; tx < tw; ++tx) {
      const int area = rowsIn * (std::min(width, (tx + 1) * cell) - tx * cell);
      line[tx] = static_cast<uchar>(255 - 255 * counts[tx] / area);
    }
  }
  return thumb;
}
