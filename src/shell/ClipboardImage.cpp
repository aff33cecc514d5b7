#include "shell/ClipboardImage.h"

#include <algorithm>

#include "imageio/TerrainImage.h"
#include "model/Level.h"

QImage ClipToImage(const TerrainClip& clip) {
  if (clip.Empty()) return {};
  QImage image(clip.width, clip.height, QImage::Format_RGB32);
  for (int y = 0; y < clip.height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < clip.width; ++x) {
      line[x] = clip.At(x, y) ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
    }
  }
  return image;
}

TerrainClip ClipFromImage(const QImage& image) {
  TerrainClip clip;
  if (image.isNull()) return clip;
  const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  clip.width = std::min(argb.width(), 8 * MAX_WIDTH_BYTES);
  clip.height = std::min(argb.height(), MAX_HEIGHT);
  clip.pixels.reserve(static_cast<std::size_t>(clip.width) * clip.height);
  for (int y = 0; y < clip.height; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
    for (int x = 0; x < clip.width; ++x) {
      clip.pixels.push_back(IsTerrainPixel(line[x]) ? 1 : 0);
    }
  }
  return clip;
}
