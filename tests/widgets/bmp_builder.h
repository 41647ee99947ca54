#pragma once
// Builds bitmap files byte by byte for the tests, including broken ones.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "widgets/dib_image.h"
#include "widgets/dib_loader.h"

namespace tavrin::test {

struct BmpSpec {
  int32_t width = 1, height = 1;
  uint16_t bits = 24;
  std::vector<uint32_t> palette = {};  // 0x00RRGGBB as stored (blue in the low byte)
  // Packed pixel bytes of each stored row, bottom row first; padded here.
  std::vector<std::vector<uint8_t>> rows = {};
  uint32_t colorsUsed = 0xFFFFFFFF;  // default: palette size
  uint32_t headerSize = 40;
  uint32_t compression = 0;
  uint16_t planes = 1;
};

inline std::vector<uint8_t> MakeBmp(const BmpSpec& s) {
  const uint32_t absW = uint32_t(s.width < 0 ? -s.width : s.width);
  const std::size_t rowLength = ((std::size_t(absW) * s.bits + 31) / 32) * 4;
  const std::size_t offset = 14 + s.headerSize + 4 * s.palette.size();
  std::vector<uint8_t> b(offset + rowLength * s.rows.size(), 0);
  b[0] = 'B';
  b[1] = 'M';
  PutLe32(&b[2], uint32_t(b.size()));
  PutLe32(&b[10], uint32_t(offset));
  PutLe32(&b[14], s.headerSize);
  PutLe32(&b[18], uint32_t(s.width));
  PutLe32(&b[22], uint32_t(s.height));
  PutLe16(&b[26], s.planes);
  PutLe16(&b[28], s.bits);
  PutLe32(&b[30], s.compression);
  PutLe32(&b[46], s.colorsUsed == 0xFFFFFFFF ? uint32_t(s.palette.size()) : s.colorsUsed);
  for (std::size_t i = 0; i < s.palette.size(); ++i)
    PutLe32(&b[14 + s.headerSize + 4 * i], s.palette[i]);
  for (std::size_t r = 0; r < s.rows.size(); ++r) {
    std::memcpy(&b[offset + r * rowLength], s.rows[r].data(),
                std::min(rowLength, s.rows[r].size()));
  }
  return b;
}

// A 24-bit image whose pixel (x, y) of stored row y is colour(x, y) as
// blue, green, red bytes packed into 0x00RRGGBB.
template <typename F>
std::vector<uint8_t> MakeBmp24(int w, int h, F colour) {
  BmpSpec s{w, h, 24};
  for (int y = 0; y < h; ++y) {
    // Sized first and written in place: inserting an initializer list at
    // the end draws a false -Wstringop-overflow from GCC 12 at -O3.
    std::vector<uint8_t> row(3 * std::size_t(std::max(w, 0)));
    for (int x = 0; x < w; ++x) {
      const uint32_t c = colour(x, y);
      row[3 * std::size_t(x)] = uint8_t(c);
      row[3 * std::size_t(x) + 1] = uint8_t(c >> 8);
      row[3 * std::size_t(x) + 2] = uint8_t(c >> 16);
    }
    s.rows.push_back(row);
  }
  return MakeBmp(s);
}

inline TDibImage Load(const std::vector<uint8_t>& file) {
  TDibImage image;
  TByteStream stream{file.data(), file.size(), 0};
  LoadBitmapStream(stream, image);
  if (image.IsValidDib() && image.BitCount() == 24) image.Bytes().push_back(0);
  return image;
}

// Blue, green, red of pixel x of stored row y, packed as 0x00RRGGBB.
inline uint32_t Pixel24(const TDibImage& image, int x, int y) {
  const uint8_t* p = image.Row(y) + 3 * x;
  return p[0] | p[1] << 8 | p[2] << 16;
}

}  // namespace tavrin::test
