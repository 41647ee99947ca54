#include "engine/text_index.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

namespace tavrin {
namespace {

// Keys that differ only where the slot keeps no copy of a long key's bytes,
// only in the last byte, in NULs, or in length.
std::vector<std::string> AwkwardKeys() {
  std::vector<std::string> keys = {"", std::string(1, '\0'), std::string(2, '\0'), "a", "a\0"};
  keys[4] = std::string("a\0", 2);
  for (std::size_t n : {3u, 4u, 7u, 8u, 11u, 12u, 13u, 16u, 17u, 40u}) {
    std::string base(n, 'x');
    keys.push_back(base);
    base.back() = 'y';
    keys.push_back(base);
    if (n > 5) {
      base[5] = '\x82';
      keys.push_back(base);
    }
  }
  return keys;
}

TEST(TextIndex, FindsEveryKeyByItsBytesThroughGrowth) {
  const std::vector<std::string> keys = AwkwardKeys();
  TTextIndex<int> index;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    auto [value, fresh] = index.try_emplace(keys[i], static_cast<int>(i));
    ASSERT_TRUE(fresh) << i;
    EXPECT_EQ(*value, static_cast<int>(i));
  }
  EXPECT_FALSE(index.try_emplace(keys[7], 99).second) << "a second entry keeps the first value";
  EXPECT_EQ(index.size(), keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const int* found = index.find(keys[i]);
    ASSERT_NE(found, nullptr) << i;
    EXPECT_EQ(*found, static_cast<int>(i)) << i;
  }
  EXPECT_EQ(index.find("zz"), nullptr);
  EXPECT_EQ(index.find(std::string(40, 'x') + "x"), nullptr);
  index.clear();
  EXPECT_EQ(index.find(keys[7]), nullptr);
  EXPECT_TRUE(index.empty());
}

// Random inserts and erases against std::map: an erase must not cut the
// probe run of a key stored behind the freed slot.
TEST(TextIndex, EraseKeepsEveryOtherKeyReachable) {
  std::mt19937 rng(11);
  std::vector<std::string> pool;
  for (int i = 0; i < 3000; ++i)
    pool.push_back(std::to_string(i * 7919 % 100003) + (i % 3 ? "" : std::string(14, 'k')));
  TTextIndex<int> index;
  std::map<std::string, int> model;
  for (int step = 0; step < 30000; ++step) {
    const std::string& key =
        pool[std::uniform_int_distribution<std::size_t>(0, pool.size() - 1)(rng)];
    if (rng() % 3 == 0) {
      const auto it = model.find(key);
      const bool erased = index.erase(key, it == model.end() ? -1 : it->second);
      ASSERT_EQ(erased, it != model.end()) << step;
      if (it != model.end()) model.erase(it);
    } else {
      const bool fresh = index.try_emplace(key, step).second;
      ASSERT_EQ(fresh, model.emplace(key, step).second) << step;
    }
  }
  ASSERT_EQ(index.size(), model.size());
  for (const std::string& key : pool) {
    const int* found = index.find(key);
    const auto it = model.find(key);
    ASSERT_EQ(found != nullptr, it != model.end()) << key;
    if (found != nullptr) {
      EXPECT_EQ(*found, it->second) << key;
    }
  }
}

TEST(TextIndex, EraseOfAnotherValueLeavesTheEntry) {
  TTextIndex<int> index;
  index.try_emplace("a", 1);
  EXPECT_FALSE(index.erase("a", 2));
  EXPECT_FALSE(index.erase("b", 1));
  ASSERT_NE(index.find("a"), nullptr);
  EXPECT_TRUE(index.erase("a", 1));
  EXPECT_EQ(index.find("a"), nullptr);
}

}  // namespace
}  // namespace tavrin
