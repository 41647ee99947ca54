// The version dialog's logic over a recording view: the hook on OK's mouse
// movement acts once, the animation steps at most every 100 ms and stops
// with the dialog.
#include "widgets/version_form.h"

#include <gtest/gtest.h>

#include <vector>

#include "widgets/message_layout.h"

namespace tavrin {
namespace {

struct FakeVersionView : IVersionView {
  std::uint32_t now = 50200;
  std::vector<int> sleeps;
  std::vector<bool> monochrome;
  int steps = 0, repaints = 0;
  bool idle = false;
  std::uint32_t Clock() override { return now; }
  void Sleep(int ms) override { sleeps.push_back(ms); }
  void SetMonochrome(bool on) override { monochrome.push_back(on); }
  void SetLogoStep(bool, const TMatrix&) override { ++steps; }
  void Repaint() override { ++repaints; }
  void SetIdle(bool on) override { idle = on; }
};

TEST(VersionFormTest, FirstMoveOverOkColoursAndStartsTheAnimationOnce) {
  FakeVersionView view;
  TVersionForm form(view);
  form.btnOKMouseMove();  // not hooked before FormCreate
  EXPECT_TRUE(view.monochrome.empty());
  form.FormCreate();
  EXPECT_TRUE(form.MouseMoveHooked());
  form.btnOKMouseMove();
  form.btnOKMouseMove();
  EXPECT_EQ(view.monochrome, (std::vector<bool>{false}));
  EXPECT_EQ(view.sleeps, (std::vector<int>{1000}));
  EXPECT_TRUE(view.idle);
  EXPECT_TRUE(form.Animating());
  EXPECT_FALSE(form.MouseMoveHooked());
  form.FormClose();
  EXPECT_FALSE(view.idle);
}

TEST(VersionFormTest, AnimationStepsAtMostEvery100Ms) {
  FakeVersionView view;
  TVersionForm form(view);
  form.FormCreate();
  form.btnOKMouseMove();
  bool done = true;
  view.now += 1000;
  form.AnimateLogo(done);
  EXPECT_FALSE(done);
  const int first = view.steps;
  EXPECT_EQ(first, 1);
  EXPECT_EQ(TVersionForm::LastAnimationTick(), view.now);
  view.now += 50;  // too soon: a short pause, no step
  form.AnimateLogo(done);
  EXPECT_EQ(view.steps, first);
  EXPECT_EQ(view.sleeps.back(), 10);
  view.now += 300;
  form.AnimateLogo(done);
  EXPECT_EQ(view.steps, first + 1);
  EXPECT_EQ(view.repaints, 4);  // the colouring and every idle call
}

TEST(MessageLayoutTest, GrowsWithTheTextAndCentresTheButtons) {
  struct Case {
    std::vector<int> widths;
    bool single;
    int formWidth, formHeight, textWidth, yesLeft, cancelLeft;
  };
  const Case cases[] = {
      {{100}, true, 372, 159, 313, 128, 200},
      {{100}, false, 372, 159, 313, 40, 200},
      {{100, 50, 80}, true, 372, 24 * 3 + 25 + 134, 313, 128, 200},
      {{400}, true, 460 + 55, 159, 460, 48 + 230 - 76, 200},
      {{400}, false, 460 + 55, 159, 460, 230 + 48 - 153 - 3, 230 + 48 - 3 + 7},
      {{}, true, 372, 159, 313, 128, 200},
  };
  for (const Case& c : cases) {
    const TMessageLayout l = MessageLayout(c.widths, c.single);
    EXPECT_EQ(l.FormWidth, c.formWidth);
    EXPECT_EQ(l.FormHeight, c.formHeight);
    EXPECT_EQ(l.Text.Width, c.textWidth);
    EXPECT_EQ(l.Yes.Left, c.yesLeft);
    EXPECT_EQ(l.Yes.Top, l.Text.Height + 48);
    if (!c.single) {
      EXPECT_EQ(l.Cancel.Left, c.cancelLeft);
    }
  }
}

bool Inside(const TRect& inner, const TRect& outer) {
  return inner.Left >= outer.Left && inner.Top >= outer.Top &&
         inner.Left + inner.Width <= outer.Left + outer.Width &&
         inner.Top + inner.Height <= outer.Top + outer.Height;
}

// The stored forms, which both skins show before (or without) laying out.
TEST(MessageLayoutTest, StoredFormsHoldTheirControls) {
  const TMessageLayout m = MessageDesign();
  EXPECT_EQ(m.FormWidth, 372);
  EXPECT_EQ(m.FormHeight, 159);
  const TRect message{0, 0, m.FormWidth, m.FormHeight};
  for (const TRect& r : {m.Text, m.Yes, m.Cancel, kMessagePicture}) EXPECT_TRUE(Inside(r, message));

  // The logo's band and the two lines below it stand inside the black
  // panel, which stands inside the sunken one; OK below both.
  const TVersionLayout& v = kVersionLayout;
  EXPECT_TRUE(Inside(v.Panel2, v.Panel3));
  for (const TRect& r : {v.Band, v.VersionLine, v.Rights}) EXPECT_TRUE(Inside(r, v.Panel2));
  EXPECT_EQ(v.Band.Top + v.Band.Height, v.VersionLine.Top);
  EXPECT_EQ(v.VersionLine.Top + v.VersionLine.Height, v.Rights.Top);
  EXPECT_GE(v.OK.Top, v.Panel3.Top + v.Panel3.Height);
  EXPECT_TRUE(Inside(v.OK, TRect{0, 0, v.FormWidth, v.FormHeight}));
}

TEST(MessageLayoutTest, CopiedTextIsLaidOutAsTheSystemsBoxes) {
  const std::string rule = "---------------------------\r\n";
  EXPECT_EQ(MessageCopyText("Tavrin", {"a", "b"}, {"OK"}),
            rule + "Tavrin\r\n" + rule + "a\r\nb\r\n" + rule + "OK   \r\n" + rule);
  // No lines (an empty message) still gives every rule; two buttons in order.
  EXPECT_EQ(MessageCopyText("T", {}, {"yes", "no"}),
            rule + "T\r\n" + rule + rule + "yes   no   \r\n" + rule);
}

}  // namespace
}  // namespace tavrin
