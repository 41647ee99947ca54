#include "app/row_look.h"

namespace tavrin {

TRowLook RowLook(const TResultList& list, int row, std::optional<std::size_t> current,
                 bool selected) {
  TRowLook look;
  if (row < 0 || row >= list.Count()) return look;
  const int group = list.GroupOf(row);
  look.Bold = list.IsCanonical(row);
  const bool currentListed = current && *current < static_cast<std::size_t>(list.Count());
  look.Tinted =
      group >= 0 && !selected && currentListed && list.GroupOf(static_cast<int>(*current)) == group;
  return look;
}

std::vector<TLookSpan> CaptionSpans(const TResultList& list, int row) {
  std::vector<TLookSpan> spans;
  if (row < 0 || row >= list.Count()) return spans;
  for (const TCaptionGlyph& g : list.Glyphs(row)) {
    if (spans.empty() || spans.back().Differs != g.Differs || spans.back().Mark != g.Mark)
      spans.push_back({{}, g.Differs, g.Mark});
    spans.back().Text += g.Text;
  }
  return spans;
}

}  // namespace tavrin
