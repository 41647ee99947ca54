#include "engine/item_sort.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "engine/list_sort.h"
#include "engine/prefix_radix.h"
#include "util/parallel.h"

namespace tavrin {
namespace {

// A sort string with its length, read byte by byte.
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
};

// An entry: twelve bytes of the sort string from some depth on, and the
// item number.
using TEntry = TSortEntry;
using prefix_radix::kPrefixBytes;

// The twelve bytes of R's sort string from D on, 0 past its end.
inline void SetPrefix(TEntry& e, const TStringReader& r, std::size_t D) {
  const std::size_t key = r.S.Key.size();
  // The usual key: its bytes from D, then the padding.
  if (D < key && key + r.Pad >= D + kPrefixBytes)
    return prefix_radix::SetPaddedPrefix(e, r.S.Key.data() + D, key - D);
  std::uint64_t hi = 0;
  std::uint32_t lo = 0;
  for (std::size_t i = 0; i < 8; ++i) hi = hi << 8 | r.Byte(D + i);
  for (std::size_t i = 8; i < kPrefixBytes; ++i) lo = lo << 8 | r.Byte(D + i);
  e.Hi = hi;
  e.Lo = lo;
}

// Fetching ahead does nothing where the strings' memory is not known.
struct TNoPrefetch {
  void operator()(std::uint32_t, bool) const {}
};

// A run of entries equal in the bytes before Depth + 12.
struct TDeepRun {
  TEntry *First, *Last;
  std::size_t Depth;
};

// Sorts the buckets the radix passes leave, entries equal in the bytes
// before Depth: small ones by whole compares, larger ones whose twelve
// bytes tie by the next twelve bytes. Those are taken in turn from a list,
// not by recursion, however long the strings' common start; a finish of
// the deeper bytes (with Pending) only adds to the list. The first finish
// gives such runs back their prefixes afterwards, so that the finished
// entries hold their first twelve bytes.
template <class StringOf, class Prefetch>
class TFinish {
 public:
  TFinish(const StringOf& stringOf, const Prefetch& prefetch, std::size_t depth = 0,
          std::vector<TDeepRun>* pending = nullptr)
      : FStringOf(stringOf), FPrefetch(prefetch), FDepth(depth), FPending(pending) {}

  void operator()(TEntry* first, TEntry* last, unsigned D) {
    if (last - first > prefix_radix::kSmall && D == kPrefixBytes) return Deeper(first, last);
    if (D < kPrefixBytes) {
      std::sort(first, last, [](const TEntry& a, const TEntry& b) {
        return prefix_radix::ComparePrefix(a, b) < 0;
      });
    }
    // Only runs of tied prefixes read their strings, at random: their
    // memory is asked for first.
    for (TEntry* a = first; a != last;) {
      TEntry* b = a + 1;
      while (b != last && prefix_radix::SamePrefix(*a, *b)) ++b;
      if (b - a > 1) {
        for (const TEntry* it = a; it != b; ++it) FPrefetch(it->Item, false);
        for (const TEntry* it = a; it != b; ++it) FPrefetch(it->Item, true);
        SortWhole(a, b);
      }
      a = b;
    }
  }

 private:
  // By the prefixes, then by whole compares.
  void SortWhole(TEntry* first, TEntry* last) const {
    std::sort(first, last, [&](const TEntry& a, const TEntry& b) {
      const int c = prefix_radix::ComparePrefix(a, b);
      if (c != 0) return c < 0;
      return PaddedKeyOrder(FStringOf(a.Item), FStringOf(b.Item)) < 0;
    });
  }

  // Sorts [first, last), equal up to FDepth + 12, by the bytes from there
  // on. Where a string ends there, whole compares settle the entries.
  void Deeper(TEntry* first, TEntry* last) {
    if (FPending != nullptr) return FPending->push_back({first, last, FDepth});
    const TEntry tied = *first;
    if (!FBuffer) FBuffer.reset(new TEntry[prefix_radix::kBuffered]);
    std::vector<TDeepRun> pending{{first, last, FDepth}};
    while (!pending.empty()) {
      const TDeepRun run = pending.back();
      pending.pop_back();
      std::size_t next = run.Depth + kPrefixBytes;
      bool ended = false, allInPad = true;
      for (TEntry* it = run.First; it != run.Last; ++it) {
        if (run.Last - it > kFar) FPrefetch(it[kFar].Item, false);
        if (run.Last - it > kNear) FPrefetch(it[kNear].Item, true);
        const TStringReader r(FStringOf(it->Item));
        ended = ended || r.Length() <= next;
        allInPad = allInPad && r.S.Key.size() <= next && r.S.Key.size() < kKeyField;
        SetPrefix(*it, r, next);
      }
      if (ended) {
        SortWhole(run.First, run.Last);
        continue;
      }
      // Past every key the padding is alike: go on at the texts.
      if (allInPad && next < kKeyField) {
        next = kKeyField;
        for (TEntry* it = run.First; it != run.Last; ++it)
          SetPrefix(*it, TStringReader(FStringOf(it->Item)), next);
      }
      TFinish deeper(FStringOf, FPrefetch, next, &pending);
      prefix_radix::SortFrom(run.First, run.Last, 0, FBuffer.get(), deeper);
    }
    for (TEntry* it = first; it != last; ++it) it->Hi = tied.Hi, it->Lo = tied.Lo;
  }

  // How far ahead a walk over a run fetches an item's places, and its bytes.
  static constexpr std::ptrdiff_t kFar = 16, kNear = 8;
  const StringOf& FStringOf;
  const Prefetch& FPrefetch;
  std::size_t FDepth;
  std::vector<TDeepRun>* FPending;
  std::unique_ptr<TEntry[]> FBuffer;
};

// Clears the bits of Ties (all set) where an entry's prefix differs from
// the previous one's.
void MarkTies(const TEntry* entries, std::size_t n, std::vector<std::uint64_t>& Ties) {
  // On the cores for a large sort, by parts of whole words of Ties.
  const unsigned width = n < (1u << 16) ? 1u : ParallelWidth();
  const std::size_t words = (n + 63) / 64;
  RunParts(width, [&](unsigned p) {
    const std::size_t from = std::max<std::size_t>(1, words * p / width * 64),
                      to = std::min(n, words * (p + 1) / width * 64);
    for (std::size_t k = from; k < to; ++k) {
      if (!prefix_radix::SamePrefix(entries[k - 1], entries[k]))
        Ties[k / 64] &= ~(std::uint64_t{1} << (k % 64));
    }
  });
}

template <class F, class Prefetch = TNoPrefetch>
void SortBySortStrings(std::vector<std::uint32_t>& Order, const F& StringOf,
                       const Prefetch& prefetch = {}, std::vector<std::uint64_t>* Ties = nullptr) {
  const std::size_t n = Order.size();
  if (Ties != nullptr) Ties->assign((n + 63) / 64, ~std::uint64_t{0});
  if (n < 2) return;
  // Written once by the parts below, not first cleared.
  const std::unique_ptr<TEntry[]> entries(new TEntry[n]);
  std::size_t longKeys = 0;
  const unsigned width = n < (1u << 14) ? 1u : ParallelWidth();
  {
    std::vector<std::size_t> longs(width, 0);
    RunParts(width, [&](unsigned part) {
      // Counted here and stored once: the parts' counts share a cache line.
      std::size_t count = 0;
      const std::size_t from = n * part / width, to = n * (part + 1) / width;
      for (std::size_t k = from; k < to; ++k) {
        const TStringReader r(StringOf(Order[k]));
        count += r.S.Key.size() >= kKeyField;
        SetPrefix(entries[k], r, 0);
        entries[k].Item = Order[k];
      }
      longs[part] = count;
    });
    for (const std::size_t l : longs) longKeys += l;
  }
  prefix_radix::SortOnCores(entries.get(), n,
                            [&] { return TFinish<F, Prefetch>(StringOf, prefetch); });

  // Keys of 1024 bytes and more can make two sort strings equal; then the
  // order of the ties is ListSort's, from the original order.
  if (longKeys >= 2) {
    const auto compare = [&](std::uint32_t a, std::uint32_t b) {
      return PaddedKeyOrder(StringOf(a), StringOf(b));
    };
    for (std::size_t k = 1; k < n; ++k) {
      if (compare(entries[k - 1].Item, entries[k].Item) == 0) {
        ListSort(Order, compare);
        return;
      }
    }
  }
  for (std::size_t k = 0; k < n; ++k) Order[k] = entries[k].Item;
  if (Ties != nullptr) MarkTies(entries.get(), n, *Ties);
}

}  // namespace

void SortEntriesByPaddedKey(TSortEntry* Entries, std::size_t N, const TSortStringOf& StringOf,
                            std::vector<std::uint64_t>& Ties) {
  Ties.assign((N + 63) / 64, ~std::uint64_t{0});
  const TNoPrefetch prefetch;
  prefix_radix::SortOnCores(
      Entries, N, [&] { return TFinish<TSortStringOf, TNoPrefetch>(StringOf, prefetch); });
  MarkTies(Entries, N, Ties);
}

void SortByPaddedKey(const TUniqueManager& Manager, std::vector<std::uint32_t>& Order,
                     std::vector<std::uint64_t>* Ties) {
  Manager.MakeKeys();
  SortBySortStrings(
      Order, [&](std::uint32_t i) { return Manager.SortString(i); },
      [&](std::uint32_t i, bool near) { Manager.PrefetchSortString(i, near); }, Ties);
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
