#include "app/clipboard_lines.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "engine/char_folding.h"

namespace tavrin {
namespace {

// Position of the first CR or LF at or after i, or n. Eight bytes at a time
// skip words that hold no byte below 0x0E (the test may only err towards a
// bytewise look).
std::size_t NextBreak(const char* b, std::size_t i, std::size_t n) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  constexpr std::uint64_t kHigh = 0x8080808080808080ull;
  for (;;) {
    while (i + 8 <= n) {
      std::uint64_t w;
      std::memcpy(&w, b + i, 8);
      if (((w - kOnes * 0x0E) & ~w & kHigh) != 0) break;
      i += 8;
    }
    const std::size_t stop = std::min(i + 8, n);
    for (; i < stop; ++i) {
      if (b[i] == '\r' || b[i] == '\n') return i;
    }
    if (i == n) return n;
  }
}

}  // namespace

TClipboardLines TClipboardLines::Split(std::string Text) {
  TClipboardLines lines;
  if (const void* nul = std::memchr(Text.data(), '\0', Text.size())) {
    Text.resize(static_cast<std::size_t>(static_cast<const char*>(nul) - Text.data()));
  }
  lines.FBuffer = std::move(Text);
  const std::string& b = lines.FBuffer;
  const std::size_t n = b.size();
  lines.FSpans.reserve(static_cast<std::size_t>(std::count(b.begin(), b.end(), '\n')) + 1);
  std::size_t start = 0;
  for (std::size_t i = NextBreak(b.data(), 0, n); i < n; i = NextBreak(b.data(), start, n)) {
    lines.FSpans.push_back({start, i - start});
    if (b[i] == '\r' && i + 1 < n && b[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < n) lines.FSpans.push_back({start, n - start});
  return lines;
}

std::vector<std::string> TClipboardLines::ToVector() const {
  std::vector<std::string> result;
  result.reserve(size());
  for (std::size_t i = 0; i < size(); ++i) result.emplace_back((*this)[i]);
  return result;
}

void TClipboardLines::JoinQuotedCells() {
  const std::size_t count = FSpans.size();
  for (std::size_t i = 0; i + 1 < count; ++i) {
    TSpan& first = FSpans[i];
    TSpan& second = FSpans[i + 1];
    if (first.Length == 0 || FBuffer[first.Start] != '"') continue;
    if (second.Length == 0 || FBuffer[second.Start + second.Length - 1] != '"') continue;
    // Each line is changed at most once and a line break separated the two,
    // so the second part fits behind the first within the buffer.
    const std::size_t tail = second.Length - 1;
    std::memmove(&FBuffer[first.Start + first.Length], &FBuffer[second.Start], tail);
    first.Start += 1;
    first.Length = first.Length - 1 + tail;
    second.Length = 0;
  }
}

void TClipboardLines::RemoveBlankLines() {
  const auto blank = [this](const TSpan& span) {
    if (span.Length == 0) return true;
    // A first byte above 0x20 that cannot start a full-width space is a
    // character no trim removes: the common case needs no TrimBlanks.
    const auto first = static_cast<unsigned char>(FBuffer[span.Start]);
    if (first > 0x20 && first != 0x81) return false;
    return TrimBlanksView(std::string_view(FBuffer.data() + span.Start, span.Length)).empty();
  };
  FSpans.erase(std::remove_if(FSpans.begin(), FSpans.end(), blank), FSpans.end());
}

TClipboardLines ClipboardLines(std::string Text) {
  TClipboardLines lines = TClipboardLines::Split(std::move(Text));
  lines.JoinQuotedCells();
  lines.RemoveBlankLines();
  return lines;
}

}  // namespace tavrin
