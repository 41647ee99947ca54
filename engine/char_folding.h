#pragma once
// Character folding of Shift-JIS (CP932) byte strings: the comparison keys of
// TUniqueManager rest on these. Width folding goes towards the half-width
// forms, size folding towards the small kana.
//
// Every routine takes arbitrary bytes. Characters are found by scanning from
// the start with CharLength (util/sjis.h): a lead byte (0x81-0x9F,
// 0xE0-0xFC) forms one character with the byte after it, whatever that byte
// is (NUL and invalid trail bytes included), except that the codec's
// internal sequences are one character each; a lead byte at the very end is
// a character of its own. A character that no table lists is copied
// unchanged.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "util/sjis.h"

namespace tavrin {

// One (source, replacement) pair of a folding table, as Shift-JIS bytes.
struct TFoldPair {
  std::string_view Source;
  std::string_view Replacement;
};

// The width table: 269 pairs, each a double-byte source and a replacement of
// one or two single-byte characters, in table order.
std::span<const TFoldPair> WidthTable();
// The small-kana table: 27 (large, small) pairs, in table order.
std::span<const TFoldPair> SmallKanaTable();

// Does nothing: the lookups behind the folding functions are computed by
// the compiler, so there is nothing to build or lock at run time. Kept for
// callers that prepare the folding before first use.
void BuildWidthTable();

// Applies the width table: full-width letters, digits, symbols and space to
// ASCII, kana to half-width katakana (a voiced kana to two characters).
// A text without a lead byte is returned unchanged.
std::string FoldWidth(std::string_view S);

// Lower-cases as the CP932 ANSI lower-casing does (each character whose
// simple lower-case form exists in CP932 becomes it), then applies the
// small-kana table.
std::string FoldCaseAndSmallKana(std::string_view S);

// FoldCaseAndSmallKana, then the long-vowel marks (0x81 0x5B and 0xB0)
// become "-".
std::string FoldHyphens(std::string_view S);

// FoldHyphens(FoldWidth(S)) when Hyphens, else
// FoldCaseAndSmallKana(FoldWidth(S)), in one pass without a string between:
// writes into Out, which has room for S.size() bytes (no character grows),
// and returns the number of bytes written.
std::size_t FoldKeyInto(std::string_view S, bool Hyphens, char* Out);
// The same, and Marked tells whether any character of S has its bit in
// Marks (65536 bits: a single byte by its value, a double-byte character by
// lead << 8 | trail); the codec's longer forms always count.
std::size_t FoldKeyIntoMarked(std::string_view S, bool Hyphens, char* Out,
                              const std::uint64_t* Marks, bool& Marked);

// Removes half-width and full-width blanks (0x20, 0x81 0x40) from both ends,
// and bytes of value 0x20 or below where the outer trims reach them. Empty
// when the text holds nothing but such bytes and full-width spaces.
std::string TrimBlanks(std::string_view Text);
// The same, as a view into Text (the result is always a substring).
std::string_view TrimBlanksView(std::string_view Text);
// True when Text's first byte alone shows that TrimBlanks leaves something:
// a byte above 0x20 that cannot start a full-width space. The common case
// of a blank-line test, without a walk over the text.
inline bool StartsUnblank(std::string_view Text) {
  if (Text.empty()) return false;
  const auto first = static_cast<unsigned char>(Text.front());
  return first > 0x20 && first != 0x81;
}

// Removes every leading and trailing byte of value 0x20 or below.
std::string_view TrimControls(std::string_view Text);

// True when any byte of the text is a lead byte; false for an empty text.
bool HasDoubleByteCharacter(std::string_view Text);

}  // namespace tavrin
