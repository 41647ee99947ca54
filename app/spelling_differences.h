#pragma once
// How a variant's spelling differs from its canonical one, character by
// character: which kinds of difference the folding bridged, and which of the
// variant's characters differ. For the list's tool-tips and highlights.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/unique_manager.h"

namespace tavrin {

enum TDifferenceKind : unsigned {
  kWidth = 1,          // 全角/半角
  kKanaKind = 2,       // ひらがな/カタカナ
  kCase = 4,           // 大文字/小文字
  kSmallKana = 8,      // 小書き文字
  kLongVowel = 16,     // 長音/ハイフン
  kTrailingMark = 32,  // 末尾の長音/ハイフン
  kBlank = 64,         // 空白
  // The kinds of variants (TVariantKind << 7).
  kKanjiForm = 128,        // 異体字
  kCompatChar = 256,       // 互換文字
  kSpaceDot = 512,         // 空白・中点
  kSymbolKind = 1024,      // 記号
  kKanaSpelling = 2048,    // カナ表記
  kCompanyForm = 4096,     // 法人格
  kNumberForm = 8192,      // 数字表記
  kOkuriganaForm = 16384,  // 送り仮名・かな書き
  // What the key folding joins besides.
  kOldKana = 32768,  // 旧仮名: ヰ ヱ ゐ ゑ against イ エ い え
  kSoundMark =
      65536,  // 濁点: a separate or combining sound mark against a voiced kana, or each other
  kWaveDash = 131072,  // 波ダッシュ: 〜 against ～
  kCodeTwin =
      262144,  // 別コードの同じ字: − — ‖ ¢ £ ¬ ¥ ‾ against the CP932 character they are read as
};
inline constexpr unsigned kVariantKindShift = 7;

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

// Variant and Canonical are texts of one key (CP932); Hyphen and Variants
// (TVariantKind bits) are the options the key was built with. The outer
// blanks and a trailing mark, which the key may drop, are compared on their
// own; the rest is aligned at grapheme clusters by what each folds to, so
// that a spelling of another length (㈱ against 株式会社) is one part and
// the text around it matches. Where the alignment would need too many
// insertions and deletions for its length, the differing middle is one part.
TSpellingDifferences CompareSpellings(std::string_view Variant, std::string_view Canonical,
                                      bool Hyphen, unsigned Variants = 0);

// The names of the kinds, in the order of TDifferenceKind, joined by "、"
// (CP932).
std::string DifferenceKindNames(unsigned Kinds);

// The kinds of variants (as TDifferenceKind bits) that Manager's key needs
// to join Variant and Canonical: each of its FVariants without which their
// keys differ; when no single one is needed (two kinds bridge the same
// difference), those that change either text's key. 0 when the keys agree
// without any kind of variants.
unsigned VariantDifferenceKinds(const TUniqueManager& Manager, std::string_view Variant,
                                std::string_view Canonical);

// CompareSpellings' kinds with those of VariantDifferenceKinds.
unsigned AllDifferenceKinds(const TUniqueManager& Manager, std::string_view Variant,
                            std::string_view Canonical);

}  // namespace tavrin
