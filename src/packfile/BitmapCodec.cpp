#include "packfile/BitmapCodec.h"

#include <algorithm>

int CountRun(const std::uint8_t* pos, const std::uint8_t* end) {
  const std::uint8_t value = *pos;
  const std::uint8_t* limit =
      end - pos > CODEC_MAX_RUN ? pos + CODEC_MAX_RUN : end;
  const std::uint8_t* p = pos + 1;
  while (p < limit && *p == value) ++p;
  return static_cast<int>(p - pos);
}

namespace {

void PutLiteral(std::uint8_t*& out, std::uint8_t value) {
  *out++ = value;
  if (value == CODEC_ESCAPE) *out++ = CODEC_ESCAPE;
}

}  // namespace

int CompressBitmap(std::uint8_t*& out, const std::uint8_t* bitmap, int n) {
  std::uint8_t* const start = out;
  const std::uint8_t* const end = bitmap + n;
  int i = 0;
  while (i < n) {
    const std::uint8_t value = bitmap[i];
    // A run needs three equal bytes of 0x00 or 0xFF that start before the
    // last three indices; it may reach into them.
    if (i < n - 3 && (value == 0x00 || value == 0xFF) &&
        bitmap[i + 1] == value && bitmap[i + 2] == value) {
      const int run = CountRun(bitmap + i, end);
      *out++ = CODEC_ESCAPE;
      *out++ = value;
      *out++ = static_cast<std::uint8_t>(run);
      i += run;
    } else {
      PutLiteral(out, value);
      ++i;
    }
  }
  return static_cast<int>(out - start);
}

int CompressBitmap(std::vector<std::uint8_t>& out,
                   std::span<const std::uint8_t> bitmap) {
  const std::size_t before = out.size();
  out.resize(before + MaxCompressedBytes(bitmap.size()));
  std::uint8_t* cursor = out.data() + before;
  const int written =
      CompressBitmap(cursor, bitmap.data(), static_cast<int>(bitmap.size()));
  out.resize(before + static_cast<std::size_t>(written));
  return written;
}

bool ExpandBitmap(std::span<std::uint8_t> bitmap,
                  std::span<const std::uint8_t> compressed,
                  std::size_t& produced, std::string& error) {
  produced = 0;
  std::size_t k = 0;
  const auto overflow = [&] {
    error = "the terrain expands to more than " +
            std::to_string(bitmap.size()) + " bytes";
    return false;
  };
  const auto cutShort = [&] {
    error = "the terrain data ends inside a run";
    return false;
  };
  // One byte as it stands (a literal or an escaped escape byte).
  const auto put = [&](std::uint8_t value) {
    if (produced >= bitmap.size()) return overflow();
    bitmap[produced++] = value;
    return true;
  };
  while (k < compressed.size()) {
    const std::uint8_t b = compressed[k];
    if (b != CODEC_ESCAPE) {
      if (!put(b)) return false;
      k += 1;
      continue;
    }
    if (k + 1 >= compressed.size()) return cutShort();
    const std::uint8_t v = compressed[k + 1];
    if (v == CODEC_ESCAPE) {
      if (!put(CODEC_ESCAPE)) return false;
      k += 2;
      continue;
    }
    if (k + 2 >= compressed.size()) return cutShort();
    const std::size_t run = compressed[k + 2];
    if (run > bitmap.size() - produced) return overflow();
    std::fill_n(bitmap.begin() + static_cast<std::ptrdiff_t>(produced), run, v);
    produced += run;
    k += 3;
  }
  return true;
}
