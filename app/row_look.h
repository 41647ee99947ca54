#pragma once
// What a row of the result list looks like, whichever window draws it: its
// tint, its weight and the highlighted spans of its caption. A skin asks
// and draws; it decides none of it.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "app/result_list.h"

namespace tavrin {

struct TRowLook {
  bool Bold = false;    // the canonical spelling of its group
  bool Tinted = false;  // in the current row's group, and not selected
  bool operator==(const TRowLook&) const = default;
};

// The look of a row given the list's current (focused) row and whether the
// row itself is selected. The tint follows the current row, selected or not,
// so the group shows while the user moves through the list; a selected row
// keeps the selection colour.
TRowLook RowLook(const TResultList& list, int row, std::optional<std::size_t> current,
                 bool selected);

// A run of a caption's glyphs drawn alike: on the difference colour when it
// differs from the canonical spelling, in muted ink when it is made of marks
// standing for invisible characters. Whole grapheme clusters, UTF-32.
struct TLookSpan {
  std::u32string Text;
  bool Differs = false;
  bool Mark = false;
  bool operator==(const TLookSpan&) const = default;
};

// The caption of a row as spans; empty when it has nothing to highlight or
// mark, so the plain drawing (with its cut and ellipsis) serves.
std::vector<TLookSpan> CaptionSpans(const TResultList& list, int row);

}  // namespace tavrin
