// The settings dialog's layout: one column where the screen is high
// enough, two where it is not, and in either every control in its place.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "settings/win32/set_layout.h"

namespace tavrin {
namespace {

bool Inside(const TRect& inner, const TRect& outer) {
  return inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Left + inner.Width <= outer.Left + outer.Width &&
         inner.Top + inner.Height <= outer.Top + outer.Height;
}
bool Apart(const TRect& a, const TRect& b) {
  return a.Left + a.Width <= b.Left || b.Left + b.Width <= a.Left || a.Top + a.Height <= b.Top ||
         b.Top + b.Height <= a.Top;
}

TEST(SetDialogLayout, OneColumnWhereTheScreenHoldsIt) {
  // Rooms for the client in 96-dpi units: the work area less the frame.
  const struct {
    const char* name;
    int width, height;
    bool twoColumns;
  } kCases[] = {
      {"1920 x 1080 at 100 %", 1900, 1000, false},
      {"1366 x 768 at 100 %", 1350, 700, false},
      {"exactly high enough", 514, 696, false},
      {"a unit too low", 1200, 695, true},
      {"1920 x 1080 at 150 %", 1270, 655, true},
      {"1280 x 1024 at 144 dpi", 845, 650, false},  // too narrow for two: the column, top on the screen
      {"2560 x 1440 at 200 %", 1270, 690, true},
      {"nothing known", 0, 0, false},
  };
  for (const auto& c : kCases) {
    const TSetLayout l = SetDialogLayout(c.width, c.height);
    EXPECT_EQ(l.TwoColumns, c.twoColumns) << c.name;
    if (c.twoColumns) {
      EXPECT_LE(l.ClientWidth, c.width) << c.name;
      EXPECT_LE(l.ClientHeight, c.height) << c.name;
    }
  }
  // The one column is the design's 514 x 696.
  const TSetLayout tall = SetDialogLayout(2000, 2000);
  EXPECT_EQ(tall.ClientWidth, 514);
  EXPECT_EQ(tall.ClientHeight, 696);
}

TEST(SetDialogLayout, EveryControlInItsPlace) {
  for (const bool twoColumns : {false, true}) {
    SCOPED_TRACE(twoColumns ? "two columns" : "one column");
    const TSetLayout l = twoColumns ? SetDialogLayout(2000, 500) : SetDialogLayout(2000, 2000);
    ASSERT_EQ(l.TwoColumns, twoColumns);
    const TRect client{0, 0, l.ClientWidth, l.ClientHeight};
    const auto& groups = SetGroupRows();
    for (std::size_t g = 0; g < groups.size(); ++g) {
      const TRect& group = l.Groups[g];
      EXPECT_TRUE(Inside(group, client)) << g;
      for (std::size_t h = g + 1; h < groups.size(); ++h) EXPECT_TRUE(Apart(group, l.Groups[h])) << g << " " << h;
      for (const TRect& button : {l.Ok, l.Cancel}) EXPECT_TRUE(Apart(group, button)) << g;
      // Its check boxes inside it, side by side or one below the other.
      std::vector<TRect> boxes;
      for (const TSetOptionRow& row : SetOptionRows())
        if (row.Group == groups[g].Name) boxes.push_back(CheckBoxPlace(group, l.Columns[g], int(boxes.size())));
      ASSERT_FALSE(boxes.empty()) << groups[g].Name;
      for (std::size_t i = 0; i < boxes.size(); ++i) {
        EXPECT_TRUE(Inside(boxes[i], group)) << groups[g].Name << " " << i;
        for (std::size_t j = i + 1; j < boxes.size(); ++j) EXPECT_TRUE(Apart(boxes[i], boxes[j])) << i << " " << j;
        if (groups[g].Name == "GroupBox2") {
          EXPECT_TRUE(Apart(boxes[i], l.FontLabel)) << i;
          EXPECT_TRUE(Apart(boxes[i], l.Sample)) << i;
        }
      }
    }
    EXPECT_TRUE(Inside(l.FontLabel, l.Groups[3]));
    EXPECT_TRUE(Inside(l.Sample, l.Groups[3]));
    EXPECT_TRUE(Inside(l.Ok, client));
    EXPECT_TRUE(Inside(l.Cancel, client));
    EXPECT_TRUE(Apart(l.Ok, l.Cancel));
    // The buttons centred under the groups.
    EXPECT_LE(std::abs(l.Ok.Left - (client.Width - (l.Cancel.Left + l.Cancel.Width))), 1);
  }
}

TEST(CheckBoxPlace, RowsAndColumns) {
  const TRect group{8, 540, 497, 85};
  const struct {
    int columns, index;
    TRect want;
  } kCases[] = {
      {1, 0, {24, 568, 479, 26}},
      {1, 2, {24, 624, 479, 26}},
      {3, 0, {24, 568, 158, 26}},
      {3, 2, {344, 568, 158, 26}},
      {3, 3, {24, 596, 158, 26}},  // the second row
      {0, 1, {24, 596, 479, 26}},  // no columns: one
  };
  for (const auto& c : kCases)
    EXPECT_EQ(CheckBoxPlace(group, c.columns, c.index), c.want) << c.columns << " " << c.index;
}

}  // namespace
}  // namespace tavrin
