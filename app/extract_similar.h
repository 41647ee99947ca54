#pragma once
// The marking pass of ExtractSimilar.
#include "engine/unique_manager.h"

namespace tavrin {

// ClearSimilar, then the similar mark on exactly the items whose key (byte for
// byte) another item shares. Returns false, marking nothing, when the
// manager has no items (the list then keeps its rows). The caller lists the
// marked items with FillRows(SimilarOnly = true).
//
// The marks are those of walking the items in PaddedKeyOrder and pairing
// equal keys within each run of equal key fields: equal keys always share
// their field and a field's items are adjacent in that order, so the pass
// finds the same pairs with no sort: by comparing neighbours when the items
// are already in that order with plain keys, else by one hash look-up per
// item.
bool MarkSimilar(TUniqueManager& Manager);

}  // namespace tavrin
