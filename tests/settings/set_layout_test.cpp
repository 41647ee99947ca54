// The settings dialog's layout: one column where the screen is high
// enough, two where it is not, and in either every control in its place.
#include "settings/set_layout.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace tavrin {
namespace {

bool Inside(const TRect& inner, const TRect& outer) {
  return inner.Left >= outer.Left && inner.Top >= outer.Top &&
         inner.Left + inner.Width <= outer.Left + outer.Width &&
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
      {"1366 x 768 at 100 %", 1350, 700, true},
      {"exactly high enough", 514, 728, false},
      {"a unit too low", 1200, 727, true},
      {"1920 x 1080 at 150 %", 1270, 655, true},
      {"1280 x 1024 at 144 dpi", 845, 650,
       false},  // too narrow for two: the column, top on the screen
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
  // The one column is the design's 514 x 728.
  const TSetLayout tall = SetDialogLayout(2000, 2000);
  EXPECT_EQ(tall.ClientWidth, 514);
  EXPECT_EQ(tall.ClientHeight, 728);
}

TEST(SetDialogLayout, EveryControlInItsPlace) {
  for (const bool twoColumns : {false, true}) {
    SCOPED_TRACE(twoColumns ? "two columns" : "one column");
    const TSetLayout l = twoColumns ? SetDialogLayout(2000, 500) : SetDialogLayout(2000, 2000);
    ASSERT_EQ(l.TwoColumns, twoColumns);
    const TRect client{0, 0, l.ClientWidth, l.ClientHeight};
    // The places in the order the dialog makes its controls.
    const std::vector<TRect> places = ControlPlaces(l);
    const auto& groups = SetGroupRows();
    const auto& rows = SetDialogOrder();
    ASSERT_EQ(places.size(), groups.size() + rows.size() + 6);
    for (std::size_t g = 0; g < groups.size(); ++g) {
      EXPECT_EQ(places[g], l.Groups[g]) << g;
      EXPECT_TRUE(Inside(l.Groups[g], client)) << g;
      for (std::size_t h = g + 1; h < groups.size(); ++h)
        EXPECT_TRUE(Apart(l.Groups[g], l.Groups[h])) << g << " " << h;
      for (const TRect& button : {l.Ok, l.Cancel}) EXPECT_TRUE(Apart(l.Groups[g], button)) << g;
    }
    // Each check box inside its group, clear of the others and of the
    // sample list's label and list.
    const TRect* boxes = places.data() + groups.size();
    for (std::size_t i = 0; i < rows.size(); ++i) {
      std::size_t g = 0;
      while (groups[g].Name != rows[i]->Group) ++g;
      EXPECT_TRUE(Inside(boxes[i], l.Groups[g])) << rows[i]->Name;
      for (std::size_t j = i + 1; j < rows.size(); ++j)
        EXPECT_TRUE(Apart(boxes[i], boxes[j])) << rows[i]->Name;
      EXPECT_TRUE(Apart(boxes[i], l.FontLabel)) << rows[i]->Name;
      EXPECT_TRUE(Apart(boxes[i], l.Sample)) << rows[i]->Name;
    }
    const TRect* last = boxes + rows.size();
    EXPECT_EQ(last[0], l.FontLabel);
    EXPECT_EQ(last[1], l.Sample);
    EXPECT_EQ(last[2], l.EditDictionary);
    EXPECT_EQ(last[3], l.DictionaryStatus);
    EXPECT_EQ(last[4], l.Ok);
    EXPECT_EQ(last[5], l.Cancel);
    for (const TRect& r : {l.EditDictionary, l.DictionaryStatus}) {
      EXPECT_TRUE(Inside(r, l.Groups[4]));
      for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_TRUE(Apart(r, boxes[i])) << rows[i]->Name;
    }
    EXPECT_TRUE(Apart(l.EditDictionary, l.DictionaryStatus));
    EXPECT_TRUE(Inside(l.FontLabel, l.Groups[3]));
    EXPECT_TRUE(Inside(l.Sample, l.Groups[3]));
    EXPECT_TRUE(Inside(l.Ok, client));
    EXPECT_TRUE(Inside(l.Cancel, client));
    EXPECT_TRUE(Apart(l.Ok, l.Cancel));
    // The buttons centred under the groups.
    EXPECT_LE(std::abs(l.Ok.Left - (client.Width - (l.Cancel.Left + l.Cancel.Width))), 1);
  }
}

// A key bound twice, or two check boxes of one name, would pass each other's
// values around unseen.
TEST(OptionTable, EachKeyAndCheckBoxOnce) {
  const auto& rows = SetOptionRows();
  for (std::size_t i = 0; i < rows.size(); ++i)
    for (std::size_t j = i + 1; j < rows.size(); ++j) {
      EXPECT_FALSE(rows[i].Section == rows[j].Section && rows[i].Key == rows[j].Key) << rows[i].Key;
      EXPECT_NE(rows[i].Name, rows[j].Name);
      EXPECT_NE(rows[i].Field, rows[j].Field) << rows[i].Key;
    }
}

TEST(CheckBoxPlace, RowsAndColumns) {
  const TRect group{8, 540, 497, 85};
  const struct {
    int columns, index;
    TRect want;
  } kCases[] = {
      {1, 0, {24, 568, 479, 26}},  {1, 2, {24, 624, 479, 26}}, {3, 0, {24, 568, 158, 26}},
      {3, 2, {344, 568, 158, 26}}, {3, 3, {24, 596, 158, 26}},  // the second row
      {0, 1, {24, 596, 479, 26}},                               // no columns: one
  };
  for (const auto& c : kCases)
    EXPECT_EQ(CheckBoxPlace(group, c.columns, c.index), c.want) << c.columns << " " << c.index;
}

}  // namespace
}  // namespace tavrin
