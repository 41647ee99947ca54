// TUniqueManager::Organize: groups of equal display key for the all-data
// view, merged into one representative each unless both distinctions are on.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <string_view>
#include <vector>

#include "engine/item_sort.h"
#include "engine/text_index.h"
#include "engine/unique_manager.h"

namespace tavrin {

void TUniqueManager::Organize() {
  if (FItems.empty()) return;
  ReleaseTextIndex();
  FSortedOrder.clear();
  FSortedValid = false;
  std::vector<TUniqueItem*> w;
  w.reserve(FItems.size());
  for (std::size_t i = 0; i < FItems.size(); ++i) w.push_back(Item(i));

  if (FZenkaku == FUpper) {
    SortByPaddedKey(w);
    FSortedOrder = w;
    FSortedValid = true;
  } else {
    SortByKeyBytes(w, FUpper ? &TUniqueItem::FWidthKey : &TUniqueItem::FCaseKey);
  }

  for (TUniqueItem* item : w) item->FGrouped = false;
  FSameList.clear();

  // Pairing. The items of one display key, in W order, are chained through
  // `next`; the first of them is where the pairing walk meets the key first,
  // and it takes every later item of that key, so a group is its chain.
  // Equal keys are adjacent in W when it is sorted by the keys' bytes, or
  // by PaddedKeyOrder over plain keys only; then the groups are runs of W.
  // Otherwise keys that differ only in trailing spaces (or long keys) share
  // a padded key field and interleave by text, and a hash finds the groups.
  // Positions are 32-bit: a list holds fewer than 2^31 items.
  struct TGroup {
    std::uint32_t Head, Tail, Size;
  };
  constexpr std::uint32_t kEnd = std::numeric_limits<std::uint32_t>::max();
  std::vector<std::uint32_t> next(w.size(), kEnd);
  std::vector<TGroup> groups;
  std::vector<std::uint32_t> groupOf(w.size());
  const auto join = [&](std::size_t p, std::uint32_t group) {
    TGroup& g = groups[group];
    next[g.Tail] = static_cast<std::uint32_t>(p);
    g.Tail = static_cast<std::uint32_t>(p);
    ++g.Size;
    groupOf[p] = group;
  };
  const auto start = [&](std::size_t p) {
    groupOf[p] = static_cast<std::uint32_t>(groups.size());
    groups.push_back({static_cast<std::uint32_t>(p), static_cast<std::uint32_t>(p), 1});
  };
  // W is in sort order, the items in memory in input order: fetch ahead.
  const auto prefetch = [&](std::size_t p) {
    if (p + 8 < w.size()) __builtin_prefetch(&DisplayKey(*w[p + 8]));
  };
  bool adjacent = true;
  for (std::size_t p = 0; p < w.size() && adjacent; ++p) {
    prefetch(p);
    if (FZenkaku == FUpper && !PlainKey(*w[p])) {
      adjacent = false;
    } else if (p > 0 && DisplayKey(*w[p]) == DisplayKey(*w[p - 1])) {
      join(p, static_cast<std::uint32_t>(groups.size() - 1));
    } else {
      start(p);
    }
  }
  if (!adjacent) {
    groups.clear();
    std::fill(next.begin(), next.end(), kEnd);
    TTextIndex<std::uint32_t> byKey;
    byKey.reserve(w.size());
    for (std::size_t p = 0; p < w.size(); ++p) {
      prefetch(p);
      auto [group, fresh] = byKey.try_emplace(DisplayKey(*w[p]), static_cast<std::uint32_t>(groups.size()));
      if (fresh) {
        start(p);
      } else {
        join(p, *group);
      }
    }
  }
  for (std::size_t p = 0; p < w.size(); ++p) {
    const TGroup& g = groups[groupOf[p]];
    if (g.Head != p || g.Size < 2) continue;
    for (std::uint32_t q = static_cast<std::uint32_t>(p); q != kEnd; q = next[q]) {
      w[q]->FGrouped = true;
      FSameList.push_back(w[q]);
    }
  }

  if (FZenkaku && FUpper) return;

  for (TUniqueItem* item : w) item->FMergedCount = item->FCount;
  for (const TGroup& g : groups) {
    if (g.Size < 2) continue;
    // The largest count wins; among equal counts the first in W.
    TUniqueItem* representative = w[g.Head];
    std::int64_t sum = 0;
    for (std::uint32_t q = g.Head; q != kEnd; q = next[q]) {
      sum += w[q]->FCount;
      if (w[q]->FCount > representative->FCount) representative = w[q];
    }
    for (std::uint32_t q = g.Head; q != kEnd; q = next[q]) w[q]->FShown = false;
    representative->FShown = true;
    representative->FMergedCount =
        static_cast<std::int32_t>(std::min<std::int64_t>(sum, std::numeric_limits<std::int32_t>::max()));
  }
}

}  // namespace tavrin
