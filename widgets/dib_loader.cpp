#include "widgets/dib_loader.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

namespace tavrin {
namespace {

// The headers describe at most this many bytes of normalised image; the
// file-size field could not express more.
constexpr uint64_t kMaxImageBytes = std::numeric_limits<int32_t>::max();

// One source row of `bits` per pixel to one byte per pixel.
void ExpandToIndices(const uint8_t* src, int bits, uint32_t width, uint8_t* dst) {
  for (uint32_t i = 0; i < width; ++i) {
    switch (bits) {
      case 1:
        dst[i] = (src[i / 8] >> (7 - i % 8)) & 1;
        break;
      case 4:
        dst[i] = i % 2 == 0 ? src[i / 2] >> 4 : src[i / 2] & 0x0F;
        break;
      default:
        dst[i] = src[i];
        break;
    }
  }
}

// One source row to three bytes (blue, green, red) per pixel. Depths
// without a colour conversion of their own (2, 3, 5 to 7, 9 to 15, 17 to
// 23, 25 to 31 bits) are copied byte for byte, zero-filled where the source
// row is shorter.
void ExpandToBgr(const uint8_t* src, std::size_t srcLength, int bits, uint32_t width,
                 uint8_t* dst) {
  if (bits == 16) {
    for (uint32_t i = 0; i < width; ++i) {
      const uint16_t w = GetLe16(src + 2 * i);
      dst[3 * i] = uint8_t((w & 31) * 255 / 31);
      dst[3 * i + 1] = uint8_t(((w >> 5) & 31) * 255 / 31);
      dst[3 * i + 2] = uint8_t(((w >> 10) & 31) * 255 / 31);
    }
  } else if (bits == 32) {
    for (uint32_t i = 0; i < width; ++i) std::memcpy(dst + 3 * i, src + 4 * i, 3);
  } else {
    const std::size_t n = std::min<std::size_t>(srcLength, 3 * std::size_t(width));
    std::memcpy(dst, src, n);
    std::memset(dst + n, 0, 3 * std::size_t(width) - n);
  }
}

}  // namespace

bool LoadBitmapStream(TByteStream& stream, TDibImage& out) {
  out.Clear();
  const std::size_t start = stream.position;
  if (start > stream.size || stream.size - start < dib::kHeadersSize) return false;
  const uint8_t* h = stream.data + start;
  const uint64_t available = stream.size - start;

  const uint32_t fileSize = GetLe32(h + dib::kFileSize);
  const uint32_t headerSize = GetLe32(h + dib::kInfoSize);
  const int32_t width = int32_t(GetLe32(h + dib::kWidth));
  const int32_t height = int32_t(GetLe32(h + dib::kHeight));
  const int bits = GetLe16(h + dib::kBitCount);
  const uint64_t absWidth = width < 0 ? -int64_t(width) : width;
  const uint64_t absHeight = height < 0 ? -int64_t(height) : height;

  uint64_t colours = GetLe32(h + dib::kColorsUsed);
  if (colours == 0 && bits == 4) colours = 16;
  if (colours == 0 && bits == 8) colours = 256;
  const uint64_t rowLength = ((absWidth * bits + 31) / 32) * 4;
  const uint64_t dataOffset = std::max<uint64_t>(
      GetLe32(h + dib::kPixelOffset), dib::kFileHeaderSize + uint64_t(headerSize) + 4 * colours);

  // The rows must lie inside the stream; written as a division so that huge
  // sizes cannot overflow.
  const bool rowsFit = dataOffset <= available &&
                       (rowLength == 0 || absHeight <= (available - dataOffset) / rowLength);
  if (h[0] != 'B' || h[1] != 'M' || !rowsFit || GetLe16(h + dib::kReserved1) != 0 ||
      GetLe16(h + dib::kReserved2) != 0 || headerSize < dib::kInfoHeaderSize ||
      GetLe16(h + dib::kPlanes) != 1 || GetLe32(h + dib::kCompression) != 0 || bits < 1 ||
      bits > 32 || colours > 256) {
    return false;
  }

  const bool indexed = bits == 1 || bits == 4 || bits == 8;
  const uint32_t tableEntries = indexed ? (bits == 1 ? 2 : uint32_t(colours)) : 0;
  const uint64_t outOffset = dib::kHeadersSize + 4ull * tableEntries;
  const uint64_t outRow = indexed ? (absWidth + 3) / 4 * 4 : (3 * absWidth + 3) / 4 * 4;
  const uint64_t outSize = outOffset + absHeight * outRow;
  if (outSize > kMaxImageBytes) return false;

  std::vector<uint8_t>& b = out.Bytes();
  // An image without width or height is refused when drawn; its rows are
  // not worth converting.
  const bool hasArea = width > 0 && height != 0;
  b.assign(hasArea ? outSize : outOffset, 0);
  b[0] = 'B';
  b[1] = 'M';
  PutLe32(&b[dib::kFileSize], uint32_t(outSize));
  PutLe32(&b[dib::kPixelOffset], uint32_t(outOffset));
  std::memcpy(&b[dib::kFileHeaderSize], h + dib::kFileHeaderSize, dib::kInfoHeaderSize);
  PutLe32(&b[dib::kInfoSize], dib::kInfoHeaderSize);
  PutLe16(&b[dib::kBitCount], indexed ? 8 : 24);
  PutLe32(&b[dib::kCompression], 0);
  PutLe32(&b[dib::kImageSize], 0);
  PutLe32(&b[dib::kXPels], 0);
  PutLe32(&b[dib::kYPels], 0);
  PutLe32(&b[dib::kColorsImportant], 0);
  PutLe32(&b[dib::kColorsUsed], tableEntries);

  if (bits == 1) {
    PutLe32(&b[dib::kHeadersSize], 0x00000000);
    PutLe32(&b[dib::kHeadersSize + 4], 0x00FFFFFF);
  } else if (indexed) {
    std::memcpy(&b[dib::kHeadersSize], h + dib::kFileHeaderSize + headerSize, 4 * tableEntries);
  }

  if (hasArea) {
    for (uint64_t row = 0; row < absHeight; ++row) {
      const uint8_t* src = h + dataOffset + row * rowLength;
      uint8_t* dst = &b[outOffset + row * outRow];
      if (indexed) {
        ExpandToIndices(src, bits, uint32_t(absWidth), dst);
      } else {
        ExpandToBgr(src, rowLength, bits, uint32_t(absWidth), dst);
      }
    }
  }
  stream.position = start + fileSize;
  return true;
}

void LoadBitmapFile(const uint8_t* data, std::size_t size, TDibImage& out) {
  out.Clear();
  if (size < dib::kHeadersSize) return;
  const int bits = GetLe16(data + dib::kBitCount);
  if (bits != 8 && bits != 24) {
    TByteStream stream{data, size, 0};
    LoadBitmapStream(stream, out);
    return;
  }
  std::vector<uint8_t>& b = out.Bytes();
  b.assign(data, data + size);
  uint32_t colours = GetLe32(&b[dib::kColorsUsed]);
  if (colours == 0 && bits == 8) {
    colours = 256;
    PutLe32(&b[dib::kColorsUsed], colours);
  }
  PutLe32(&b[dib::kPixelOffset], uint32_t(dib::kHeadersSize + 4ull * colours));
  PutLe32(&b[dib::kFileSize], uint32_t(b.size()));
}

}  // namespace tavrin
