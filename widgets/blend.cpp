#include "widgets/blend.h"

#include <algorithm>
#include <cstring>

#include "util/error.h"

namespace tavrin {
namespace {

constexpr uint32_t kMask1 = 0x7F7F7F7F, kMask2 = 0x3F3F3F3F, kMask3 = 0x1F1F1F1F;

// Each byte of the word shifted right by 1, 2 or 3, without the bits that
// came from the byte above.
inline uint32_t H1(uint32_t v) { return (v >> 1) & kMask1; }
inline uint32_t H2(uint32_t v) { return (v >> 2) & kMask2; }
inline uint32_t H3(uint32_t v) { return (v >> 3) & kMask3; }

// Every byte of the result lies within 0 to 255, so carries and borrows
// between bytes cancel out over the whole expression.
inline uint32_t BlendWord(uint32_t i, uint32_t g, int level) {
  switch (level) {
    case 1:
      return i - H3(i) + H3(g);
    case 2:
      return i - H2(i) + H2(g);
    case 3:
      return i - H2(i) - H3(i) + H2(g) + H3(g);
    case 4:
      return i - H1(i) + H1(g);
    case 5:
      return H2(i) + H3(i) + g - H2(g) - H3(g);
    case 6:
      return H2(i) + g - H2(g);
    case 7:
      return H3(i) + g - H3(g);
    default:
      return i;
  }
}

}  // namespace

void BlendWords(uint8_t* image, const uint8_t* background, std::size_t words, int level) {
  for (std::size_t k = 0; k < words; ++k) {
    uint32_t i, g;
    std::memcpy(&i, image + 4 * k, 4);
    std::memcpy(&g, background + 4 * k, 4);
    i = BlendWord(i, g, level);
    std::memcpy(image + 4 * k, &i, 4);
  }
}

uint8_t BlendByte(uint8_t image, uint8_t background, int level) {
  return uint8_t(BlendWord(image, background, level));
}

std::vector<TRectI> BlendBands(const TRectI& r) {
  const int w = r.Width(), h = r.Height();
  if (w <= 0 || h <= 0 || int64_t(w) * h <= 65536) return {r};
  const int b = static_cast<int>(std::max(1u, 65536u / unsigned(w)));
  std::vector<TRectI> bands;
  TRectI band{r.left, r.top, r.right, r.top + b};
  while (band.bottom <= r.bottom) {
    bands.push_back(band);
    band.top += b;
    band.bottom += b;
  }
  if (r.bottom > band.top) bands.push_back({r.left, band.top, r.right, r.bottom});
  return bands;
}

void CheckMixRect(const TRectI& r) {
  if (r.Width() < 1 || r.Height() < 1) throw EError("abnormal params in DrawMix");
}

}  // namespace tavrin
