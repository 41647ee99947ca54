#pragma once
// Optional folds of a comparison key for more kinds of variants: kanji forms,
// compatibility characters, blanks and middle dots, symbol families,
// katakana spellings, company forms, the forms of numbers and okurigana. Each works on a key that
// the width, case and small-kana folding (FoldKeyInto) has already made, so that its tables see one
// form of each kana, letter and digit.
//
// Every combination of kinds is idempotent: folding its result again
// changes nothing.
#include <cstdint>
#include <future>
#include <string>
#include <string_view>

namespace tavrin {

enum TVariantKind : unsigned {
  kVariantKanji = 1,  // 異体字: 澤/沢, 髙/高, 佐々木/佐佐木, variation selectors, radicals
  kVariantCompat = 2,  // 互換文字: ①/1, ㍻/平成, ㈱/(株), CP932's duplicate codes
  kVariantSpace =
      4,  // 空白・中点: blanks inside the line and middle dots, but between digits or Latin letters
  kVariantSymbol = 8,  // 記号: dashes, tildes, quotes; ー between digits
  kVariantKana = 16,  // カナ表記: ヰ/イ, ゝ ゞ, ヶ/ケ/ヵ/カ between kanji; ヴァ/バ, ヂ/ジ, ヲ/オ
                      // only in the words of a table
  kVariantCompany =
      32,  // 法人格: 株式会社/(株)/㈱/カ) at the start, likewise at the end, 株式会社/㈱ inside
  kVariantNumber = 64,  // 数字表記: 一丁目/1丁目, 十二月/12月 before a counter; 3ヶ月/3か月;
                        // 1丁目2番3号/1-2-3; ℡/TEL
  kVariantOkurigana =
      128,  // 送り仮名・かな書き: 申込/申し込み, 子ども/子供, ください/下さい, words of a table
};
inline constexpr unsigned kAllVariantKinds = 255;
inline constexpr unsigned kVariantKindCount = 8;

// The kinds' names on the batch's command line, in bit order.
inline constexpr std::string_view kVariantKindNames[kVariantKindCount] = {
    "kanji", "compat", "space", "symbol", "kana", "company", "number", "okurigana"};

// Folds Key, which FoldKeyInto(Text, Hyphens, ...) made, by Kinds; returns
// Key itself when nothing changes (always for Kinds 0), else a view of Out,
// where the folded key is made. The tables of a
// combination are made on its first use and kept; any thread may call this.
std::string_view FoldVariantsInto(std::string_view Key, unsigned Kinds, bool Hyphens,
                                  std::string& Out);
std::string FoldVariants(std::string_view Key, unsigned Kinds, bool Hyphens);

// The same in two steps, for keys made in bulk: the combination's folder,
// its marks for FoldKeyIntoMarked (engine/char_folding.h), and the fold of a
// key that FoldKeyIntoMarked made, told whether it found a marked character
// (without one only the company forms are looked for).
class TVariantFolder;
const TVariantFolder& VariantFolder(unsigned Kinds, bool Hyphens);
const std::uint64_t* VariantMarks(const TVariantFolder& Folder);
std::string_view FoldVariantsInto(const TVariantFolder& Folder, std::string_view Key, bool Marked,
                                  std::string& Out);
// Faster still where every character of Text folds on its own: the key
// folding (width, case, small kana, hyphens) and the kinds' folds but the
// company forms in one pass into the start of Out (grown as needed, never
// shrunk); returns the length, or npos when a character needs its
// neighbours. Finish comes back 0 when the key is done; else
// FoldVariantCompanyForms, given it, finishes: kFinishForms when a company
// form may stand at an end or a number's form in the line,
// kFinishOkurigana when a word of the okurigana table may change the key.
inline constexpr unsigned kFinishForms = 1, kFinishOkurigana = 2;
std::size_t VariantFoldText(const TVariantFolder& Folder, std::string_view Text, std::string& Out,
                            unsigned& Finish);
std::string_view FoldVariantCompanyForms(const TVariantFolder& Folder, std::string_view Key,
                                         unsigned Finish, std::string& Out);

// How far Text (CP932) stands from the standard spelling, for choosing a
// group's canonical text on a tie: the lower the better. In order of
// weight: no full company form (株式会社, not (株), ㈱ or カ)), half-width
// kana, a compatibility character (①, ㍻), a kanji's variant form (髙), a
// spelling the okurigana kind maps to a word's standard one (申込, 子ども).
unsigned NonstandardForms(std::string_view Text);

// Makes on another thread the folders a run will ask for first, so that
// the asking finds them made: those of Kinds (none when 0), and with
// Canonical the one NonstandardForms reads. A failure is left to the asking.
// The future waits for the work when it goes.
std::future<void> MakeFoldersAhead(unsigned Kinds, bool Hyphens, bool Canonical);

}  // namespace tavrin
