// The items' comparison keys: made in one pass over the new items, into one
// store; a key that equals its text (most plain ASCII lines) takes no bytes.
#include <stdexcept>

#include "engine/char_folding.h"
#include "engine/unique_manager.h"
#include "util/sjis.h"

namespace tavrin {
namespace {

// Base without one trailing hyphen or long-vowel mark, looking at its last
// whole character.
std::string WithoutTrailingMark(std::string base, bool hyphenFolded) {
  if (base.empty()) return base;
  const std::size_t n = base.size();
  const bool lastIsSingle = IsCharacterStart(base, n - 1);
  std::string_view last = lastIsSingle ? std::string_view(base).substr(n - 1) : std::string_view(base).substr(n - 2);
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
  if (FKeys.size() == FCount) return;
  FKeys.reserve(FCount);
  for (std::size_t i = FKeys.size(); i < FCount; ++i) {
    const std::string_view text = TextOf(i);
    if (KeyIsText(text)) {
      FKeys.push_back({kSameAsText, static_cast<std::uint32_t>(text.size())});
      continue;
    }
    const std::string key = MakeKey(text);
    if (key == text) {
      FKeys.push_back({kSameAsText, static_cast<std::uint32_t>(text.size())});
      continue;
    }
    if (FKeyBytes.size() + key.size() >= kSameAsText) throw std::length_error("keys of 4 GiB or more");
    FKeys.push_back({static_cast<std::uint32_t>(FKeyBytes.size()), static_cast<std::uint32_t>(key.size())});
    FKeyBytes += key;
  }
}

std::string_view TUniqueManager::KeyOf(std::size_t Index) const {
  if (Index >= FKeys.size()) MakeKeys();
  const TKeyRef k = FKeys[Index];
  if (k.At == kSameAsText) return TextOf(Index);
  return {FKeyBytes.data() + k.At, k.Size};
}

}  // namespace tavrin
