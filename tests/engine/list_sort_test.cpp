#include "engine/list_sort.h"

#include <gtest/gtest.h>

#include <random>

namespace tavrin {
namespace {

struct TEntry {
  int key;
  int id;
};

int ByKey(const TEntry* a, const TEntry* b) { return (a->key > b->key) - (a->key < b->key); }

// The procedure as written: recursion into the left part, loop on the right.
void ReferenceSort(std::vector<TEntry*>& list, std::ptrdiff_t L, std::ptrdiff_t R) {
  std::ptrdiff_t I;
  do {
    I = L;
    std::ptrdiff_t J = R;
    TEntry* P = list[(L + R) / 2];
    do {
      while (ByKey(list[I], P) < 0) ++I;
      while (ByKey(list[J], P) > 0) --J;
      if (I <= J) std::swap(list[I++], list[J--]);
    } while (I <= J);
    if (L < J) ReferenceSort(list, L, J);
    L = I;
  } while (I < R);
}

std::vector<int> Ids(const std::vector<TEntry*>& list) {
  std::vector<int> ids;
  for (const TEntry* e : list) ids.push_back(e->id);
  return ids;
}

TEST(ListSort, ExchangesTwoTiedEntries) {
  TEntry a{1, 0}, b{1, 1};
  std::vector<TEntry*> list{&a, &b};
  ListSort(list, ByKey);
  EXPECT_EQ(Ids(list), (std::vector<int>{1, 0}));
}

TEST(ListSort, EmptyAndSingleListsStay) {
  std::vector<TEntry*> none;
  ListSort(none, ByKey);
  EXPECT_TRUE(none.empty());
  TEntry a{5, 0};
  std::vector<TEntry*> one{&a};
  ListSort(one, ByKey);
  EXPECT_EQ(one[0], &a);
}

// Ties must come out exactly as the recursive procedure leaves them.
TEST(ListSort, LeavesTiesAsTheProcedureDoes) {
  std::mt19937 rng(11);
  for (int round = 0; round < 500; ++round) {
    const int n = std::uniform_int_distribution<>(1, 200)(rng);
    const int keys = std::uniform_int_distribution<>(1, 20)(rng);
    std::vector<TEntry> entries(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) entries[i] = {std::uniform_int_distribution<>(0, keys)(rng), i};
    std::vector<TEntry*> ours, theirs;
    for (TEntry& e : entries) ours.push_back(&e), theirs.push_back(&e);
    ListSort(ours, ByKey);
    ReferenceSort(theirs, 0, n - 1);
    ASSERT_EQ(Ids(ours), Ids(theirs));
    ASSERT_TRUE(std::is_sorted(ours.begin(), ours.end(),
                               [](const TEntry* a, const TEntry* b) { return a->key < b->key; }));
  }
}

TEST(ListSort, LargeSortedAndReversedInputs) {
  std::vector<TEntry> entries(200000);
  for (int i = 0; i < 200000; ++i) entries[i] = {i % 2 ? 200000 - i : i, i};
  std::vector<TEntry*> list;
  for (TEntry& e : entries) list.push_back(&e);
  ListSort(list, ByKey);
  EXPECT_TRUE(std::is_sorted(list.begin(), list.end(),
                             [](const TEntry* a, const TEntry* b) { return a->key < b->key; }));
}

}  // namespace
}  // namespace tavrin
