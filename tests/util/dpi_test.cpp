#include "util/dpi.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

TEST(Dpi, ScalesDesignSizesToTheScreen) {
  const struct {
    int units, dpi, pixels;
  } kCases[] = {
      {653, 96, 653}, {653, 144, 980},  // 979.5 rounds up
      {77, 120, 96},  {17, 192, 34},   {1, 144, 2},
      {-4, 144, -6},  {0, 288, 0},     {480, 0, 480},  // no density known: design pixels
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(ScaleFrom96(c.units, c.dpi), c.pixels) << c.units << " at " << c.dpi;
  }
}

// What goes into the settings file is the design size the window started
// from, whatever the screen; sweeps the sizes a window and its columns take.
TEST(Dpi, ScaledSizesComeBackUnchanged) {
  for (int dpi : {96, 120, 144, 168, 192, 240, 288, 480}) {
    for (int units = -2000; units <= 4000; ++units) {
      ASSERT_EQ(ScaleTo96(ScaleFrom96(units, dpi), dpi), units) << units << " at " << dpi;
    }
  }
}

}  // namespace
}  // namespace tavrin
