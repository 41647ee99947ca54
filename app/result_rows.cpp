#include "app/result_rows.h"

#include <algorithm>
#include <cstdio>

#include "util/sjis.h"

namespace tavrin {

std::vector<TResultRow> FillRows(const TUniqueManager& Manager, bool SimilarOnly, bool Zenkaku,
                                 bool Upper, std::vector<TResultRow> Room) {
  std::vector<TResultRow> rows = std::move(Room);
  rows.clear();
  // [全データ] lists nearly every item: room for all of them at once spares
  // the copies of a growing list (a large block's pages untouched cost
  // nothing); the similar ones are mostly few.
  if (!SimilarOnly) rows.reserve(static_cast<std::size_t>(Manager.Count()));
  // A row holds its item and count; the texts are read only when painted.
  ForEachRow<false>(Manager, SimilarOnly, Zenkaku, Upper,
                    [&](const TResultRow& row) { rows.push_back(row); });
  return rows;
}

std::string RowCaption(const TUniqueItem& Item, bool ExprsQuote) {
  if (!ExprsQuote) return std::string(Item.Text());
  std::string caption;
  caption.reserve(Item.Text().size() + 2);
  caption += '"';
  caption += Item.Text();
  caption += '"';
  return caption;
}

std::string ShownText(std::string_view Text, std::size_t MaxBytes, std::size_t LineBytes) {
  std::string out;
  std::size_t i = 0, line = 0;
  while (i < Text.size()) {
    const std::size_t n = CharLength(Text, i);
    if (i + n > MaxBytes) {
      out += "\x81\x63";  // …
      break;
    }
    if (LineBytes != 0 && line >= LineBytes) {
      out += '\n';
      line = 0;
    }
    out.append(Text.substr(i, n));
    i += n;
    line += n;
  }
  return out;
}

namespace {

std::string Quoted(std::string text, bool ExprsQuote) {
  return ExprsQuote ? '"' + std::move(text) + '"' : text;
}

}  // namespace

std::string ShownCaption(const TUniqueItem& Item, bool ExprsQuote) {
  if (Item.Text().size() <= kShownCaptionBytes) return RowCaption(Item, ExprsQuote);
  return Quoted(ShownText(Item.Text(), kShownCaptionBytes), ExprsQuote);
}

std::string CaptionToolTip(const TUniqueItem& Item, bool ExprsQuote) {
  if (Item.Text().size() <= kShownCaptionBytes) return {};
  return Quoted(ShownText(Item.Text(), kToolTipBytes, kToolTipLineBytes), ExprsQuote);
}

std::string CountText(std::int32_t Count) {
  char buffer[16];
  const int length = std::snprintf(buffer, sizeof buffer, "%3d", static_cast<int>(Count));
  return std::string(buffer, static_cast<std::size_t>(length));
}

int CompareByText(const TResultRow& A, const TResultRow& B, int Direction) {
  return PaddedKeyOrder(A.Item, B.Item) * Direction;
}

int CompareByCount(const TResultRow& A, const TResultRow& B, int Direction) {
  const int order = A.Count < B.Count ? -1 : (A.Count > B.Count ? 1 : 0);
  return order * Direction;
}

void SortRows(std::vector<TResultRow>& Rows, TSortColumn Column, int Direction) {
  const auto compare = Column == TSortColumn::Text ? CompareByText : CompareByCount;
  std::stable_sort(Rows.begin(), Rows.end(), [&](const TResultRow& a, const TResultRow& b) {
    return compare(a, b, Direction) < 0;
  });
}

}  // namespace tavrin
