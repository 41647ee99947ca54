#include "engine/unique_manager.h"

#include <gtest/gtest.h>

#include <random>

#include "engine/variant_folding.h"
#include "util/cp932.h"
#include "util/messages.h"
#include "util/parallel.h"

namespace tavrin {
namespace {

using cp932::Sjis;

struct TOptions {
  bool trim = false, hyphen = false, terminate = false;
};

std::vector<std::string> Keys(const std::vector<const char*>& lines, TOptions o) {
  TUniqueManager m;
  m.FTrim = o.trim;
  m.FHyphen = o.hyphen;
  m.FHyphenTerminate = o.terminate;
  for (const char* line : lines) m.Add(Sjis(line));
  std::vector<std::string> keys;
  for (int i = 0; i < m.Count(); ++i) keys.push_back(cp932::ToUtf8(m.Items(i)->Key()));
  return keys;
}

TEST(UniqueManagerAdd, CountsByteEqualLines) {
  TUniqueManager m;
  for (const char* line : {"ABC", "ABC", "abc"}) m.Add(line);
  ASSERT_EQ(m.Count(), 2);
  EXPECT_EQ(m.Items(0)->Text(), "ABC");
  EXPECT_EQ(m.Items(0)->FCount, 2);
  EXPECT_EQ(m.Items(1)->FCount, 1);
  EXPECT_EQ(m.TotalCount(), 3);
  EXPECT_TRUE(m.Items(1)->Shown());
  EXPECT_FALSE(m.Items(1)->Similar());
  EXPECT_EQ(m.Items(1)->MergedCount(), 0);
  EXPECT_EQ(m.FindText("ABC"), m.Items(0));
  EXPECT_EQ(m.FindText("Abc"), nullptr);
}

TEST(UniqueManagerAdd, TrimChoosesTheKeptText) {
  TUniqueManager m;
  m.Add(" abc");
  m.Add("abc");
  EXPECT_EQ(m.Count(), 2);
  m.Clear();
  m.FTrim = true;
  m.Add(" abc");
  m.Add(Sjis("abc　"));
  ASSERT_EQ(m.Count(), 1);
  EXPECT_EQ(m.Items(0)->Text(), "abc");
  EXPECT_EQ(m.Items(0)->FCount, 2);
}

TEST(UniqueManagerAdd, BlankLinesAreNeitherCountedNorStored) {
  TUniqueManager m;
  for (const std::string& line :
       {Sjis("　　"), std::string("\t"), std::string(""), std::string(1, '\0')})
    m.Add(line);
  EXPECT_EQ(m.Count(), 0);
  EXPECT_EQ(m.TotalCount(), 0);
}

TEST(UniqueManagerAdd, KeysFollowTheBaseTable) {
  // Hyphen on trims the key's outer bytes up to 0x20 whatever FTrim says.
  EXPECT_EQ(Keys({" abc", "abc"}, {.hyphen = true}), (std::vector<std::string>{"abc", "abc"}));
  EXPECT_EQ(Keys({" abc", "abc"}, {}), (std::vector<std::string>{" abc", "abc"}));
  // Trim and hyphen on: the key is not trimmed again, so a full-width space
  // that TrimBlanks left behind a control character stays as a space.
  EXPECT_EQ(Keys({"X　\t　"}, {.trim = true, .hyphen = true}), (std::vector<std::string>{"x "}));
  EXPECT_EQ(Keys({"X　\t　"}, {.trim = true}), (std::vector<std::string>{"x"}));
  EXPECT_EQ(Keys({"ＡＢＣ"}, {}), (std::vector<std::string>{"abc"}));
}

TEST(UniqueManagerAdd, TrailingMarkRule) {
  const std::vector<const char*> coffee{"ｺｰﾋｰ", "コーヒ-", "コーヒー", "こーひー"};
  EXPECT_EQ(Keys(coffee, {.hyphen = true, .terminate = true}), std::vector<std::string>(4, "ｺ-ﾋ"));
  EXPECT_EQ(Keys(coffee, {.hyphen = true}), std::vector<std::string>(4, "ｺ-ﾋ-"));
  EXPECT_EQ(Keys({"データ－", "データー", "データ", "デ-タ", "デｰタ"}, {.terminate = true}),
            (std::vector<std::string>{"ﾃﾞｰﾀ", "ﾃﾞｰﾀ", "ﾃﾞｰﾀ", "ﾃﾞ-ﾀ", "ﾃﾞｰﾀ"}));
  // 堂 ends in the byte 0xB0, which is no mark.
  EXPECT_EQ(Keys({"食堂", "食堂ー"}, {.terminate = true}),
            (std::vector<std::string>{"食堂", "食堂"}));
  EXPECT_EQ(Keys({"ABC--", "-"}, {.hyphen = true, .terminate = true}),
            (std::vector<std::string>{"abc-", ""}));
  // With hyphen on only "-" is a mark; the long-vowel mark is folded to it first.
  EXPECT_EQ(Keys({"ab－"}, {.hyphen = true, .terminate = true}), (std::vector<std::string>{"ab"}));
}

TEST(UniqueManagerAdd, ArbitraryBytesAreKeptAndFound) {
  TUniqueManager m;
  m.FHyphenTerminate = true;
  const std::string lines[] = {"a\x81", std::string("a\0b", 3), "\x81\x0A", "\x83-", "a\x82\x00"};
  for (const std::string& line : lines) m.Add(line), m.Add(line);
  for (const std::string& line : lines) {
    ASSERT_NE(m.FindText(line), nullptr);
    EXPECT_EQ(m.FindText(line)->FCount, 2);
  }
  EXPECT_EQ(m.FindText("\x83-")->Key(), "\x83-");  // "-" is a trail byte here
}

TEST(UniqueManager, DisplayKeyFollowsTheOptions) {
  TUniqueManager m;
  m.Add(Sjis("ＡＢＣ"));
  const TUniqueItem& item = *m.Items(0);
  EXPECT_EQ(m.DisplayKey(item), "abc");
  m.FZenkaku = m.FUpper = true;
  EXPECT_EQ(m.DisplayKey(item), "abc");
  m.FZenkaku = false;
  EXPECT_EQ(m.DisplayKey(item), "ABC");
  m.FZenkaku = true;
  m.FUpper = false;
  EXPECT_EQ(m.DisplayKey(item), Sjis("ａｂｃ"));
}

std::string PaddedString(const TSortString& item) {
  std::string s(item.Key);
  if (s.size() < 1024) s.resize(1024, ' ');
  return s.append(item.Text);
}

TEST(PaddedKeyOrder, EqualsComparingThePaddedStrings) {
  std::mt19937 rng(3);
  const std::string pieces[] = {
      "a", "b", " ", "\t", "", std::string(1030, 'a'), std::string(1020, 'a'), "\xFF"};
  auto pick = [&] {
    std::string s;
    for (int k = std::uniform_int_distribution<>(0, 3)(rng); k > 0; --k)
      s += pieces[std::uniform_int_distribution<std::size_t>(0, std::size(pieces) - 1)(rng)];
    return s;
  };
  for (int round = 0; round < 20000; ++round) {
    const std::string ka = pick(), ta = pick(), kb = pick(), tb = pick();
    const TSortString a{ka, ta}, b{kb, tb};
    const int expected = CompareBytes(PaddedString(a), PaddedString(b));
    ASSERT_EQ(PaddedKeyOrder(a, b), expected) << round;
    ASSERT_EQ(PaddedKeyOrder(b, a), -expected) << round;
  }
}

TEST(UniqueManager, SortOrdersByPaddedKeyThenText) {
  TUniqueManager m;
  for (const char* line : {"abc", "ab\tx", "ABC", "ab"}) m.Add(line);
  m.Sort();
  std::vector<std::string> texts;
  for (int i = 0; i < m.Count(); ++i) texts.emplace_back(m.Items(i)->Text());
  // The tab sorts before the padding; "ab" pads to spaces, before "abc".
  EXPECT_EQ(texts, (std::vector<std::string>{"ab\tx", "ab", "ABC", "abc"}));
  m.Add("abc");
  EXPECT_EQ(m.FindText("abc")->FCount, 2) << "the index survives the reordering";
}

TEST(UniqueManager, ClearSimilarAndItemsRange) {
  TUniqueManager m;
  m.Add("a");
  m.Items(0)->SetSimilar(true);
  m.ClearSimilar();
  EXPECT_FALSE(m.Items(0)->Similar());
  EXPECT_THROW(m.Items(1), std::out_of_range);
  EXPECT_THROW(m.Items(-1), std::out_of_range);
}

// Deleting from a manager also drops the item from the text index, so a
// later Add of the same text does not reach a freed item.
TEST(UniqueManager, DeleteKeepsTheIndexSound) {
  auto previous = SetMessageHandler([](MessageKind, const std::string&) { return true; });
  TUniqueManager m;
  m.Add("a");
  m.Add("b");
  m.Organize();
  m.Delete(m.Items(0));
  EXPECT_EQ(m.FindText("a"), nullptr);
  m.Add("a");
  EXPECT_EQ(m.Count(), 2);
  EXPECT_EQ(m.FindText("a")->FCount, 1);
  SetMessageHandler(previous);
}

TEST(UniqueManager, AssignCopiesItemsAndIndexesThem) {
  TUniqueManager source, copy;
  for (const char* line : {"a", "a", "A"}) source.Add(line);
  source.Organize();
  ASSERT_TRUE(source.Items(0)->Grouped());
  copy.Add("old");
  copy.Assign(source);
  ASSERT_EQ(copy.Count(), 2);
  EXPECT_EQ(copy.Items(0)->FCount, 2);
  EXPECT_EQ(copy.Items(0)->MergedCount(), 3);
  EXPECT_FALSE(copy.Items(1)->Shown());
  EXPECT_FALSE(copy.Items(0)->Grouped());
  copy.Add("a");
  EXPECT_EQ(copy.Count(), 2);
  EXPECT_EQ(copy.Items(0)->FCount, 3);
}

}  // namespace
}  // namespace tavrin

namespace tavrin {
namespace {

struct TSnapshot {
  std::string Text, Key;
  std::int32_t Count;
  bool operator==(const TSnapshot&) const = default;
};

std::vector<TSnapshot> Snapshot(const TUniqueManager& m) {
  std::vector<TSnapshot> s;
  for (int i = 0; i < m.Count(); ++i)
    s.push_back(
        {std::string(m.Items(i)->Text()), std::string(m.Items(i)->Key()), m.Items(i)->FCount});
  return s;
}

// Random lines with blanks, long lines and repeats: AddAll leaves exactly
// what one Add per line leaves (the same items in the same order, the same
// counts), under each trim choice, serially and split over 2 to 4 parts,
// and on top of items added before (and organized, which lets the text
// index go until the next look-up).
TEST(UniqueManagerAddAll, SameAsAddingLineByLine) {
  std::mt19937 rng(5);
  const std::string pieces[] = {
      "a", "A", " ", "\t", "\x81\x40", "\x83\x41", "-", std::string(20, 'q'), "\x82"};
  std::vector<std::string> lines;
  for (int i = 0; i < 5000; ++i) {
    std::string s;
    for (int k = std::uniform_int_distribution<>(0, 4)(rng); k > 0; --k)
      s += pieces[std::uniform_int_distribution<std::size_t>(0, std::size(pieces) - 1)(rng)];
    lines.push_back(s);
  }
  for (const unsigned width : {1u, 2u, 3u, 4u}) {
    SetParallelWidth(width);
    for (const bool trim : {false, true}) {
      for (const bool earlier : {false, true}) {
        TUniqueManager one, all;
        one.FTrim = all.FTrim = trim;
        one.FHyphen = all.FHyphen = true;
        if (earlier) {
          for (std::size_t i = 0; i < lines.size(); i += 7) one.Add(lines[i]), all.Add(lines[i]);
          all.Organize();
        }
        for (const std::string& line : lines) one.Add(line);
        all.AddAll(lines.size(), [&](std::size_t i) { return std::string_view(lines[i]); });
        ASSERT_EQ(Snapshot(all), Snapshot(one)) << width << trim << earlier;
        for (const std::string& line : lines) {
          ASSERT_EQ(all.FindText(line) != nullptr, one.FindText(line) != nullptr);
        }
      }
    }
  }
  SetParallelWidth(0);
}

// Room made part way (the index moves its entries) changes no result.
TEST(UniqueManager, ExpectTextsChangesNoResult) {
  std::vector<std::string> lines;
  for (int i = 0; i < 6000; ++i) lines.push_back(std::to_string(i % 4000 * 7919 % 5003));
  TUniqueManager plain, expecting;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i == 3000) expecting.ExpectTexts(100000);
    plain.Add(lines[i]), expecting.Add(lines[i]);
  }
  EXPECT_EQ(Snapshot(expecting), Snapshot(plain));
  for (const std::string& line : lines) ASSERT_NE(expecting.FindText(line), nullptr) << line;
  EXPECT_EQ(expecting.FindText("x"), nullptr);
}

std::vector<std::string> Texts(const TUniqueManager& m) {
  std::vector<std::string> texts;
  for (int i = 0; i < m.Count(); ++i) texts.emplace_back(m.Items(i)->Text());
  return texts;
}

// Sort right after Organize takes Organize's order; once an item was deleted
// and another added in its place, it sorts afresh.
TEST(UniqueManager, SortAfterOrganizeFollowsTheCurrentItems) {
  auto previous = SetMessageHandler([](MessageKind, const std::string&) { return true; });
  TUniqueManager m;
  for (const char* line : {"c", "a", "b"}) m.Add(line);
  m.Organize();
  m.Delete(m.Items(2));
  m.Add("0");
  m.Sort();
  EXPECT_EQ(Texts(m), (std::vector<std::string>{"0", "a", "c"}));
  m.Organize();
  m.Sort();
  EXPECT_EQ(Texts(m), (std::vector<std::string>{"0", "a", "c"}));
  // Sorted, the items keep their places in memory: deleting by pointer
  // removes that item, not the one at its place in input order.
  m.Delete(m.Items(0));
  EXPECT_EQ(Texts(m), (std::vector<std::string>{"a", "c"}));
  SetMessageHandler(previous);
}

}  // namespace
}  // namespace tavrin

namespace tavrin {
namespace {

// The key pass skips the folding for plain ASCII (eight bytes at a step)
// and folds large lists in parts: every key must still be what MakeKey
// gives its text, under each option set and with the kinds that look at
// ASCII (blanks, the grave accent, tel before a number), with one part and
// with several.
TEST(UniqueManagerKeys, BulkKeysEqualMakeKey) {
  std::mt19937 rng(9);
  const std::string pieces[] = {"a",    "Z",        "-",        " ", "\t", "0",  "\x81\x5B",
                                "\xB0", "\x83\x41", "\x82\xA0", "~", "`",  "tel"};
  std::vector<std::string> lines;
  for (int i = 0; i < 40000; ++i) {
    // Most lines distinct, and long enough for a step of eight bytes.
    std::string s = (i % 2 ? "item" : "") + std::to_string(i);
    for (int k = std::uniform_int_distribution<>(0, 3)(rng); k > 0; --k)
      s.insert(rng() % (s.size() + 1), pieces[rng() % std::size(pieces)]);
    lines.push_back(s);
  }
  for (const unsigned width : {1u, 2u}) {
    SetParallelWidth(width);
    for (int options = 0; options < 16; ++options) {
      TUniqueManager m;
      m.FTrim = options & 1, m.FHyphen = options & 2, m.FHyphenTerminate = options & 4;
      m.FVariants = options & 8 ? kVariantSpace | kVariantSymbol | kVariantNumber : 0;
      m.AddAll(lines.size(), [&](std::size_t i) { return std::string_view(lines[i]); });
      m.Organize();
      for (int i = 0; i < m.Count(); ++i) {
        const TUniqueItem& item = *m.Items(i);
        ASSERT_EQ(item.Key(), m.MakeKey(item.Text())) << width << " " << options << " " << i;
      }
    }
  }
  SetParallelWidth(0);
}

}  // namespace
}  // namespace tavrin
