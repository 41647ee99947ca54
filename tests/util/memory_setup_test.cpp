#include "util/memory_setup.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "tests/platform.h"

#if defined(_WIN32)
#include <windows.h>
#endif

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

// Blocks of a few megabytes made and freed on several threads at once,
// after the set-up: each keeps what its thread wrote, page by page, so no
// two ever share memory (a kept block handed out twice would show here).
TEST(SetUpMemory, LargeBlocksOnManyThreadsStayTheirOwn) {
  SetUpMemory();
  constexpr std::size_t kPage = 4096;
  std::vector<int> wrong(6, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < 6; ++t)
    threads.emplace_back([t, &wrong] {
      for (int round = 0; round < 40; ++round) {
        const std::size_t size =
            (std::size_t{1} << 20) + std::size_t((t * 7 + round) % 9) * kPage * 97;
        const auto mark = static_cast<char>('a' + (t + round) % 26);
        const std::unique_ptr<char[]> block(new char[size]);
        for (std::size_t i = 0; i < size; i += kPage) block[i] = mark;
        std::this_thread::yield();
        for (std::size_t i = 0; i < size; i += kPage) wrong[std::size_t(t)] += block[i] != mark;
      }
    });
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(wrong, std::vector<int>(6, 0));
}

#if defined(_WIN32)
// Where a block was made (the block never optimised away).
std::uintptr_t Made(std::size_t size) {
  char* volatile block = new char[size];
  return reinterpret_cast<std::uintptr_t>(block);
}

bool Committed(std::uintptr_t at) {
  MEMORY_BASIC_INFORMATION info{};
  return VirtualQuery(reinterpret_cast<void*>(at), &info, sizeof info) != 0 &&
         info.State == MEM_COMMIT;
}

void Free(std::uintptr_t at) { delete[] reinterpret_cast<char*>(at); }

// The C runtime gives such blocks back to the system at once; after the
// set-up a freed one stays, and serves the next block of about its size,
// but not one of less than half its size.
TEST(SetUpMemory, FreedBlockServesTheNextOfItsSize) {
  SetUpMemory();
  const std::uintptr_t first = Made(std::size_t{6} << 20);
  Free(first);
  EXPECT_TRUE(Committed(first));
  const std::uintptr_t again = Made((std::size_t{6} << 20) - 100);
  EXPECT_EQ(again, first);
  const std::uintptr_t small = Made(std::size_t{2} << 20);
  EXPECT_NE(small, first);
  Free(again);
  Free(small);
}
#endif

}  // namespace
}  // namespace tavrin
