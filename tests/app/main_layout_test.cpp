// The main window's sizes at screen densities other than 96 dpi: the
// layout follows the density, widths moved between screens come back to
// the 96-dpi value the settings file keeps.
#include "app/main_layout.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "util/dpi.h"

namespace tavrin {
namespace {

constexpr int kDensities[] = {96, 120, 144, 168, 192, 288};

bool Inside(const TRect& inner, const TRect& outer) {
  return inner.Left >= outer.Left && inner.Top >= outer.Top &&
         inner.Left + inner.Width <= outer.Left + outer.Width &&
         inner.Top + inner.Height <= outer.Top + outer.Height;
}

// Within a pixel of the 96-dpi rectangle scaled: each edge is rounded on
// its own, so a width may differ by one.
bool Scaled(const TRect& at, const TRect& design, int dpi) {
  const auto near = [dpi](int px, int units) {
    return std::abs(px - ScaleFrom96(units, dpi)) <= 1;
  };
  return near(at.Left, design.Left) && near(at.Top, design.Top) && near(at.Width, design.Width) &&
         near(at.Height, design.Height);
}

// The design at 96 dpi, which both skins place their controls by.
TEST(MainLayout, TheDesignAt96Dpi) {
  const TMainLayout l =
      MainLayout(kDesignClientWidth, kDesignClientHeight, kDesignStatusHeight, 96);
  const struct {
    const char* name;
    TRect at, want;
  } kControls[] = {
      {"tool bar", l.ToolBar, {0, 0, 637, 77}},
      {"閉じる", l.Buttons[0], {4, 4, 86, 69}},
      {"類字抽出", l.Buttons[1], {90, 4, 86, 69}},
      {"全データ", l.Buttons[2], {178, 4, 86, 69}},
      {"コピー", l.Buttons[3], {266, 4, 86, 69}},
      {"前面表示", l.Buttons[4], {354, 4, 86, 69}},
      {"設定", l.Buttons[5], {442, 4, 86, 69}},
      {"help", l.Help, {535, 45, 24, 24}},
      {"version", l.Version, {563, 46, 24, 24}},
      {"client panel", l.Client, {0, 77, 637, 240}},
      {"list: margins 6, 8, 8, 5", l.List, {6, 85, 623, 227}},
      {"top strip", l.StripTop, {0, 77, 637, 17}},
      {"left strip", l.StripLeft, {0, 77, 17, 240}},
      {"right strip", l.StripRight, {620, 77, 17, 240}},
      {"bottom strip", l.StripBottom, {0, 298, 637, 19}},
  };
  for (const auto& c : kControls)
    EXPECT_EQ(c.at, c.want) << c.name << ": " << c.at.Left << "," << c.at.Top << " " << c.at.Width
                            << "x" << c.at.Height;
  EXPECT_EQ(l.StatusLabelWidth, 50);
}

TEST(MainLayout, EveryControlFollowsTheDensity) {
  const TMainLayout design = MainLayout(kDesignClientWidth, kDesignClientHeight, 30, 96);
  for (const int dpi : kDensities) {
    SCOPED_TRACE("dpi " + std::to_string(dpi));
    const int width = ScaleFrom96(kDesignClientWidth, dpi),
              height = ScaleFrom96(kDesignClientHeight, dpi);
    const int status = ScaleFrom96(30, dpi);
    const TMainLayout l = MainLayout(width, height, status, dpi);
    const struct {
      const char* name;
      TRect at, design;
    } kControls[] = {
        {"tool bar", l.ToolBar, design.ToolBar},
        {"閉じる", l.Buttons[0], design.Buttons[0]},
        {"設定", l.Buttons[5], design.Buttons[5]},
        {"help", l.Help, design.Help},
        {"version", l.Version, design.Version},
        {"list", l.List, design.List},
        {"top strip", l.StripTop, design.StripTop},
        {"bottom strip", l.StripBottom, design.StripBottom},
        {"memo", l.Memo1, design.Memo1},
    };
    for (const auto& c : kControls) EXPECT_TRUE(Scaled(c.at, c.design, dpi)) << c.name;
    EXPECT_EQ(l.StatusLabelWidth, ScaleFrom96(50, dpi));

    // The tool bar holds its buttons and images side by side, the client
    // panel between it and the status bar holds the list.
    for (std::size_t i = 0; i < l.Buttons.size(); ++i) {
      EXPECT_TRUE(Inside(l.Buttons[i], l.ToolBar)) << i;
      if (i > 0) {
        EXPECT_LE(l.Buttons[i - 1].Left + l.Buttons[i - 1].Width, l.Buttons[i].Left) << i;
      }
    }
    EXPECT_LE(l.Buttons[5].Left + l.Buttons[5].Width, l.Help.Left);
    EXPECT_LE(l.Help.Left + l.Help.Width, l.Version.Left);
    const TRect panel{0, l.ToolBar.Height, width, height - status - l.ToolBar.Height};
    for (const TRect& r : {l.List, l.StripTop, l.StripLeft, l.StripRight, l.StripBottom})
      EXPECT_TRUE(Inside(r, panel));
    EXPECT_EQ(l.StripRight.Left + l.StripRight.Width, width);
    EXPECT_EQ(l.StripBottom.Top + l.StripBottom.Height, height - status);
  }
}

TEST(MainLayout, ASmallWindowGivesNoNegativeSizes) {
  const struct {
    int width, height, status;
  } kCases[] = {{0, 0, 0}, {10, 10, 45}, {300, 100, 45}, {-5, -5, 0}};
  for (const int dpi : {96, 144}) {
    for (const auto& c : kCases) {
      const TMainLayout l = MainLayout(c.width, c.height, c.status, dpi);
      for (const TRect& r :
           {l.ToolBar, l.List, l.StripTop, l.StripLeft, l.StripRight, l.StripBottom}) {
        EXPECT_GE(r.Width, 0) << c.width << "x" << c.height << " at " << dpi;
        EXPECT_GE(r.Height, 0) << c.width << "x" << c.height << " at " << dpi;
      }
    }
  }
}

TEST(MainSizes, PicturesAndFontsAtTheDensity) {
  const struct {
    int dpi;
    int font, rowIcon, glyph, image;
  } kCases[] = {
      // 100 %, 125 %, 150 %, 200 %: the row icons and glyphs at 100, 150
      // and 200 % are sizes the icon files hold (16, 24, 32, 48).
      {96, 19, 16, 32, 24},  {120, 24, 20, 40, 30}, {144, 29, 24, 48, 36},
      {192, 38, 32, 64, 48}, {0, 19, 16, 32, 24},  // unknown: the design's
  };
  for (const auto& c : kCases) {
    const TMainSizes s = MainSizes(c.dpi);
    EXPECT_EQ(s.FormFont, c.font) << c.dpi;
    EXPECT_EQ(s.RowIcon, c.rowIcon) << c.dpi;
    EXPECT_EQ(s.Glyph, c.glyph) << c.dpi;
    EXPECT_EQ(s.Image, c.image) << c.dpi;
    // The caption starts below the glyph.
    const TButtonFace face = ButtonFace(c.dpi);
    EXPECT_GE(face.CaptionTop, face.GlyphTop + s.Glyph) << c.dpi;
  }
}

TEST(ListFontPixels, PointsAtTheDensity) {
  const struct {
    int points, dpi, pixels;
  } kCases[] = {
      {14, 96, 19},                                 // the default list font
      {14, 144, 28},                                // 28 exactly
      {14, 120, 23},                                // 23.3
      {9, 96, 12},   {11, 144, 22}, {10, 120, 17},  // 16.7
      {0, 96, 12},                                  // no size: 9 points
      {-3, 144, 18}, {14, 0, 19},                   // unknown density: 96
  };
  for (const auto& c : kCases)
    EXPECT_EQ(ListFontPixels(c.points, c.dpi), c.pixels) << c.points << "pt at " << c.dpi;
}

TEST(SortMarkedColumnWidth, RoomForTheCaptionTheMarkAndTheirMargins) {
  const struct {
    int caption, header, dpi, width;
  } kCases[] = {
      {38, 27, 96, 38 + 27 + 24},   // 「個数」 in the default list font
      {57, 40, 144, 57 + 40 + 36},  // margins at the density
      {-5, -1, 96, 24},             // nothing measured: the margins alone
  };
  for (const auto& c : kCases)
    EXPECT_EQ(SortMarkedColumnWidth(c.caption, c.header, c.dpi), c.width) << c.caption;
}

TEST(RescaledWidth, MovesBetweenScreensNeverDrift) {
  // A column width in 96-dpi units, shown on screens one after the other:
  // at the end, read back, it is what it was.
  const std::vector<int> kPaths[] = {
      {96, 144, 96},
      {96, 120, 144, 192, 96},
      {144, 192, 120, 144},
      {120, 168, 288, 120, 96},
  };
  for (const auto& path : kPaths) {
    for (int units = 0; units <= 2000; ++units) {
      int pixels = ScaleFrom96(units, path.front());
      for (std::size_t i = 1; i < path.size(); ++i)
        pixels = RescaledWidth(pixels, path[i - 1], path[i]);
      ASSERT_EQ(ScaleTo96(pixels, path.back()), units)
          << units << " through " << path.size() << " screens";
    }
  }
  const struct {
    int pixels, from, to, want;
  } kCases[] = {
      {480, 96, 144, 720}, {720, 144, 96, 480}, {721, 144, 192, 962},  // 480.7 units: kept as 481
      {65, 96, 120, 81},                                               // 81.25
      {0, 144, 96, 0},
  };
  for (const auto& c : kCases) EXPECT_EQ(RescaledWidth(c.pixels, c.from, c.to), c.want) << c.pixels;
}

}  // namespace
}  // namespace tavrin
