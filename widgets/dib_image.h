#pragma once
// A bitmap-file image held in memory: the exact bytes of an uncompressed
// bitmap file (14-byte file header, 40-byte information header, colour
// table of blue-green-red-reserved entries, rows bottom-up padded to four
// bytes). The rotating image and its colour effects work on this form.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tavrin {

inline uint16_t GetLe16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
inline uint32_t GetLe32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline void PutLe16(uint8_t* p, uint16_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}
inline void PutLe32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

// Byte offsets inside the two headers.
namespace dib {
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kHeadersSize = kFileHeaderSize + kInfoHeaderSize;  // 54
constexpr std::size_t kFileSize = 2, kReserved1 = 6, kReserved2 = 8, kPixelOffset = 10;
constexpr std::size_t kInfoSize = 14, kWidth = 18, kHeight = 22, kPlanes = 26, kBitCount = 28,
                      kCompression = 30, kImageSize = 34, kXPels = 38, kYPels = 42,
                      kColorsUsed = 46, kColorsImportant = 50;
}  // namespace dib

class TDibImage {
 public:
  std::vector<uint8_t>& Bytes() { return FBytes; }
  const std::vector<uint8_t>& Bytes() const { return FBytes; }
  std::size_t Size() const { return FBytes.size(); }
  bool Empty() const { return FBytes.empty(); }
  void Clear() { FBytes.clear(); }

  // The header checks every drawing and rendering step makes first.
  bool IsValidDib() const;
  // IsValidDib, and the colour table and every pixel row lie inside the
  // buffer, so the pixel accessors below may be used without further checks.
  bool HasPixels() const;

  // Header fields; the buffer must hold the 54 header bytes.
  uint32_t FileSize() const { return GetLe32(&FBytes[dib::kFileSize]); }
  uint32_t PixelOffset() const { return GetLe32(&FBytes[dib::kPixelOffset]); }
  int32_t Width() const { return int32_t(GetLe32(&FBytes[dib::kWidth])); }
  int32_t Height() const { return int32_t(GetLe32(&FBytes[dib::kHeight])); }
  int BitCount() const { return GetLe16(&FBytes[dib::kBitCount]); }
  uint32_t ColorCount() const { return GetLe32(&FBytes[dib::kColorsUsed]); }
  void SetField32(std::size_t at, uint32_t v) { PutLe32(&FBytes[at], v); }

  // Bytes per stored row: ((width × bits + 31) div 32) × 4.
  std::size_t RowLength() const;
  uint8_t* Row(int storedRow) {
    return FBytes.data() + PixelOffset() + std::size_t(storedRow) * RowLength();
  }
  const uint8_t* Row(int storedRow) const {
    return FBytes.data() + PixelOffset() + std::size_t(storedRow) * RowLength();
  }
  uint8_t* ColourTable() { return FBytes.data() + dib::kHeadersSize; }
  const uint8_t* ColourTable() const { return FBytes.data() + dib::kHeadersSize; }
  // Entries of the colour table that lie inside both the count and the
  // space before the pixel data.
  uint32_t TableEntries() const;
  // Blue, green and red of an 8-bit pixel's index; black for an index past
  // the table.
  void PaletteColour(uint8_t index, uint8_t bgr[3]) const;

  // Starts a fresh image: headers for width × height at the given depth with
  // `colours` table entries (zeroed), pixel data zeroed; 24-bit images get
  // the guard byte. File size excludes the guard byte.
  void Create(int32_t width, int32_t height, int bits, uint32_t colours);
  bool HasGuardByte() const;

 private:
  std::vector<uint8_t> FBytes;
};

}  // namespace tavrin
