// libFuzzer target for pictures that become terrain: any bytes through Qt's
// picture reader with the editor's limits (the size from the header first,
// an allocation limit), then the conversion to a level's terrain, both as
// plodpak reads a picture of the level's exact size and as the editor
// imports one of any size. A terrain that is read is a valid level size and
// comes back the same from the PNG an export writes of it; a refused
// picture says why and leaves the level as it was.
#include <QByteArray>
#include <cstdint>
#include <cstring>

#include "fuzz/FuzzCheck.h"
#include "imageio/TerrainImage.h"

using fuzzcheck::Require;

namespace {

using Read = bool (*)(const QByteArray&, LevelRecord&, std::string&);

void Check(const QByteArray& bytes, Read read) {
  LevelRecord sentinel;
  sentinel.m_nWidthBytes = 99;  // no terrain has this width
  LevelRecord level = sentinel;
  std::string error;
  if (!read(bytes, level, error)) {
    Require(!error.empty());
    Require(std::memcmp(&level, &sentinel, sizeof level) == 0);
    return;
  }
  fuzzcheck::RequireLevelSize(level);
  const QByteArray png = EncodePng(TerrainToImage(level));
  Require(!png.isEmpty());
  LevelRecord again;
  Require(ReadTerrainBytes(png, again, error));
  Require(again.m_nWidthBytes == level.m_nWidthBytes &&
          again.m_nHeight == level.m_nHeight &&
          std::memcmp(again.m_bitmap, level.m_bitmap,
                      static_cast<std::size_t>(level.BitmapBytes())) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data),
                         static_cast<qsizetype>(size));
  Check(bytes, ReadTerrainBytes);
  Check(bytes, ImportTerrainBytes);
  return 0;
}
