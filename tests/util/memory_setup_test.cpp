#include "util/memory_setup.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <set>
#include <string>

namespace tavrin {
namespace {

std::multiset<std::string> Environment() {
  std::multiset<std::string> all;
  for (char** e = environ; *e != nullptr; ++e) all.insert(*e);
  return all;
}

// The set-up neither changes the environment (which every program the
// window starts would inherit) nor starts the test binary again: a second
// start would find the marker set below and fail here.
TEST(SetUpMemory, LeavesTheEnvironmentAndTheProcessAlone) {
  constexpr const char* kMarker = "TAVRIN_MEMORY_SETUP_TEST_STARTED";
  ASSERT_EQ(std::getenv(kMarker), nullptr) << "the program was started again";
  ASSERT_EQ(setenv(kMarker, "1", 1), 0);
  const std::multiset<std::string> before = Environment();
  SetUpMemory();
  EXPECT_EQ(Environment(), before);
  unsetenv(kMarker);
}

}  // namespace
}  // namespace tavrin
