#include <gtest/gtest.h>

#include <random>

#include "engine/item_sort.h"
#include "engine/unique_manager.h"
#include "util/cp932.h"

namespace tavrin {
namespace {

using cp932::Sjis;

struct TRow {
  std::string text;
  bool shown;
  int merged;
};

std::vector<TRow> Organized(TUniqueManager& m, std::vector<const char*> lines,
                            std::vector<std::string>* same) {
  for (const char* line : lines) m.Add(Sjis(line));
  m.Organize();
  std::vector<TRow> rows;
  for (int i = 0; i < m.Count(); ++i)
    rows.push_back(
        {cp932::ToUtf8(m.Items(i)->Text()), m.Items(i)->Shown(), m.Items(i)->MergedCount()});
  same->clear();
  for (const TUniqueItem* item : m.SameList()) same->push_back(cp932::ToUtf8(item->Text()));
  return rows;
}

bool operator==(const TRow& a, const TRow& b) {
  return a.text == b.text && a.shown == b.shown && a.merged == b.merged;
}

TEST(Organize, MergesCaseVariantsIntoTheMostFrequent) {
  TUniqueManager m;
  m.FZenkaku = true;
  std::vector<std::string> same;
  auto rows = Organized(m, {"ABC", "ABC", "abc"}, &same);
  EXPECT_EQ(rows, (std::vector<TRow>{{"ABC", true, 3}, {"abc", false, 1}}));
  // The case keys tie, and the two-item sort exchanges them.
  EXPECT_EQ(same, (std::vector<std::string>{"abc", "ABC"}));
  m.Organize();  // twice gives the same
  EXPECT_EQ(m.Items(0)->MergedCount(), 3);
  EXPECT_FALSE(m.Items(1)->Shown());
}

TEST(Organize, BothDistinctionsOnMergesNothing) {
  TUniqueManager m;
  m.FZenkaku = m.FUpper = true;
  std::vector<std::string> same;
  auto rows = Organized(m, {"ABC", "ABC", "abc"}, &same);
  EXPECT_EQ(rows, (std::vector<TRow>{{"ABC", true, 0}, {"abc", true, 0}}));
  EXPECT_EQ(same, (std::vector<std::string>{"ABC", "abc"}));
  EXPECT_TRUE(m.Items(0)->Grouped());
}

// Tied width keys: the two-item sort exchanges them, so アイウ comes first
// in W and represents the group.
TEST(Organize, TiedKeysFollowTheListSort) {
  TUniqueManager m;
  m.FUpper = true;
  std::vector<std::string> same;
  auto rows = Organized(m, {"ｱｲｳ", "アイウ"}, &same);
  EXPECT_EQ(rows, (std::vector<TRow>{{"ｱｲｳ", false, 1}, {"アイウ", true, 2}}));
  EXPECT_EQ(same, (std::vector<std::string>{"アイウ", "ｱｲｳ"}));
}

TEST(Organize, GroupsFollowEachOtherInSortedOrder) {
  TUniqueManager m;
  std::vector<std::string> same;
  Organized(m, {"c", "A", "b", "C", "a", "B", "z"}, &same);
  EXPECT_EQ(same, (std::vector<std::string>{"A", "a", "B", "b", "C", "c"}));
  const TUniqueItem* z = m.FindText("z");
  EXPECT_TRUE(z->Shown());
  EXPECT_FALSE(z->Grouped());
  EXPECT_EQ(z->MergedCount(), 1);
}

TEST(Organize, TabSortsBeforeThePadding) {
  TUniqueManager m;
  std::vector<std::string> same;
  auto rows = Organized(m, {"a", "A", "a\tb"}, &same);
  EXPECT_EQ(rows, (std::vector<TRow>{{"a", false, 1}, {"A", true, 2}, {"a\tb", true, 1}}));
  EXPECT_EQ(same, (std::vector<std::string>{"A", "a"}));
}

// Keys that differ only in trailing spaces share the padded key field and
// interleave by text; equal keys are still paired across them.
TEST(Organize, PairsEqualKeysThatAreNotAdjacent) {
  TUniqueManager m;
  std::vector<std::string> same;
  Organized(m, {"x", "w ", "y"}, &same);  // keys "x", "w ", "y": no group
  EXPECT_TRUE(same.empty());
  m.Clear();
  Organized(m, {"ab", "AB ", "Ab"}, &same);  // "ab", "ab ", "ab" sort as AB , Ab, ab
  EXPECT_EQ(same, (std::vector<std::string>{"Ab", "ab"}));
}

// Organize against the plain reading of the pairing: walk the sorted list,
// and each item not yet taken takes every later item of its display key.
// Random lines under all four option pairs; some rounds have only plain
// keys (groups are runs), others have trailing spaces and keys of over
// 1024 bytes (groups interleave).
TEST(Organize, GroupsAsTheSortedWalkPairsThem) {
  std::mt19937 rng(11);
  // The long piece makes keys that share their first bytes and differ later.
  const std::string plain[] = {"a", "A",        "\xB1", "\x83\x41",    "\x82\xA0",
                               "b", "\x81\x5B", "-",    "0123456789ab"};
  const std::string awkward[] = {" ", "a ", std::string(600, 'x'), "\x81\x40"};
  for (int round = 0; round < 40; ++round) {
    const bool spaces = round % 2 == 1;
    std::vector<std::string> lines;
    for (int i = 0; i < 300; ++i) {
      std::string s;
      for (int k = std::uniform_int_distribution<>(1, 3)(rng); k > 0; --k) {
        s += spaces && rng() % 3 == 0 ? awkward[rng() % std::size(awkward)]
                                      : plain[rng() % std::size(plain)];
      }
      lines.push_back(s);
    }
    TUniqueManager m;
    m.FZenkaku = round % 4 < 2;
    m.FUpper = round % 8 < 4;
    for (const std::string& line : lines) m.Add(line);
    m.Organize();

    std::vector<std::uint32_t> order;
    std::vector<std::string> display;
    for (int i = 0; i < m.Count(); ++i)
      order.push_back(i), display.push_back(m.DisplayKey(*m.Items(i)));
    if (m.FZenkaku == m.FUpper) {
      SortByPaddedKey(m, order);
    } else {
      SortByKeyBytes(order, [&](std::uint32_t i) { return std::string_view(display[i]); });
    }
    std::vector<TUniqueItem*> w;
    for (const std::uint32_t i : order) w.push_back(m.Items(static_cast<int>(i)));
    std::vector<TUniqueItem*> same;
    std::vector<bool> taken(w.size());
    for (std::size_t p = 0; p < w.size(); ++p) {
      if (taken[p]) continue;
      std::vector<std::size_t> group{p};
      for (std::size_t q = p + 1; q < w.size(); ++q) {
        if (m.DisplayKey(*w[q]) == m.DisplayKey(*w[p])) group.push_back(q);
      }
      if (group.size() < 2) continue;
      const TUniqueItem* top = w[p];
      int sum = 0;
      for (std::size_t q : group) {
        taken[q] = true;
        same.push_back(w[q]);
        sum += w[q]->FCount;
        if (w[q]->FCount > top->FCount) top = w[q];
      }
      if (m.FZenkaku && m.FUpper) continue;
      for (std::size_t q : group) ASSERT_EQ(w[q]->Shown(), w[q] == top) << round;
      ASSERT_EQ(top->MergedCount(), sum) << round;
    }
    ASSERT_EQ(m.SameList(), same) << round;
  }
}

TEST(Organize, EmptyManagerDoesNothing) {
  TUniqueManager m;
  m.Organize();
  EXPECT_TRUE(m.SameList().empty());
}

}  // namespace
}  // namespace tavrin
