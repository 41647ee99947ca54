// Placing a dialog on its monitor.
#include "widgets/win32/ui_basics.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

TEST(CentredIn, KeepsTheTitleBarOnTheScreen) {
  const RECT area{0, 0, 1920, 1040};
  const RECT second{1920, -200, 3840, 880};  // a monitor right of the first, higher
  const struct {
    const char* name;
    RECT area;
    int width, height;
    LONG x, y;
  } kCases[] = {
      {"small", area, 400, 200, 760, 420},
      {"as large as the area", area, 1920, 1040, 0, 0},
      // Taller than the area: its top stays on the screen, not above it.
      {"too tall", area, 800, 1100, 560, 0},
      {"too wide and tall", area, 2000, 1100, 0, 0},
      {"second monitor", second, 400, 200, 2680, 240},
      {"second monitor, too tall", second, 400, 1200, 2680, -200},
  };
  for (const auto& c : kCases) {
    const POINT p = CentredIn(c.area, c.width, c.height);
    EXPECT_EQ(p.x, c.x) << c.name;
    EXPECT_EQ(p.y, c.y) << c.name;
  }
}

}  // namespace
}  // namespace tavrin
