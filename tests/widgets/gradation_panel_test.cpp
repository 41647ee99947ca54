// When a gradient panel renders, warns and shows a picture, and which part
// of its picture a control on it shows.
#include "widgets/gradation_panel.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "util/cp932.h"
#include "util/messages.h"

namespace tavrin {
namespace {

// A panel that counts what it is asked to show.
class FakePanel : public TGradationPanel {
 public:
  int renders = 0, drops = 0, repaints = 0;

 private:
  int DisplayBitsPerPixel() const override { return 32; }
  void ShowPicture(const TWorkBitmap&) override { ++renders; }
  void DropPicture() override { ++drops; }
  void Invalidate() override { ++repaints; }
};

const std::vector<TColor> kToolBar = {clLime, clBlack, clBlack, clBlack, clLime};

TEST(TGradationPanel, RendersOnlyOnTheChangesThatCount) {
  using Step = std::function<void(TGradationPanel&)>;
  const Step on = [](TGradationPanel& p) { p.SetActive(true); };
  const Step off = [](TGradationPanel& p) { p.SetActive(false); };
  const Step swap = [](TGradationPanel& p) { p.SetColorSwap(true); };
  const Step unswap = [](TGradationPanel& p) { p.SetColorSwap(false); };
  const Step vertical = [](TGradationPanel& p) { p.SetFillGradationMode(fgmVertical); };
  const Step recolour = [](TGradationPanel& p) {
    p.Colors().Items(0).SetColor(RGBColor(255, 0, 0));
  };
  const Step add = [](TGradationPanel& p) { p.Colors().Add(); };
  const Step dropToOne = [](TGradationPanel& p) { p.Colors().SetColors({clLime}); };
  const struct {
    const char* name;
    std::vector<TColor> stops;
    std::vector<Step> steps;
    int renders;
    bool active, picture;
    int warnings;
  } kCases[] = {
      {"inactive: changes are stored only",
       kToolBar,
       {recolour, swap, vertical, add},
       0,
       false,
       false,
       0},
      {"activation renders", kToolBar, {on}, 1, true, true, 0},
      {"ColorSwap set to what it is", kToolBar, {on, unswap}, 1, true, true, 0},
      {"ColorSwap changed", kToolBar, {on, swap, unswap}, 3, true, true, 0},
      // The mode renders again even when it is the same.
      {"mode set to what it is", kToolBar, {vertical, on, vertical}, 2, true, true, 0},
      {"a stop recoloured or added", kToolBar, {on, recolour, add}, 3, true, true, 0},
      {"deactivated: the picture goes, changes wait",
       kToolBar,
       {on, off, recolour, swap},
       1,
       false,
       false,
       0},
      {"activated again", kToolBar, {on, off, on}, 2, true, true, 0},
      {"deactivated before any activation", kToolBar, {off, recolour}, 0, false, false, 0},
      // Fewer than two stops refuse Active, whichever the value.
      {"one stop cannot be activated", {clLime}, {on}, 0, false, false, 1},
      {"one stop left while active", kToolBar, {on, dropToOne, off}, 1, true, false, 1},
      {"no stops", {}, {on, off}, 0, false, false, 2},
  };
  const std::string warning =
      cp932::Sjis("アクティブにする前に、Colorsを二つ以上設定せんかい！（－”－");
  for (const auto& c : kCases) {
    std::vector<std::string> warnings;
    MessageHandler before = SetMessageHandler([&](MessageKind kind, const std::string& text) {
      EXPECT_EQ(kind, MessageKind::BeepWarning);
      warnings.push_back(text);
      return true;
    });
    FakePanel p;
    p.Colors().SetColors(c.stops);
    for (const Step& step : c.steps) step(p);
    SetMessageHandler(before);
    EXPECT_EQ(p.renders, c.renders) << c.name;
    EXPECT_EQ(p.Active(), c.active) << c.name;
    EXPECT_EQ(p.HasPicture(), c.picture) << c.name;
    EXPECT_EQ(warnings, std::vector<std::string>(std::size_t(c.warnings), warning)) << c.name;
    // Every change of the picture is painted.
    EXPECT_EQ(p.repaints, p.renders + p.drops) << c.name;
  }
}

TEST(StretchedPart, ScalesThePartToThePicture) {
  const struct {
    const char* name;
    int pictureWidth, pictureHeight, panelWidth, panelHeight;
    TPixelRect part, want;
  } kCases[] = {
      {"the whole panel", 512, 1024, 600, 77, {0, 0, 600, 77}, {0, 0, 512, 1024}},
      // 90 * 512 / 637 = 72.3, 4 * 1024 / 77 = 53.2, 69 * 1024 / 77 = 917.6
      {"a button on the tool bar", 512, 1024, 637, 77, {90, 4, 90, 69}, {72, 53, 72, 918}},
      {"halves round away from zero", 3, 3, 2, 2, {1, -1, 1, 1}, {2, -2, 2, 2}},
      {"thinner than a picture pixel", 2, 2, 1000, 1000, {500, 500, 1, 1}, {1, 1, 1, 1}},
      {"an empty part", 256, 512, 100, 100, {10, 10, 0, 0}, {26, 51, 1, 1}},
      {"a panel without area", 256, 512, 0, 77, {0, 0, 10, 10}, {}},
      {"no picture", 0, 0, 600, 77, {0, 0, 10, 10}, {}},
  };
  for (const auto& c : kCases)
    EXPECT_EQ(StretchedPart(c.pictureWidth, c.pictureHeight, c.panelWidth, c.panelHeight, c.part),
              c.want)
        << c.name;
}

}  // namespace
}  // namespace tavrin
