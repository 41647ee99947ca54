#pragma once
// The collection's item sorts. Each item enters the sort with the first 16
// bytes of its sort string as two integers, so most compares settle inside
// the sort array without touching the item. The results are exactly those
// of ListSort with the same compare.
#include <string>
#include <vector>

#include "engine/unique_manager.h"

namespace tavrin {

// ListSort(items, PaddedKeyOrder), exactly. When no two items compare equal
// (texts are unique, so only keys of 1024 bytes and more can tie) the order
// is unique and a faster sort finds it; otherwise ListSort runs.
void SortByPaddedKey(std::vector<TUniqueItem*>& items);

// ListSort(items, CompareBytes(a->*key, b->*key)), exactly.
void SortByKeyBytes(std::vector<TUniqueItem*>& items, std::string TUniqueItem::*key);

}  // namespace tavrin
