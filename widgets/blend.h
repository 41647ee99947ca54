#pragma once
// Translucent drawing in eighths: the word-wise blend of an image row over
// its background, and the cutting of large areas into bands so that the
// two work bitmaps never exceed 65536 pixels.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tavrin {

struct TRectI {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const TRectI&) const = default;
};

// Blends `words` 32-bit words of image bytes over background bytes, result
// into image; level 1 (image 7/8) to 7 (image 1/8). Both buffers must hold
// words × 4 bytes.
void BlendWords(uint8_t* image, const uint8_t* background, std::size_t words, int level);
// The same for one byte, as the word form gives it byte by byte.
uint8_t BlendByte(uint8_t image, uint8_t background, int level);

// The rectangles DrawMix runs on for the area r (already widened): r itself
// when it holds at most 65536 pixels, else bands of 65536 / width rows and
// a last, shorter band for what remains.
std::vector<TRectI> BlendBands(const TRectI& r);

// Raises EError "abnormal params in DrawMix" for a rectangle without width
// or height.
void CheckMixRect(const TRectI& r);

}  // namespace tavrin
