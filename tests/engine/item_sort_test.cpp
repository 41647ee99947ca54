#include "engine/item_sort.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>

#include "engine/list_sort.h"
#include "engine/prefix_radix.h"

namespace tavrin {
namespace {

// Keys and texts that share long prefixes, end in spaces, NULs or high
// bytes, and (keys of 1024 bytes and more) whose padded sort strings tie
// although their texts differ: the cases where a prefix shortcut could
// decide wrongly. Runs are large enough for the deeper passes.
struct TAwkward {
  std::vector<std::string> Keys, Texts;
  std::vector<std::uint32_t> Order;
};

TAwkward AwkwardItems(std::mt19937& rng, bool withTies, int count = 400) {
  const std::string wide(1024, 'a');
  const std::string pieces[] = {
      "a", "b", " ", "\t", "", "\xFF", std::string(1, '\0'), "abcdefghijklmnop"};
  auto pick = [&] {
    std::string s;
    for (int k = std::uniform_int_distribution<>(0, 3)(rng); k > 0; --k)
      s += pieces[std::uniform_int_distribution<std::size_t>(0, std::size(pieces) - 1)(rng)];
    return s;
  };
  TAwkward a;
  for (int i = 0; i < count; ++i) {
    a.Keys.push_back(pick());
    a.Texts.push_back(pick() + std::to_string(i));  // texts stay unique
  }
  if (withTies) {
    for (int i = 0; i < 20; ++i) {
      // wide + "b" / "c<i>" and wide / "bc<i>" make the same sort string.
      // Appended, not "c" + string: that insert at the front draws a false
      // -Wrestrict from GCC 12 at -O3.
      a.Keys.push_back(wide + "b"), a.Texts.push_back(std::string("c").append(std::to_string(i)));
      a.Keys.push_back(wide), a.Texts.push_back(std::string("bc").append(std::to_string(i)));
    }
  }
  a.Order.resize(a.Keys.size());
  std::iota(a.Order.begin(), a.Order.end(), 0u);
  std::shuffle(a.Order.begin(), a.Order.end(), rng);
  return a;
}

// Lists of 20000 are sorted on the cores, in buckets that tie in their
// first bytes and go deeper.
// The twelve bytes of every length of key, gathered by overlapping loads,
// against the bytes taken one by one and padded with spaces.
TEST(ItemSort, PrefixOfEveryLength) {
  std::mt19937 rng(5);
  for (std::size_t n = 0; n <= 14; ++n) {
    for (int round = 0; round < 20; ++round) {
      std::string key(n, '\0');
      for (char& c : key) c = static_cast<char>(rng());
      TSortEntry e{};
      prefix_radix::SetPaddedPrefix(e, key.data(), key.size());
      std::uint64_t hi = 0, lo = 0;
      for (std::size_t i = 0; i < 12; ++i)
        (i < 8 ? hi : lo) =
            (i < 8 ? hi : lo) << 8 | (i < n ? static_cast<unsigned char>(key[i]) : 0x20u);
      EXPECT_EQ(e.Hi, hi) << n;
      EXPECT_EQ(e.Lo, lo) << n;
    }
  }
}

TEST(ItemSort, PaddedKeySortEqualsTheListSort) {
  std::mt19937 rng(17);
  const struct {
    bool Ties;
    int Count, Rounds;
  } runs[] = {{false, 400, 20}, {true, 400, 20}, {false, 20000, 2}, {true, 20000, 2}};
  for (const auto [ties, count, rounds] : runs) {
    for (int round = 0; round < rounds; ++round) {
      TAwkward a = AwkwardItems(rng, ties, count);
      const auto stringOf = [&](std::uint32_t i) { return TSortString{a.Keys[i], a.Texts[i]}; };
      std::vector<std::uint32_t> expected = a.Order, actual = a.Order;
      ListSort(expected, [&](std::uint32_t x, std::uint32_t y) {
        return PaddedKeyOrder(stringOf(x), stringOf(y));
      });
      SortByPaddedKey(actual, stringOf);
      ASSERT_EQ(actual, expected) << "ties " << ties << " count " << count << " round " << round;
    }
  }
}

// Keys that share their first 100000 bytes: the sort goes twelve bytes
// deeper thousands of times, in bounded memory and stack.
TEST(ItemSort, LongCommonStartsAreSorted) {
  std::mt19937 rng(29);
  std::vector<std::string> keys, texts;
  for (int i = 0; i < 40; ++i) {
    keys.push_back(std::string(100000, 'k') + static_cast<char>('a' + i * 7 % 40));
    texts.push_back(std::to_string(i));
  }
  std::vector<std::uint32_t> expected(keys.size());
  std::iota(expected.begin(), expected.end(), 0u);
  std::shuffle(expected.begin(), expected.end(), rng);
  std::vector<std::uint32_t> actual = expected;
  const auto stringOf = [&](std::uint32_t i) { return TSortString{keys[i], texts[i]}; };
  ListSort(expected, [&](std::uint32_t x, std::uint32_t y) {
    return PaddedKeyOrder(stringOf(x), stringOf(y));
  });
  SortByPaddedKey(actual, stringOf);
  EXPECT_EQ(actual, expected);
}

TEST(ItemSort, KeyBytesSortEqualsTheListSortTiesIncluded) {
  std::mt19937 rng(23);
  for (int round = 0; round < 20; ++round) {
    TAwkward a = AwkwardItems(rng, false);
    std::vector<std::uint32_t> expected = a.Order, actual = a.Order;
    ListSort(expected,
             [&](std::uint32_t x, std::uint32_t y) { return CompareBytes(a.Keys[x], a.Keys[y]); });
    SortByKeyBytes(actual, [&](std::uint32_t i) { return std::string_view(a.Keys[i]); });
    ASSERT_EQ(actual, expected) << round;
  }
}

}  // namespace
}  // namespace tavrin
