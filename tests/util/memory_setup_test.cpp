#include "util/memory_setup.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

#include "tests/platform.h"

namespace tavrin {
namespace {

// The set-up neither changes the environment (which every program the
// window starts would inherit) nor starts the test binary again: a second
// start would find the marker set below and fail here.
TEST(SetUpMemory, LeavesTheEnvironmentAndTheProcessAlone) {
  constexpr const char* kMarker = "TAVRIN_MEMORY_SETUP_TEST_STARTED";
  ASSERT_EQ(std::getenv(kMarker), nullptr) << "the program was started again";
  ASSERT_TRUE(test::SetEnvironment(kMarker, "1"));
  const std::multiset<std::string> before = test::Environment();
  SetUpMemory();
  EXPECT_EQ(test::Environment(), before);
  test::UnsetEnvironment(kMarker);
}

}  // namespace
}  // namespace tavrin
