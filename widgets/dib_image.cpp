#include "widgets/dib_image.h"

#include <cstring>

namespace tavrin {

bool TDibImage::IsValidDib() const {
  const std::size_t size = FBytes.size();
  if (size <= dib::kHeadersSize) return false;
  const uint8_t* b = FBytes.data();
  if (b[0] != 'B' || b[1] != 'M') return false;
  const uint32_t fileSize = GetLe32(b + dib::kFileSize);
  const uint32_t offset = GetLe32(b + dib::kPixelOffset);
  if (fileSize > size || fileSize <= offset) return false;
  if (GetLe16(b + dib::kReserved1) != 0 || GetLe16(b + dib::kReserved2) != 0) return false;
  if (offset < dib::kHeadersSize) return false;
  if (GetLe32(b + dib::kInfoSize) != dib::kInfoHeaderSize) return false;
  if (int32_t(GetLe32(b + dib::kWidth)) <= 0 || int32_t(GetLe32(b + dib::kHeight)) <= 0)
    return false;
  if (GetLe16(b + dib::kPlanes) != 1) return false;
  const int bits = GetLe16(b + dib::kBitCount);
  if (bits < 1 || bits > 32) return false;
  if (GetLe32(b + dib::kCompression) != 0) return false;
  if (int32_t(GetLe32(b + dib::kXPels)) < 0 || int32_t(GetLe32(b + dib::kYPels)) < 0) return false;
  return GetLe32(b + dib::kColorsUsed) <= 256;
}

std::size_t TDibImage::RowLength() const {
  return ((uint64_t(uint32_t(Width())) * uint64_t(BitCount()) + 31) / 32) * 4;
}

bool TDibImage::HasPixels() const {
  if (!IsValidDib()) return false;
  const uint64_t end = uint64_t(PixelOffset()) + uint64_t(RowLength()) * uint64_t(Height());
  const uint64_t table = dib::kHeadersSize + 4ull * ColorCount();
  return table <= PixelOffset() && end <= FBytes.size();
}

uint32_t TDibImage::TableEntries() const {
  const uint32_t room = (PixelOffset() - uint32_t(dib::kHeadersSize)) / 4;
  const uint32_t count = ColorCount() == 0 && BitCount() <= 8 ? (1u << BitCount()) : ColorCount();
  return count < room ? count : room;
}

void TDibImage::PaletteColour(uint8_t index, uint8_t bgr[3]) const {
  if (index < TableEntries()) {
    std::memcpy(bgr, ColourTable() + 4 * index, 3);
  } else {
    bgr[0] = bgr[1] = bgr[2] = 0;
  }
}

void TDibImage::Create(int32_t width, int32_t height, int bits, uint32_t colours) {
  const std::size_t offset = dib::kHeadersSize + 4 * std::size_t(colours);
  const std::size_t row = ((std::size_t(width) * bits + 31) / 32) * 4;
  const std::size_t fileSize = offset + row * std::size_t(height);
  FBytes.assign(fileSize + (bits == 24 ? 1 : 0), 0);
  uint8_t* b = FBytes.data();
  b[0] = 'B';
  b[1] = 'M';
  PutLe32(b + dib::kFileSize, uint32_t(fileSize));
  PutLe32(b + dib::kPixelOffset, uint32_t(offset));
  PutLe32(b + dib::kInfoSize, dib::kInfoHeaderSize);
  PutLe32(b + dib::kWidth, uint32_t(width));
  PutLe32(b + dib::kHeight, uint32_t(height));
  PutLe16(b + dib::kPlanes, 1);
  PutLe16(b + dib::kBitCount, uint16_t(bits));
  PutLe32(b + dib::kColorsUsed, colours);
}

bool TDibImage::HasGuardByte() const {
  return FBytes.size() >= dib::kHeadersSize && FBytes.size() > FileSize();
}

}  // namespace tavrin
