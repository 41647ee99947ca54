#pragma once
// How a variant's spelling differs from its canonical one, character by
// character: which kinds of difference the folding bridged, and which of the
// variant's characters differ. For the list's tool-tips and highlights.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

enum TDifferenceKind : unsigned {
  kWidth = 1,          // 全角/半角
  kKanaKind = 2,       // ひらがな/カタカナ
  kCase = 4,           // 大文字/小文字
  kSmallKana = 8,      // 小書き文字
  kLongVowel = 16,     // 長音/ハイフン
  kTrailingMark = 32,  // 末尾の長音/ハイフン
  kBlank = 64,         // 空白
};

struct TSpellingDifference {
  std::size_t Start = 0, Length = 0;  // the differing bytes of the variant
  std::string Canonical;              // what the canonical has there (may be empty)
};

struct TSpellingDifferences {
  unsigned Kinds = 0;  // TDifferenceKind bits
  // In text order, apart from one another; each begins and ends at a
  // grapheme cluster's edge (util/clusters.h), so a highlight never parts a
  // base from its combining marks.
  std::vector<TSpellingDifference> Parts;
};

// Variant and Canonical are texts of one key (CP932); Hyphen is the option
// the key was built with. Characters are matched by what each folds to; the
// outer blanks and a trailing mark, which the key may drop, are compared on
// their own.
TSpellingDifferences CompareSpellings(std::string_view Variant, std::string_view Canonical, bool Hyphen);

// The names of the kinds, in the order of TDifferenceKind, joined by "、"
// (CP932).
std::string DifferenceKindNames(unsigned Kinds);

}  // namespace tavrin
