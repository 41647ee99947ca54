#pragma once
// The rows of the result list: which items FillList lists with which count,
// what the two columns show, and the orderings of a column-heading click.
// A row refers to its item (not owned; valid until the manager's next Clear).
#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/unique_manager.h"

namespace tavrin {

struct TResultRow {
  TUniqueItem* Item = nullptr;
  std::int32_t Count = 0;  // the count the "個数" column shows
};

// The rows of FillList, in the collection's order (Items 0 .. Count - 1):
// - SimilarOnly: every item marked similar, with its own FCount;
// - otherwise every item shown, with its own FCount when Zenkaku and Upper
//   are both on, else with its merged count.
// Zenkaku and Upper are the window's FZenkaku and FUpper. The rows are
// written into Room's memory (what it holds is dropped), so that a caller
// listing again can hand back the last list's room.
std::vector<TResultRow> FillRows(const TUniqueManager& Manager, bool SimilarOnly, bool Zenkaku,
                                 bool Upper, std::vector<TResultRow> Room = {});
// The same rows one by one, to Row, without a list of them; those of the
// items at positions From .. To - 1 (clipped to the list) only, when given.
// WithTexts: Row reads each row's text, so the walk fetches the texts
// ahead too; without, it fetches only the marks and the items (reading an
// item early to find its text stalls the walk when nothing needs the text).
template <bool WithTexts = true, class RowFn>
void ForEachRow(const TUniqueManager& Manager, bool SimilarOnly, bool Zenkaku, bool Upper,
                RowFn Row, std::int32_t From = 0, std::int32_t To = INT32_MAX) {
  const bool ownCount = SimilarOnly || (Zenkaku && Upper);
  const std::int32_t count = std::min(To, Manager.Count());
  const auto listed = [&](std::int32_t i) {
    return i < count && (SimilarOnly ? Manager.SimilarAt(i) : Manager.ShownAt(i));
  };
  for (std::int32_t i = From; i < count; ++i) {
    // Sorted, the items lie in memory in input order: fetch the marks
    // ahead, then the listed items, far enough for each to come before the
    // next step asks for it.
    Manager.PrefetchMarks(i + 48);
    if (listed(i + 32)) Manager.PrefetchItem(i + 32);
    if (WithTexts && listed(i + 16)) Manager.PrefetchText(i + 16);
    if (!listed(i)) continue;
    TUniqueItem* item = Manager.Items(i);
    Row(TResultRow{item, ownCount ? item->FCount : item->MergedCount()});
  }
}

// The "文字列" caption: the text, between two double quotes when ExprsQuote is on.
std::string RowCaption(const TUniqueItem& Item, bool ExprsQuote);
// Text for the eye: at most MaxBytes bytes of whole characters, followed by
// "…" when anything was cut; with LineBytes set, a line break ('\n') after
// each run of about LineBytes bytes. The list draws a long line this way, so
// a line of megabytes paints as fast as a short one.
std::string ShownText(std::string_view Text, std::size_t MaxBytes, std::size_t LineBytes = 0);
// The caption as the list draws it and its tool-tip (empty when the caption
// is drawn whole): both cut from the text without copying all of it.
inline constexpr std::size_t kShownCaptionBytes = 512;
inline constexpr std::size_t kToolTipBytes = 2048;
inline constexpr std::size_t kToolTipLineBytes = 96;
std::string ShownCaption(const TUniqueItem& Item, bool ExprsQuote);
std::string CaptionToolTip(const TUniqueItem& Item, bool ExprsQuote);
// The "個数" cell: the count as "%3d" (right-aligned in at least three).
std::string CountText(std::int32_t Count);

// The orderings of the two columns; Direction is 1 or -1. CompareByText is
// PaddedKeyOrder of the rows' items (key, then text; never the caption),
// CompareByCount compares the counts; each returns -1, 0 or 1 times
// Direction.
int CompareByText(const TResultRow& A, const TResultRow& B, int Direction);
int CompareByCount(const TResultRow& A, const TResultRow& B, int Direction);

enum class TSortColumn { Text, Count };
// Sorts the rows by one column's compare function with the given direction.
// The sort is stable: rows of equal count keep their present order.
void SortRows(std::vector<TResultRow>& Rows, TSortColumn Column, int Direction);

}  // namespace tavrin
