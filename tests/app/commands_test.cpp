// The command logic behind [全データ], [類字抽出] and [コピー] on a real
// TUniqueManager: BuildData's status texts, the similar marks, the rows of
// the list, the column orders and the copy text.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "app/build_data.h"
#include "app/clipboard_lines.h"
#include "app/command_texts.h"
#include "app/copy_text.h"
#include "app/extract_similar.h"
#include "app/result_rows.h"
#include "engine/unique_manager.h"
#include "util/cp932.h"
#include "util/parallel.h"

namespace tavrin {
namespace {

using cp932::Sjis;

// A manager with the window's default options, built from UTF-8 lines.
struct Built {
  TUniqueManager manager;
  explicit Built(const std::vector<std::string>& utf8Lines, bool zenkaku = true, bool upper = true,
                 bool sort = true) {
    manager.FZenkaku = zenkaku;
    manager.FUpper = upper;
    manager.FHyphen = true;
    manager.FHyphenTerminate = true;
    std::string text;
    for (const auto& line : utf8Lines) text += Sjis(line) + "\r\n";
    EXPECT_TRUE(BuildData(manager, ClipboardLines(text), sort));
  }
};

std::vector<std::string> Texts(const std::vector<TResultRow>& rows) {
  std::vector<std::string> texts;
  for (const auto& row : rows)
    texts.push_back(cp932::ToUtf8(row.Item->Text()) + ":" + std::to_string(row.Count));
  return texts;
}

TEST(CommandTexts, Summary) {
  EXPECT_EQ(SummaryText(true, 0, 0), Sjis("表示するデータがありません"));
  EXPECT_EQ(SummaryText(false, 12, 0), Sjis("表示するデータがありません"));
  EXPECT_EQ(SummaryText(true, 3, 2), Sjis("全3個のデータの中から、2 種類のデータを取得しました"));
  EXPECT_EQ(SummaryText(false, 1000000, 25),
            Sjis("全1000000個のデータの中から、25 種類の類字データを抽出しました"));
}

TEST(CommandTexts, ProgressAndCopyMessages) {
  EXPECT_EQ(ProgressText(37), Sjis("データを取得しています...37%"));
  EXPECT_EQ(CopiedMessage(true), Sjis("全てのデータをクリップボードにコピーしました"));
  EXPECT_EQ(CopiedMessage(false), Sjis("選択されたデータをクリップボードにコピーしました"));
  EXPECT_EQ(NoLinesMessage(), Sjis("文字列がみつかりません\rクリップボードに文字列をコピーした後、"
                                   "この処理を行ってください"));
}

// Without a viewer the user still learns where the help is, to open it by
// hand; a path outside Shift-JIS stays whole.
TEST(CommandTexts, HelpViewerMissingNamesThePath) {
  const struct {
    const char* path;
    const char* message;
  } cases[] = {
      {"/usr/local/share/doc/tavrin/tavrin.pdf",
       "tavrin.pdf を開くプログラムが見つかりません\r/usr/local/share/doc/tavrin/tavrin.pdf"},
      {"/home/나/도구/tavrin.pdf",
       "tavrin.pdf を開くプログラムが見つかりません\r/home/나/도구/tavrin.pdf"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(HelpViewerMissingMessage(c.path), Sjis(c.message)) << c.path;
}

TEST(BuildData, StatusTextsChangeWithThePercentage) {
  TUniqueManager manager;
  std::string text;
  for (int i = 0; i < 200; ++i) text += "line" + std::to_string(i % 7) + "\n";
  std::vector<std::string> statuses;
  ASSERT_TRUE(BuildData(manager, ClipboardLines(text), false,
                        [&](const std::string& s) { statuses.push_back(s); }));
  // 0 .. 99 once each (two lines per percent), then the organising text.
  ASSERT_EQ(statuses.size(), 101u);
  EXPECT_EQ(statuses.front(), ProgressText(0));
  EXPECT_EQ(statuses[99], ProgressText(99));
  EXPECT_EQ(statuses.back(), OrganizingText());
  EXPECT_EQ(manager.TotalCount(), 200);
  EXPECT_EQ(manager.Count(), 7);

  // Line counts that do not divide by 100: each percentage a line reaches
  // is shown once, in order, and every line is counted.
  for (const int n : {1, 3, 99, 101, 149, 333, 1001}) {
    std::string lines;
    for (int i = 0; i < n; ++i) {
      lines += 'x';  // apart: "x" + string draws a false -Wrestrict from GCC 12 at -O3
      lines += std::to_string(i % 5);
      lines += '\n';
    }
    std::vector<std::string> expected, seen;
    for (int i = 0; i < n; ++i) {
      const std::string t =
          ProgressText(ProgressPercent(static_cast<std::size_t>(i), static_cast<std::size_t>(n)));
      if (expected.empty() || expected.back() != t) expected.push_back(t);
    }
    expected.push_back(OrganizingText());
    TUniqueManager m;
    ASSERT_TRUE(BuildData(m, ClipboardLines(lines), false,
                          [&](const std::string& s) { seen.push_back(s); }));
    EXPECT_EQ(seen, expected) << n;
    EXPECT_EQ(m.TotalCount(), n) << n;
  }

  // Many distinct lines are added in one step: the first percentage, then
  // the organising text.
  std::string distinct;
  for (int i = 0; i < 40000; ++i) distinct += std::to_string(i % 39000) + "\n";
  std::vector<std::string> seen;
  TUniqueManager m;
  ASSERT_TRUE(BuildData(m, ClipboardLines(distinct), false,
                        [&](const std::string& s) { seen.push_back(s); }));
  EXPECT_EQ(seen, (std::vector<std::string>{ProgressText(0), OrganizingText()}));
  EXPECT_EQ(m.TotalCount(), 40000);
  EXPECT_EQ(m.Count(), 39000);

  // A line the sort declines (a key past the padded field): added line by
  // line, with every percentage again.
  seen.clear();
  ASSERT_TRUE(BuildData(m, ClipboardLines(distinct + std::string(kKeyField, 'k')), false,
                        [&](const std::string& s) { seen.push_back(s); }));
  ASSERT_EQ(seen.size(), 102u);
  EXPECT_EQ(seen[1], ProgressText(0));
  EXPECT_EQ(seen[100], ProgressText(99));
  EXPECT_EQ(m.Count(), 39001);
}

TEST(BuildData, NoLinesKeepsThePreviousResult) {
  Built b({"abc", "abc"});
  EXPECT_FALSE(BuildData(b.manager, ClipboardLines(" \r\n\t"), true));
  EXPECT_EQ(b.manager.TotalCount(), 2);
  EXPECT_EQ(b.manager.Count(), 1);
}

TEST(BuildData, WithoutSortFirstOccurrenceOrder) {
  Built b({"b", "a", "b", "c"}, true, true, false);
  EXPECT_EQ(Texts(FillRows(b.manager, false, true, true)),
            (std::vector<std::string>{"b:2", "a:1", "c:1"}));
  // In an earlier list's room, the rows replace what it held.
  EXPECT_EQ(Texts(FillRows(b.manager, true, true, true, FillRows(b.manager, false, true, true))),
            (std::vector<std::string>{}));
}

TEST(MarkSimilar, ListsExactlyTheItemsWhoseKeyIsShared) {
  // Two identical lines and one of another width: two rows, counts 2 and 1.
  Built b({"ユニット", "ユニット", "ﾕﾆｯﾄ", "テスト", "テスト", "テスト"});
  ASSERT_TRUE(MarkSimilar(b.manager));
  const auto rows = FillRows(b.manager, true, true, true);
  EXPECT_EQ(Texts(rows), (std::vector<std::string>{"ユニット:2", "ﾕﾆｯﾄ:1"}));
  EXPECT_EQ(SummaryText(false, b.manager.TotalCount(), rows.size()),
            Sjis("全6個のデータの中から、2 種類の類字データを抽出しました"));
}

TEST(MarkSimilar, EarlierMarksAreCleared) {
  Built b({"abc", "ABC", "xyz"});
  b.manager.Items(2)->SetSimilar(true);
  ASSERT_TRUE(MarkSimilar(b.manager));
  EXPECT_EQ(Texts(FillRows(b.manager, true, true, true)),
            (std::vector<std::string>{"ABC:1", "abc:1"}));
}

TEST(MarkSimilar, KeysDifferingInTrailingSpacesAreNotPartners) {
  // "a" and "a " (FHyphen off, FTrim off keeps the blank in the key) share
  // the padded key field but not the key; "a " and "A " do share one.
  TUniqueManager manager;
  ASSERT_TRUE(BuildData(manager, ClipboardLines("a\na \nA \nb"), true));
  ASSERT_TRUE(MarkSimilar(manager));
  EXPECT_EQ(Texts(FillRows(manager, true, true, true)), (std::vector<std::string>{"A :1", "a :1"}));
}

// Marks are exactly the shared keys whether the list is sorted (neighbours
// compared) or in input order, and whether or not some key is not plain
// (trailing space, over 1024 bytes), which sends the pass to the look-ups.
TEST(MarkSimilar, MarksAreTheSharedKeysInEveryOrder) {
  std::mt19937 rng(17);
  const std::string pieces[] = {"a", "A", "\xB1", "\x83\x41", "\x81\x5B", "b", "\x82\xA0"};
  for (int round = 0; round < 24; ++round) {
    std::string text;
    for (int i = 0; i < 400; ++i) {
      for (int k = std::uniform_int_distribution<>(1, 3)(rng); k > 0; --k)
        text += pieces[rng() % std::size(pieces)];
      // A late awkward line, so that a sorted pass has marked much already.
      if (round % 3 == 1 && i == 390) text += " ";
      if (round % 3 == 2 && i == 395) text += std::string(1100, 'x');
      text += "\r\n";
    }
    TUniqueManager manager;
    manager.FHyphen = true;
    ASSERT_TRUE(BuildData(manager, ClipboardLines(text), round % 2 == 0));
    ASSERT_TRUE(MarkSimilar(manager));
    std::map<std::string, int> keys;
    for (int i = 0; i < manager.Count(); ++i) ++keys[std::string(manager.Items(i)->Key())];
    for (int i = 0; i < manager.Count(); ++i) {
      const TUniqueItem* item = manager.Items(i);
      ASSERT_EQ(item->Similar(), keys[std::string(item->Key())] > 1) << round << " " << i;
    }
  }
}

TEST(MarkSimilar, EmptyManagerKeepsNothingMarked) {
  TUniqueManager manager;
  EXPECT_FALSE(MarkSimilar(manager));
}

TEST(FillRows, CountsOfTheAllDataModes) {
  // ABC, ABC, abc: with FUpper off the group shows once with the total.
  Built distinct({"ABC", "ABC", "abc"});
  EXPECT_EQ(Texts(FillRows(distinct.manager, false, true, true)),
            (std::vector<std::string>{"ABC:2", "abc:1"}));
  Built merged({"ABC", "ABC", "abc"}, true, false);
  EXPECT_EQ(Texts(FillRows(merged.manager, false, true, false)),
            (std::vector<std::string>{"ABC:3"}));
  // The similar view shows each item's own count even when merged.
  ASSERT_TRUE(MarkSimilar(merged.manager));
  EXPECT_EQ(Texts(FillRows(merged.manager, true, true, false)),
            (std::vector<std::string>{"ABC:2", "abc:1"}));
}

// A large list is filled on the cores: the rows of one walk, whatever the
// width, with merged items left out, for both kinds of list.
TEST(FillRows, ManyItemsOnTheCoresAsInOneWalk) {
  std::vector<std::string> lines;
  for (int k = 0; k < 150000; ++k) lines.push_back((k % 3 ? "A" : "a") + std::to_string(k / 2));
  Built b(lines, true, false);
  for (int i = 7;; ++i) {
    if (b.manager.Items(i)->Shown()) {
      b.manager.Items(i)->SetShown(false);
      break;
    }
  }
  ASSERT_TRUE(MarkSimilar(b.manager));
  for (const bool similar : {false, true}) {
    std::vector<std::string> oneWalk;
    for (const unsigned width : {1u, 2u, 3u}) {
      SetParallelWidth(width);
      const std::vector<std::string> rows = Texts(FillRows(b.manager, similar, true, false));
      if (width == 1) oneWalk = rows;
      EXPECT_EQ(rows, oneWalk) << similar << width;
    }
    SetParallelWidth(0);
    // A pair of case forms a row, one hidden; a and A of a number are similar.
    EXPECT_EQ(oneWalk.size(), similar ? 100000u : 74999u);
  }
}

TEST(FillRows, DeletedRowIsLeftOutOfTheNextListing) {
  Built b({"x", "y"});
  b.manager.Items(0)->SetShown(false);
  EXPECT_EQ(Texts(FillRows(b.manager, false, true, true)), (std::vector<std::string>{"y:1"}));
}

TEST(ResultRows, CaptionAndCount) {
  Built b({"abc"});
  TUniqueItem& item = *b.manager.Items(0);
  EXPECT_EQ(RowCaption(item, false), "abc");
  EXPECT_EQ(RowCaption(item, true), "\"abc\"");
  EXPECT_EQ(CountText(5), "  5");
  EXPECT_EQ(CountText(42), " 42");
  EXPECT_EQ(CountText(1234), "1234");
}

TEST(ResultRows, ColumnOrders) {
  Built b({"b", "ｂ", "a", "a", "a", "c", "c"});  // sorted: a:3 b:1 ｂ:1 c:2
  auto rows = FillRows(b.manager, false, true, true);
  ASSERT_EQ(Texts(rows), (std::vector<std::string>{"a:3", "b:1", "ｂ:1", "c:2"}));
  // The first click after a command negates 1: descending.
  SortRows(rows, TSortColumn::Count, -1);
  EXPECT_EQ(Texts(rows), (std::vector<std::string>{"a:3", "c:2", "b:1", "ｂ:1"}));
  SortRows(rows, TSortColumn::Count, 1);
  EXPECT_EQ(Texts(rows), (std::vector<std::string>{"b:1", "ｂ:1", "c:2", "a:3"}));
  // By text the width variants b and ｂ (same key) sit together.
  SortRows(rows, TSortColumn::Text, -1);
  EXPECT_EQ(Texts(rows), (std::vector<std::string>{"c:2", "ｂ:1", "b:1", "a:3"}));
  EXPECT_EQ(CompareByText(rows[0], rows[0], 1), 0);
  EXPECT_EQ(CompareByText(rows[1], rows[2], 1), 1);
  EXPECT_EQ(CompareByCount(rows[0], rows[3], 1), -1);
  EXPECT_EQ(CompareByCount(rows[0], rows[3], -1), 1);
}

TEST(CopyRows, AllAndSelected) {
  Built b({"a", "ｂ", "ｂ", "c", "d", "e", "f", "g", "h", "i", "j"});
  const auto rows = FillRows(b.manager, false, true, true);
  ASSERT_EQ(rows.size(), 10u);

  const TCopyResult all = CopyRows(rows, std::vector<std::size_t>{1}, TCopyKind::All, true);
  EXPECT_EQ(all.Status, TCopyResult::TStatus::Copied);
  EXPECT_EQ(all.Text,
            "a\t1\r\n" + Sjis("ｂ") +
                "\t2\r\nc\t1\r\nd\t1\r\ne\t1\r\nf\t1\r\ng\t1\r\nh\t1\r\ni\t1\r\nj\t1\r\n");
  EXPECT_EQ(all.Message, CopiedMessage(true));

  // Three of ten, given in any order, come out in row order, without counts.
  const std::vector<std::size_t> selected{9, 1, 4, 1, 99};
  const TCopyResult some = CopyRows(rows, selected, TCopyKind::Selected, false);
  EXPECT_EQ(some.Status, TCopyResult::TStatus::Copied);
  EXPECT_EQ(some.Text, Sjis("ｂ") + "\r\ne\r\nj\r\n");
  EXPECT_EQ(some.Message, CopiedMessage(false));
}

TEST(CopyRows, CopyTakesTheTextNotTheCaptionAndFollowsTheRowOrder) {
  Built b({"x", "y", "y"});
  auto rows = FillRows(b.manager, false, true, true);
  SortRows(rows, TSortColumn::Count, -1);
  EXPECT_EQ(CopyRows(rows, {}, TCopyKind::All, true).Text, "y\t2\r\nx\t1\r\n");
  EXPECT_EQ(CopyLine(rows[0], true), "y\t2");
  EXPECT_EQ(CopyLine(rows[0], false), "y");
}

TEST(CopyRows, FailuresLeaveTheClipboardAlone) {
  const TCopyResult empty = CopyRows({}, {}, TCopyKind::All, true);
  EXPECT_EQ(empty.Status, TCopyResult::TStatus::NoRows);
  EXPECT_EQ(empty.Message,
            Sjis("コピーする文字列を表示させた後、このボタンをクリックしてください"));
  EXPECT_TRUE(empty.Text.empty());

  // Rows but no selection: reported, not an empty text put on the clipboard.
  Built b({"x", "y"});
  const auto rows = FillRows(b.manager, false, true, true);
  const TCopyResult none = CopyRows(rows, {}, TCopyKind::Selected, true);
  EXPECT_EQ(none.Status, TCopyResult::TStatus::NoSelection);
  EXPECT_EQ(none.Message, Sjis("選択されたデータがありません"));
  EXPECT_TRUE(none.Text.empty());
  const std::vector<std::size_t> outside{2, 7};
  EXPECT_EQ(CopyRows(rows, outside, TCopyKind::Selected, true).Status,
            TCopyResult::TStatus::NoSelection);
}

TEST(ResultRows, LongTextIsShownCutAtACharacterWithAnEllipsis) {
  const std::string ellipsis = "\x81\x63";
  struct Case {
    std::string text;
    std::size_t max, line;
    std::string shown;
  } cases[] = {
      {"abc", 3, 0, "abc"},
      {"abcd", 3, 0, "abc" + ellipsis},
      {"a\x82\xA0", 2, 0, "a" + ellipsis},  // the double-byte あ is not split
      {"abcdef", 100, 2, "ab\ncd\nef"},
  };
  for (const Case& c : cases) EXPECT_EQ(ShownText(c.text, c.max, c.line), c.shown) << c.text;

  Built b({std::string(kShownCaptionBytes + 1, 'x'), "short"});
  const TUniqueItem& shortItem = *b.manager.Items(0);
  const TUniqueItem& longItem = *b.manager.Items(1);
  EXPECT_EQ(ShownCaption(longItem, true),
            '"' + std::string(kShownCaptionBytes, 'x') + ellipsis + '"');
  EXPECT_NE(CaptionToolTip(longItem, false).find('\n'), std::string::npos);
  EXPECT_EQ(ShownCaption(shortItem, false), "short");
  EXPECT_EQ(CaptionToolTip(shortItem, false), "");
}

}  // namespace
}  // namespace tavrin
