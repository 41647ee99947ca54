// TUniqueManager::AddAllSorted: the collection of nearly distinct lines made
// by one sort of the lines instead of a look-up of the text index each.
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/item_sort.h"
#include "engine/prefix_radix.h"
#include "engine/unique_manager.h"
#include "util/parallel.h"
#include "util/sjis.h"

namespace tavrin {

bool TUniqueManager::AddSorted(std::shared_ptr<const void> Store, std::string_view Bytes,
                               std::size_t n, const void* Lines, TLineFn LineAt) {
  if (FCount != 0 || n >= kSameAsText) return false;
  const auto text = [&](std::size_t i) { return Kept(LineAt(Lines, i)); };
  const unsigned width = n < (1u << 14) ? 1u : ParallelWidth();
  const auto first = [&](unsigned p) { return n * p / width; };

  // Each part makes the keys of its lines into a store of its own, and an
  // entry for each kept line from its first line's place on. A line's key
  // is its text (kSameAsText) or lies at KeyAt[line].
  std::vector<std::uint32_t> keyAt(n);
  std::unique_ptr<TSortEntry[]> entries(new TSortEntry[n]);
  std::vector<std::string> stores(width);
  std::vector<std::size_t> kept(width, 0);
  std::atomic<bool> declined{false};
  RunParts(width, [&](unsigned p) {
    std::string bytes, scratch, scratch2;
    std::size_t room = 0;
    for (std::size_t i = first(p); i < first(p + 1); ++i) room += LineAt(Lines, i).size() + 5;
    bytes.reserve(room);
    TSortEntry* out = entries.get() + first(p);
    std::size_t k = 0;
    for (std::size_t i = first(p); i < first(p + 1); ++i) {
      if ((i & 0xFFF) == 0 && declined.load(std::memory_order_relaxed)) break;
      const std::string_view t = text(i);
      if (t.empty()) continue;
      const std::string_view key = OwnKey(t, scratch, scratch2);
      const bool unassigned = key.data() != t.data() && std::any_of(t.begin(), t.end(), [](char c) {
                                return IsUnassignedLead(static_cast<unsigned char>(c));
                              });
      if (t.size() >= kKeyField || unassigned || !PlainKey(key) ||
          bytes.size() + key.size() + 5 >= kSameAsText) {
        declined = true;
        break;
      }
      prefix_radix::SetPaddedPrefix(out[k], key.data(), key.size());
      out[k++].Item = static_cast<std::uint32_t>(i);
      if (key == t) {
        keyAt[i] = kSameAsText;
        continue;
      }
      keyAt[i] = static_cast<std::uint32_t>(bytes.size());
      AppendLength(bytes, key.size());
      bytes += key;
    }
    stores[p] = std::move(bytes);
    kept[p] = k;
  });
  if (declined) return false;
  // One key store, the parts' entries closed up behind each other.
  std::string keyBytes = std::move(stores[0]);
  std::size_t m = kept[0];
  for (unsigned p = 1; p < width; ++p) {
    if (keyBytes.size() + stores[p].size() >= kSameAsText) return false;
    const auto base = static_cast<std::uint32_t>(keyBytes.size());
    const TSortEntry* from = entries.get() + first(p);
    for (std::size_t k = 0; k < kept[p]; ++k) {
      const std::uint32_t line = from[k].Item;
      if (keyAt[line] != kSameAsText) keyAt[line] += base;
    }
    std::memmove(static_cast<void*>(entries.get() + m), from, kept[p] * sizeof(TSortEntry));
    m += kept[p];
    keyBytes += stores[p];
    stores[p] = {};
  }
  if (m == 0) return true;
  const auto keyOf = [&](std::uint32_t line, std::string_view t) {
    return keyAt[line] == kSameAsText ? t : KeyAt(keyBytes, keyAt[line]);
  };

  // Sorted by their sort strings; the copies of a text share one and lie
  // next to each other. Prefixes that differ mean texts that differ.
  std::vector<std::uint32_t> order;
  std::vector<std::uint64_t> ties;
  SortEntriesByPaddedKey(
      entries.get(), m,
      [&](std::uint32_t line) -> TSortString {
        const std::string_view t = text(line);
        return {keyOf(line, t), t};
      },
      order, &ties);
  entries.reset();
  const auto tied = [&](std::size_t k) { return (ties[k / 64] >> (k % 64) & 1) != 0; };
  // The runs of one text: its first line (the least) and how many lines.
  // RunTies are the ties of the runs' sort order.
  std::vector<std::uint32_t> runFirst, runCount;
  std::vector<std::uint64_t> runTies;
  for (std::size_t k = 0; k < m; ++k) {
    const std::uint32_t line = order[k];
    if (k > 0 && tied(k) && text(line) == text(order[k - 1])) {
      runFirst.back() = std::min(runFirst.back(), line);
      runCount.back() += runCount.back() < std::numeric_limits<std::int32_t>::max();
      continue;
    }
    const std::size_t run = runFirst.size();
    if (run % 64 == 0) runTies.push_back(~std::uint64_t{0});
    if (!tied(k)) runTies[run / 64] &= ~(std::uint64_t{1} << (run % 64));
    runFirst.push_back(line);
    runCount.push_back(1);
  }
  order = {};
  ties = {};

  // The items in the order their texts first occur: each run's first line
  // holds the run's number and count, read back in line order.
  const std::size_t runs = runFirst.size();
  std::vector<std::uint64_t> runAt(n, 0);
  for (std::size_t r = 0; r < runs; ++r) runAt[runFirst[r]] = std::uint64_t{runCount[r]} << 32 | r;
  runFirst = {};
  runCount = {};
  const TStoreRef store = AdoptStore(std::move(Store), Bytes);
  std::vector<std::uint32_t> sorted(runs);
  try {
    FMarks.reserve(runs);
    FKeys.reserve(runs);
    for (std::size_t i = 0; i < n; ++i) {
      if (runAt[i] == 0) continue;
      const auto r = static_cast<std::uint32_t>(runAt[i]);
      const std::string_view t = text(i);
      TUniqueItem& item = NewItem();
      item.FTextAt = store.Start + static_cast<std::uint32_t>(t.data() - store.Data);
      item.FTextSize = static_cast<std::uint32_t>(t.size());
      item.FCount = static_cast<std::int32_t>(runAt[i] >> 32);
      FMarks.push_back(kShown);
      FKeys.push_back(keyAt[i]);
      sorted[r] = static_cast<std::uint32_t>(FCount - 1);
    }
  } catch (...) {
    Clear();
    throw;
  }
  FKeyBytes = std::move(keyBytes);
  FTextIndex = TItemTable();
  FIndexReleased = true;
  FKeyGroupsValid = false;
  FSortedOrder = std::move(sorted);
  FSortedTies = std::move(runTies);
  FSortedValid = true;
  return true;
}

}  // namespace tavrin
