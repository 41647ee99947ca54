// The result list's drawn captions: the marks of invisible characters and
// the highlighted differences from the canonical spelling.
#include "app/result_list.h"

#include <gtest/gtest.h>

#include <set>

#include "app/build_data.h"
#include "app/clipboard_lines.h"
#include "app/extract_similar.h"
#include "engine/unique_manager.h"
#include "util/cp932.h"

namespace tavrin {
namespace {

TEST(ResultListTest, InvisibleMarks) {
  struct Case {
    char32_t c;
    bool outer;
    char32_t mark;
  };
  const Case cases[] = {
      {U' ', true, U'\u00B7'},       {U' ', false, 0},          {U'\u3000', false, U'\u2423'},
      {U'\u00A0', false, U'\u00B0'}, {U'\t', false, U'\u2192'}, {U'\u200B', false, U'\u2038'},
      {U'\uFEFF', true, U'\u2038'},  {U'a', true, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(InvisibleMark(c.c, c.outer), c.mark) << int(c.c);
}

// Drawn text of every row as UTF-8, a mark as itself and each differing
// glyph in brackets; a row drawn plainly is empty.
std::vector<std::string> Drawn(const std::vector<std::string>& utf8Lines, bool quote) {
  TUniqueManager manager;
  std::string text;
  for (const auto& line : utf8Lines) text += cp932::Sjis(line) + "\r\n";
  BuildData(manager, ClipboardLines(text), true);
  MarkSimilar(manager);
  TResultList list;
  list.SetRows(FillRows(manager, true, true, true), {quote, false, true});
  list.SetGroups(VariantGroups(list.Rows()));
  std::vector<std::string> out;
  for (int row = 0; row < list.Count(); ++row) {
    std::string drawn;
    for (const TCaptionGlyph& g : list.Glyphs(row)) {
      if (g.Differs) drawn += "[";
      for (const char32_t c : g.Text) cp932::AppendUtf8(drawn, c);
      if (g.Differs) drawn += "]";
    }
    out.push_back(drawn);
  }
  return out;
}

TEST(ResultListTest, GlyphsMarkOuterSpacesAndHighlightDifferences) {
  EXPECT_EQ(Drawn({"ABC", "ABC", "ＡBC"}, false), (std::vector<std::string>{"", "[Ａ]BC"}));
  EXPECT_EQ(Drawn({"ab c", "ab c", "AB　c"}, true),
            (std::vector<std::string>{"\"[A][B][␣]c\"", ""}));
  EXPECT_EQ(Drawn({"ab c ", "ab c ", "AB c "}, false),
            (std::vector<std::string>{"[A][B] c·", "ab c·"}));
  EXPECT_EQ(Drawn({"ab c ", "ab c ", "AB c "}, true),
            (std::vector<std::string>{"\"[A][B] c·\"", "\"ab c·\""}));
}

// A base and its combining marks are one glyph, highlighted or marked
// together: a mark drawn on its own is lost.
TEST(ResultListTest, GlyphsAreGraphemeClusters) {
  EXPECT_EQ(Drawn({"ガス", "ガス", "カ\u3099ス"}, false),
            (std::vector<std::string>{"[カ\u3099]ス", ""}));
  EXPECT_EQ(Drawn({"ﾊﾟﾝ", "パン", "パン"}, false), (std::vector<std::string>{"", "[ﾊﾟ][ﾝ]"}));
  // An invisible base is marked and keeps the marks on it.
  EXPECT_EQ(Drawn({"a\u3000\u0301b", "a\u3000\u0301b", "A\u3000\u0301B"}, false),
            (std::vector<std::string>{"[A]␣\u0301[B]", "a␣\u0301b"}));
}

// The first row's tool-tip for its text column, one line a marked kind:
// each kind named once, in the order its marks are drawn.
TEST(ResultListTest, ToolTipNamesTheDrawnMarks) {
  const struct {
    const char* line;
    const char* tip;
  } kCases[] = {
      {"a\u3000b\u3000c", "「␣」は全角空白"},
      {" a\tb\u3000 ", "「·」は前後の半角空白\r「→」はTAB\r「␣」は全角空白"},
      {"a b", ""},  // an inner space is drawn as it is
  };
  for (const auto& c : kCases) {
    TUniqueManager manager;
    BuildData(manager, ClipboardLines(cp932::Sjis(c.line)), true);
    TResultList list;
    list.SetRows(FillRows(manager, false, true, true), {false, false, true});
    EXPECT_EQ(cp932::ToUtf8(list.CellToolTip(0, 0)), c.tip) << c.line;
    EXPECT_EQ(list.CellToolTip(0, 1), "") << c.line;
  }
}

// Groups the list makes itself choose each canonical row when first asked
// for, as VariantGroups does at once, and each row keeps its group through a
// sort and a deletion; grouped again, in the last grouping's memory, the
// rows left group as in a fresh list. Sorted, "y\t" (listed before "y",
// but after it in byte order) sends the grouping from adjacent keys to
// look-ups midway; unsorted, it looks up all.
TEST(ResultListTest, MadeGroupsFollowTheirRows) {
  for (const bool sorted : {true, false}) {
    TUniqueManager manager;
    const std::string lines = "ﾃｽﾄ\nX\nてすと\nx\ny\t\nY\t\nx\ny\nY\nz\n";
    BuildData(manager, ClipboardLines(cp932::Sjis(lines)), sorted);
    MarkSimilar(manager);
    TResultList made, given;
    made.SetRows(FillRows(manager, true, true, true), {false, false, true});
    given.SetRows(made.Rows(), {false, false, true});
    made.MakeGroups(nullptr);
    given.SetGroups(VariantGroups(given.Rows()));
    // Each row as "text>canonical text", "*" marking the canonical row.
    const auto shown = [](const TResultList& list) {
      std::multiset<std::string> out;
      for (int row = 0; row < list.Count(); ++row)
        out.insert(cp932::ToUtf8(list.Caption(row)) +
                   (list.GroupOf(row) < 0 ? "-"
                    : list.IsCanonical(row)
                        ? "*"
                        : ">" + cp932::ToUtf8(
                                    std::string(list.Group(list.GroupOf(row)).CanonicalText()))));
      return out;
    };
    const std::multiset<std::string> expected = {"x*",   "X>x",     "てすと*", "ﾃｽﾄ>てすと",
                                                 "y\t*", "Y\t>y\t", "y*",      "Y>y"};
    EXPECT_EQ(shown(made), expected) << sorted;
    const auto byCount = [](const TResultRow& a, const TResultRow& b) { return a.Count > b.Count; };
    made.SortRows(byCount);
    EXPECT_EQ(shown(made), expected) << sorted;
    std::vector<bool> remove(static_cast<std::size_t>(made.Count()), false);
    remove[0] = true;  // x
    made.RemoveRows(remove);
    std::multiset<std::string> left = expected;
    left.erase("x*");
    EXPECT_EQ(shown(made), left) << sorted;
    EXPECT_EQ(made.Groups().size(), 4u);
    EXPECT_EQ(shown(given), expected) << sorted;
    TResultList fresh;
    fresh.SetRows(made.Rows(), {false, false, true});
    fresh.MakeGroups(nullptr);
    made.MakeGroups(nullptr);
    EXPECT_EQ(made.Groups().size(), 3u);
    EXPECT_EQ(shown(made), shown(fresh)) << sorted;
  }
}

}  // namespace
}  // namespace tavrin
