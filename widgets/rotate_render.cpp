#include "widgets/rotate_render.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "widgets/colour_effects.h"

namespace tavrin {
namespace {

// Float to integer for values that may be far out of range (or not a
// number, which goes to the lower bound).
int64_t ClampToInt(float v, float limit = 1e9f) {
  if (!(v > -limit)) return int64_t(-limit);
  if (!(v < limit)) return int64_t(limit);
  return int64_t(v);
}

// 16.16 positions of rows up to 2^31 pixels long stay exact.
int64_t Round(float v) { return ClampToInt(std::nearbyint(v), 1e15f); }

// The output's headers and colour table come from the input.
void CreateOutput(const TDibImage& input, TSizeI size, bool print, TDibImage& output) {
  const int bits = input.BitCount();
  const uint32_t colours = std::min(input.ColorCount(), input.TableEntries());
  output.Create(size.width, size.height, bits, colours);
  std::vector<uint8_t>& b = output.Bytes();
  const uint32_t fileSize = output.FileSize();
  std::memcpy(b.data(), input.Bytes().data(), dib::kHeadersSize + 4 * std::size_t(colours));
  PutLe32(&b[dib::kFileSize], fileSize);
  PutLe32(&b[dib::kPixelOffset], uint32_t(dib::kHeadersSize + 4 * colours));
  PutLe32(&b[dib::kWidth], uint32_t(size.width));
  PutLe32(&b[dib::kHeight], uint32_t(size.height));
  PutLe32(&b[dib::kImageSize], 0);
  PutLe32(&b[dib::kColorsUsed], colours);
  if (bits == 24 && print) std::memset(output.Row(0), 0xFF, fileSize - output.PixelOffset());
}

void CreateMask(TSizeI size, TDibImage& mask) {
  mask.Create(size.width, size.height, 8, 2);
  PutLe32(mask.ColourTable() + 4, 0x00FFFFFF);
}

}  // namespace

TSizeI OutputSize(int width, int height, const TMatrix& m) {
  const float d = m.m11 * m.m22 - m.m12 * m.m21;
  if (d == 0) return {};
  const float w =
      std::nearbyint(std::fabs(float(width) * m.m22 / d) + std::fabs(float(height) * m.m21 / d));
  const float h =
      std::nearbyint(std::fabs(float(width) * m.m12 / d) + std::fabs(float(height) * m.m11 / d));
  if (!(w >= 1 && h >= 1 && w <= 1e9f && h <= 1e9f)) return {};
  if (double(w) * double(h) > double(kMaxRenderPixels)) return {};
  return {int(w), int(h)};
}

TColumnRange AxisColumnRange(float start, float step, int limit, int outWidth) {
  TColumnRange r;
  if (std::fabs(step) <= 0.001f) {
    if (0 <= start && start <= float(limit - 1)) r = {0, outWidth - 1};
    return r;
  }
  const float a = (0 - start) / step;
  const float b = (float(limit) - start) / step;
  const int64_t lo = ClampToInt(std::ceil(std::min(a, b) + 0.1f));
  const int64_t hi = ClampToInt(std::floor(std::max(a, b) - 0.1f));
  // The analytic range may reach past the row by rounding.
  r.lo = int(std::max<int64_t>(lo, 0));
  r.hi = int(std::min<int64_t>(hi, outWidth - 1));
  return r;
}

void RenderTransformed(const TDibImage& input, const TMatrix& m, const TRenderEffects& effects,
                       TDibImage& output, TDibImage& mask) {
  output.Clear();
  mask.Clear();
  if (!input.HasPixels()) return;
  const int bits = input.BitCount();
  if (bits != 8 && bits != 24) return;
  const int W = input.Width(), H = input.Height();
  const TSizeI size = OutputSize(W, H, m);
  if (size.width == 0) return;
  const int Wd = size.width, Hd = size.height;
  CreateOutput(input, size, effects.print, output);
  CreateMask(size, mask);

  const float cx = float(Wd) / 2 - 0.5f, cy = float(Hd) / 2 - 0.5f;
  const int64_t dx = Round(m.m11 * 65536), dy = Round(m.m12 * 65536);
  for (int y = 0; y < Hd; ++y) {
    uint8_t* maskRow = mask.Row(y);
    const float x0 = float(W) / 2 - cx * m.m11 - cy * m.m21 + float(y) * m.m21;
    const float y0 = float(H) / 2 - cx * m.m12 - cy * m.m22 + float(y) * m.m22;
    const TColumnRange rx = AxisColumnRange(x0, m.m11, W, Wd);
    const TColumnRange ry = AxisColumnRange(y0, m.m12, H, Wd);
    const int lo = std::max(rx.lo, ry.lo), hi = std::min(rx.hi, ry.hi);
    if (rx.Empty() || ry.Empty() || hi < lo) {
      std::memset(maskRow, 1, Wd);
      continue;
    }
    std::memset(maskRow, 1, lo);
    std::memset(maskRow + hi + 1, 1, Wd - 1 - hi);

    uint8_t* out = output.Row(y);
    int64_t X = Round((x0 + float(lo) * m.m11) * 65536);
    int64_t Y = Round((y0 + float(lo) * m.m12) * 65536);
    for (int x = lo; x <= hi; ++x, X += dx, Y += dy) {
      // Fixed-point steps drift along long rows; the sample stays inside.
      const int sx = int(std::clamp<int64_t>(X / 65536, 0, W - 1));
      const int sy = int(std::clamp<int64_t>(Y / 65536, 0, H - 1));
      const uint8_t* src = input.Row(sy);
      if (bits == 8) {
        out[x] = src[sx];
        if (src[sx] == effects.key) maskRow[x] = 1;
      } else {
        uint8_t* px = out + 3 * x;
        std::memcpy(px, src + 3 * sx, 3);
        const int64_t v = px[0] + 256 * px[1] + 65536 * px[2];
        if (v == effects.key) {
          maskRow[x] = 1;
        } else {
          ApplyColourEffects(px, effects.tone, effects.negative);
        }
      }
    }
  }
  if (bits == 8) ApplyPaletteEffects(output, effects.tone, effects.negative);
}

TPointI PivotOffset(int width, int height, int pivotX, int pivotY, const TMatrix& m) {
  const float d = m.m11 * m.m22 - m.m12 * m.m21;
  if (d == 0) return {};
  const float f = float(width) / 2 - float(pivotX);
  const float g = float(height) / 2 - float(pivotY);
  return {int(Round((m.m22 * f + m.m21 * g) / d)), int(Round((m.m12 * f + m.m11 * g) / d))};
}

std::vector<TRectI> MaskRuns(const TDibImage& mask) {
  std::vector<TRectI> runs;
  if (!mask.HasPixels() || mask.BitCount() != 8) return runs;
  const int w = mask.Width(), h = mask.Height();
  for (int r = 0; r < h; ++r) {
    const uint8_t* row = mask.Row(h - r - 1);
    int x = 0;
    while (x < w) {
      while (x < w && row[x] != 0) ++x;
      const int start = x;
      while (x < w && row[x] == 0) ++x;
      if (x > start) runs.push_back({start, r, x, r + 1});
    }
  }
  return runs;
}

bool MaskHit(const TDibImage& mask, int px, int py, int clientW, int clientH, TPointI offset) {
  if (!mask.HasPixels() || mask.BitCount() != 8) return false;
  const int w = mask.Width(), h = mask.Height();
  const int64_t X = int64_t(px) - offset.x + w / 2 - clientW / 2;
  const int64_t Y = int64_t(py) - offset.y + h / 2 - clientH / 2;
  if (X < 0 || Y < 0 || X >= w || Y >= h) return false;
  return mask.Row(int(h - Y - 1))[X] == 0;
}

}  // namespace tavrin
