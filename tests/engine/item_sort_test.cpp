#include "engine/item_sort.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "engine/list_sort.h"

namespace tavrin {
namespace {

// Items whose keys share long prefixes, end in spaces, NULs or high bytes,
// and (keys of 1024 bytes and more) whose padded sort strings tie although
// their texts differ: the cases where a prefix shortcut could decide wrongly.
std::vector<std::unique_ptr<TUniqueItem>> AwkwardItems(std::mt19937& rng, bool withTies) {
  const std::string wide(1024, 'a');
  const std::string pieces[] = {"a", "b", " ", "\t", "", "\xFF", std::string(1, '\0'), "abcdefghijklmnop"};
  auto pick = [&] {
    std::string s;
    for (int k = std::uniform_int_distribution<>(0, 3)(rng); k > 0; --k)
      s += pieces[std::uniform_int_distribution<std::size_t>(0, std::size(pieces) - 1)(rng)];
    return s;
  };
  std::vector<std::unique_ptr<TUniqueItem>> items;
  for (int i = 0; i < 400; ++i) {
    auto item = std::make_unique<TUniqueItem>();
    item->FKey = pick();
    item->FCaseKey = pick();
    item->FText = pick() + std::to_string(i);  // texts stay unique
    items.push_back(std::move(item));
  }
  if (withTies) {
    for (int i = 0; i < 20; ++i) {
      // wide + "b" / "c<i>" and wide / "bc<i>" make the same sort string.
      auto a = std::make_unique<TUniqueItem>(), b = std::make_unique<TUniqueItem>();
      a->FKey = wide + "b", a->FText = "c" + std::to_string(i);
      b->FKey = wide, b->FText = "bc" + std::to_string(i);
      items.push_back(std::move(a));
      items.push_back(std::move(b));
    }
  }
  std::shuffle(items.begin(), items.end(), rng);
  return items;
}

std::vector<TUniqueItem*> Pointers(const std::vector<std::unique_ptr<TUniqueItem>>& items) {
  std::vector<TUniqueItem*> list;
  for (const auto& item : items) list.push_back(item.get());
  return list;
}

TEST(ItemSort, PaddedKeySortEqualsTheListSort) {
  std::mt19937 rng(17);
  for (const bool ties : {false, true}) {
    for (int round = 0; round < 20; ++round) {
      const auto items = AwkwardItems(rng, ties);
      std::vector<TUniqueItem*> expected = Pointers(items), actual = expected;
      ListSort(expected, PaddedKeyOrder);
      SortByPaddedKey(actual);
      ASSERT_EQ(actual, expected) << "ties " << ties << " round " << round;
    }
  }
}

TEST(ItemSort, KeyBytesSortEqualsTheListSortTiesIncluded) {
  std::mt19937 rng(23);
  for (int round = 0; round < 20; ++round) {
    const auto items = AwkwardItems(rng, false);
    std::vector<TUniqueItem*> expected = Pointers(items), actual = expected;
    ListSort(expected, [](const TUniqueItem* a, const TUniqueItem* b) { return CompareBytes(a->FCaseKey, b->FCaseKey); });
    SortByKeyBytes(actual, &TUniqueItem::FCaseKey);
    ASSERT_EQ(actual, expected) << round;
  }
}

}  // namespace
}  // namespace tavrin
