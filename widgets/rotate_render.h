#pragma once
// Rendering of a bitmap-file image through a 2 × 2 matrix that maps output
// pixels back to input pixels, with nearest-pixel sampling in 16.16 fixed
// point, and the mask of pixels the input does not reach or that carry the
// colour key. Also the geometry the control derives from the mask.
#include <cstdint>
#include <vector>

#include "widgets/blend.h"
#include "widgets/dib_image.h"

namespace tavrin {

struct TMatrix {
  float m11 = 1, m12 = 0, m21 = 0, m22 = 1;
  bool operator==(const TMatrix&) const = default;
};

struct TSizeI {
  int width = 0, height = 0;
};

// Larger outputs are not rendered (output and mask stay empty).
constexpr int64_t kMaxRenderPixels = int64_t(1) << 26;

// Wd and Hd for a W × H input; 0 × 0 when the matrix is singular or the size
// is out of range.
TSizeI OutputSize(int width, int height, const TMatrix& m);

// Columns [lo, hi] of an output row for one input axis: the row starts at
// `start` and moves by `step` per column; the input axis holds 0 to limit − 1.
// The range is clamped to the row's 0 to outWidth − 1.
struct TColumnRange {
  int lo = 0, hi = -1;
  bool Empty() const { return hi < lo; }
};
TColumnRange AxisColumnRange(float start, float step, int limit, int outWidth);

// What RenderTransformed does to each drawn pixel and which one it keys out.
struct TRenderEffects {
  int64_t key = -1;   // index (8 bits) or blue + 256 green + 65536 red; −1 none
  uint32_t tone = 0;  // tone code, 0 none
  bool negative = false;
  bool print = false;  // fill a 24-bit output white first
};

// Renders an 8- or 24-bit input into output (same depth and colour table)
// and mask (8 bits, 0 = draw, 1 = leave the background). Any other input,
// an invalid one, or an output past kMaxRenderPixels leaves output and
// mask empty.
void RenderTransformed(const TDibImage& input, const TMatrix& m, const TRenderEffects& effects,
                       TDibImage& output, TDibImage& mask);

// The shift of the image's centre that keeps input pixel (pivotX, pivotY),
// counted from the top-left, at the control's centre.
struct TPointI {
  int x = 0, y = 0;
  bool operator==(const TPointI&) const = default;
};
TPointI PivotOffset(int width, int height, int pivotX, int pivotY, const TMatrix& m);

// Runs of drawn (0) mask bytes as rectangles (start, r, end, r + 1), screen
// row r from the top of the picture down.
std::vector<TRectI> MaskRuns(const TDibImage& mask);

// Whether control point (px, py) lies on a drawn mask pixel when the mask
// is centred in a clientW × clientH control and then moved by `offset`.
bool MaskHit(const TDibImage& mask, int px, int py, int clientW, int clientH, TPointI offset);

}  // namespace tavrin
