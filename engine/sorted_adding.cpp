// TUniqueManager::AddAllSorted: the collection of nearly distinct lines made
// by one sort of the lines instead of a look-up of the text index each.
#include <algorithm>
#include <atomic>
#include <bit>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "engine/item_sort.h"
#include "engine/prefix_radix.h"
#include "engine/unique_manager.h"
#include "util/cp932.h"
#include "util/parallel.h"
#include "util/sjis.h"

namespace tavrin {
namespace {

// Whether an entry after the first of M ties its prefix with the one before
// (Ties as the sort gives them: a bit per entry, the first one's set).
bool AnyTie(const std::vector<std::uint64_t>& Ties, std::size_t M) {
  for (std::size_t w = 0; w < Ties.size(); ++w) {
    std::uint64_t bits = w == 0 ? Ties[w] & ~std::uint64_t{1} : Ties[w];
    if (w + 1 == Ties.size() && M % 64 != 0) bits &= (std::uint64_t{1} << (M % 64)) - 1;
    if (bits != 0) return true;
  }
  return false;
}

}  // namespace

bool TUniqueManager::AddSorted(const std::shared_ptr<const void>& Store, std::string_view Bytes,
                               std::size_t n, const void* Lines, TLineFn LineAt) {
  if (FCount != 0 || n >= kSameAsText) return false;
  // Once every line is known to be kept as it is (no blanks to trim, none
  // blank), a line's text is read without asking.
  std::atomic<bool> trimmed{false};
  bool asIs = false;
  const auto text = [&](std::size_t i) {
    const std::string_view line = LineAt(Lines, i);
    return asIs ? line : Kept(line);
  };
  const unsigned width = n < (1u << 14) ? 1u : ParallelWidth();
  const auto first = [&](unsigned p) { return n * p / width; };

  // Each part makes the keys of its lines into a store of its own, and an
  // entry for each kept line from its first line's place on. A line's key
  // is its text (kSameAsText) or lies at KeyAt[line].
  std::vector<std::uint32_t> keyAt = std::exchange(FKeys, {});
  keyAt.assign(n, 0);
  // The entries, in the room kept from the last call when it is large
  // enough.
  const std::size_t roomBytes = n * sizeof(TSortEntry);
  if (FSortRoomBytes < roomBytes) {
    FSortRoom.reset();
    FSortRoomBytes = 0;
    FSortRoom.reset(new std::byte[roomBytes]);
    FSortRoomBytes = roomBytes;
  }
  static_assert(alignof(TSortEntry) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__);
  TSortEntry* const entries = reinterpret_cast<TSortEntry*>(FSortRoom.get());
  // A bit per line that makes no item: dropped (blank) here, or repeating
  // the text of an earlier line, found after the sort. Set with atomic ors:
  // the parts' lines may share a word.
  std::vector<std::uint64_t> noItem((n + 63) / 64, 0);
  const auto markNoItem = [&](std::size_t line) {
    std::atomic_ref<std::uint64_t>(noItem[line / 64])
        .fetch_or(std::uint64_t{1} << (line % 64), std::memory_order_relaxed);
  };
  std::vector<std::string> stores = KeyStores(width);
  std::vector<std::size_t> kept(width, 0);
  std::atomic<bool> declined{false};
  RunParts(width, [&](unsigned p) {
    std::string bytes = std::move(stores[p]), scratch, scratch2;
    // The bounds once: the loop's writes might alias the captured size, so
    // the compiler would divide again at every line.
    const std::size_t from = first(p), to = first(p + 1);
    // Room for the part's share of the bytes as keys, a key rarely being
    // longer than its text, made at the first key that is not its text
    // (untouched room costs nothing, a store begun does).
    const std::size_t lines = to - from;
    const std::size_t room = Bytes.size() / n * lines + Bytes.size() / width + 5 * lines;
    TSortEntry* out = entries + from;
    std::size_t k = 0;
    bool partTrimmed = false;
    for (std::size_t i = from; i < to; ++i) {
      if ((i & 0xFFF) == 0 && declined.load(std::memory_order_relaxed)) break;
      const std::string_view line = LineAt(Lines, i);
      const std::string_view t = Kept(line);
      partTrimmed = partTrimmed || t.size() != line.size();
      if (t.empty()) {
        markNoItem(i);
        continue;
      }
      const std::string_view key = OwnKey(t, scratch, scratch2);
      // A code of an unassigned row (escaped, or an internal form) is left
      // to the index's way. Its lead byte is often another code's trail
      // byte (ャ, ユ): only where one stands are the characters walked.
      const bool unassigned =
          key.data() != t.data() &&
          std::any_of(t.begin(), t.end(),
                      [](char c) { return IsUnassignedLead(static_cast<unsigned char>(c)); }) &&
          cp932::FirstUnassignedCode(t) != t.size();
      if (t.size() >= kKeyField || unassigned || !PlainKey(key) ||
          bytes.size() + key.size() + 5 >= kSameAsText) {
        declined = true;
        break;
      }
      prefix_radix::SetPaddedPrefix(out[k], key.data(), key.size());
      out[k++].Item = static_cast<std::uint32_t>(i);
      if (key.data() == t.data() || key == t) {
        keyAt[i] = kSameAsText;
        continue;
      }
      if (bytes.capacity() < room) bytes.reserve(room);
      keyAt[i] = static_cast<std::uint32_t>(bytes.size());
      AppendLength(bytes, key.size());
      bytes += key;
    }
    stores[p] = std::move(bytes);
    kept[p] = k;
    if (partTrimmed) trimmed = true;
  });
  // Declined, the memory of the keys stays for the index's way.
  const auto decline = [&] {
    FKeys = std::move(keyAt);
    FKeys.clear();
    FKeyBytes = std::move(stores[0]);
    FKeyBytes.clear();
    KeepKeyStores(stores);
    return false;
  };
  if (declined) return decline();
  asIs = !trimmed;
  // One key store, the parts' entries closed up behind each other.
  if (!JoinKeyStores(stores, keyAt, 0, n)) return decline();
  std::string keyBytes = std::move(stores[0]);
  KeepKeyStores(stores);
  std::size_t m = kept[0];
  for (unsigned p = 1; p < width; ++p) {
    std::memmove(static_cast<void*>(entries + m), entries + first(p), kept[p] * sizeof(TSortEntry));
    m += kept[p];
  }
  if (m == 0) return true;
  const auto keyOf = [&](std::uint32_t line, std::string_view t) {
    return keyAt[line] == kSameAsText ? t : KeyAt(keyBytes, keyAt[line]);
  };

  // Sorted by their sort strings; the copies of a text share one and lie
  // next to each other. Prefixes that differ mean texts that differ.
  std::vector<std::uint64_t> ties;
  SortEntriesByPaddedKey(
      entries, m,
      [&](std::uint32_t line) -> TSortString {
        const std::string_view t = text(line);
        return {keyOf(line, t), t};
      },
      ties);
  const TSortEntry* order = entries;
  std::size_t runs = 0;
  std::vector<std::uint32_t> sorted = KeptOrder(m);
  std::vector<std::uint64_t> runTies;
  if (m == n && !AnyTie(ties, m)) {
    // Every line kept and no prefix tied (the usual distinct input): each
    // line is an item of its own, numbered as the line, and the sort's
    // order is the items' order. No runs to find, nothing to move, and the
    // items are written in one pass over the lines.
    runs = n;
    const TStoreRef store = RoomForItems(Store, Bytes, runs);
    RunParts(width, [&](unsigned p) {
      const std::size_t from = first(p), to = first(p + 1);
      for (std::size_t i = from; i < to; ++i) {
        const std::string_view t = text(i);
        TUniqueItem& made = NewItemAt(i);
        made.FTextAt = store.Start + static_cast<std::uint32_t>(t.data() - store.Data);
        made.FTextSize = static_cast<std::uint32_t>(t.size());
        made.FCount = 1;
        sorted[i] = order[i].Item;
      }
    });
    // As the runs' walk leaves them untied: the first run's bit set, and
    // those past the last run.
    runTies.assign((runs + 63) / 64, 0);
    runTies.front() |= 1;
    if (runs % 64 != 0) runTies.back() |= ~((std::uint64_t{1} << (runs % 64)) - 1);
  } else {
    const auto tied = [&](std::size_t k) { return (ties[k / 64] >> (k % 64) & 1) != 0; };
    // The runs of one text, in sort order, found by parts of the entries that
    // split no run (a part starts at an entry whose prefix is not tied). A
    // part's runs are numbered from its first entry on, leaving gaps closed
    // at the end: Sorted[that number] holds the run's first line (later its
    // item's number), and the part's PartTies the ties of its runs' order.
    // A run of more lines than one marks the others as making no item and
    // notes its first line and count: such runs are few.
    const unsigned runWidth = m < (1u << 14) ? 1u : width;
    const std::vector<std::size_t> bounds = RunBounds(m, runWidth, tied);
    struct TRepeated {
      std::uint32_t Line, Count;
    };
    std::vector<std::size_t> partRuns(runWidth);
    std::vector<std::vector<std::uint64_t>> partTies(runWidth);
    std::vector<std::vector<TRepeated>> repeated(runWidth);
    RunParts(runWidth, [&](unsigned p) {
      const std::size_t from = bounds[p], to = bounds[p + 1];
      std::vector<std::uint64_t>& own = partTies[p];
      own.assign((to - from + 63) / 64, ~std::uint64_t{0});
      std::size_t count = 0;
      for (std::size_t k = from; k < to; ++count) {
        std::uint32_t firstLine = order[k].Item;
        std::size_t q = k + 1;
        for (; q < to && tied(q) && text(order[q].Item) == text(order[k].Item); ++q)
          firstLine = std::min(firstLine, order[q].Item);
        if (!tied(k)) own[count / 64] &= ~(std::uint64_t{1} << (count % 64));
        if (q - k > 1) {
          for (std::size_t r = k; r < q; ++r)
            if (order[r].Item != firstLine) markNoItem(order[r].Item);
          repeated[p].push_back({firstLine, static_cast<std::uint32_t>(std::min<std::size_t>(
                                                q - k, std::numeric_limits<std::int32_t>::max()))});
        }
        sorted[from + count] = firstLine;
        k = q;
      }
      partRuns[p] = count;
    });
    ties = {};
    for (const std::size_t r : partRuns) runs += r;

    // A line's item is its number less the lines before it that make none:
    // counted a word at a time, then within its word.
    std::vector<std::uint32_t> noneBefore(noItem.size() + 1, 0);
    for (std::size_t w = 0; w < noItem.size(); ++w)
      noneBefore[w + 1] = noneBefore[w] + static_cast<std::uint32_t>(std::popcount(noItem[w]));
    const auto itemOf = [&](std::size_t line) {
      // Most words hold no such line: then no bits are counted.
      const std::uint64_t word = noItem[line / 64];
      const std::size_t within = word == 0 ? 0
                                           : static_cast<std::size_t>(std::popcount(
                                                 word & ((std::uint64_t{1} << (line % 64)) - 1)));
      return static_cast<std::uint32_t>(line - noneBefore[line / 64] - within);
    };
    const auto makesItem = [&](std::size_t line) {
      return (noItem[line / 64] >> (line % 64) & 1) == 0;
    };

    // The items in the order their texts first occur, made by parts of the
    // lines: each takes its first line's key, moved down in KeyAt to the
    // item's number (within the part first, then the parts closed up).
    std::vector<std::size_t> itemsBefore(width + 1, 0);
    for (unsigned p = 0; p <= width; ++p) itemsBefore[p] = p == width ? runs : itemOf(first(p));
    const TStoreRef store = RoomForItems(Store, Bytes, runs);
    RunParts(width, [&](unsigned p) {
      const std::size_t from = first(p), to = first(p + 1);
      std::size_t item = itemsBefore[p], kept = from;
      for (std::size_t i = from; i < to; ++i) {
        if (!makesItem(i)) continue;
        const std::string_view t = text(i);
        TUniqueItem& made = NewItemAt(item++);
        made.FTextAt = store.Start + static_cast<std::uint32_t>(t.data() - store.Data);
        made.FTextSize = static_cast<std::uint32_t>(t.size());
        made.FCount = 1;
        keyAt[kept++] = keyAt[i];
      }
    });
    for (const std::vector<TRepeated>& part : repeated)
      for (const TRepeated& r : part)
        Item(itemOf(r.Line)).FCount = static_cast<std::int32_t>(r.Count);
    for (unsigned p = 1; p < width; ++p)
      std::memmove(keyAt.data() + itemsBefore[p], keyAt.data() + first(p),
                   (itemsBefore[p + 1] - itemsBefore[p]) * sizeof(std::uint32_t));
    // The parts' runs closed up, with their ties, and their first lines
    // turned into their items.
    runTies.assign((runs + 63) / 64, ~std::uint64_t{0});
    std::copy_n(partTies[0].begin(), std::min(partTies[0].size(), runTies.size()), runTies.begin());
    for (std::size_t p = 1, at = partRuns[0]; p < runWidth; at += partRuns[p++]) {
      std::memmove(sorted.data() + at, sorted.data() + bounds[p],
                   partRuns[p] * sizeof(std::uint32_t));
      for (std::size_t r = 0; r < partRuns[p]; ++r)
        if ((partTies[p][r / 64] >> (r % 64) & 1) == 0)
          runTies[(at + r) / 64] &= ~(std::uint64_t{1} << ((at + r) % 64));
    }
    const unsigned runParts = runs < (1u << 14) ? 1u : width;
    RunParts(runParts, [&](unsigned p) {
      const std::size_t from = runs * p / runParts, to = runs * (p + 1) / runParts;
      for (std::size_t r = from; r < to; ++r) sorted[r] = itemOf(sorted[r]);
    });
  }
  sorted.resize(runs);
  keyAt.resize(runs);
  FKeys = std::move(keyAt);
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
