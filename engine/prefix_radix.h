#pragma once
// Radix sorting of entries that carry the first twelve bytes of a string,
// big-endian in Hi (eight bytes) and Lo (four), so that they order as
// integers. What lies behind the twelve bytes is the caller's: it sorts
// small buckets and buckets whose twelve bytes all tie.
#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "util/parallel.h"

namespace tavrin::prefix_radix {

inline constexpr unsigned kPrefixBytes = 12;
// Buckets up to this many entries go through a buffer of that size, which
// stays in the cache; larger ones are sorted in place.
inline constexpr std::size_t kBuffered = std::size_t{1} << 16;
// Buckets up to this many entries are left to the caller at once.
inline constexpr std::ptrdiff_t kSmall = 32;

template <class E>
bool SamePrefix(const E& a, const E& b) {
  return a.Hi == b.Hi && a.Lo == b.Lo;
}
// -1, 0 or +1 by the twelve bytes.
template <class E>
int ComparePrefix(const E& a, const E& b) {
  if (a.Hi != b.Hi) return a.Hi < b.Hi ? -1 : 1;
  if (a.Lo != b.Lo) return a.Lo < b.Lo ? -1 : 1;
  return 0;
}

// Sets e's twelve bytes to the first twelve of the N bytes at P, spaces
// past them, as a string padded with spaces orders. The bytes are gathered
// in registers, a short key by loads that overlap within its N bytes:
// bytes stored one at a time and read back as a word would stall the
// processor, and a loop over a short key's bytes mispredicts its end.
template <class E>
void SetPaddedPrefix(E& e, const char* P, std::size_t N) {
  constexpr std::uint64_t kSpaces = 0x2020202020202020u;
  const auto load8 = [](const char* q) {
    std::uint64_t v;
    std::memcpy(&v, q, 8);
    return __builtin_bswap64(v);
  };
  const auto load4 = [](const char* q) {
    std::uint32_t v;
    std::memcpy(&v, q, 4);
    return std::uint64_t{__builtin_bswap32(v)};
  };
  // The last Have (0 to 3) of the four bytes W (big-endian) as the first
  // bytes of a four-byte word, spaces behind them.
  const auto tail4 = [](std::uint64_t W, std::size_t Have) {
    return ((W << (32 - 8 * Have)) & 0xFFFFFFFFu) | (kSpaces >> (32 + 8 * Have));
  };
  if (N >= kPrefixBytes) {
    e.Hi = load8(P);
    e.Lo = static_cast<std::uint32_t>(load4(P + 8));
  } else if (N >= 8) {
    e.Hi = load8(P);
    e.Lo = static_cast<std::uint32_t>(tail4(load4(P + N - 4), N - 8));
  } else if (N >= 4) {
    e.Hi = load4(P) << 32 | tail4(load4(P + N - 4), N - 4);
    e.Lo = static_cast<std::uint32_t>(kSpaces);
  } else {
    // Up to three bytes, then spaces.
    std::uint64_t hi = kSpaces >> (8 * N);
    for (std::size_t i = 0; i < N; ++i)
      hi |= std::uint64_t{static_cast<unsigned char>(P[i])} << (56 - 8 * i);
    e.Hi = hi;
    e.Lo = static_cast<std::uint32_t>(kSpaces);
  }
}

// How many entries of [first, last) have each byte, and the range of the
// bytes that occur.
struct TByteCounts {
  std::size_t Count[256] = {};
  unsigned Low = 255, High = 0;
};
template <class E, class ByteFn>
TByteCounts CountBytes(const E* first, const E* last, const ByteFn& Byte) {
  TByteCounts counts;
  for (const E* it = first; it != last; ++it) {
    const unsigned b = Byte(*it);
    ++counts.Count[b];
    counts.Low = std::min(counts.Low, b);
    counts.High = std::max(counts.High, b);
  }
  return counts;
}

// Puts [first, last) in order of one byte of the prefixes, in place
// (American flag sort), and calls Bucket(from, to) for each bucket of two
// or more. False, changing nothing, when every entry has the same byte.
// Only the range of bytes that occur is walked: keys of digits use a tenth
// of the 256.
template <class E, class ByteFn, class BucketFn>
bool RadixPass(E* first, E* last, const ByteFn& Byte, const BucketFn& Bucket) {
  const TByteCounts counts = CountBytes(first, last, Byte);
  const unsigned low = counts.Low, high = counts.High;
  if (low == high) return false;
  std::size_t head[256], tail[256], start[256];
  std::size_t at = 0;
  for (unsigned d = low; d <= high; ++d) {
    start[d] = head[d] = at;
    at += counts.Count[d];
    tail[d] = at;
  }
  for (unsigned k = low; k <= high; ++k) {
    while (head[k] < tail[k]) {
      E v = first[head[k]];
      unsigned d = Byte(v);
      while (d != k) {
        std::swap(v, first[head[d]++]);
        d = Byte(v);
      }
      first[head[k]++] = v;
    }
  }
  for (unsigned d = low; d <= high; ++d) {
    if (tail[d] - start[d] > 1) Bucket(first + start[d], first + tail[d]);
  }
  return true;
}
// The same through Buffer (room for last - first entries): the entries are
// copied there and dealt back by their byte, two streaming passes instead
// of a walk of swaps.
template <class E, class ByteFn, class BucketFn>
bool ScatterPass(E* first, E* last, E* Buffer, const ByteFn& Byte, const BucketFn& Bucket) {
  const TByteCounts counts = CountBytes(first, last, Byte);
  const unsigned low = counts.Low, high = counts.High;
  if (low == high) return false;
  const std::size_t* count = counts.Count;
  std::size_t start[256], at[256];
  const auto n = static_cast<std::size_t>(last - first);
  std::memcpy(static_cast<void*>(Buffer), first, n * sizeof(E));
  std::size_t sum = 0;
  for (unsigned d = low; d <= high; ++d) start[d] = at[d] = sum, sum += count[d];
  for (const E* it = Buffer; it != Buffer + n; ++it) first[at[Byte(*it)]++] = *it;
  for (unsigned d = low; d <= high; ++d) {
    if (count[d] > 1) Bucket(first + start[d], first + start[d] + count[d]);
  }
  return true;
}

// Calls F with the function that reads byte D of an entry's prefix.
template <class F>
bool WithByte(unsigned D, const F& f) {
  if (D < 8) {
    const unsigned shift = 56 - 8 * D;
    return f([shift](const auto& e) { return static_cast<unsigned>(e.Hi >> shift) & 0xFFu; });
  }
  const unsigned shift = 24 - 8 * (D - 8);
  return f([shift](const auto& e) { return static_cast<unsigned>(e.Lo >> shift) & 0xFFu; });
}
template <class E, class BucketFn>
bool RadixPass(E* first, E* last, unsigned D, const BucketFn& Bucket) {
  return WithByte(D, [&](const auto& byte) { return RadixPass(first, last, byte, Bucket); });
}

// Sorts [first, last), equal in the prefix bytes before D: radix passes
// over the bytes that vary; Finish(first, last, D) sorts a bucket of at
// most kSmall entries, or one whose prefixes all tie (D == kPrefixBytes).
// Buffer has room for kBuffered entries.
template <class E, class FinishFn>
void SortFrom(E* first, E* last, unsigned D, E* Buffer, FinishFn& Finish) {
  for (;; ++D) {
    if (last - first <= kSmall || D == kPrefixBytes) return Finish(first, last, D);
    const auto bucket = [&](E* a, E* b) { SortFrom(a, b, D + 1, Buffer, Finish); };
    const bool buffered = static_cast<std::size_t>(last - first) <= kBuffered;
    if (WithByte(D, [&](const auto& byte) {
          return buffered ? ScatterPass(first, last, Buffer, byte, bucket)
                          : RadixPass(first, last, byte, bucket);
        }))
      return;
  }
}

// The same on the cores, from D = 0: passes over the leading bytes split
// the entries into buckets of at most a share each, which the cores take
// in turn, largest first. MakeFinish() gives each core its Finish.
template <class E, class MakeFinishFn>
void SortOnCores(E* entries, std::size_t n, const MakeFinishFn& MakeFinish) {
  const unsigned width = n < (1u << 14) ? 1u : ParallelWidth();
  struct TBucket {
    E *From, *To;
    unsigned D;
  };
  std::vector<TBucket> buckets;
  const std::size_t share = width < 2 ? n : n / (2 * width);
  const auto split = [&](auto& self, E* a, E* b, unsigned d) -> void {
    for (;; ++d) {
      if (static_cast<std::size_t>(b - a) <= share || d == kPrefixBytes)
        return buckets.push_back({a, b, d});
      if (RadixPass(a, b, d, [&](E* x, E* y) { self(self, x, y, d + 1); })) return;
    }
  };
  split(split, entries, entries + n, 0);
  std::sort(buckets.begin(), buckets.end(),
            [](const TBucket& x, const TBucket& y) { return x.To - x.From > y.To - y.From; });
  std::atomic<std::size_t> next{0};
  RunParts(static_cast<unsigned>(std::min<std::size_t>(width, buckets.size())), [&](unsigned) {
    auto finish = MakeFinish();
    const std::unique_ptr<E[]> buffer(new E[kBuffered]);
    for (std::size_t k; (k = next.fetch_add(1)) < buckets.size();)
      SortFrom(buckets[k].From, buckets[k].To, buckets[k].D, buffer.get(), finish);
  });
}

}  // namespace tavrin::prefix_radix
