#include "app/result_rows.h"

#include <algorithm>
#include <cstdio>

#include "util/parallel.h"
#include "util/sjis.h"

namespace tavrin {

std::vector<TResultRow> FillRows(const TUniqueManager& Manager, bool SimilarOnly, bool Zenkaku,
                                 bool Upper, std::vector<TResultRow> Room) {
  std::vector<TResultRow> rows = std::move(Room);
  rows.clear();
  const std::int32_t n = Manager.Count();
  // A row holds its item and count; the texts are read only when painted.
  // A small list is walked on one core.
  const unsigned width = n < (1 << 16) ? 1u : ParallelWidth();
  if (width == 1) {
    ForEachRow<false>(Manager, SimilarOnly, Zenkaku, Upper,
                      [&](const TResultRow& row) { rows.push_back(row); });
    return rows;
  }
  const auto from = [&](unsigned p) {
    return static_cast<std::int32_t>(std::int64_t{n} * p / width);
  };
  if (SimilarOnly) {
    // The similar rows are mostly few, but finding them reads a mark for
    // every item: each part of the items gathers its rows, then the parts
    // join.
    std::vector<std::vector<TResultRow>> parts(width);
    RunParts(width, [&](unsigned p) {
      ForEachRow<false>(
          Manager, true, Zenkaku, Upper, [&](const TResultRow& row) { parts[p].push_back(row); },
          from(p), from(p + 1));
    });
    for (const std::vector<TResultRow>& part : parts)
      rows.insert(rows.end(), part.begin(), part.end());
    return rows;
  }
  // [全データ] lists nearly every item: the parts of the items count their
  // rows, then write them in place on the cores.
  std::vector<std::size_t> before(width + 1, 0);
  RunParts(width, [&](unsigned p) {
    std::size_t listed = 0;
    for (std::int32_t i = from(p); i < from(p + 1); ++i) listed += Manager.ShownAt(i) ? 1 : 0;
    before[p + 1] = listed;
  });
  for (unsigned p = 0; p < width; ++p) before[p + 1] += before[p];
  rows.resize(before[width]);
  RunParts(width, [&](unsigned p) {
    TResultRow* out = rows.data() + before[p];
    ForEachRow<false>(
        Manager, false, Zenkaku, Upper, [&](const TResultRow& row) { *out++ = row; }, from(p),
        from(p + 1));
  });
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
