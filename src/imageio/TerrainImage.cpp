#include "imageio/TerrainImage.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

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

bool IsDark(QRgb pixel) {
  const int alpha = qAlpha(pixel);
  const int luma = LUMA_RED * OverWhite(qRed(pixel), alpha) +
                   LUMA_GREEN * OverWhite(qGreen(pixel), alpha) +
                   LUMA_BLUE * OverWhite(qBlue(pixel), alpha);
  return luma < LUMA_HALF;
}

}  // namespace

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
        if (IsDark(line[8 * xByte + bit])) {
          byte = static_cast<std::uint8_t>(byte | (0x80 >> bit));
        }
      }
      level.m_bitmap[y * level.m_nWidthBytes + xByte] = byte;
    }
  }
  return true;
}

bool ReadTerrainFile(const std::string& path, LevelRecord& level,
                     std::string& error) {
  QImageReader reader(QString::fromStdString(path));
  if (!reader.canRead()) {
    error = "cannot read the picture: " + reader.errorString().toStdString();
    return false;
  }
  const QSize size = reader.size();
  if (size.isValid() && !CheckTerrainSize(size.width(), size.height(), error)) {
    return false;
  }
  QImage image;
  if (!reader.read(&image)) {
    error = "cannot read the picture: " + reader.errorString().toStdString();
    return false;
  }
  return TerrainFromImage(image, level, error);
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
