// The geometry rules of a form's settings: a title bar off every screen
// comes back onto the nearest, and a window nobody moved saves what was
// read, whatever the window system reported.
#include "settings/form_geometry.h"

#include <gtest/gtest.h>

#include <limits>

namespace tavrin {
namespace {

const std::vector<TRect> kTwoScreens{{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};

TEST(FormGeometryTest, OntoScreens) {
  struct Case {
    TFormGeometry saved;
    std::int32_t left, top;
  };
  const Case cases[] = {
      {{20, 20, 637, 347}, 20, 20},        // on the first screen
      {{2000, 500, 637, 347}, 2000, 500},  // on the second
      {{-600, 100, 637, 347}, -600, 100},  // mostly off, a grip of the bar shows
      {{100, -20, 637, 347}, 100, 0},      // title bar above the screen
      {{100, -5000, 637, 347}, 100, 0},
      {{5000, 300, 637, 347}, 3200 - 637, 300},  // right of both: onto the second
      {{-5000, 300, 637, 347}, 0, 300},
      {{100, 1079, 637, 347}, 100, 1080 - kTitleBarBand},          // below the first
      {{1900, 1070, 637, 347}, 1920 - 637, 1080 - kTitleBarBand},  // wholly on the nearer
  };
  for (const Case& c : cases) {
    const TFormGeometry got = OntoScreens(c.saved, kTwoScreens);
    EXPECT_EQ(got.Left, c.left) << c.saved.Left << "," << c.saved.Top;
    EXPECT_EQ(got.Top, c.top) << c.saved.Left << "," << c.saved.Top;
    EXPECT_EQ(got.Width, c.saved.Width);
    EXPECT_EQ(got.Height, c.saved.Height);
  }
  EXPECT_EQ(OntoScreens({-9000, -9000, 10, 10}, {}), (TFormGeometry{-9000, -9000, 10, 10}));
}

// The file keeps frame sizes; a window is sized by its client. Sizes from
// the file may be anything: the client is never negative, nothing wraps.
TEST(FormGeometryTest, FrameIsAddedAndTakenAwayWithinRange) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  const struct {
    std::int32_t outerWidth, outerHeight, clientWidth, clientHeight;
  } rows[] = {
      {653, 385, 637, 347},  // the design form and its client
      {10, 20, 0, 0},        // smaller than the frame
      {-100, kMin, 0, 0},    // negative in the file
      {kMax, kMax, kMax - 16, kMax - 38},
  };
  for (const auto& r : rows) {
    const TFormGeometry client =
        WithoutFrame({1, 2, r.outerWidth, r.outerHeight, true}, kDesignFrame);
    EXPECT_EQ(client, (TFormGeometry{1, 2, r.clientWidth, r.clientHeight, true})) << r.outerWidth;
  }
  EXPECT_EQ(WithFrame({1, 2, 637, 347, true}, kDesignFrame), (TFormGeometry{1, 2, 653, 385, true}));
  EXPECT_EQ(WithFrame({0, 0, kMax - 1, kMax, false}, kDesignFrame),
            (TFormGeometry{0, 0, kMax, kMax, false}));
}

TEST(FormGeometryTest, AWindowNobodyMovedSavesWhatWasRead) {
  struct Case {
    const char* name;
    TFormGeometry reported;  // where the window system says it stands once put
    TFormGeometry later;     // where it stands at closing
    TFormGeometry saved;
  };
  const TFormGeometry read{20, 20, 637, 347};
  const Case cases[] = {
      {"no window manager", read, read, read},
      {"frame reported one title bar up", {19, 0, 637, 347}, {19, 0, 637, 347}, read},
      {"maximised since", {19, 0, 637, 347}, {19, 0, 637, 347, true}, {20, 20, 637, 347, true}},
      {"moved by the user", {19, 0, 637, 347}, {300, 200, 637, 347}, {300, 200, 637, 347}},
      {"resized by the user", {19, 0, 637, 347}, {19, 0, 700, 400}, {19, 0, 700, 400}},
  };
  for (const Case& c : cases) {
    TFormPlacement placement;
    EXPECT_EQ(placement.Restore(read, kTwoScreens), read) << c.name;
    placement.Placed(c.reported);
    EXPECT_EQ(placement.ToSave(c.later), c.saved) << c.name;
  }
  // Three starts and closes keep the keys.
  TFormGeometry keys = read;
  for (int start = 0; start < 3; ++start) {
    TFormPlacement placement;
    const TFormGeometry put = placement.Restore(keys, kTwoScreens);
    const TFormGeometry reported{put.Left - 1, put.Top - 20, put.Width, put.Height};
    placement.Placed(reported);
    keys = placement.ToSave(reported);
  }
  EXPECT_EQ(keys, read);
}

}  // namespace
}  // namespace tavrin
