#pragma once
// The collection's item sorts, over item numbers. The results are exactly
// those of ListSort with the same compare.
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "engine/unique_manager.h"

namespace tavrin {

// ListSort(order, PaddedKeyOrder of the items numbered), exactly. When no
// two items compare equal (texts are unique, so only keys of 1024 bytes and
// more can tie) the order is unique and a string sort finds it: the items
// are sorted by twelve bytes of their sort strings at a time (a radix sort
// on the cores), deeper only within runs of equal bytes; otherwise
// ListSort runs.
// StringOf gives the sort string of an item number (and may be called from
// several threads at once).
using TSortStringOf = std::function<TSortString(std::uint32_t)>;
void SortByPaddedKey(std::vector<std::uint32_t>& Order, const TSortStringOf& StringOf);
// The same over the manager's items (their keys made). With Ties, also a
// bit per position (bit k % 64 of word k / 64): clear where the item's
// sort string differs from the previous one's in its first twelve bytes
// (then so do their padded key fields), set elsewhere.
void SortByPaddedKey(const TUniqueManager& Manager, std::vector<std::uint32_t>& Order,
                     std::vector<std::uint64_t>* Ties = nullptr);

// An entry of the padded-key sort: the first twelve bytes of a sort string,
// big-endian in Hi and Lo (prefix_radix::SetPaddedPrefix of a key shorter
// than 1024 bytes sets them), and the number that stands for the string.
struct TSortEntry {
  std::uint64_t Hi;
  std::uint32_t Lo;
  std::uint32_t Item;
};
// Sorts N entries so filled by the sort strings StringOf gives their
// numbers, all with keys shorter than 1024 bytes, with Ties as above (a bit
// per entry). Equal strings end up next to each other.
void SortEntriesByPaddedKey(TSortEntry* Entries, std::size_t N, const TSortStringOf& StringOf,
                            std::vector<std::uint64_t>& Ties);

// ListSort(order, CompareBytes(keyOf(a), keyOf(b))), exactly.
void SortByKeyBytes(std::vector<std::uint32_t>& Order,
                    const std::function<std::string_view(std::uint32_t)>& KeyOf);

}  // namespace tavrin
