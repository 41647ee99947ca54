#include "widgets/work_bitmap.h"

#include <algorithm>
#include <array>

#include "util/cp932.h"
#include "util/messages.h"

namespace tavrin {
namespace {

void Put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  b[at] = v & 0xFF;
  b[at + 1] = (v >> 8) & 0xFF;
}

void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = (v >> (8 * i)) & 0xFF;
}

}  // namespace

TWorkBitmap::TWorkBitmap(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      stride_((static_cast<std::size_t>(width_) * 3 + 3) / 4 * 4) {
  const std::size_t pixels = stride_ * static_cast<std::size_t>(height_);
  file_.assign(kPixelOffset + pixels, 0);
  file_[0] = 'B';
  file_[1] = 'M';
  Put32(file_, 2, static_cast<std::uint32_t>(file_.size()));
  Put32(file_, 10, kPixelOffset);
  Put32(file_, 14, 40);  // information header size
  Put32(file_, 18, static_cast<std::uint32_t>(width_));
  Put32(file_, 22, static_cast<std::uint32_t>(height_));  // positive: bottom-up
  Put16(file_, 26, 1);                                    // planes
  Put16(file_, 28, 24);                                   // bits per pixel
  Put32(file_, 34, static_cast<std::uint32_t>(pixels));
  Put32(file_, 38, 3780);  // 96 dpi
  Put32(file_, 42, 3780);
}

void TWorkBitmap::FillRect(int left, int top, int right, int bottom, TColor color) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, width_);
  bottom = std::min(bottom, height_);
  for (int y = top; y < bottom; ++y) {
    std::uint8_t* p = Row(y) + 3 * left;
    for (int x = left; x < right; ++x) {
      *p++ = BlueOf(color);
      *p++ = GreenOf(color);
      *p++ = RedOf(color);
    }
  }
}

TColor TWorkBitmap::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  const std::uint8_t* p = Row(y) + 3 * x;
  return RGBColor(p[2], p[1], p[0]);
}

bool InvertBitmapColors(TWorkBitmap& bitmap, int displayBitsPerPixel) {
  if (displayBitsPerPixel < 8) {
    BeepErrorBox(cp932::Sjis("カラー環境が 8ビット以下のため、処理できません（－”－；"));
    return false;
  }
  std::array<std::uint8_t, 256> complement;
  for (int v = 0; v < 256; ++v) complement[v] = static_cast<std::uint8_t>(255 - v);
  for (int y = 0; y < bitmap.Height(); ++y) {
    std::uint8_t* p = bitmap.Row(y);
    for (int i = 0; i < bitmap.Width() * 3; ++i) p[i] = complement[p[i]];
  }
  return true;
}

}  // namespace tavrin
