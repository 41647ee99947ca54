#pragma once
// A 24-bit bitmap held as the bytes of its bitmap file: file header,
// information header, then the rows bottom-up, each padded to four bytes,
// three bytes (blue, green, red) a pixel. The bytes are ready to be written
// to a .bmp file as they are.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "util/color.h"

namespace tavrin {

class TWorkBitmap {
 public:
  static constexpr std::size_t kPixelOffset = 14 + 40;

  TWorkBitmap() : TWorkBitmap(0, 0) {}
  // Negative sizes count as 0.
  TWorkBitmap(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  std::size_t Stride() const { return stride_; }

  // Fills [left, right) x [top, bottom) (top-down coordinates), clipped to
  // the bitmap.
  void FillRect(int left, int top, int right, int bottom, TColor color);
  // The pixel at (x, y), top-down; 0 outside the bitmap.
  TColor Pixel(int x, int y) const;
  // The row y from the top: Width() pixels of blue, green, red.
  std::uint8_t* Row(int y) { return file_.data() + RowOffset(y); }
  const std::uint8_t* Row(int y) const { return file_.data() + RowOffset(y); }

  const std::vector<std::uint8_t>& FileBytes() const { return file_; }

 private:
  std::size_t RowOffset(int y) const {
    return kPixelOffset + static_cast<std::size_t>(height_ - 1 - y) * stride_;
  }

  int width_;
  int height_;
  std::size_t stride_;
  std::vector<std::uint8_t> file_;
};

// Inverts every colour of the bitmap in place (each of blue, green and red
// becomes 255 minus itself). The bitmap came from a display of the given
// colour depth; below 8 bits per pixel it is refused with BeepErrorBox
// "カラー環境が 8ビット以下のため、処理できません（－”－；", left as it is,
// and the result is false.
bool InvertBitmapColors(TWorkBitmap& bitmap, int displayBitsPerPixel);

}  // namespace tavrin
