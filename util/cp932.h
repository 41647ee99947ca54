#pragma once
// The one codec between Unicode text (UTF-8 here) and the CP932 bytes the
// engine works on. Decoding and encoding follow the Microsoft CP932 table
// (util/cp932_table.cpp, generated); for a character with several codes (the
// NEC and IBM duplicates) encoding picks the code CP932 itself picks.
//
// A character CP932 cannot represent gets, for this run of the program, an
// opaque double-byte code from a row CP932 leaves unassigned, so it survives
// the round trip unaltered; only when those codes run out is it replaced by
// "?", and the result says how many were.
//
// A few characters stand on other platforms for a CP932 character that
// Windows writes with another code point (U+301C for ～, U+2212 for －, the
// combining sound marks for ゛ and ゜ ...). Each has a fixed opaque code and a
// twin: the CP932 character folding must treat it as, while the text keeps
// the character itself for display and copying.
//
// Decoding bytes that are not CP932: an unassigned code (or an opaque code
// not handed out in this run) gives U+FFFD, as does a lead byte at the end or
// before a byte that cannot follow it; that following byte decodes on its own.
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>

namespace tavrin::cp932 {

struct EncodeResult {
  std::string bytes;         // CP932
  std::size_t replaced = 0;  // characters that could not be given a code
};

// UTF-8 to CP932. Each invalid UTF-8 sequence (a maximal ill-formed part)
// becomes "?" and counts as one replaced character.
EncodeResult FromUtf8(std::string_view utf8);

// CP932 to UTF-8; every code FromUtf8 handed out decodes to its original.
std::string ToUtf8(std::string_view cp932);

// CP932 bytes of a literal of the program's own (captions, messages) that
// is written in UTF-8 in the source.
std::string Sjis(std::string_view utf8);

// The byte that stands for a character no code could be given.
inline constexpr char kReplacement = '?';

// Opaque codes come from the rows of these lead bytes, which CP932 leaves
// wholly unassigned, in this order, trail bytes 0x40-0x7E and 0x80-0xFC.
inline constexpr unsigned char kOpaqueLeadBytes[] = {0x85, 0x86, 0xEB, 0xEC, 0xEF};
inline constexpr std::size_t kOpaqueTrailCount = 188;
inline constexpr std::size_t kOpaqueCodeCount = std::size(kOpaqueLeadBytes) * kOpaqueTrailCount;

// The index-th opaque code, as lead << 8 | trail.
constexpr unsigned OpaqueCode(std::size_t index) noexcept {
  const std::size_t t = index % kOpaqueTrailCount;
  return unsigned(kOpaqueLeadBytes[index / kOpaqueTrailCount]) << 8 |
         unsigned(t < 63 ? 0x40 + t : 0x80 + (t - 63));
}

struct FixedCode {
  char32_t character;
  unsigned code;          // lead << 8 | trail, one of the first opaque codes
  std::string_view twin;  // the CP932 character it folds as
};

// The fixed codes, the first opaque codes in order.
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

// Opaque codes still free in this run.
std::size_t RunCodesLeft();

// Forgets the codes handed out in this run (for tests: a later decode of
// such a code gives U+FFFD).
void ResetRunCodes();

}  // namespace tavrin::cp932
