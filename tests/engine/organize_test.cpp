#include <gtest/gtest.h>

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

std::vector<TRow> Organized(TUniqueManager& m, std::vector<const char*> lines, std::vector<std::string>* same) {
  for (const char* line : lines) m.Add(Sjis(line));
  m.Organize();
  std::vector<TRow> rows;
  for (int i = 0; i < m.Count(); ++i)
    rows.push_back({cp932::ToUtf8(m.Items(i)->FText), m.Items(i)->FShown, m.Items(i)->FMergedCount});
  same->clear();
  for (const TUniqueItem* item : m.SameList()) same->push_back(cp932::ToUtf8(item->FText));
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
  EXPECT_EQ(m.Items(0)->FMergedCount, 3);
  EXPECT_FALSE(m.Items(1)->FShown);
}

TEST(Organize, BothDistinctionsOnMergesNothing) {
  TUniqueManager m;
  m.FZenkaku = m.FUpper = true;
  std::vector<std::string> same;
  auto rows = Organized(m, {"ABC", "ABC", "abc"}, &same);
  EXPECT_EQ(rows, (std::vector<TRow>{{"ABC", true, 0}, {"abc", true, 0}}));
  EXPECT_EQ(same, (std::vector<std::string>{"ABC", "abc"}));
  EXPECT_TRUE(m.Items(0)->FGrouped);
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
  EXPECT_TRUE(z->FShown);
  EXPECT_FALSE(z->FGrouped);
  EXPECT_EQ(z->FMergedCount, 1);
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

TEST(Organize, EmptyManagerDoesNothing) {
  TUniqueManager m;
  m.Organize();
  EXPECT_TRUE(m.SameList().empty());
}

}  // namespace
}  // namespace tavrin
