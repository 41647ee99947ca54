// The items' comparison keys: made in one pass over the new items, into one
// store; a key that equals its text (most plain ASCII lines) takes no bytes.
#include <stdexcept>

#include "engine/char_folding.h"
#include "engine/unique_manager.h"
#include "util/parallel.h"
#include "util/sjis.h"

namespace tavrin {
namespace {

// Base without one trailing hyphen or long-vowel mark, looking at its last
// whole character.
std::string WithoutTrailingMark(std::string base, bool hyphenFolded) {
  if (base.empty()) return base;
  const std::size_t n = base.size();
  const bool lastIsSingle = IsCharacterStart(base, n - 1);
  std::string_view last =
      lastIsSingle ? std::string_view(base).substr(n - 1) : std::string_view(base).substr(n - 2);
  bool mark = last == "-";
  if (!hyphenFolded) mark = mark || last == "\xB0" || last == "\x81\x7C" || last == "\x81\x5B";
  if (mark) base.resize(n - last.size());
  return base;
}

// Whether every option gives Text itself as its key, seen from its bytes
// alone: ASCII without capitals (no folding applies), no byte of 0x20 or
// below at either end (no trimming) and no trailing hyphen.
bool KeyIsText(std::string_view Text) {
  if (Text.empty()) return false;
  const auto first = static_cast<unsigned char>(Text.front());
  const auto last = static_cast<unsigned char>(Text.back());
  if (first <= 0x20 || last <= 0x20 || last == '-') return false;
  for (const char c : Text) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x80 || (b >= 'A' && b <= 'Z')) return false;
  }
  return true;
}

}  // namespace

std::string TUniqueManager::MakeKey(std::string_view Text) const {
  const std::string width = FoldWidth(Text);
  std::string base;
  if (FHyphen) {
    base = FoldHyphens(width);
    if (!FTrim) base = TrimControls(base);
  } else {
    base = FoldCaseAndSmallKana(width);
    if (FTrim) base = TrimControls(base);
  }
  return FHyphenTerminate ? WithoutTrailingMark(std::move(base), FHyphen) : base;
}

void TUniqueManager::MakeKeys() const {
  const std::size_t from = FKeys.size(), n = FCount - from;
  if (n == 0) return;
  // The parts fold their ranges at once, each into the key list's own
  // places; the first part's bytes go to the key store directly, the
  // others' to stores of their own that are appended in order.
  const unsigned width = n < (1u << 14) ? 1u : ParallelWidth();
  struct TPart {
    std::string Bytes;
    std::size_t Unplain = 0;
  };
  std::vector<TPart> parts(width);
  FKeys.resize(FCount);
  // The first part's store takes the others' keys afterwards.
  std::size_t reserveOthers = 0;
  for (std::size_t i = from + n / width; i < FCount; ++i) reserveOthers += Item(i).FTextSize + 5;
  try {
    RunParts(width, [&](unsigned p) {
      std::string& bytes = p == 0 ? FKeyBytes : parts[p].Bytes;
      // Room for every key at once: a key is never longer than its text, so
      // the store never grows by copying itself (untouched room costs
      // nothing).
      std::size_t room = 0;
      for (std::size_t i = from + n * p / width, last = from + n * (p + 1) / width; i < last; ++i)
        room += Item(i).FTextSize + 5;
      bytes.reserve(bytes.size() + room + (p == 0 ? reserveOthers : 0));
      const std::size_t base = bytes.size();
      for (std::size_t i = from + n * p / width, last = from + n * (p + 1) / width; i < last; ++i) {
        const std::string_view text = TextOf(i);
        std::string key;
        if (KeyIsText(text) || (key = MakeKey(text)) == text) {
          FKeys[i] = kSameAsText;
          parts[p].Unplain += !PlainKey(text);
          continue;
        }
        if (bytes.size() - base + key.size() + 5 >= kSameAsText)
          throw std::length_error("keys of 4 GiB or more");
        FKeys[i] = static_cast<std::uint32_t>(bytes.size() - base);
        for (std::size_t size = key.size(); ; size >>= 7) {
          bytes += static_cast<char>((size & 0x7F) | (size > 0x7F ? 0x80 : 0));
          if (size <= 0x7F) break;
        }
        bytes += key;
        parts[p].Unplain += !PlainKey(key);
      }
      if (p == 0) {
        for (std::size_t i = from, last = from + n / width; i < last; ++i) {
          if (FKeys[i] != kSameAsText) FKeys[i] += static_cast<std::uint32_t>(base);
        }
      }
    });
    for (unsigned p = 0; p < width; ++p) {
      if (p > 0) {
        if (FKeyBytes.size() + parts[p].Bytes.size() >= kSameAsText)
          throw std::length_error("keys of 4 GiB or more");
        const auto base = static_cast<std::uint32_t>(FKeyBytes.size());
        for (std::size_t i = from + n * p / width, last = from + n * (p + 1) / width; i < last;
             ++i) {
          if (FKeys[i] != kSameAsText) FKeys[i] += base;
        }
        FKeyBytes += parts[p].Bytes;
        parts[p].Bytes = {};
      }
      FUnplainKeys += parts[p].Unplain;
    }
  } catch (...) {
    FKeys.resize(from);  // the items keep no half-made keys
    throw;
  }
}

}  // namespace tavrin
