#include "widgets/dialog_message_layout.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

TEST(MessageLayout, FollowsTheLinesOfTheMessage) {
  const struct {
    const char* name;
    std::vector<int> widths;
    bool single;
    int textWidth, textHeight, formHeight, yes, cancel, top;
    bool widened;
  } kCases[] = {
      {"one short line, OK", {120}, true, 313, 25, 159, 128, 200, 73, false},
      {"no line at all", {}, true, 313, 25, 159, 128, 200, 73, false},
      {"two lines", {50, 60}, true, 313, 73, 207, 128, 200, 121, false},
      {"three lines, two buttons stay", {50, 60, 70}, false, 313, 97, 231, 40, 200, 145, false},
      {"283 still fits", {283}, false, 313, 25, 159, 40, 200, 73, false},
      {"400 wide, two buttons", {400}, false, 460, 25, 159, 122, 282, 73, true},
      {"400 wide, OK", {400}, true, 460, 25, 159, 202, 200, 73, true},
      // M is 330 after the first line and stays, as 320 is not above it.
      {"300 then 320", {300, 320}, true, 360, 73, 207, 152, 200, 121, true},
  };
  for (const auto& c : kCases) {
    const TMessageLayout l = LayOutMessage(c.widths, c.single);
    EXPECT_EQ(l.textWidth, c.textWidth) << c.name;
    EXPECT_EQ(l.textHeight, c.textHeight) << c.name;
    EXPECT_EQ(l.formHeight, c.formHeight) << c.name;
    EXPECT_EQ(l.yesLeft, c.yes) << c.name;
    EXPECT_EQ(l.cancelLeft, c.cancel) << c.name;
    EXPECT_EQ(l.buttonTop, c.top) << c.name;
    EXPECT_EQ(l.widened, c.widened) << c.name;
    EXPECT_EQ(l.cancelShown, !c.single) << c.name;
    if (c.widened) {
      EXPECT_EQ(l.formWidth, c.textWidth + 55) << c.name;
    }
  }
}

}  // namespace
}  // namespace tavrin
