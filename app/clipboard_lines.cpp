#include "app/clipboard_lines.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <stdexcept>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/char_folding.h"
#include "util/parallel.h"

namespace tavrin {
namespace {

// Bit k set when byte k of the 16 at p is CR or LF.
std::uint32_t BreakMask(const char* p) {
#if defined(__SSE2__)
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i hits =
      _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\r')), _mm_cmpeq_epi8(v, _mm_set1_epi8('\n')));
  return static_cast<std::uint32_t>(_mm_movemask_epi8(hits));
#else
  std::uint32_t mask = 0;
  for (int k = 0; k < 16; ++k)
    mask |= static_cast<std::uint32_t>(p[k] == '\r' || p[k] == '\n') << k;
  return mask;
#endif
}

// Calls onBreak(i) for each CR or LF at i, in order, 16 bytes at a time.
template <class OnBreak>
void ForEachBreak(const char* b, std::size_t n, OnBreak onBreak) {
  std::size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    for (std::uint32_t mask = BreakMask(b + i); mask != 0; mask &= mask - 1) {
      onBreak(i + static_cast<std::size_t>(__builtin_ctz(mask)));
    }
  }
  for (; i < n; ++i) {
    if (b[i] == '\r' || b[i] == '\n') onBreak(i);
  }
}

// Where the line after the break at i starts: a CR LF pair is one break.
std::size_t AfterBreak(std::string_view b, std::size_t i) {
  return b[i] == '\r' && i + 1 < b.size() && b[i + 1] == '\n' ? i + 2 : i + 1;
}

// Writes the lines of Text[From, To) to Out, which has room for them (as
// many as LineCount gives): From starts a line, and To is Text's end or
// follows an LF. Facts gathers what the lines' first bytes show.
void WriteLineSpans(std::string_view Text, std::size_t From, std::size_t To, TLineSpan* Out,
                    TSplitFacts& Facts) {
  std::size_t start = From;
  bool quoted = false, maybeBlank = false;
  const auto add = [&](std::size_t end) {
    const std::string_view line = Text.substr(start, end - start);
    quoted |= !line.empty() && line.front() == '"';
    maybeBlank |= !StartsUnblank(line);
    *Out++ = {static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(end - start)};
  };
  ForEachBreak(Text.data() + From, To - From, [&](std::size_t k) {
    const std::size_t i = From + k;
    if (i < start) return;  // the LF of a CR LF already ended its line
    add(i);
    start = AfterBreak(Text, i);
  });
  if (start < To) add(To);
  Facts.Quoted |= quoted;
  Facts.MaybeBlank |= maybeBlank;
}

// How many lines WriteLineSpans writes for Text[From, To): one a break (an
// LF, or a CR no LF follows), and a last one that no break ends.
std::size_t LineCount(std::string_view Text, std::size_t From, std::size_t To) {
  const char* const p = Text.data();
  const std::size_t size = Text.size();
  std::size_t i = From, count = 0;
#if defined(__SSE2__)
  // Sixteen byte counters of breaks, each taking at most 255 blocks before
  // they are summed; a CR is a break unless the byte after it (read by a
  // second load, one byte on) is an LF.
  const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r'), zero = _mm_setzero_si128();
  const auto at = [&](std::size_t k) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + k));
  };
  while (i + 17 <= To) {
    __m128i counters = zero;
    for (int k = 0; k < 255 && i + 17 <= To; ++k, i += 16) {
      const __m128i v = at(i);
      const __m128i breaks =
          _mm_or_si128(_mm_cmpeq_epi8(v, lf),
                       _mm_andnot_si128(_mm_cmpeq_epi8(at(i + 1), lf), _mm_cmpeq_epi8(v, cr)));
      counters = _mm_sub_epi8(counters, breaks);
    }
    const __m128i sums = _mm_sad_epu8(counters, zero);
    count += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
             static_cast<std::size_t>(_mm_cvtsi128_si32(_mm_unpackhi_epi64(sums, sums)));
  }
#endif
  for (; i < To; ++i)
    count += p[i] == '\n' || (p[i] == '\r' && (i + 1 == size || p[i + 1] != '\n'));
  return count + (To > From && p[To - 1] != '\n' && p[To - 1] != '\r');
}

}  // namespace

std::size_t NulAt(std::string_view Text) {
  const char* const p = Text.data();
  const std::size_t n = Text.size();
  std::size_t i = 0;
#if defined(__SSE2__)
  // Sixty-four bytes at a time up to the block that holds a NUL, then
  // sixteen. (A C library's memchr may go byte by byte.)
  const __m128i zero = _mm_setzero_si128();
  const auto at = [&](std::size_t k) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + k));
  };
  for (; i + 64 <= n; i += 64) {
    const __m128i least =
        _mm_min_epu8(_mm_min_epu8(at(i), at(i + 16)), _mm_min_epu8(at(i + 32), at(i + 48)));
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(least, zero)) != 0) break;
  }
  for (; i + 16 <= n; i += 16) {
    if (const int mask = _mm_movemask_epi8(_mm_cmpeq_epi8(at(i), zero)))
      return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
  }
#endif
  const void* nul = std::memchr(p + i, '\0', n - i);
  return nul == nullptr ? n : static_cast<std::size_t>(static_cast<const char*>(nul) - p);
}

std::vector<TLineSpan> SplitLineSpans(std::string_view Text, TSplitFacts* Facts) {
  constexpr std::size_t kPiece = std::size_t{1}
                                 << 20;  // bytes; smaller parts are not worth a thread
  const std::size_t n = Text.size();
  const unsigned parts =
      static_cast<unsigned>(std::clamp<std::size_t>(n / kPiece, 1, ParallelWidth()));
  // Parts start behind an LF, where a line always starts. Each part counts
  // its lines, then writes them into its own range of the result, on a core
  // of its own.
  const std::vector<std::size_t> bounds =
      RunBounds(n, parts, [&](std::size_t at) { return Text[at - 1] != '\n'; });
  std::vector<std::size_t> first(parts + 1, 0);
  RunParts(parts, [&](unsigned p) { first[p + 1] = LineCount(Text, bounds[p], bounds[p + 1]); });
  for (unsigned p = 0; p < parts; ++p) first[p + 1] += first[p];
  std::vector<TLineSpan> spans(first[parts]);
  std::vector<TSplitFacts> facts(parts, TSplitFacts{false, false});
  RunParts(parts, [&](unsigned p) {
    WriteLineSpans(Text, bounds[p], bounds[p + 1], spans.data() + first[p], facts[p]);
  });
  TSplitFacts seen{false, false};
  for (const TSplitFacts& f : facts) {
    seen.Quoted |= f.Quoted;
    seen.MaybeBlank |= f.MaybeBlank;
  }
  if (Facts) *Facts = seen;
  return spans;
}

bool IsBlankLine(std::string_view Line) {
  return !StartsUnblank(Line) && TrimBlanksView(Line).empty();
}

TClipboardLines TClipboardLines::Split(std::string Text) {
  const std::size_t nul = NulAt(Text);
  return SplitAt(std::move(Text), nul);
}

TClipboardLines TClipboardLines::SplitAt(std::string Text, std::size_t Nul) {
  TClipboardLines lines;
  Text.resize(Nul);
  if (Text.size() >= kMaxText) throw std::length_error("clipboard text of 4 GiB or more");
  lines.FBuffer = std::make_shared<std::string>(std::move(Text));
  lines.FSpans = SplitLineSpans(*lines.FBuffer, &lines.FFacts);
  return lines;
}

std::vector<std::string> TClipboardLines::ToVector() const {
  std::vector<std::string> result;
  result.reserve(size());
  for (std::size_t i = 0; i < size(); ++i) result.emplace_back((*this)[i]);
  return result;
}

void TClipboardLines::JoinQuotedCells() {
  if (!FFacts.Quoted) return;
  if (FBuffer.use_count() > 1) {
    // Until its first join the pass changes nothing.
    if (!JoinsAny()) return;
    FBuffer = std::make_shared<std::string>(*FBuffer);
  }
  JoinInPlace();
}

bool TClipboardLines::JoinsAny() const {
  for (std::size_t i = 0; i + 1 < FSpans.size(); ++i)
    if (JoinsCells((*this)[i], (*this)[i + 1])) return true;
  return false;
}

void TClipboardLines::JoinInPlace() {
  std::string& buffer = *FBuffer;
  const std::size_t count = FSpans.size();
  for (std::size_t i = 0; i + 1 < count; ++i) {
    TSpan& first = FSpans[i];
    TSpan& second = FSpans[i + 1];
    if (!JoinsCells({buffer.data() + first.Start, first.Length},
                    {buffer.data() + second.Start, second.Length}))
      continue;
    // Each line is changed at most once and a line break separated the two,
    // so the second part fits behind the first within the buffer.
    const std::size_t tail = second.Length - 1;
    std::memmove(&buffer[first.Start + first.Length], &buffer[second.Start], tail);
    first.Start += 1;
    first.Length = static_cast<std::uint32_t>(first.Length - 1 + tail);
    second.Length = 0;
    FFacts.MaybeBlank = true;
  }
}

void TClipboardLines::RemoveBlankLines() {
  if (!FFacts.MaybeBlank) return;
  const auto blank = [this](const TSpan& span) {
    return IsBlankLine({FBuffer->data() + span.Start, span.Length});
  };
  FSpans.erase(std::remove_if(FSpans.begin(), FSpans.end(), blank), FSpans.end());
  FFacts.MaybeBlank = false;
}

TClipboardLineBlocks::TClipboardLineBlocks(std::string Text, std::size_t BlockBytes)
    : FAll(TClipboardLines::Split(std::string())),
      FBlockBytes(std::max<std::size_t>(BlockBytes, 1)) {
  Text.resize(NulAt(Text));
  if (Text.size() >= TClipboardLines::kMaxText)
    throw std::length_error("clipboard text of 4 GiB or more");
  FAll.FBuffer = std::make_shared<std::string>(std::move(Text));
}

std::size_t TClipboardLineBlocks::LineEnd(std::size_t Start) const {
  const std::string& b = *FAll.FBuffer;
  std::size_t i = Start;
  while (i < b.size() && b[i] != '\r' && b[i] != '\n') ++i;
  return i == b.size() ? i : AfterBreak(b, i);
}

bool TClipboardLineBlocks::Next(TClipboardLines& Block) {
  const std::string& b = *FAll.FBuffer;
  if (FAt >= b.size()) return false;
  // Whole lines up to about the block's size: the block ends behind a line
  // break (never between CR and LF).
  std::size_t end = std::min(b.size(), FAt + FBlockBytes);
  if (end < b.size()) {
    const void* lf = std::memchr(b.data() + end, '\n', b.size() - end);
    end = lf == nullptr ? b.size()
                        : static_cast<std::size_t>(static_cast<const char*>(lf) - b.data()) + 1;
  }
  // The block must end where the joining pass over the whole text would be
  // between rows. It starts so (the first block at the text's start, each
  // later one where the one before ended), so the pass over the block's
  // lines pairs them as the whole pass does; only when the block's last
  // line starts a row (it is not the second line of a cell) and opens a
  // cell that the line after the block closes does that line belong here.
  TSplitFacts facts;
  std::vector<TLineSpan> spans = SplitLineSpans(std::string_view(b).substr(FAt, end - FAt), &facts);
  const auto lineAt = [&](const TLineSpan& s) {
    return std::string_view(b).substr(FAt + s.Start, s.Length);
  };
  std::size_t i = 0;
  while (i + 1 < spans.size()) i += JoinsCells(lineAt(spans[i]), lineAt(spans[i + 1])) ? 2 : 1;
  if (i + 1 == spans.size() && end < b.size()) {
    const std::size_t nextEnd = LineEnd(end);
    std::size_t textEnd = nextEnd;
    while (textEnd > end && (b[textEnd - 1] == '\n' || b[textEnd - 1] == '\r')) --textEnd;
    if (JoinsCells(lineAt(spans[i]), std::string_view(b).substr(end, textEnd - end))) {
      spans.push_back(
          {static_cast<std::uint32_t>(end - FAt), static_cast<std::uint32_t>(textEnd - end)});
      end = nextEnd;
    }
  }
  Block.FBuffer = FAll.FBuffer;
  Block.FSpans = std::move(spans);
  Block.FFacts = facts;
  for (TLineSpan& span : Block.FSpans) span.Start += static_cast<std::uint32_t>(FAt);
  FAt = end;
  // Only this block's bytes move, and no one refers to them yet.
  Block.JoinInPlace();
  Block.RemoveBlankLines();
  return true;
}

TClipboardLines ClipboardLines(std::string Text, std::shared_ptr<const std::string>* Read) {
  std::shared_ptr<const std::string> whole;
  const std::size_t nul = NulAt(Text);
  // Not made const: the window takes an unshared text's memory back.
  if (Read && nul != Text.size()) whole = std::make_shared<std::string>(Text);
  TClipboardLines lines = TClipboardLines::SplitAt(std::move(Text), nul);
  if (Read) *Read = whole ? std::move(whole) : lines.FBuffer;
  lines.JoinQuotedCells();
  lines.RemoveBlankLines();
  return lines;
}

}  // namespace tavrin
