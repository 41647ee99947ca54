#include "app/distinct_batch.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <charconv>
#include <climits>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include "app/batch_texts.h"
#include "engine/char_folding.h"
#include "engine/prefix_radix.h"
#include "engine/text_index.h"
#include "engine/unique_manager.h"
#include "util/byte_words.h"
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
using prefix_radix::SamePrefix;
constexpr std::size_t kMaxText = kKeyIsText;  // offsets keep 31 bits

using byte_words::kHighs;
using byte_words::kOnes;

// Asks the processor for the memory at P. GCC 12 leaves out a
// __builtin_prefetch whose address it read from memory in a loop such as
// these, so on x86 the instruction is written out.
inline void PrefetchAt(const void* P) {
#if defined(__x86_64__) || defined(__i386__)
  asm volatile("prefetcht0 %0" : : "m"(*static_cast<const char*>(P)));
#else
  __builtin_prefetch(P);
#endif
}

// The end of the line that starts at At: its CR or LF, or the text's end.
std::size_t LineEnd(std::string_view Text, std::size_t At) {
  const char* p = Text.data() + At;
  const char* const end = Text.data() + Text.size();
  // Eight bytes at a time while none is below 0x0E.
  std::uint64_t w;
  while (end - p >= 8 && (std::memcpy(&w, p, 8), ((w - kOnes * 0x0E) & ~w & kHighs) == 0)) p += 8;
  while (p != end && (static_cast<unsigned char>(*p) > '\r' || (*p != '\n' && *p != '\r'))) ++p;
  return static_cast<std::size_t>(p - Text.data());
}
// Behind the line break at End (CR, LF or CR LF), or the text's end.
std::size_t NextLine(std::string_view Text, std::size_t End) {
  if (End == Text.size()) return End;
  return End + (Text[End] == '\r' && End + 1 < Text.size() && Text[End + 1] == '\n' ? 2 : 1);
}

// A distinct text of the counted way: where its first line starts, and
// how many lines hold it.
struct TDistinct {
  std::uint32_t At, Count;
};

// The text, the keys and the comparisons of the entries. An entry's At is
// where its line starts, or with Distinct the number of its text there.
class TLines {
 public:
  TLines(std::string_view Text, const TUniqueManager& Keys, const TDistinct* Distinct = nullptr)
      : FText(Text), FKeys(Keys), FDistinct(Distinct) {}

  // Folding room for two keys at once, one per thread.
  struct TScratch {
    std::string A1, A2, B1, B2;
  };

  std::string_view Line(const TEntry& e) const {
    const std::size_t at = e.At & ~kKeyIsText;
    const std::size_t start = FDistinct != nullptr ? FDistinct[at].At : at;
    return FText.substr(start, LineEnd(FText, start) - start);
  }
  // Asks for the memory of the entry's line.
  void Prefetch(const TEntry& e) const {
    const std::size_t at = e.At & ~kKeyIsText;
    PrefetchAt(FText.data() + (FDistinct != nullptr ? FDistinct[at].At : at));
  }
  // How many lines the entry stands for.
  std::size_t Count(const TEntry& e) const {
    return FDistinct != nullptr ? FDistinct[e.At & ~kKeyIsText].Count : 1;
  }
  std::string_view Key(const TEntry& e, std::string_view Line, std::string& s1,
                       std::string& s2) const {
    return (e.At & kKeyIsText) != 0 ? Line : FKeys.KeyIn(Line, FKeys.FVariants, s1, s2);
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
  const TDistinct* FDistinct;
};

// Sorts the entries: the radix passes on the cores, whole comparisons for
// small buckets and for entries whose prefixes tie.
void SortEntries(const TLines& Lines, TEntry* entries, std::size_t n) {
  prefix_radix::SortOnCores(entries, n, [&] {
    return [&Lines, s = TLines::TScratch()](TEntry* first, TEntry* last, unsigned) mutable {
      std::sort(first, last,
                [&](const TEntry& a, const TEntry& b) { return Lines.Compare(a, b, s) < 0; });
    };
  });
}

// Calls Line(line, maybeText) for each kept line of Text that starts in
// [From, To) (To is a line's start or the text's end); maybeText: no byte
// above 0x7F and no capital, which may still mean a key that is the text
// itself. False when a line is one the path does not take, or Line said so.
template <class LineFn>
bool WalkLines(std::string_view Text, std::size_t From, std::size_t To, const LineFn& Line) {
  const char* const partEnd = Text.data() + To;
  for (std::size_t at = From; at < To;) {
    // One walk finds the line's end and what its bytes alone show of its key.
    const std::size_t start = at;
    unsigned bytes = 0;
    bool capital = false;
    const char* q = Text.data() + at;
    while (q != partEnd) {
      if (partEnd - q >= 8) {
        // Eight bytes at a time, up to the first below 0x0E (the lowest
        // flag of the test is exact: little-endian, it is the first byte).
        std::uint64_t w;
        std::memcpy(&w, q, 8);
        const std::uint64_t low = (w - kOnes * 0x0E) & ~w & kHighs;
        const int before = low == 0 ? 8 : std::countr_zero(low) / 8;
        const std::uint64_t head = before == 8 ? w : w & ((std::uint64_t{1} << (8 * before)) - 1);
        bytes |= (head & kHighs) != 0 ? 0x80u : 0u;
        // Capitals, where every byte is ASCII (else the flag does not
        // matter); the bytes cleared behind the head are no capitals.
        capital |= byte_words::AsciiCapitals(head) != 0;
        q += before;
        if (before == 8) continue;
      }
      const auto c = static_cast<unsigned char>(*q);
      if (c <= '\r' && (c == '\n' || c == '\r')) break;
      bytes |= c;
      capital |= static_cast<unsigned>(c - 'A') < 26u;
      ++q;
    }
    const std::size_t end = static_cast<std::size_t>(q - Text.data());
    const std::string_view line = Text.substr(start, end - start);
    at = NextLine(Text, end);
    // A line of blanks only is no line.
    if (!StartsUnblank(line) && TrimBlanksView(line).empty()) continue;
    // A key as long as the padded field is not plain; a quoted cell may
    // join the next line.
    if (line.size() >= kKeyField || line.front() == '"') return false;
    if (!Line(line, (bytes & 0x80) == 0 && !capital)) return false;
  }
  return true;
}

// The entry of a kept line (At: where it starts, or its number), or false
// when its key is one the path does not take. Keys' kinds of variants
// make the keys.
bool MakeEntry(std::string_view Line, bool MaybeText, std::uint32_t At, const TUniqueManager& Keys,
               std::string& s1, std::string& s2, TEntry& Entry) {
  std::string_view key = Line;
  // The collection's own rule for a key that equals its text: without
  // kinds of variants ASCII without capitals, no byte of 0x20 or below at
  // either end, no trailing hyphen; the kinds look at some ASCII too.
  const auto last = static_cast<unsigned char>(Line.back());
  bool keyIsText =
      MaybeText && static_cast<unsigned char>(Line.front()) > 0x20 && last > 0x20 && last != '-';
  if (keyIsText && Keys.FVariants != 0) keyIsText = KeyIsText(Line, Keys.FVariants);
  if (!keyIsText) {
    // A code of an unassigned row (escaped, or an internal form) sorts as
    // the bytes given: the collection knows how.
    if (cp932::FirstUnassignedCode(Line) != Line.size()) return false;
    key = Keys.KeyIn(Line, Keys.FVariants, s1, s2);
    keyIsText = key == Line;
    if (!PlainKey(key)) return false;
  }
  prefix_radix::SetPaddedPrefix(Entry, key.data(), key.size());
  Entry.At = At | (keyIsText ? kKeyIsText : 0);
  return true;
}

// Where the parts of Text start for width cores: behind a line feed, so
// that no line (nor CR LF) is split; the last is the text's end.
std::vector<std::size_t> PartStarts(std::string_view Text, unsigned width) {
  const std::size_t size = Text.size();
  std::vector<std::size_t> from(width + 1, size);
  from[0] = 0;
  for (unsigned p = 1; p < width; ++p) {
    const std::size_t at = std::max(from[p - 1], size * p / width);
    const void* lf = at < size ? std::memchr(Text.data() + at, '\n', size - at) : nullptr;
    from[p] = lf == nullptr
                  ? size
                  : static_cast<std::size_t>(static_cast<const char*>(lf) - Text.data()) + 1;
  }
  return from;
}

// The line breaks in [A, B): LFs, and CRs that no LF follows inside it
// (CR LF is one break); eight bytes at a step.
std::size_t LineBreaks(const char* A, const char* B) {
  std::size_t n = 0;
  const char* p = A;
  for (; B - p > 8; p += 8) {
    std::uint64_t w;
    std::memcpy(&w, p, 8);
    const std::uint64_t lf = byte_words::Equal(w, '\n'), cr = byte_words::Equal(w, '\r');
    // The LF flags moved onto the bytes before them, the next word's first
    // byte included.
    const std::uint64_t lfNext = lf >> 8 | std::uint64_t{p[8] == '\n'} << 63;
    // The flags are high bits: shifted to the low bits of their bytes and
    // summed into the top byte.
    n += static_cast<std::size_t>((((lf >> 7) + ((cr & ~lfNext) >> 7)) * kOnes) >> 56);
  }
  for (; p != B; ++p) n += *p == '\n' || (*p == '\r' && (p + 1 == B || p[1] != '\n'));
  return n;
}

// The entries of the kept lines of Text, in text order, one a line; none
// when a line is one the path does not take. Each part of the text is
// counted, then filled by a core of its own.
struct TFilled {
  std::unique_ptr<TEntry[]> Entries;
  std::size_t Count = 0;
  std::size_t Lines = 0;            // kept lines
  std::vector<TDistinct> Distinct;  // counted: the entries' texts
  bool Declined = false;
};
TFilled FillEntries(std::string_view Text, const TUniqueManager& Keys) {
  TFilled result;
  const unsigned width = Text.size() < (std::size_t{1} << 20) ? 1u : ParallelWidth();
  const std::vector<std::size_t> from = PartStarts(Text, width);
  std::vector<std::size_t> lines(width), kept(width);
  RunParts(width, [&](unsigned p) {
    // The line breaks, and a last line without one.
    const char* const a = Text.data() + from[p];
    const char* const b = Text.data() + from[p + 1];
    std::size_t count = LineBreaks(a, b);
    if (b == Text.data() + Text.size() && a != b && b[-1] != '\n' && b[-1] != '\r') ++count;
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
    const bool whole =
        WalkLines(Text, from[p], from[p + 1], [&](std::string_view line, bool maybeText) {
          if (!MakeEntry(line, maybeText, static_cast<std::uint32_t>(line.data() - Text.data()),
                         Keys, s1, s2, out[k]))
            return false;
          return (++k & 0xFFFF) != 0 || !declined.load(std::memory_order_relaxed);
        });
    if (!whole) declined = true;
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
  result.Lines = result.Count;
  return result;
}

// Whether the Size bytes at A and at B are equal: a short string (the usual
// line) in two overlapping loads a side, without a call.
bool SameBytes(const char* A, const char* B, std::size_t Size) {
  const auto load = [](const char* p, auto v) {
    std::memcpy(&v, p, sizeof v);
    return v;
  };
  if (Size > 16) return std::memcmp(A, B, Size) == 0;
  if (Size >= 8) {
    return load(A, std::uint64_t{}) == load(B, std::uint64_t{}) &&
           load(A + Size - 8, std::uint64_t{}) == load(B + Size - 8, std::uint64_t{});
  }
  if (Size >= 4) {
    return load(A, std::uint32_t{}) == load(B, std::uint32_t{}) &&
           load(A + Size - 4, std::uint32_t{}) == load(B + Size - 4, std::uint32_t{});
  }
  for (std::size_t i = 0; i < Size; ++i)
    if (A[i] != B[i]) return false;
  return true;
}

// The counting's hash table over the lines of one text: a slot holds 32
// bits of the line's hash, where its first copy starts and how many lines
// hold it (0: the slot is free). A look-up reads its slot and the text
// there, nothing else. The slots lie on pages of their own, given back
// when the table grows or goes.
class TCountTable {
 public:
  explicit TCountTable(std::string_view Text) : FText(Text) { Resize(kMinSlots); }
  TCountTable(const TCountTable&) = delete;
  TCountTable& operator=(const TCountTable&) = delete;
  ~TCountTable() { os::FreePages(FSlots, (FMask + 1) * sizeof(TSlot)); }

  std::size_t size() const { return FUsed; }
  // Asks for the slot a look-up of Hash reads first.
  void Prefetch(std::uint64_t Hash) const { __builtin_prefetch(&FSlots[Tag(Hash) & FMask]); }
  // Once that slot has come: asks for the text it holds, when it may be
  // the line's.
  void PrefetchText(std::uint64_t Hash) const {
    const TSlot& s = FSlots[Tag(Hash) & FMask];
    if (s.Count != 0 && s.Tag == Tag(Hash)) PrefetchAt(FText.data() + s.At);
  }
  // Counts Lines more of Line (a line of the text, Hash its HashBytes),
  // entering it when new.
  void Add(std::string_view Line, std::uint64_t Hash, std::uint32_t Lines) {
    const std::uint32_t tag = Tag(Hash);
    const auto at = static_cast<std::uint32_t>(Line.data() - FText.data());
    for (std::size_t i = tag & FMask;; i = (i + 1) & FMask) {
      TSlot& s = FSlots[i];
      if (s.Count == 0) {
        s = {tag, at, Lines};
        if (++FUsed > (FMask + 1) / 4 * 3) Resize((FMask + 1) * 2);
        return;
      }
      if (s.Tag == tag && Holds(s.At, Line)) {
        s.Count += Lines;
        return;
      }
    }
  }
  // Calls F(line, lines) for each line entered, asking for the lines'
  // memory a few slots ahead.
  template <class F>
  void ForEach(const F& f) const {
    for (std::size_t i = 0; i <= FMask; ++i) {
      if (const TSlot& ahead = FSlots[(i + 32) & FMask]; ahead.Count != 0)
        PrefetchAt(FText.data() + ahead.At);
      const TSlot& s = FSlots[i];
      if (s.Count != 0) f(FText.substr(s.At, LineEnd(FText, s.At) - s.At), s.Count);
    }
  }
  // Where the line of each slot starts, and its count; the table is empty
  // afterwards.
  std::vector<TDistinct> Take() const {
    std::vector<TDistinct> lines;
    lines.reserve(FUsed);
    for (std::size_t i = 0; i <= FMask; ++i)
      if (FSlots[i].Count != 0) lines.push_back({FSlots[i].At, FSlots[i].Count});
    return lines;
  }

 private:
  static constexpr std::size_t kMinSlots = 1 << 12;
  struct TSlot {
    std::uint32_t Tag, At, Count;
  };
  static std::uint32_t Tag(std::uint64_t Hash) { return static_cast<std::uint32_t>(Hash >> 32); }
  // Whether the line that starts at At is Line: the same bytes, then its
  // end. No line holds a line break.
  bool Holds(std::size_t At, std::string_view Line) const {
    const std::size_t n = Line.size(), end = At + n;
    if (end > FText.size() || !SameBytes(FText.data() + At, Line.data(), n)) return false;
    return end == FText.size() || FText[end] == '\n' || FText[end] == '\r';
  }
  void Resize(std::size_t Slots) {
    auto* fresh = static_cast<TSlot*>(os::AllocatePages(Slots * sizeof(TSlot)));
    if (fresh == nullptr) throw std::bad_alloc();
    // Look-ups read random slots before they write them: every page is
    // made writable at once rather than faulting twice.
    os::PrefaultZeroed(fresh, Slots * sizeof(TSlot));
    TSlot* const old = FSlots;
    const std::size_t oldSlots = old != nullptr ? FMask + 1 : 0;
    FSlots = fresh;
    FMask = Slots - 1;
    for (std::size_t k = 0; k < oldSlots; ++k) {
      if (old[k].Count == 0) continue;
      std::size_t i = old[k].Tag & FMask;
      while (FSlots[i].Count != 0) i = (i + 1) & FMask;
      FSlots[i] = old[k];
    }
    os::FreePages(old, oldSlots * sizeof(TSlot));
  }
  std::string_view FText;
  TSlot* FSlots = nullptr;
  std::size_t FMask = 0;
  std::size_t FUsed = 0;
};

// Whether a line's bytes alone may make it its own key (see WalkLines).
bool MaybeText(std::string_view Line) {
  return std::none_of(Line.begin(), Line.end(), [](char c) {
    return static_cast<unsigned char>(c) >= 0x80 || static_cast<unsigned>(c - 'A') < 26u;
  });
}

// The same with each distinct text once: every core counts the lines of
// its part of the text in tables of its own, one for each share of the
// hashes; then each core adds the later parts' tables of one share into
// the first part's and lists its texts; and the cores make the entries of
// the distinct texts, each entry's At the number of its text in Distinct.
TFilled CountEntries(std::string_view Text, const TUniqueManager& Keys) {
  TFilled result;
  const unsigned width = Text.size() < (std::size_t{1} << 20) ? 1u : ParallelWidth();
  const std::vector<std::size_t> from = PartStarts(Text, width);
  // tables[p * width + h]: the lines of part p whose hash is of share h.
  std::vector<std::unique_ptr<TCountTable>> tables(std::size_t{width} * width);
  for (auto& table : tables) table = std::make_unique<TCountTable>(Text);
  const auto share = [width](std::uint64_t hash) {
    return static_cast<unsigned>((hash & 0xFFFFFFFFu) * width >> 32);
  };
  std::vector<std::size_t> lines(width);
  std::atomic<bool> declined{false};
  RunParts(width, [&](unsigned p) {
    const auto table = [&](std::uint64_t hash) -> TCountTable& {
      return *tables[std::size_t{p} * width + share(hash)];
    };
    // A line is counted kAhead lines after its slot was asked for, and
    // half as many after the text in that slot was: the memory reads of
    // several lines overlap.
    constexpr std::size_t kAhead = 8;
    std::string_view ring[kAhead];
    std::uint64_t hash[kAhead];
    std::size_t pushed = 0;
    const bool whole = WalkLines(Text, from[p], from[p + 1], [&](std::string_view line, bool) {
      const std::size_t k = pushed % kAhead;
      if (pushed >= kAhead) table(hash[k]).Add(ring[k], hash[k], 1);
      if (pushed >= kAhead / 2) {
        const std::uint64_t h = hash[(pushed - kAhead / 2) % kAhead];
        table(h).PrefetchText(h);
      }
      ring[k] = line;
      hash[k] = HashBytes(line);
      table(hash[k]).Prefetch(hash[k]);
      return (++pushed & 0xFFFF) != 0 || !declined.load(std::memory_order_relaxed);
    });
    if (!whole) {
      declined = true;
      return;
    }
    for (std::size_t j = pushed > kAhead ? pushed - kAhead : 0; j < pushed; ++j)
      table(hash[j % kAhead]).Add(ring[j % kAhead], hash[j % kAhead], 1);
    lines[p] = pushed;
  });
  if (declined) {
    result.Declined = true;
    return result;
  }
  for (const std::size_t n : lines) result.Lines += n;
  std::vector<std::vector<TDistinct>> shares(width);
  RunParts(width, [&](unsigned h) {
    TCountTable& into = *tables[h];
    for (unsigned p = 1; p < width; ++p) {
      std::unique_ptr<TCountTable>& from = tables[std::size_t{p} * width + h];
      from->ForEach(
          [&](std::string_view line, std::uint32_t n) { into.Add(line, HashBytes(line), n); });
      from.reset();
    }
    shares[h] = into.Take();
    tables[h].reset();
  });
  std::size_t distinct = 0;
  for (const std::vector<TDistinct>& texts : shares) distinct += texts.size();
  result.Distinct.reserve(distinct);
  for (std::vector<TDistinct>& texts : shares) {
    result.Distinct.insert(result.Distinct.end(), texts.begin(), texts.end());
    texts = {};
  }
  const std::vector<TDistinct>& texts = result.Distinct;
  const std::size_t n = texts.size();
  result.Entries.reset(new TEntry[std::max<std::size_t>(n, 1)]);
  const unsigned keyWidth = n < (1u << 14) ? 1u : ParallelWidth();
  RunParts(keyWidth, [&](unsigned p) {
    std::string s1, s2;
    for (std::size_t i = n * p / keyWidth, end = n * (p + 1) / keyWidth; i < end; ++i) {
      if (i + 16 < end) PrefetchAt(Text.data() + texts[i + 16].At);
      const std::size_t at = texts[i].At;
      const std::string_view line = Text.substr(at, LineEnd(Text, at) - at);
      if (!MakeEntry(line, MaybeText(line), static_cast<std::uint32_t>(i), Keys, s1, s2,
                     result.Entries[i])) {
        declined = true;
        return;
      }
      if ((i & 0xFFFF) == 0 && declined.load(std::memory_order_relaxed)) return;
    }
  });
  result.Declined = declined;
  result.Count = n;
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
  // few thousand lines.
  std::vector<std::uint64_t> hashes;
  hashes.reserve(kDistinctSample);
  for (std::size_t at = 0; at < Text.size() && hashes.size() < kDistinctSample;) {
    const std::size_t end = LineEnd(Text, at);
    hashes.push_back(HashBytes(Text.substr(at, end - at)));
    at = NextLine(Text, end);
  }
  return MostlyDistinct(hashes);
}

bool DistinctBatchTakes(const TBatchOptions& Options) {
  return Options.Output == TBatchOptions::TOutput::Copy && Options.Dictionary.Rules.empty() &&
         !Options.Trim && Options.ExtractSort &&
         (Options.Similar || (Options.Zenkaku && Options.Upper));
}

std::optional<TBatchOutput> RunDistinctBatch(const TBatchOptions& Options, std::string_view Text,
                                             TTextEncoding Encoding, bool Bom,
                                             const TBatchWrite& Write, TDistinctWay Way) {
  if (!DistinctBatchTakes(Options) || Text.size() >= kMaxText) return std::nullopt;
  TUniqueManager keys;  // for its keys only
  keys.FZenkaku = Options.Zenkaku;
  keys.FUpper = Options.Upper;
  keys.FHyphen = Options.Hyphen;
  keys.FHyphenTerminate = Options.HyphenTerminate;
  keys.FVariants = Options.Similar ? Options.Folds : 0;
  TFilled filled =
      Way == TDistinctWay::Counted ? CountEntries(Text, keys) : FillEntries(Text, keys);
  if (filled.Declined) return std::nullopt;
  TEntry* const entries = filled.Entries.get();
  const std::size_t n = filled.Count;
  const TLines lines(Text, keys, Way == TDistinctWay::Counted ? filled.Distinct.data() : nullptr);
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
  constexpr std::size_t kPiece = 1 << 16, kLinesAhead = 16;
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
          // The lines lie in random order: each is asked for ahead.
          if (i + kLinesAhead < to) lines.Prefetch(entries[i + kLinesAhead]);
          const std::string_view text = lines.Line(entries[i]);
          std::size_t j = i + 1, lineCount = lines.Count(entries[i]);
          while (j < to && SamePrefix(entries[j], entries[i]) && lines.Line(entries[j]) == text)
            lineCount += lines.Count(entries[j++]);
          const auto count = static_cast<std::int32_t>(std::min<std::size_t>(lineCount, INT32_MAX));
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
  const std::size_t total = filled.Lines;
  output.Summary =
      BatchSummary(Options.Language, !Options.Similar,
                   static_cast<long long>(std::min<std::size_t>(total, INT32_MAX)), rows);
  return output;
}

}  // namespace tavrin
