#include "widgets/rotate_render.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "tests/widgets/bmp_builder.h"
#include "widgets/colour_effects.h"

namespace tavrin {
namespace {

TMatrix Turn(int degrees, int zoomPercent) {
  const float a = float(degrees) * std::numbers::pi_v<float> / 180;
  const float z = float(zoomPercent) / 100;
  return {std::cos(a) / z, std::sin(a) / z, -std::sin(a) / z, std::cos(a) / z};
}

uint32_t Distinct(int x, int y) { return uint32_t(0x010000 * (x + 1) + 0x100 * (y + 1) + 0x40); }

struct Rendered {
  TDibImage output, mask;
};

Rendered Render(const TDibImage& input, const TMatrix& m, TRenderEffects effects = {}) {
  Rendered r;
  RenderTransformed(input, m, effects, r.output, r.mask);
  return r;
}

TEST(RenderTransformed, IdentityCopiesAllButTheTopRow) {
  const TDibImage input = test::Load(test::MakeBmp24(5, 4, Distinct));
  const Rendered r = Render(input, {});
  ASSERT_TRUE(r.output.HasPixels());
  ASSERT_TRUE(r.mask.HasPixels());
  EXPECT_EQ(r.output.Width(), 5);
  EXPECT_EQ(r.output.Height(), 4);
  EXPECT_TRUE(r.output.HasGuardByte());
  EXPECT_EQ(r.output.FileSize(), 54u + 4 * 16);
  EXPECT_EQ(r.mask.PixelOffset(), 62u);
  EXPECT_EQ(GetLe32(r.mask.ColourTable() + 4), 0x00FFFFFFu);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) {
      EXPECT_EQ(test::Pixel24(r.output, x, y), Distinct(x, y)) << x << ',' << y;
      EXPECT_EQ(r.mask.Row(y)[x], 0) << x << ',' << y;
    }
  }
  for (int x = 0; x < 5; ++x)
    EXPECT_EQ(r.mask.Row(3)[x], 1) << "the last stored row starts at H - 0.5";
}

TEST(RenderTransformed, QuarterTurnSwapsSizesAndMasksOneEdge) {
  const TDibImage input = test::Load(test::MakeBmp24(7, 3, Distinct));
  const Rendered r = Render(input, Turn(90, 100));
  EXPECT_EQ(r.output.Width(), 3);
  EXPECT_EQ(r.output.Height(), 7);
  int masked = 0;
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 3; ++x) masked += r.mask.Row(y)[x];
  EXPECT_GT(masked, 0);
  EXPECT_LE(masked, 7) << "at most one edge line is masked";
}

TEST(RenderTransformed, PositiveAngleTurnsClockwiseOnScreen) {
  // One marked pixel at the top-left on screen (last stored row, column 0)
  // of a 3 × 3 bitmap lands at the top-right after 90°.
  const TDibImage input = test::Load(
      test::MakeBmp24(3, 3, [](int x, int y) { return x == 0 && y == 2 ? 0xFF0000u : 0u; }));
  const Rendered r = Render(input, Turn(90, 100));
  bool found = false;
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x)
      if (r.mask.Row(y)[x] == 0 && test::Pixel24(r.output, x, y) == 0xFF0000u) {
        EXPECT_EQ(x, 2);
        EXPECT_EQ(y, 2);
        found = true;
      }
  EXPECT_TRUE(found);
}

TEST(RenderTransformed, ZoomTwoDoublesEachPixel) {
  const TDibImage input = test::Load(test::MakeBmp24(3, 2, Distinct));
  const Rendered r = Render(input, Turn(0, 200));
  ASSERT_EQ(r.output.Width(), 6);
  ASSERT_EQ(r.output.Height(), 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) {
      // Rows 2 and 3 start at 1.25 and 1.75, above the last input row.
      ASSERT_EQ(r.mask.Row(y)[x], y < 2 ? 0 : 1) << x << ',' << y;
      if (y < 2) {
        EXPECT_EQ(test::Pixel24(r.output, x, y), Distinct(x / 2, 0)) << x << ',' << y;
      }
    }
}

TEST(RenderTransformed, KeyMasksAndEffectsApplyToOthers) {
  const TDibImage input =
      test::Load(test::MakeBmp24(2, 2, [](int x, int) { return x == 0 ? 0x00FF00u : 0xFF0000u; }));
  const Rendered r = Render(input, {}, {0x00FF00, kToneMonochrome, true, false});
  EXPECT_EQ(r.mask.Row(0)[0], 1);
  EXPECT_EQ(test::Pixel24(r.output, 0, 0), 0x00FF00u) << "keyed pixels are copied unchanged";
  EXPECT_EQ(r.mask.Row(0)[1], 0);
  EXPECT_EQ(test::Pixel24(r.output, 1, 0), 0xAAAAAAu) << "grey 85, then inverted";
}

TEST(RenderTransformed, PalettisedInputKeysIndicesAndTonesTheTable) {
  test::BmpSpec s{2, 2, 8, {0x00FF0000, 0x00FF0000}};
  s.rows = {{0, 1}, {0, 1}};
  const TDibImage input = test::Load(test::MakeBmp(s));
  const Rendered r = Render(input, {}, {0, kToneMonochrome, false, false});
  EXPECT_EQ(r.mask.Row(0)[0], 1);
  EXPECT_EQ(r.mask.Row(0)[1], 0) << "same colour, other index";
  EXPECT_EQ(r.output.Row(0)[1], 1);
  EXPECT_EQ(GetLe32(r.output.ColourTable() + 4), 0x00555555u);
  EXPECT_EQ(GetLe32(input.ColourTable() + 4), 0x00FF0000u) << "the input's table is untouched";
}

TEST(RenderTransformed, PrintFillsUnreachedPixelsWhite) {
  const TDibImage input = test::Load(test::MakeBmp24(3, 3, [](int, int) { return 0u; }));
  const Rendered r = Render(input, {}, {-1, 0, false, true});
  EXPECT_EQ(test::Pixel24(r.output, 1, 2), 0xFFFFFFu);
  EXPECT_EQ(test::Pixel24(r.output, 1, 1), 0u);
}

TEST(RenderTransformed, RefusesUnsupportedOrHugeOutputs) {
  const TDibImage input = test::Load(test::MakeBmp24(3, 3, Distinct));
  const Rendered tiny = Render(input, {100, 0, 0, 100});
  EXPECT_TRUE(tiny.output.Empty()) << "0 × 0 output";
  const Rendered huge = Render(input, {1e-5f, 0, 0, 1e-5f});
  EXPECT_TRUE(huge.output.Empty());
  EXPECT_TRUE(huge.mask.Empty());
}

TEST(AxisColumnRange, ClampsToTheRow) {
  // Start far left of the input with a tiny step: the analytic range reaches
  // past the output row.
  const TColumnRange r = AxisColumnRange(0.5f, 0.01f, 4, 100);
  EXPECT_EQ(r.lo, 0) << "analytic -49";
  EXPECT_EQ(r.hi, 99) << "analytic 349";
  EXPECT_TRUE(AxisColumnRange(-3.5f, 0.01f, 4, 100).Empty()) << "analytic 351 to 749";
  EXPECT_TRUE(AxisColumnRange(5.0f, 0.0005f, 4, 10).Empty()) << "near-zero step outside";
  const TColumnRange whole = AxisColumnRange(3.0f, -0.0005f, 4, 10);
  EXPECT_EQ(whole.lo, 0);
  EXPECT_EQ(whole.hi, 9);
}

// Every angle and a spread of zooms over small odd-sized bitmaps: the
// render must stay inside its buffers (checked by AddressSanitizer), and
// each drawn pixel must be one of the input's colours.
TEST(RenderTransformed, SweepStaysInsideBuffers) {
  const int sizes[][2] = {{1, 1}, {3, 1}, {1, 5}, {5, 3}, {7, 9}};
  const int zooms[] = {10, 11, 33, 50, 99, 100, 101, 150, 333, 1000, 2500, 9999};
  for (const auto& sz : sizes) {
    const TDibImage input = test::Load(test::MakeBmp24(sz[0], sz[1], Distinct));
    test::BmpSpec s{sz[0], sz[1], 8, std::vector<uint32_t>(256)};
    s.rows.assign(sz[1], std::vector<uint8_t>(sz[0], 200));
    const TDibImage palettised = test::Load(test::MakeBmp(s));
    for (int angle = 0; angle < 360; ++angle) {
      for (int zoom : zooms) {
        // Large zooms at every 7th angle only, to keep the sweep quick.
        if (zoom >= 1000 && angle % 7 != 0) continue;
        const Rendered r = Render(input, Turn(angle, zoom));
        if (r.output.Empty()) continue;
        const int w = r.output.Width(), h = r.output.Height();
        for (int y = 0; y < h; ++y) {
          for (int x = 0; x < w; ++x) {
            if (r.mask.Row(y)[x] != 0) continue;
            const uint32_t c = test::Pixel24(r.output, x, y);
            const int ix = int(c >> 16) - 1, iy = int((c >> 8) & 0xFF) - 1;
            ASSERT_TRUE(ix >= 0 && ix < sz[0] && iy >= 0 && iy < sz[1] && (c & 0xFF) == 0x40)
                << angle << "° " << zoom << "% at " << x << ',' << y;
          }
        }
        if (angle % 30 == 0) {
          const Rendered p = Render(palettised, Turn(angle, zoom), {200, 0, false, false});
          for (int y = 0; y < p.mask.Height(); ++y)
            for (int x = 0; x < p.mask.Width(); ++x) ASSERT_EQ(p.mask.Row(y)[x], 1);
        }
      }
    }
  }
}

TEST(PivotOffset, KeepsThePivotAtTheCentre) {
  EXPECT_EQ(PivotOffset(10, 6, 5, 3, {}), (TPointI{0, 0}));
  EXPECT_EQ(PivotOffset(10, 6, 0, 0, {}), (TPointI{5, 3}));
  EXPECT_EQ(PivotOffset(10, 6, 0, 0, {0.5f, 0, 0, 0.5f}), (TPointI{10, 6})) << "zoom 200";
}

TEST(MaskRuns, RectanglesFromTheTopDown) {
  test::BmpSpec s{5, 2, 8, std::vector<uint32_t>(2)};
  s.rows = {{0, 0, 1, 0, 1}, {1, 1, 1, 1, 0}};
  const TDibImage mask = test::Load(test::MakeBmp(s));
  const std::vector<TRectI> runs = MaskRuns(mask);
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0], (TRectI{4, 0, 5, 1})) << "screen row 0 is the last stored row";
  EXPECT_EQ(runs[1], (TRectI{0, 1, 2, 2}));
  EXPECT_EQ(runs[2], (TRectI{3, 1, 4, 2}));

  // Centred in a 9 × 6 control: mask column X = px + 2 - 4, row Y = py + 1 - 3.
  EXPECT_TRUE(MaskHit(mask, 6, 2, 9, 6, {}));
  EXPECT_FALSE(MaskHit(mask, 5, 2, 9, 6, {}));
  EXPECT_TRUE(MaskHit(mask, 2, 3, 9, 6, {}));
  EXPECT_FALSE(MaskHit(mask, 1, 3, 9, 6, {})) << "outside the mask";
  EXPECT_TRUE(MaskHit(mask, 7, 3, 9, 6, {1, 1})) << "moved by the pivot offset";
}

}  // namespace
}  // namespace tavrin
