#include "engine/item_sort.h"

#include <algorithm>
#include <cstring>

#include "engine/list_sort.h"
#include "util/parallel.h"

namespace tavrin {
namespace {

// A sort string with its length, read four bytes at a time.
struct TStringReader {
  TSortString S;
  std::size_t Pad;  // spaces between key and text

  explicit TStringReader(const TSortString& s)
      : S(s), Pad(s.Key.size() < kKeyField ? kKeyField - s.Key.size() : 0) {}
  std::size_t Length() const { return S.Key.size() + Pad + S.Text.size(); }
  unsigned Byte(std::size_t d) const {
    if (d < S.Key.size()) return static_cast<unsigned char>(S.Key[d]);
    d -= S.Key.size();
    if (d < Pad) return 0x20;
    d -= Pad;
    return d < S.Text.size() ? static_cast<unsigned char>(S.Text[d]) : 0;
  }
  // Bytes d .. d + 3, big-endian; 0 past the end.
  std::uint32_t Prefix(std::size_t d) const {
    if (d + 4 <= S.Key.size()) {
      std::uint32_t v;
      std::memcpy(&v, S.Key.data() + d, 4);
      return __builtin_bswap32(v);
    }
    return Byte(d) << 24 | Byte(d + 1) << 16 | Byte(d + 2) << 8 | Byte(d + 3);
  }
};

// An entry: four bytes of the sort string above the item number, so that
// entries sort as plain integers.
std::uint64_t Entry(std::uint32_t prefix, std::uint32_t item) {
  return std::uint64_t{prefix} << 32 | item;
}
std::uint32_t ItemOf(std::uint64_t entry) { return static_cast<std::uint32_t>(entry); }
std::uint32_t PrefixOf(std::uint64_t entry) { return static_cast<std::uint32_t>(entry >> 32); }

// Puts [first, last) in order of the byte of each entry at Shift, in place
// (American flag sort), and calls Bucket(from, to) for each bucket.
template <class BucketFn>
void RadixPass(std::uint64_t* first, std::uint64_t* last, unsigned Shift, const BucketFn& Bucket) {
  std::size_t head[256] = {}, tail[256], start[256];
  for (const std::uint64_t* it = first; it != last; ++it) ++head[*it >> Shift & 0xFF];
  std::size_t at = 0;
  for (unsigned d = 0; d < 256; ++d) {
    start[d] = at;
    at += head[d];
    head[d] = start[d];
    tail[d] = at;
  }
  for (unsigned k = 0; k < 256; ++k) {
    while (head[k] < tail[k]) {
      std::uint64_t v = first[head[k]];
      unsigned d = v >> Shift & 0xFF;
      while (d != k) {
        std::swap(v, first[head[d]++]);
        d = v >> Shift & 0xFF;
      }
      first[head[k]++] = v;
    }
  }
  for (unsigned d = 0; d < 256; ++d) {
    if (tail[d] - start[d] > 1) Bucket(first + start[d], first + tail[d]);
  }
}

// Sorts the entries by their prefixes: radix passes from the top byte while
// a bucket is large, std::sort below. Entries of equal prefix stay in any
// order (the string sort takes each such run further).
void RadixSort(std::uint64_t* first, std::uint64_t* last, unsigned Shift) {
  if (Shift < 32) return;
  if (last - first <= (1 << 10)) return std::sort(first, last);
  RadixPass(first, last, Shift,
            [&](std::uint64_t* a, std::uint64_t* b) { RadixSort(a, b, Shift - 8); });
}

// The same on several cores: the passes split the entries into buckets of
// at most a share each, which the cores take in turns of equal size.
void SortEntries(std::vector<std::uint64_t>& entries) {
  const std::size_t n = entries.size();
  const unsigned width = n < (1u << 14) ? 1u : ParallelWidth();
  if (width < 2) return RadixSort(entries.data(), entries.data() + n, 56);
  struct TBucket {
    std::uint64_t *From, *To;
    unsigned Shift;
  };
  std::vector<TBucket> buckets;
  const std::size_t share = n / (4 * width);
  const auto split = [&](auto& self, std::uint64_t* a, std::uint64_t* b, unsigned shift) -> void {
    if (static_cast<std::size_t>(b - a) <= share || shift < 32)
      return buckets.push_back({a, b, shift});
    RadixPass(a, b, shift,
              [&](std::uint64_t* x, std::uint64_t* y) { self(self, x, y, shift - 8); });
  };
  split(split, entries.data(), entries.data() + n, 56);
  // Part p takes the buckets that start in its share of the entries.
  RunParts(width, [&](unsigned p) {
    for (const TBucket& b : buckets) {
      if (static_cast<std::size_t>(b.From - entries.data()) * width / n == p)
        RadixSort(b.From, b.To, b.Shift);
    }
  });
}

// Fetching ahead does nothing where the strings' memory is not known.
struct TNoPrefetch {
  void operator()(std::uint32_t, bool) const {}
};

template <class StringOf, class Prefetch>
class TStringSort {
 public:
  TStringSort(const StringOf& stringOf, const Prefetch& prefetch,
              std::vector<std::uint64_t>& entries)
      : FStringOf(stringOf), FPrefetch(prefetch), FEntries(entries) {}

  TStringReader Reader(std::uint32_t item) const { return TStringReader(FStringOf(item)); }
  bool Less(std::uint32_t a, std::uint32_t b) const {
    return PaddedKeyOrder(FStringOf(a), FStringOf(b)) < 0;
  }

  // Sorts the entries [from, to), already sorted by the bytes before depth
  // + 4 and equal in those before depth, completely.
  // The runs are taken in order, each completely, while the strings of
  // the runs ahead are fetched.
  void Resolve(std::size_t from, std::size_t to, std::size_t depth) {
    std::vector<TRun> pending;
    const auto same = [&](std::size_t a, std::size_t b) {
      return PrefixOf(FEntries[a]) == PrefixOf(FEntries[b]);
    };
    const auto inRun = [&](std::size_t k) {
      return (k > from && same(k, k - 1)) || (k + 1 < to && same(k, k + 1));
    };
    std::size_t far = from, near = from;
    for (std::size_t a = from; a < to;) {
      std::size_t b = a + 1;
      while (b < to && same(a, b)) ++b;
      for (; far < std::min(to, b + 2 * kFar); ++far)
        if (inRun(far)) FPrefetch(ItemOf(FEntries[far]), false);
      for (; near < std::min(to, b + 2 * kNear); ++near)
        if (inRun(near)) FPrefetch(ItemOf(FEntries[near]), true);
      if (b - a > 1) {
        pending.push_back({a, b, depth});
        Drain(pending);
      }
      a = b;
    }
  }

 private:
  struct TRun {
    std::size_t From, To, Depth;
  };

  // Sorts the pending runs and the runs they leave, completely.
  void Drain(std::vector<TRun>& pending) {
    while (!pending.empty()) {
      const TRun run = pending.back();
      pending.pop_back();
      auto first = FEntries.begin() + static_cast<std::ptrdiff_t>(run.From);
      auto last = FEntries.begin() + static_cast<std::ptrdiff_t>(run.To);
      // Equal up to Depth: pairs, and runs where a string ends, are settled
      // by whole compares. One read of each string takes the next bytes and
      // sees whether it ends.
      std::size_t next = run.Depth + 4;
      bool ended = false, allInPad = true;
      if (run.To - run.From > 2) {
        for (auto it = first; it != last; ++it) {
          if (last - it > kFar) FPrefetch(ItemOf(it[kFar]), false);
          if (last - it > kNear) FPrefetch(ItemOf(it[kNear]), true);
          const TStringReader r = Reader(ItemOf(*it));
          ended = ended || r.Length() <= next;
          allInPad = allInPad && r.S.Key.size() <= next && r.S.Key.size() < kKeyField;
          *it = Entry(r.Prefix(next), ItemOf(*it));
        }
      }
      if (run.To - run.From <= 2 || ended) {
        std::sort(first, last,
                  [&](std::uint64_t a, std::uint64_t b) { return Less(ItemOf(a), ItemOf(b)); });
        continue;
      }
      // Past every key the padding is alike: go on at the texts.
      if (allInPad && next < kKeyField) {
        next = kKeyField;
        for (auto it = first; it != last; ++it)
          *it = Entry(Reader(ItemOf(*it)).Prefix(next), ItemOf(*it));
      }
      RadixSort(&*first, &*first + (last - first), 56);
      PushRuns(pending, run.From, run.To, next);
    }
  }

  // Each run of equal prefixes of two or more entries in [from, to).
  void PushRuns(std::vector<TRun>& pending, std::size_t from, std::size_t to,
                std::size_t depth) const {
    for (std::size_t a = from; a < to;) {
      std::size_t b = a + 1;
      while (b < to && PrefixOf(FEntries[b]) == PrefixOf(FEntries[a])) ++b;
      if (b - a > 1) pending.push_back({a, b, depth});
      a = b;
    }
  }

  // How far ahead a walk over a run fetches an item's places, and its bytes.
  static constexpr std::ptrdiff_t kFar = 16, kNear = 8;
  const StringOf& FStringOf;
  const Prefetch& FPrefetch;
  std::vector<std::uint64_t>& FEntries;
};

template <class F, class Prefetch = TNoPrefetch>
void SortBySortStrings(std::vector<std::uint32_t>& Order, const F& StringOf,
                       const Prefetch& prefetch = {}) {
  const std::size_t n = Order.size();
  if (n < 2) return;
  std::vector<std::uint64_t> entries(n);
  std::size_t longKeys = 0;
  const unsigned width = n < (1u << 14) ? 1u : ParallelWidth();
  {
    std::vector<std::size_t> longs(width, 0);
    RunParts(width, [&](unsigned part) {
      for (std::size_t k = n * part / width; k < n * (part + 1) / width; ++k) {
        const TStringReader r(StringOf(Order[k]));
        longs[part] += r.S.Key.size() >= kKeyField;
        entries[k] = Entry(r.Prefix(0), Order[k]);
      }
    });
    for (const std::size_t l : longs) longKeys += l;
  }
  SortEntries(entries);
  TStringSort<F, Prefetch> sort(StringOf, prefetch, entries);
  // The parts take the runs on either side of a run boundary each.
  const std::vector<std::size_t> bounds = RunBounds(
      n, width, [&](std::size_t at) { return PrefixOf(entries[at]) == PrefixOf(entries[at - 1]); });
  RunParts(width, [&](unsigned part) { sort.Resolve(bounds[part], bounds[part + 1], 0); });

  // Keys of 1024 bytes and more can make two sort strings equal; then the
  // order of the ties is ListSort's, from the original order.
  if (longKeys >= 2) {
    const auto compare = [&](std::uint32_t a, std::uint32_t b) {
      return PaddedKeyOrder(StringOf(a), StringOf(b));
    };
    for (std::size_t k = 1; k < n; ++k) {
      if (compare(ItemOf(entries[k - 1]), ItemOf(entries[k])) == 0) {
        ListSort(Order, compare);
        return;
      }
    }
  }
  for (std::size_t k = 0; k < n; ++k) Order[k] = ItemOf(entries[k]);
}

}  // namespace

void SortByPaddedKey(const TUniqueManager& Manager, std::vector<std::uint32_t>& Order) {
  Manager.MakeKeys();
  SortBySortStrings(
      Order, [&](std::uint32_t i) { return Manager.SortString(i); },
      [&](std::uint32_t i, bool near) { Manager.PrefetchSortString(i, near); });
}

void SortByPaddedKey(std::vector<std::uint32_t>& Order, const TSortStringOf& StringOf) {
  SortBySortStrings(Order, StringOf);
}

void SortByKeyBytes(std::vector<std::uint32_t>& Order,
                    const std::function<std::string_view(std::uint32_t)>& KeyOf) {
  // Each entry carries the first 16 bytes of its key, so most compares
  // settle inside the array.
  struct TEntry {
    std::uint64_t P0, P1;
    std::uint32_t Item;
  };
  const auto bigEndian = [](const unsigned char* p) {
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v = (v << 8) | p[i];
    return v;
  };
  std::vector<TEntry> entries;
  entries.reserve(Order.size());
  for (const std::uint32_t item : Order) {
    unsigned char b[16] = {};
    const std::string_view key = KeyOf(item);
    std::memcpy(b, key.data(), std::min(key.size(), sizeof b));
    entries.push_back({bigEndian(b), bigEndian(b + 8), item});
  }
  ListSort(entries, [&](const TEntry& a, const TEntry& b) {
    if (a.P0 != b.P0) return a.P0 < b.P0 ? -1 : 1;
    if (a.P1 != b.P1) return a.P1 < b.P1 ? -1 : 1;
    return CompareBytes(KeyOf(a.Item), KeyOf(b.Item));
  });
  for (std::size_t k = 0; k < entries.size(); ++k) Order[k] = entries[k].Item;
}

}  // namespace tavrin
