#include "util/memory_setup.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

constexpr const char* kMadvise = "always [madvise] never\n";

// The tunable is added once, beside what the user set; a restarted program
// (the tunable present) and an explicit choice of the user are left alone,
// and so is a system that would not grant the request.
TEST(HugePageTunables, AddsTheTunableOnlyWhenItHelps) {
  EXPECT_EQ(HugePageTunables(nullptr, kMadvise), "glibc.malloc.hugetlb=1");
  EXPECT_EQ(HugePageTunables("", kMadvise), "glibc.malloc.hugetlb=1");
  EXPECT_EQ(HugePageTunables("glibc.malloc.arena_max=2", kMadvise),
            "glibc.malloc.arena_max=2:glibc.malloc.hugetlb=1");
  EXPECT_EQ(HugePageTunables("glibc.malloc.hugetlb=1", kMadvise), "");
  EXPECT_EQ(HugePageTunables("glibc.malloc.hugetlb=0:glibc.malloc.arena_max=2", kMadvise), "");
  EXPECT_EQ(HugePageTunables(nullptr, "[always] madvise never\n"), "");
  EXPECT_EQ(HugePageTunables(nullptr, "always madvise [never]\n"), "");
  EXPECT_EQ(HugePageTunables(nullptr, ""), "");
}

}  // namespace
}  // namespace tavrin
