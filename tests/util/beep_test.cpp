#include "util/beep.h"

#include <gtest/gtest.h>

#include <vector>

namespace tavrin {
namespace {

TEST(BeepHandler, InstalledHandlerTakesTheBeepUntilRemoved) {
  EXPECT_FALSE(RunBeepHandler(BeepSound::Default));  // none: the system's beep
  std::vector<BeepSound> first, second;
  EXPECT_FALSE(SetBeepHandler([&](BeepSound s) { first.push_back(s); }));
  EXPECT_TRUE(RunBeepHandler(BeepSound::Exclamation));
  // A test that installs its own gets the previous one back to restore.
  BeepHandler previous = SetBeepHandler([&](BeepSound s) { second.push_back(s); });
  EXPECT_TRUE(RunBeepHandler(BeepSound::Default));
  SetBeepHandler(previous);
  EXPECT_TRUE(RunBeepHandler(BeepSound::Default));
  EXPECT_EQ(first, (std::vector<BeepSound>{BeepSound::Exclamation, BeepSound::Default}));
  EXPECT_EQ(second, std::vector<BeepSound>{BeepSound::Default});
  SetBeepHandler({});
  EXPECT_FALSE(RunBeepHandler(BeepSound::Default));
}

}  // namespace
}  // namespace tavrin
