#include "widgets/colour_effects.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace tavrin {
namespace {

int BendByTint(int v, int t) {
  const int k = t / 8;
  const int bend = ((255 - v) * v * t) / 32768;
  const int r = t > 0 ? k + (255 - k) * v / 255 + bend : (255 + k) * v / 255 + bend;
  return std::clamp(r, 0, 255);
}

}  // namespace

void ApplyTone(uint8_t bgr[3], uint32_t code) {
  const int s = int(code >> 24);
  const int w = 2 * (255 - s);
  const int b = bgr[0], g = bgr[1], r = bgr[2];
  int v[3] = {(s * (r + g) + w * b) / 510, (s * (r + b) + w * g) / 510,
              (s * (g + b) + w * r) / 510};
  // Tints in blue, green, red order, to match v.
  const int tint[3] = {int8_t(code >> 16), int8_t(code >> 8), int8_t(code)};
  for (int i = 0; i < 3; ++i) {
    if (tint[i] != 0) v[i] = BendByTint(v[i], tint[i]);
    bgr[i] = uint8_t(v[i]);
  }
}

void ApplyPaletteEffects(TDibImage& image, uint32_t code, bool negative) {
  if (!image.IsValidDib()) return;
  uint32_t n = image.ColorCount();
  if (image.BitCount() == 4) {
    if (n == 0 || n > 16) n = 16;
  } else if (image.BitCount() == 8) {
    if (n == 0 || n > 256) n = 256;
  } else {
    return;
  }
  // Entries past the pixel-data offset are not part of the table.
  n = std::min<uint32_t>(n, (image.PixelOffset() - uint32_t(dib::kHeadersSize)) / 4);
  uint8_t* entry = image.ColourTable();
  for (uint32_t i = 0; i < n; ++i, entry += 4) {
    if (code != 0) ApplyTone(entry, code);
    if (negative) {
      InvertColour(entry);
      entry[3] = 0;
    }
  }
}

uint8_t SketchLevel(int m) {
  constexpr int T = 120, D = 5, K = 128;
  const int c = m <= T ? (510 - 510 / D + T / D - K) * m / T : 510 - 510 / D + m / D - K;
  return uint8_t(255 - c / 2);
}

void BuildSketch(const TDibImage& source, TDibImage& sketch) {
  sketch.Clear();
  if (!source.HasPixels() || (source.BitCount() != 8 && source.BitCount() != 24)) return;
  const int w = source.Width(), h = source.Height();

  // Colours of every pixel, three bytes each, in stored row order.
  std::vector<uint8_t> colours(std::size_t(w) * h * 3);
  for (int y = 0; y < h; ++y) {
    const uint8_t* row = source.Row(y);
    uint8_t* dst = &colours[std::size_t(y) * w * 3];
    for (int x = 0; x < w; ++x, dst += 3) {
      if (source.BitCount() == 24) {
        std::memcpy(dst, row + 3 * x, 3);
      } else {
        source.PaletteColour(row[x], dst);
      }
    }
  }

  sketch.Create(w, h, 8, 256);
  std::vector<uint8_t>& b = sketch.Bytes();
  for (int i = 0; i < 256; ++i) std::memset(&b[dib::kHeadersSize + 4 * i], i, 3);

  auto at = [&](int x, int y) {
    x = std::clamp(x, 0, w - 1);
    y = std::clamp(y, 0, h - 1);
    return &colours[(std::size_t(y) * w + x) * 3];
  };
  for (int y = 0; y < h; ++y) {
    uint8_t* out = sketch.Row(y);
    for (int x = 0; x < w; ++x) {
      const uint8_t* p = at(x, y);
      int sum = 0;
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
          if (dx == 0 && dy == 0) continue;
          const uint8_t* q = at(x + dx, y + dy);
          for (int c = 0; c < 3; ++c) sum += (q[c] - p[c]) * (q[c] - p[c]);
        }
      }
      const int m = int(std::nearbyint(std::sqrt(double(sum) / 3 / 2)));
      out[x] = SketchLevel(m);
    }
  }
}

}  // namespace tavrin
