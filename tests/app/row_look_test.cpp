// The look of a result row as both windows draw it: the tint of the current
// row's group, the bold canonical row, and the caption's highlighted spans.
#include "app/row_look.h"

#include <gtest/gtest.h>

#include "app/build_data.h"
#include "app/clipboard_lines.h"
#include "app/extract_similar.h"
#include "engine/unique_manager.h"
#include "util/cp932.h"

namespace tavrin {
namespace {

// Every distinct line a row, in input order, with the groups of [類字抽出].
struct Listed {
  TUniqueManager manager;
  TResultList list;
  explicit Listed(const char* utf8) {
    BuildData(manager, ClipboardLines(cp932::Sjis(utf8)), true);
    MarkSimilar(manager);
    std::vector<TResultRow> rows;
    for (std::int32_t i = 0; i < manager.Count(); ++i)
      rows.push_back({manager.Items(i), manager.Items(i)->FCount});
    list.SetRows(std::move(rows), {false, false, true});
    list.SetGroups(VariantGroups(list.Rows()));
  }
  int Row(const char* utf8) const {
    for (int row = 0; row < list.Count(); ++row)
      if (list.Row(row).Item->Text() == cp932::Sjis(utf8)) return row;
    return -1;
  }
};

TEST(RowLookTest, TintFollowsTheCurrentRowsGroupAndBoldTheCanonical) {
  // ユニット is its group's canonical (counted twice), テスト its (seen
  // first); abc has no group.
  const Listed l("ﾕﾆｯﾄ\nユニット\nユニット\nテスト\nてすと\nabc\n");
  ASSERT_EQ(l.list.Count(), 5);
  const int unit = l.Row("ユニット"), halfUnit = l.Row("ﾕﾆｯﾄ"), test = l.Row("テスト"),
            hiraTest = l.Row("てすと"), abc = l.Row("abc");
  const auto at = [](int row) { return std::optional<std::size_t>(static_cast<std::size_t>(row)); };
  const struct {
    const char* name;
    int row;
    std::optional<std::size_t> current;
    bool selected;
    TRowLook look;
  } kCases[] = {
      {"the current row's group", halfUnit, at(unit), false, {false, true}},
      {"the current row itself", unit, at(unit), false, {true, true}},
      {"selected: the selection colour wins", unit, at(unit), true, {true, false}},
      {"another group's canonical", test, at(halfUnit), false, {true, false}},
      {"another group", hiraTest, at(unit), false, {false, false}},
      {"no group, though current", abc, at(abc), false, {false, false}},
      {"no current row", halfUnit, std::nullopt, false, {false, false}},
      {"a current row past the list", halfUnit, at(99), false, {false, false}},
      {"a row past the list", 99, at(unit), false, {false, false}},
  };
  for (const auto& c : kCases)
    EXPECT_EQ(RowLook(l.list, c.row, c.current, c.selected), c.look) << c.name;
}

// Neighbouring glyphs drawn alike make one span; a caption with nothing to
// show has none and is drawn plainly.
TEST(RowLookTest, CaptionSpansJoinGlyphsDrawnAlike) {
  const Listed l("ab c \nab c \nAB c \n");
  const std::vector<TLookSpan> variant = {
      {U"AB", true, false}, {U" c", false, false}, {U"\u00B7", false, true}};
  EXPECT_EQ(CaptionSpans(l.list, l.Row("AB c ")), variant);
  EXPECT_EQ(CaptionSpans(Listed("abc\n").list, 0), std::vector<TLookSpan>{});
}

}  // namespace
}  // namespace tavrin
