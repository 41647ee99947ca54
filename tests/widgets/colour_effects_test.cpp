#include "widgets/colour_effects.h"

#include <gtest/gtest.h>

#include <tuple>

#include "tests/widgets/bmp_builder.h"
#include "util/error.h"
#include "widgets/blend.h"

namespace tavrin {
namespace {

using Rgb = std::tuple<int, int, int>;

Rgb Tone(Rgb c, uint32_t code) {
  uint8_t bgr[3] = {uint8_t(std::get<2>(c)), uint8_t(std::get<1>(c)), uint8_t(std::get<0>(c))};
  ApplyTone(bgr, code);
  return {bgr[2], bgr[1], bgr[0]};
}

TEST(ApplyTone, MonochromeAveragesChannels) {
  EXPECT_EQ(Tone({255, 0, 0}, kToneMonochrome), Rgb(85, 85, 85));
  EXPECT_EQ(Tone({0, 0, 255}, kToneMonochrome), Rgb(85, 85, 85));
  EXPECT_EQ(Tone({10, 20, 31}, kToneMonochrome), Rgb(20, 20, 20)) << "61 / 3 rounds down";
  for (int v : {0, 1, 127, 128, 254, 255})
    EXPECT_EQ(Tone({v, v, v}, kToneMonochrome), Rgb(v, v, v)) << v;
}

TEST(ApplyTone, SepiaTintsEachChannel) {
  EXPECT_EQ(Tone({128, 128, 128}, kToneSepia), Rgb(182, 132, 72));
  EXPECT_EQ(Tone({255, 255, 255}, kToneSepia), Rgb(255, 255, 243));
  EXPECT_EQ(Tone({0, 0, 0}, kToneSepia), Rgb(12, 1, 0));
  EXPECT_EQ(Tone({255, 0, 0}, kToneSepia), Rgb(206, 53, 16));
}

TEST(ApplyTone, ExtremeTintsStayInRange) {
  // The strongest tints in both directions over every grey level.
  for (uint32_t code : {0x007F7F7Fu, 0x00808080u, 0xFF7F807Fu}) {
    for (int v = 0; v < 256; ++v) {
      const Rgb r = Tone({v, v, v}, code);
      for (int c : {std::get<0>(r), std::get<1>(r), std::get<2>(r)}) {
        ASSERT_GE(c, 0);
        ASSERT_LE(c, 255);
      }
    }
  }
}

TEST(ApplyPaletteEffects, InvertsTableAndClearsFourthByte) {
  test::BmpSpec s{2, 1, 8, {0xAA102030, 0x00FFFFFF}};
  s.rows = {{1, 0}};
  TDibImage image = test::Load(test::MakeBmp(s));
  ApplyPaletteEffects(image, 0, true);
  EXPECT_EQ(GetLe32(image.ColourTable()), 0x00EFDFCFu);
  EXPECT_EQ(GetLe32(image.ColourTable() + 4), 0x00000000u);
  EXPECT_EQ(image.Row(0)[0], 1);
  EXPECT_EQ(image.Row(0)[1], 0);

  ApplyPaletteEffects(image, kToneMonochrome, false);
  EXPECT_EQ(GetLe32(image.ColourTable()), 0x00DFDFDFu) << "(207 + 223 + 239) / 3 = 223";
}

TEST(ApplyPaletteEffects, LeavesTrueColourAlone) {
  TDibImage image = test::Load(test::MakeBmp24(1, 1, [](int, int) { return 0x010203u; }));
  const std::vector<uint8_t> before = image.Bytes();
  ApplyPaletteEffects(image, kToneSepia, true);
  EXPECT_EQ(image.Bytes(), before);
}

TEST(BuildSketch, LevelsForEdgeStrengths) {
  EXPECT_EQ(SketchLevel(0), 255);
  EXPECT_EQ(SketchLevel(120), 103);
  EXPECT_EQ(SketchLevel(121), 103);
  EXPECT_EQ(SketchLevel(510), 64);
}

TEST(BuildSketch, FlatIsWhiteEdgesAreGrey) {
  // A 5 × 3 picture, black on the left two columns, white elsewhere.
  const TDibImage source =
      test::Load(test::MakeBmp24(5, 3, [](int x, int) { return x < 2 ? 0u : 0xFFFFFFu; }));
  TDibImage sketch;
  BuildSketch(source, sketch);
  ASSERT_TRUE(sketch.HasPixels());
  EXPECT_EQ(sketch.PixelOffset(), 1078u);
  EXPECT_EQ(sketch.ColorCount(), 256u);
  EXPECT_EQ(GetLe32(sketch.ColourTable() + 4 * 77), 0x004D4D4Du);
  for (int y = 0; y < 3; ++y) {
    EXPECT_EQ(sketch.Row(y)[0], 255) << "flat, borders repeat the edge pixel";
    EXPECT_EQ(sketch.Row(y)[4], 255);
    // Column 1 sees three white neighbours: S = 3 × 3 × 255², m = round(√(S / 6)) = 312.
    EXPECT_EQ(sketch.Row(y)[1], SketchLevel(312));
    EXPECT_EQ(sketch.Row(y)[2], SketchLevel(312));
  }
}

TEST(BuildSketch, PalettisedSourceUsesTableColours) {
  test::BmpSpec s{3, 1, 8, {0x00000000, 0x00000000, 0x00FFFFFF}};
  s.rows = {{0, 1, 2}};
  TDibImage sketch;
  BuildSketch(test::Load(test::MakeBmp(s)), sketch);
  ASSERT_TRUE(sketch.HasPixels());
  EXPECT_EQ(sketch.Row(0)[0], SketchLevel(0)) << "indices 0 and 1 are both black";
  EXPECT_LT(sketch.Row(0)[1], 255);
}

TEST(Blend, LevelsOfThePublishedTable) {
  EXPECT_EQ(BlendByte(255, 0, 1), 224);
  EXPECT_EQ(BlendByte(255, 0, 7), 31);
  EXPECT_EQ(BlendByte(255, 0, 4), 128);
  EXPECT_EQ(BlendByte(0, 255, 4), 127);
  EXPECT_EQ(BlendByte(200, 100, 2), 200 - 50 + 25);
  EXPECT_EQ(BlendByte(200, 100, 6), 50 + 100 - 25);
}

TEST(Blend, WordsGiveTheByteResults) {
  // Neighbouring bytes must not leak into each other through the shifts.
  uint8_t image[8], background[8];
  for (int level = 1; level <= 7; ++level) {
    for (int i = 0; i < 256; i += 3) {
      for (int g = 0; g < 256; g += 5) {
        const uint8_t is[8] = {uint8_t(i),       255,        0, uint8_t(g),
                               uint8_t(255 - i), uint8_t(i), 1, 254};
        const uint8_t gs[8] = {uint8_t(g),       0,   255, uint8_t(i), uint8_t(g),
                               uint8_t(255 - g), 254, 1};
        std::copy(is, is + 8, image);
        std::copy(gs, gs + 8, background);
        BlendWords(image, background, 2, level);
        for (int k = 0; k < 8; ++k)
          ASSERT_EQ(image[k], BlendByte(is[k], gs[k], level)) << level << ' ' << k;
      }
    }
  }
}

TEST(Blend, BandsOfAtMost65536Pixels) {
  EXPECT_EQ(BlendBands({0, 0, 256, 256}).size(), 1u);
  const auto bands = BlendBands({10, 5, 1010, 205});  // 1000 wide: bands of 65 rows
  ASSERT_EQ(bands.size(), 4u);
  EXPECT_EQ(bands[0], (TRectI{10, 5, 1010, 70}));
  EXPECT_EQ(bands[2], (TRectI{10, 135, 1010, 200}));
  EXPECT_EQ(bands[3], (TRectI{10, 200, 1010, 205})) << "the rest";
  const auto exact = BlendBands({0, 0, 1000, 130});
  EXPECT_EQ(exact.size(), 2u) << "no empty remainder";
  const auto wide = BlendBands({0, 0, 70000, 3});
  ASSERT_EQ(wide.size(), 3u) << "wider than 65536: one row a band";
  EXPECT_EQ(wide[2], (TRectI{0, 2, 70000, 3}));
}

TEST(Blend, MixRefusesEmptyRectangles) {
  EXPECT_THROW(CheckMixRect({0, 0, 0, 5}), EError);
  EXPECT_THROW(CheckMixRect({0, 3, 5, 3}), EError);
  EXPECT_NO_THROW(CheckMixRect({0, 0, 1, 1}));
  try {
    CheckMixRect({0, 0, 0, 0});
  } catch (const EError& e) {
    EXPECT_STREQ(e.what(), "abnormal params in DrawMix");
  }
}

}  // namespace
}  // namespace tavrin
