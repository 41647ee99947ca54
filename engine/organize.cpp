// TUniqueManager::Organize: groups of equal display key for the all-data
// view, merged into one representative each unless both distinctions are on.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>
#include <string_view>
#include <vector>

#include "engine/char_folding.h"
#include "engine/item_sort.h"
#include "engine/text_index.h"
#include "engine/unique_manager.h"
#include "util/cp932.h"
#include "util/parallel.h"

namespace tavrin {

void TUniqueManager::Organize() {
  if (FCount == 0) return;
  const bool fullKey = FZenkaku == FUpper;
  // The order AddAllSorted found, when nothing changed since: the order of
  // the full keys.
  std::vector<std::uint32_t> found;
  std::vector<std::uint64_t> foundTies;
  if (fullKey && FSortedValid && !FSortedTies.empty() && FSortedOrder.size() == FCount) {
    found = std::move(FSortedOrder);
    foundTies = std::move(FSortedTies);
  }
  ReleaseTextIndex();
  ListChanged();
  MakeKeys();
  FKeyGroupsValid = false;
  const std::size_t n = FCount;
  // Item numbers in the order of their display key. Positions are 32-bit:
  // a list holds fewer than 2^31 items.
  std::vector<std::uint32_t> w = found.empty() ? ListOrder() : std::move(found);

  // The display key is the full key, or with one distinction off a key of
  // its own, made here for the length of the pass.
  std::vector<TKeyRef> ownKeys;
  std::string ownKeyBytes;
  const auto displayKey = [&](std::uint32_t i) -> std::string_view {
    if (fullKey) return KeyOf(i);
    return {ownKeyBytes.data() + ownKeys[i].At, ownKeys[i].Size};
  };
  // Where the sort saw the first bytes of two neighbours' keys differ, the
  // keys differ: the walk below reads no key there.
  std::vector<std::uint64_t> ties;
  if (!foundTies.empty()) {
    ties = std::move(foundTies);
  } else if (fullKey) {
    SortByPaddedKey(*this, w, &ties);
  } else {
    ownKeys.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
      std::string key = FUpper ? FoldWidth(TextOf(i)) : FoldCaseAndSmallKana(TextOf(i));
      if (SortsAsGiven() && i < FGivenAt.size() && FGivenAt[i] != kNoEscape)
        key = cp932::WithoutEscapes(key);
      ownKeys.push_back(
          {static_cast<std::uint32_t>(ownKeyBytes.size()), static_cast<std::uint32_t>(key.size())});
      ownKeyBytes += key;
    }
    SortByKeyBytes(w, displayKey);
  }
  for (std::uint8_t& m : FMarks) m = static_cast<std::uint8_t>(m & ~kGrouped);
  FSameList.clear();

  // The groups of two or more items, as runs of `members` in the order the
  // pairing walk meets them: each group starts at the first of its items in
  // W and holds its later items in W order. Equal keys are adjacent in W
  // when it is sorted by the keys' bytes, or by PaddedKeyOrder over plain
  // keys only; then the groups are runs of W. Otherwise keys that differ
  // only in trailing spaces (or long keys) share a padded key field and
  // interleave by text, and a hash finds the groups.
  struct TGroup {
    std::uint32_t Start, Size;
  };
  std::vector<TGroup> groups;
  std::vector<std::uint32_t> chained;
  bool adjacent = true;
  if (fullKey) adjacent = FUnplainKeys == 0;
  if (adjacent) {
    // The walk reads the keys in random order: it asks for each key's
    // memory ahead, and its parts start at the start of a run.
    const auto prefetch = [&](std::size_t p, bool near) {
      if (p >= n) return;
      if (fullKey) return PrefetchSortString(w[p], near);
      if (near) return __builtin_prefetch(ownKeyBytes.data() + ownKeys[w[p]].At);
      __builtin_prefetch(&ownKeys[w[p]]);
    };
    const unsigned width = n < (1u << 14) ? 1u : ParallelWidth();
    const auto sameKey = [&](std::size_t at) {
      return (!fullKey || (ties[at / 64] >> (at % 64) & 1) != 0) &&
             displayKey(w[at]) == displayKey(w[at - 1]);
    };
    const auto tied = [&](std::size_t p) {
      return !fullKey || (p < n && (ties[p / 64] >> (p % 64) & 1) != 0);
    };
    // The first position from P on that may hold its predecessor's key, or n.
    const auto nextTied = [&](std::size_t p) -> std::size_t {
      if (!fullKey || p >= n) return std::min(p, n);
      std::size_t k = p / 64;
      std::uint64_t bits = ties[k] & (~std::uint64_t{0} << (p % 64));
      while (bits == 0) {
        if (++k == ties.size()) return n;
        bits = ties[k];
      }
      return std::min(n, k * 64 + static_cast<std::size_t>(std::countr_zero(bits)));
    };
    const std::vector<std::size_t> bounds = RunBounds(n, width, sameKey);
    std::vector<std::vector<TGroup>> found(width);
    RunParts(width, [&](unsigned part) {
      for (std::size_t p = bounds[part]; p < bounds[part + 1];) {
        // Items that share no first bytes with the next stand alone.
        if (const std::size_t t = nextTied(p + 1); t > p + 1) {
          p = t - 1;
          if (p >= bounds[part + 1]) break;
        }
        std::size_t q = p + 1;
        for (;; ++q) {
          if (tied(q + 16) || tied(q + 17)) prefetch(q + 16, false);
          if (tied(q + 8) || tied(q + 9)) prefetch(q + 8, true);
          if (q == n || !tied(q) || displayKey(w[q]) != displayKey(w[p])) break;
        }
        if (q - p > 1)
          found[part].push_back({static_cast<std::uint32_t>(p), static_cast<std::uint32_t>(q - p)});
        p = q;
      }
    });
    for (const std::vector<TGroup>& f : found) groups.insert(groups.end(), f.begin(), f.end());
  } else {
    constexpr std::uint32_t kEnd = std::numeric_limits<std::uint32_t>::max();
    struct TChain {
      std::uint32_t Head, Tail, Size;
    };
    std::vector<std::uint32_t> next(n, kEnd);
    std::vector<TChain> chains;
    TTextIndex<std::uint32_t> byKey;
    byKey.reserve(n);
    for (std::size_t p = 0; p < n; ++p) {
      auto [chain, fresh] =
          byKey.try_emplace(displayKey(w[p]), static_cast<std::uint32_t>(chains.size()));
      const auto at = static_cast<std::uint32_t>(p);
      if (fresh) {
        chains.push_back({at, at, 1});
      } else {
        TChain& c = chains[*chain];
        next[c.Tail] = at;
        c.Tail = at;
        ++c.Size;
      }
    }
    for (const TChain& c : chains) {
      if (c.Size < 2) continue;
      groups.push_back({static_cast<std::uint32_t>(chained.size()), c.Size});
      for (std::uint32_t q = c.Head; q != kEnd; q = next[q]) chained.push_back(w[q]);
    }
  }
  const std::vector<std::uint32_t>& members = adjacent ? w : chained;
  for (const TGroup& g : groups) {
    for (std::uint32_t k = g.Start; k < g.Start + g.Size; ++k) {
      FMarks[members[k]] |= kGrouped;
      FSameList.push_back(&Item(members[k]));
    }
  }

  FKeyGroupsValid = fullKey;
  // Sort takes this order instead of sorting again.
  const auto keepOrder = [&] {
    if (!fullKey) return;
    FSortedOrder = std::move(w);
    FSortedValid = true;
  };
  if (FZenkaku && FUpper) return keepOrder();

  FMerged.resize(n);
  for (std::size_t i = 0; i < n; ++i) FMerged[i] = Item(i).FCount;
  for (const TGroup& g : groups) {
    // The largest count wins; among equal counts the first in W.
    std::uint32_t representative = members[g.Start];
    std::int64_t sum = 0;
    for (std::uint32_t k = g.Start; k < g.Start + g.Size; ++k) {
      const std::uint32_t i = members[k];
      sum += Item(i).FCount;
      if (Item(i).FCount > Item(representative).FCount) representative = i;
      FMarks[i] = static_cast<std::uint8_t>(FMarks[i] & ~kShown);
    }
    FMarks[representative] |= kShown;
    FMerged[representative] = static_cast<std::int32_t>(
        std::min<std::int64_t>(sum, std::numeric_limits<std::int32_t>::max()));
  }
  keepOrder();
}

}  // namespace tavrin
