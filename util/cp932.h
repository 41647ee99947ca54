#pragma once
// The one codec between Unicode text (UTF-8 here) and the CP932 bytes the
// engine works on. Decoding and encoding follow the Microsoft CP932 table
// (util/cp932_table.h, generated); for a character with several codes (the
// NEC and IBM duplicates) encoding picks the code CP932 itself picks.
//
// Every character CP932 cannot represent has a fixed internal form, the same
// in every run and for every input, so it survives the round trip unaltered
// and stays distinct from every other character. The forms use the rows of
// the lead bytes CP932 leaves wholly unassigned (kUnassignedLeadBytes):
//   - a few characters that stand on other platforms for a CP932 character
//     Windows writes with another code point (U+301C for ～, U+2212 for －,
//     the combining sound marks for ゛ and ゜ ...) have one fixed code each
//     and a twin: the CP932 character folding treats them as, while the text
//     keeps the character itself for display and copying;
//   - any other scalar value v is three codes: 0xEF 0x41+plane, then the
//     digit codes of v's two low bytes (the middle byte first);
//   - a code of those rows read from CP932 input (some Shift-JIS variants
//     use them) is escaped as 0xEF 0x40 and the code itself, so it keeps its
//     bytes, folds like nothing and never equals an internal form.
// CharLength (util/sjis.h) knows these sequences: the engine treats each as
// one character.
//
// Decoding bytes that are not CP932 or a well-formed internal form gives
// U+FFFD: an unassigned code, an escaped code, a lead byte at the end or
// before a byte that cannot follow it (that byte decodes on its own).
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "util/sjis.h"

namespace tavrin::cp932 {

struct EncodeResult {
  std::string bytes;         // CP932 with internal forms
  std::size_t replaced = 0;  // characters that became "?"
};

// UTF-8 to the engine's text. Each invalid UTF-8 sequence (a maximal
// ill-formed part) becomes "?" and counts as one replaced character; every
// scalar value is kept.
EncodeResult FromUtf8(std::string_view utf8);

// UTF-16 (the clipboard's text in both windows) to the engine's text: the
// bytes FromUtf8 gives for the same characters. A lone surrogate (no
// character at all, so nothing can keep it) becomes "?" and counts as one
// replaced character. A large text is encoded in pieces on all cores. The
// bytes are written into Room's memory when it holds enough (an earlier
// text's, whose pages are then not faulted in again).
EncodeResult FromUtf16(std::u16string_view utf16, std::string Room = {});

// The engine's text to UTF-8; every character FromUtf8 kept decodes to its
// original.
std::string ToUtf8(std::string_view cp932);

// The end of the ASCII bytes from I on: the first place at or after I that
// holds a byte of 0x80 or above, or S.size(). Looks at eight bytes at a time.
std::size_t AsciiEnd(std::string_view S, std::size_t I = 0);

// Where the first ill-formed UTF-8 sequence starts (overlong forms,
// surrogates, values above U+10FFFF and stray bytes included), if any.
std::optional<std::size_t> FirstInvalidUtf8(std::string_view utf8);

// CP932 input bytes to the engine's text: codes of the unassigned rows are
// escaped, everything else is kept as it is.
std::string FromCp932(std::string cp932);
// The first place at or after a character start where a code of an
// unassigned row begins (FromCp932 escapes from there), or s.size() when
// FromCp932 leaves s as it is.
std::size_t FirstUnassignedCode(std::string_view s);

// The engine's text to CP932 bytes: escaped codes are restored, byte for
// byte. A character CP932 cannot hold (none arises from CP932 input) becomes
// "?" and is counted.
EncodeResult ToCp932(std::string text);

// Which codes of the unassigned rows a text holds at its character starts:
// escaped codes of CP932 input, and any other (internal forms, or such codes
// unescaped).
struct UnassignedCodes {
  bool escaped = false;
  bool other = false;
};
UnassignedCodes FindUnassignedCodes(std::string_view text);

// The text with every escaped code in place of its escape (the rest as it
// is): for text from CP932 input, the bytes as given.
std::string WithoutEscapes(std::string_view text);

// Appends scalar value c as UTF-8.
void AppendUtf8(std::string& out, char32_t c);

// CP932 bytes of a literal of the program's own (captions, messages) that
// is written in UTF-8 in the source.
std::string Sjis(std::string_view utf8);

// The byte that stands for a character that could not be kept.
inline constexpr char kReplacement = '?';

// The lead bytes of the rows CP932 leaves wholly unassigned, in the order of
// their codes' indexes: trail bytes 0x40-0x7E and 0x80-0xFC, row by row.
inline constexpr unsigned char kUnassignedLeadBytes[] = {0x85, 0x86, 0xEB, 0xEC, 0xEF};
inline constexpr std::size_t kRowCodeCount = 188;
inline constexpr std::size_t kUnassignedCodeCount = std::size(kUnassignedLeadBytes) * kRowCodeCount;

// The index-th code of the unassigned rows, as lead << 8 | trail.
constexpr unsigned UnassignedCode(std::size_t index) noexcept {
  const std::size_t t = index % kRowCodeCount;
  return unsigned(kUnassignedLeadBytes[index / kRowCodeCount]) << 8 |
         unsigned(t < 63 ? 0x40 + t : 0x80 + (t - 63));
}

// The index of a code (lead << 8 | trail) among them, or -1.
constexpr int UnassignedIndex(unsigned code) noexcept {
  const unsigned lead = code >> 8, trail = code & 0xFF;
  for (std::size_t row = 0; row < std::size(kUnassignedLeadBytes); ++row) {
    if (kUnassignedLeadBytes[row] != lead) continue;
    if (trail >= 0x40 && trail <= 0x7E) return int(row * kRowCodeCount + (trail - 0x40));
    if (trail >= 0x80 && trail <= 0xFC) return int(row * kRowCodeCount + 63 + (trail - 0x80));
    return -1;
  }
  return -1;
}

// Digit d (0-255) of a plane sequence is the code of index kDigitIndex + d
// (0xEB40-0xEC84), so plane sequences sort by scalar value.
inline constexpr std::size_t kDigitIndex = 2 * kRowCodeCount;

struct FixedCode {
  char32_t character;
  unsigned code;          // lead << 8 | trail, one of the first unassigned codes
  std::string_view twin;  // the CP932 character it folds as
};

// The fixed codes, the first unassigned codes in order.
inline constexpr FixedCode kFixedCodes[] = {
    {U'\u301C', 0x8540, "\x81\x60"},  // WAVE DASH as ～ FULLWIDTH TILDE
    {U'\u2212', 0x8541, "\x81\x7C"},  // MINUS SIGN as － FULLWIDTH HYPHEN-MINUS
    {U'\u2016', 0x8542, "\x81\x61"},  // DOUBLE VERTICAL LINE as ∥ PARALLEL TO
    {U'\u2014', 0x8543, "\x81\x5C"},  // EM DASH as ― HORIZONTAL BAR
    {U'\u00A2', 0x8544, "\x81\x91"},  // CENT SIGN as ￠
    {U'\u00A3', 0x8545, "\x81\x92"},  // POUND SIGN as ￡
    {U'\u00AC', 0x8546, "\x81\xCA"},  // NOT SIGN as ￢
    {U'\u00A5', 0x8547, "\x81\x8F"},  // YEN SIGN as ￥
    {U'\u203E', 0x8548, "~"},         // OVERLINE as the single-byte tilde
    {U'\u3099', 0x8549, "\x81\x4A"},  // COMBINING VOICED SOUND MARK as ゛
    {U'\u309A', 0x854A, "\x81\x4B"},  // COMBINING SEMI-VOICED SOUND MARK as ゜
};
inline constexpr std::size_t kFixedCodeCount = std::size(kFixedCodes);

// The CP932 twin of a fixed code (lead << 8 | trail); empty for any other.
constexpr std::string_view FoldTwin(unsigned code) noexcept {
  if (code < kFixedCodes[0].code || code > kFixedCodes[kFixedCodeCount - 1].code) return {};
  return kFixedCodes[code - kFixedCodes[0].code].twin;
}

}  // namespace tavrin::cp932
