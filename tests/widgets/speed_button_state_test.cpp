#include "widgets/speed_button_state.h"

#include <gtest/gtest.h>

#include <string>

namespace tavrin {
namespace {

// Mouse events as letters: m moves over the button, o moves off it while
// pressed, l leaves, p presses, r releases, c loses the capture.
int Clicks(TSpeedButtonState& s, const std::string& events) {
  int clicks = 0;
  for (char e : events) {
    switch (e) {
      case 'm':
        s.MouseMove(true);
        break;
      case 'o':
        s.MouseMove(false);
        break;
      case 'l':
        s.MouseLeave();
        break;
      case 'p':
        s.Press();
        break;
      case 'r':
        clicks += s.Release();
        break;
      case 'c':
        s.CaptureLost();
        break;
    }
  }
  return clicks;
}

TEST(TSpeedButtonState, ClicksAndLooks) {
  using enum TButtonEdge;
  const struct {
    const char* name;
    bool flat, imageLike;
    std::string events;
    int clicks;
    TButtonEdge edge;
    int shift;
  } kCases[] = {
      {"at rest", true, false, "", 0, None, 0},
      {"hovered", true, false, "m", 0, Raised, 0},
      {"left again", true, false, "ml", 0, None, 0},
      {"pressed", true, false, "mp", 0, Sunken, 1},
      {"released over it", true, false, "mpr", 1, Raised, 0},
      {"double-click: two presses, two clicks", true, false, "mprpr", 2, Raised, 0},
      // Moving off while pressed shows it unpressed; releasing there is no click.
      {"dragged off", true, false, "mpo", 0, None, 0},
      {"dragged off and released", true, false, "mpor", 0, None, 0},
      {"dragged off and back", true, false, "mpomr", 1, Raised, 0},
      {"capture taken away", true, false, "mpcr", 0, Raised, 0},
      {"a release without a press", true, false, "mr", 0, Raised, 0},
      {"not flat: an edge at rest", false, false, "", 0, Raised, 0},
      {"not flat, pressed", false, false, "mp", 0, Sunken, 1},
      {"an image never shows an edge", true, true, "mp", 0, None, 1},
      {"an image clicks", true, true, "mpr", 1, None, 0},
  };
  for (const auto& c : kCases) {
    TSpeedButtonState s;
    s.SetFlat(c.flat);
    s.SetImageLike(c.imageLike);
    EXPECT_EQ(Clicks(s, c.events), c.clicks) << c.name;
    EXPECT_EQ(s.Edge(), c.edge) << c.name;
    EXPECT_EQ(s.Shift(), c.shift) << c.name;
  }
}

TEST(TSpeedButtonState, RepaintsOnlyWhenTheLookChanges) {
  TSpeedButtonState s;
  EXPECT_TRUE(s.MouseMove(true));
  EXPECT_FALSE(s.MouseMove(true));  // moving over it changes nothing
  EXPECT_TRUE(s.Press());
  EXPECT_TRUE(s.MouseMove(false));
  EXPECT_FALSE(s.MouseMove(false));
  EXPECT_TRUE(s.CaptureLost());
  EXPECT_FALSE(s.CaptureLost());
  EXPECT_FALSE(s.MouseLeave());
}

}  // namespace
}  // namespace tavrin
