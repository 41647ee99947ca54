#include "util/parallel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <numeric>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace tavrin {
namespace {

// Restores the hardware width however a test ends.
struct TWidth {
  explicit TWidth(unsigned width) { SetParallelWidth(width); }
  ~TWidth() { SetParallelWidth(0); }
};

TEST(RunParts, EveryPartOnceAndAllDoneBeforeReturning) {
  for (const unsigned parts : {0u, 1u, 2u, 7u}) {
    std::vector<std::atomic<int>> runs(parts);
    RunParts(parts, [&](unsigned part) { ++runs[part]; });
    for (unsigned part = 0; part < parts; ++part)
      EXPECT_EQ(runs[part].load(), 1) << parts << " " << part;
  }
}

// The lowest failing part's exception comes back, and only once the other
// parts (slow ones included) have finished: nothing still runs on the
// caller's data afterwards.
TEST(RunParts, RethrowsTheLowestFailureAfterEveryPartFinished) {
  std::atomic<int> finished{0};
  try {
    RunParts(4, [&](unsigned part) {
      if (part == 1 || part == 3) throw std::runtime_error("part " + std::to_string(part));
      std::vector<int> work(200000);
      std::iota(work.begin(), work.end(), 0);
      finished += work.back() > 0;
    });
    FAIL() << "no exception";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "part 1");
  }
  EXPECT_EQ(finished.load(), 2);
}

// Rounds of parts reuse the pool's threads rather than start a thread per
// part; part 0 waits for part 1 to start, so part 1 runs on another thread.
// A part that runs parts of its own (the pool is then busy) still finishes.
TEST(RunParts, RoundsReuseThreadsAndPartsMayRunParts) {
  thread_local int partsHere = 0;
  int mostOnOneThread = 0;
  for (int round = 0; round < 20; ++round) {
    std::atomic<bool> started{false};
    RunParts(2, [&](unsigned part) {
      if (part == 0) {
        while (!started) std::this_thread::yield();
      } else {
        started = true;
        mostOnOneThread = std::max(mostOnOneThread, ++partsHere);
      }
    });
  }
  EXPECT_GE(mostOnOneThread, 2);
  std::atomic<int> inner{0};
  RunParts(2, [&](unsigned) { RunParts(3, [&](unsigned) { ++inner; }); });
  EXPECT_EQ(inner.load(), 6);
}

TEST(ParallelWidth, FixedWidthAndHardwareDefault) {
  {
    TWidth fixed(3);
    EXPECT_EQ(ParallelWidth(), 3u);
  }
  EXPECT_GE(ParallelWidth(), 1u);
  EXPECT_LE(ParallelWidth(), 8u);
}

// Distinct elements have one sorted order: every width, and sizes around
// the piece size, give std::sort's result, with a compare that reads
// through indices as the item sort does.
TEST(ParallelSort, SameAsStdSortForDistinctElements) {
  std::mt19937 rng(3);
  for (const std::size_t n : {0u, 1u, 16383u, 16384u, 32768u, 70001u}) {
    std::vector<std::uint32_t> keys(n);
    std::iota(keys.begin(), keys.end(), 0u);
    std::shuffle(keys.begin(), keys.end(), rng);
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), std::size_t{0});
    const auto less = [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; };
    std::vector<std::size_t> expected = order;
    std::sort(expected.begin(), expected.end(), less);
    for (const unsigned width : {1u, 2u, 3u, 5u}) {
      TWidth fixed(width);
      std::vector<std::size_t> got = order;
      ParallelSort(got.begin(), got.end(), less);
      ASSERT_EQ(got, expected) << n << " " << width;
    }
  }
}

}  // namespace
}  // namespace tavrin
