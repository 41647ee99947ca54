#include "app/distinct_batch.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <climits>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/batch_texts.h"
#include "engine/char_folding.h"
#include "engine/text_index.h"
#include "engine/unique_manager.h"
#include "util/cp932.h"
#include "util/os.h"
#include "util/parallel.h"
#include "util/sjis.h"

namespace tavrin {
namespace {

// One kept line: the first twelve bytes of its sort string (its key,
// padded with spaces), big-endian in Hi and Lo so that entries order as
// integers, and where the line starts, with kKeyIsText set when its key is
// the text itself (no folding needed to compare it).
struct TEntry {
  std::uint64_t Hi;
  std::uint32_t Lo;
  std::uint32_t At;
};
constexpr std::uint32_t kKeyIsText = 0x80000000u;
constexpr unsigned kPrefixBytes = 12;
constexpr std::size_t kMaxText = kKeyIsText;  // offsets keep 31 bits

bool SamePrefix(const TEntry& a, const TEntry& b) { return a.Hi == b.Hi && a.Lo == b.Lo; }

// The end of the line that starts at At: its CR or LF, or the text's end.
std::size_t LineEnd(std::string_view Text, std::size_t At) {
  const char* p = Text.data() + At;
  const char* const end = Text.data() + Text.size();
  while (p != end && (static_cast<unsigned char>(*p) > '\r' || (*p != '\n' && *p != '\r'))) ++p;
  return static_cast<std::size_t>(p - Text.data());
}
// Behind the line break at End (CR, LF or CR LF), or the text's end.
std::size_t NextLine(std::string_view Text, std::size_t End) {
  if (End == Text.size()) return End;
  return End + (Text[End] == '\r' && End + 1 < Text.size() && Text[End + 1] == '\n' ? 2 : 1);
}

// The text, the keys and the comparisons of the entries.
class TLines {
 public:
  TLines(std::string_view Text, const TUniqueManager& Keys) : FText(Text), FKeys(Keys) {}

  // Folding room for two keys at once, one per thread.
  struct TScratch {
    std::string A1, A2, B1, B2;
  };

  std::string_view Line(const TEntry& e) const {
    const std::size_t at = e.At & ~kKeyIsText;
    return FText.substr(at, LineEnd(FText, at) - at);
  }
  std::string_view Key(const TEntry& e, std::string_view Line, std::string& s1,
                       std::string& s2) const {
    return (e.At & kKeyIsText) != 0 ? Line : FKeys.KeyIn(Line, 0, s1, s2);
  }
  // PaddedKeyOrder of the two lines' sort strings; keys are folded again
  // only for entries whose prefixes tie.
  int Compare(const TEntry& a, const TEntry& b, TScratch& s) const {
    if (a.Hi != b.Hi) return a.Hi < b.Hi ? -1 : 1;
    if (a.Lo != b.Lo) return a.Lo < b.Lo ? -1 : 1;
    const std::string_view ta = Line(a), tb = Line(b);
    if (ta == tb) return 0;
    return PaddedKeyOrder({Key(a, ta, s.A1, s.A2), ta}, {Key(b, tb, s.B1, s.B2), tb});
  }

 private:
  std::string_view FText;
  const TUniqueManager& FKeys;
};

// How many entries of [first, last) have each byte, and the range of the
// bytes that occur.
struct TByteCounts {
  std::size_t Count[256] = {};
  unsigned Low = 255, High = 0;
};
template <class ByteFn>
TByteCounts CountBytes(const TEntry* first, const TEntry* last, const ByteFn& Byte) {
  TByteCounts counts;
  for (const TEntry* it = first; it != last; ++it) {
    const unsigned b = Byte(*it);
    ++counts.Count[b];
    counts.Low = std::min(counts.Low, b);
    counts.High = std::max(counts.High, b);
  }
  return counts;
}

// Puts [first, last) in order of byte D of the prefixes, in place
// (American flag sort), and calls Bucket(from, to) for each bucket of two
// or more. False, changing nothing, when every entry has the same byte.
// Only the range of bytes that occur is walked: keys of digits use a tenth
// of the 256.
template <class ByteFn, class BucketFn>
bool RadixPass(TEntry* first, TEntry* last, const ByteFn& Byte, const BucketFn& Bucket) {
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
      TEntry v = first[head[k]];
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
template <class ByteFn, class BucketFn>
bool ScatterPass(TEntry* first, TEntry* last, TEntry* Buffer, const ByteFn& Byte,
                 const BucketFn& Bucket) {
  const TByteCounts counts = CountBytes(first, last, Byte);
  const unsigned low = counts.Low, high = counts.High;
  if (low == high) return false;
  const std::size_t* count = counts.Count;
  std::size_t start[256], at[256];
  const auto n = static_cast<std::size_t>(last - first);
  std::memcpy(Buffer, first, n * sizeof(TEntry));
  std::size_t sum = 0;
  for (unsigned d = low; d <= high; ++d) start[d] = at[d] = sum, sum += count[d];
  for (const TEntry* it = Buffer; it != Buffer + n; ++it) first[at[Byte(*it)]++] = *it;
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
    return f([shift](const TEntry& e) { return static_cast<unsigned>(e.Hi >> shift) & 0xFFu; });
  }
  const unsigned shift = 24 - 8 * (D - 8);
  return f([shift](const TEntry& e) { return (e.Lo >> shift) & 0xFFu; });
}
template <class BucketFn>
bool RadixPass(TEntry* first, TEntry* last, unsigned D, const BucketFn& Bucket) {
  return WithByte(D, [&](const auto& byte) { return RadixPass(first, last, byte, Bucket); });
}

// Buckets up to this many entries go through a buffer of that size, which
// stays in the cache; larger ones are sorted in place.
constexpr std::size_t kBuffered = std::size_t{1} << 16;

// Sorts [first, last), equal in the prefix bytes before D: radix passes
// over the bytes that vary, whole comparisons for small buckets and for
// entries whose prefixes tie. Buffer has room for kBuffered entries.
void SortFrom(const TLines& Lines, TEntry* first, TEntry* last, unsigned D, TEntry* Buffer,
              TLines::TScratch& s) {
  for (;; ++D) {
    if (last - first <= 32 || D == kPrefixBytes) {
      std::sort(first, last,
                [&](const TEntry& a, const TEntry& b) { return Lines.Compare(a, b, s) < 0; });
      return;
    }
    const auto bucket = [&](TEntry* a, TEntry* b) { SortFrom(Lines, a, b, D + 1, Buffer, s); };
    const bool buffered = static_cast<std::size_t>(last - first) <= kBuffered;
    if (WithByte(D, [&](const auto& byte) {
          return buffered ? ScatterPass(first, last, Buffer, byte, bucket)
                          : RadixPass(first, last, byte, bucket);
        }))
      return;
  }
}

// The same on the cores: passes over the leading bytes split the entries
// into buckets of at most a share each, which the cores take in turn,
// largest first.
void SortEntries(const TLines& Lines, TEntry* entries, std::size_t n) {
  const unsigned width = n < (1u << 14) ? 1u : ParallelWidth();
  struct TBucket {
    TEntry *From, *To;
    unsigned D;
  };
  std::vector<TBucket> buckets;
  const std::size_t share = width < 2 ? n : n / (2 * width);
  const auto split = [&](auto& self, TEntry* a, TEntry* b, unsigned d) -> void {
    for (;; ++d) {
      if (static_cast<std::size_t>(b - a) <= share || d == kPrefixBytes)
        return buckets.push_back({a, b, d});
      if (RadixPass(a, b, d, [&](TEntry* x, TEntry* y) { self(self, x, y, d + 1); })) return;
    }
  };
  split(split, entries, entries + n, 0);
  std::sort(buckets.begin(), buckets.end(),
            [](const TBucket& x, const TBucket& y) { return x.To - x.From > y.To - y.From; });
  std::atomic<std::size_t> next{0};
  RunParts(static_cast<unsigned>(std::min<std::size_t>(width, buckets.size())), [&](unsigned) {
    TLines::TScratch s;
    const std::unique_ptr<TEntry[]> buffer(new TEntry[kBuffered]);
    for (std::size_t k; (k = next.fetch_add(1)) < buckets.size();)
      SortFrom(Lines, buckets[k].From, buckets[k].To, buckets[k].D, buffer.get(), s);
  });
}

// The entries of the kept lines of Text, in text order; none when a line
// is one the path does not take. Each part of the text is counted, then
// filled by a core of its own.
struct TFilled {
  std::unique_ptr<TEntry[]> Entries;
  std::size_t Count = 0;
  bool Declined = false;
};
TFilled FillEntries(std::string_view Text, const TUniqueManager& Keys) {
  TFilled result;
  const std::size_t size = Text.size();
  const unsigned width = size < (std::size_t{1} << 20) ? 1u : ParallelWidth();
  // Parts start behind a line feed, so no line (nor CR LF) is split.
  std::vector<std::size_t> from(width + 1, size);
  from[0] = 0;
  for (unsigned p = 1; p < width; ++p) {
    const std::size_t at = std::max(from[p - 1], size * p / width);
    const void* lf = at < size ? std::memchr(Text.data() + at, '\n', size - at) : nullptr;
    from[p] = lf == nullptr
                  ? size
                  : static_cast<std::size_t>(static_cast<const char*>(lf) - Text.data()) + 1;
  }
  std::vector<std::size_t> lines(width), kept(width);
  RunParts(width, [&](unsigned p) {
    // The line breaks: LFs, and CRs not followed by one, in passes the
    // compiler makes wide; and a last line without a break.
    const char* const a = Text.data() + from[p];
    const char* const b = Text.data() + from[p + 1];
    std::size_t count = static_cast<std::size_t>(std::count(a, b, '\n'));
    if (const auto crs = static_cast<std::size_t>(std::count(a, b, '\r')); crs != 0) {
      std::size_t pairs = 0;
      for (const char* c = a; c + 1 < b; ++c)
        pairs += static_cast<std::size_t>((c[0] == '\r') & (c[1] == '\n'));
      count += crs - pairs;
    }
    if (b == Text.data() + size && a != b && b[-1] != '\n' && b[-1] != '\r') ++count;
    lines[p] = count;
  });
  std::size_t total = 0;
  std::vector<std::size_t> first(width);
  for (unsigned p = 0; p < width; ++p) first[p] = total, total += lines[p];
  // Left unwritten until filled: each page is first touched by its writer.
  result.Entries.reset(new TEntry[std::max<std::size_t>(total, 1)]);
  os::PreferLargePages(result.Entries.get(), total * sizeof(TEntry));
  std::atomic<bool> declined{false};
  RunParts(width, [&](unsigned p) {
    std::string s1, s2;
    TEntry* out = result.Entries.get() + first[p];
    std::size_t k = 0;
    const char* const partEnd = Text.data() + from[p + 1];
    for (std::size_t at = from[p]; at < from[p + 1];) {
      // One walk finds the line's end and what its bytes alone show of its
      // key: no byte above 0x7F and no capital may still mean a key that is
      // the text itself.
      const std::size_t start = at;
      unsigned bytes = 0;
      bool capital = false;
      const char* q = Text.data() + at;
      for (;;) {
        // Eight bytes at a time while none is below 0x0E.
        constexpr std::uint64_t kOnes = 0x0101010101010101u, kHighs = kOnes * 0x80;
        std::uint64_t w;
        while (partEnd - q >= 8 &&
               (std::memcpy(&w, q, 8), ((w - kOnes * 0x0E) & ~w & kHighs) == 0)) {
          bytes |= (w & kHighs) != 0 ? 0x80u : 0u;
          // Capitals, where every byte is ASCII (else the flag does not matter).
          capital |= ((w + kOnes * (0x80 - 'A')) & ~(w + kOnes * (0x80 - 'Z' - 1)) & kHighs) != 0;
          q += 8;
        }
        // Then byte by byte to the break, or on past a word's low bytes.
        const char* const stop = partEnd - q >= 8 ? q + 8 : partEnd;
        bool atBreak = false;
        for (; q != stop; ++q) {
          const auto c = static_cast<unsigned char>(*q);
          if (c <= '\r' && (c == '\n' || c == '\r')) {
            atBreak = true;
            break;
          }
          bytes |= c;
          capital |= static_cast<unsigned>(c - 'A') < 26u;
        }
        if (atBreak || q == partEnd) break;
      }
      const std::size_t end = static_cast<std::size_t>(q - Text.data());
      const std::string_view line = Text.substr(start, end - start);
      at = NextLine(Text, end);
      // A line of blanks only is no line.
      if (!StartsUnblank(line) && TrimBlanksView(line).empty()) continue;
      if (line.size() >= kKeyField) {  // its key may be as long: not plain
        declined = true;
        return;
      }
      if (line.front() == '"') {  // a quoted cell may join the next line
        declined = true;
        return;
      }
      std::string_view key = line;
      // The collection's own rule for a key that equals its text, without
      // kinds of variants: ASCII without capitals, no byte of 0x20 or below
      // at either end, no trailing hyphen.
      const auto last = static_cast<unsigned char>(line.back());
      bool keyIsText = (bytes & 0x80) == 0 && !capital &&
                       static_cast<unsigned char>(line.front()) > 0x20 && last > 0x20 &&
                       last != '-';
      if (!keyIsText) {
        // A code of an unassigned row (escaped, or an internal form) sorts
        // as the bytes given: the collection knows how.
        if (cp932::FirstUnassignedCode(line) != line.size()) {
          declined = true;
          return;
        }
        key = Keys.KeyIn(line, 0, s1, s2);
        keyIsText = key == line;
        if (!PlainKey(key)) {
          declined = true;
          return;
        }
      }
      unsigned char b[kPrefixBytes];
      std::memset(b, ' ', sizeof b);
      std::memcpy(b, key.data(), std::min(key.size(), sizeof b));
      std::uint64_t hi = 0;
      for (unsigned i = 0; i < 8; ++i) hi = hi << 8 | b[i];
      const std::uint32_t lo =
          std::uint32_t{b[8]} << 24 | std::uint32_t{b[9]} << 16 | std::uint32_t{b[10]} << 8 | b[11];
      out[k++] = {hi, lo, static_cast<std::uint32_t>(start) | (keyIsText ? kKeyIsText : 0)};
      if ((k & 0xFFFF) == 0 && declined.load(std::memory_order_relaxed)) return;
    }
    kept[p] = k;
  });
  if (declined) {
    result.Declined = true;
    return result;
  }
  // The parts' entries closed up behind each other.
  for (unsigned p = 0; p < width; ++p) {
    if (first[p] != result.Count)
      std::memmove(result.Entries.get() + result.Count, result.Entries.get() + first[p],
                   kept[p] * sizeof(TEntry));
    result.Count += kept[p];
  }
  return result;
}

// Appends a row of the copy text: the text, then TAB and the count unless
// CopyCount is off, then CR LF.
void AppendRow(std::string& Out, std::string_view Text, std::int32_t Count, bool CopyCount) {
  char tail[16] = {'\t'};
  char* end = tail;
  if (CopyCount) end = std::to_chars(tail + 1, tail + sizeof tail - 2, Count).ptr;
  *end++ = '\r';
  *end++ = '\n';
  Out.append(Text);
  Out.append(tail, end);
}

}  // namespace

bool LooksDistinctHeavy(std::string_view Text, std::size_t MinBytes) {
  if (Text.size() < MinBytes) return false;
  // A quick look, cheap beside any run worth it: the hashes of the first
  // few thousand lines, sorted, counted where they change.
  constexpr std::size_t kSample = 1 << 13;
  std::vector<std::uint64_t> hashes;
  hashes.reserve(kSample);
  for (std::size_t at = 0; at < Text.size() && hashes.size() < kSample;) {
    const std::size_t end = LineEnd(Text, at);
    hashes.push_back(HashBytes(Text.substr(at, end - at)));
    at = NextLine(Text, end);
  }
  std::sort(hashes.begin(), hashes.end());
  const auto distinct =
      static_cast<std::size_t>(std::unique(hashes.begin(), hashes.end()) - hashes.begin());
  return distinct * 10 >= hashes.size() * 9;
}

bool DistinctBatchTakes(const TBatchOptions& Options) {
  return Options.Output == TBatchOptions::TOutput::Copy && Options.Folds == 0 &&
         Options.Dictionary.Rules.empty() && !Options.Trim && Options.ExtractSort &&
         (Options.Similar || (Options.Zenkaku && Options.Upper));
}

std::optional<TBatchOutput> RunDistinctBatch(const TBatchOptions& Options, std::string_view Text,
                                             TTextEncoding Encoding, bool Bom,
                                             const TBatchWrite& Write) {
  if (!DistinctBatchTakes(Options) || Text.size() >= kMaxText) return std::nullopt;
  TUniqueManager keys;  // for its keys only
  keys.FZenkaku = Options.Zenkaku;
  keys.FUpper = Options.Upper;
  keys.FHyphen = Options.Hyphen;
  keys.FHyphenTerminate = Options.HyphenTerminate;
  TFilled filled = FillEntries(Text, keys);
  if (filled.Declined) return std::nullopt;
  TEntry* const entries = filled.Entries.get();
  const std::size_t n = filled.Count;
  const TLines lines(Text, keys);
  SortEntries(lines, entries, n);

  TBatchOutput output;
  const TBatchWrite gather = [&](std::string_view piece) {
    output.Out += piece;
    return true;
  };
  const TBatchWrite& write = Write ? Write : gather;
  // Pieces of about kPiece entries that split no run of equal prefixes
  // (so neither a line's repeats nor a key's group). A fixed set of workers
  // makes them, each its own every width-th piece in a buffer it keeps, and
  // they are written in order, each when its turn comes.
  constexpr std::size_t kPiece = 1 << 16;
  const auto pieces = static_cast<unsigned>(std::max<std::size_t>(1, (n + kPiece - 1) / kPiece));
  const std::vector<std::size_t> bounds = RunBounds(
      n, pieces, [&](std::size_t at) { return SamePrefix(entries[at], entries[at - 1]); });
  const unsigned width = std::min(pieces, ParallelWidth());
  std::mutex lock;
  std::condition_variable turn;
  unsigned next = 0;
  bool stop = false, bom = Bom;
  std::size_t rows = 0;
  RunParts(width, [&](unsigned part) {
    std::string out;
    TLines::TScratch s;
    struct TItem {
      std::string_view Text;
      std::int32_t Count;
    };
    std::vector<TItem> group;
    std::string groupKey;
    for (unsigned piece = part; piece < pieces; piece += width) {
      try {
        out.clear();
        std::size_t pieceRows = 0;
        // Similar: the items of the key met last; listed when two or more.
        std::size_t groupEntry = 0;
        bool groupKeyMade = false;
        const auto flush = [&] {
          if (group.size() >= 2) {
            for (const TItem& item : group)
              AppendRow(out, item.Text, item.Count, Options.CopyCount);
            pieceRows += group.size();
          }
          group.clear();
        };
        for (std::size_t i = bounds[piece], to = bounds[piece + 1]; i < to;) {
          const std::string_view text = lines.Line(entries[i]);
          std::size_t j = i + 1;
          while (j < to && SamePrefix(entries[j], entries[i]) && lines.Line(entries[j]) == text)
            ++j;
          const auto count = static_cast<std::int32_t>(std::min<std::size_t>(j - i, INT32_MAX));
          if (!Options.Similar) {
            AppendRow(out, text, count, Options.CopyCount);
            ++pieceRows;
          } else {
            // Equal keys have equal prefixes; two texts that are their own
            // keys differ in their keys too.
            bool sameKey = false;
            const TEntry& g = entries[groupEntry];
            if (!group.empty() && SamePrefix(g, entries[i]) &&
                ((g.At & entries[i].At & kKeyIsText) == 0)) {
              if (!groupKeyMade) groupKey = lines.Key(g, group.front().Text, s.A1, s.A2);
              groupKeyMade = true;
              sameKey = lines.Key(entries[i], text, s.B1, s.B2) == groupKey;
            }
            if (!sameKey) {
              flush();
              groupEntry = i;
              groupKeyMade = false;
            }
            group.push_back({text, count});
          }
          i = j;
        }
        flush();
        if (Encoding != TTextEncoding::Cp932 && !out.empty())
          out = EncodeText(std::move(out), Encoding, false);
        std::unique_lock<std::mutex> hold(lock);
        turn.wait(hold, [&] { return next == piece || stop; });
        if (stop) return;
        rows += pieceRows;
        if (!out.empty()) {
          // The byte order mark goes before the first text written.
          if (bom && !write(ByteOrderMark(Encoding))) stop = output.WriteFailed = true;
          bom = false;
          if (!stop && !write(out)) stop = output.WriteFailed = true;
        }
        ++next;
        turn.notify_all();
      } catch (...) {
        // The others wait for this piece's turn no more.
        const std::lock_guard<std::mutex> hold(lock);
        stop = true;
        turn.notify_all();
        throw;
      }
    }
  });
  const std::size_t total = n;
  output.Summary =
      BatchSummary(Options.Language, !Options.Similar,
                   static_cast<long long>(std::min<std::size_t>(total, INT32_MAX)), rows);
  return output;
}

}  // namespace tavrin
