#pragma once
// Shift-JIS (code page 932) byte-string basics shared by every folder.
//
// The text the engine works on is CP932 bytes plus internal forms for what
// CP932 cannot write: short fixed sequences of codes from the rows CP932
// leaves wholly unassigned (below). Such a sequence is ONE character:
// anything that steps through characters, cuts, trims, highlights or
// compares characters must go by CharLength and never split one. The codec
// (util/cp932.h) gives every Unicode character outside CP932 its fixed
// form, and escapes codes of these rows read from CP932 input, so raw input
// never looks like a form.
#include <cstddef>
#include <string_view>

namespace tavrin {

// A byte 0x81-0x9F or 0xE0-0xFC starts a double-byte character.
constexpr bool IsLeadByte(unsigned char b) noexcept {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// A byte that may follow a lead byte in a CP932 code.
constexpr bool IsTrailByte(unsigned char b) noexcept {
  return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// The internal forms of the codec (util/cp932.h). They begin with the lead
// byte 0xEF, whose row CP932 leaves unassigned:
//   0xEF 0x40, then a code of an unassigned row: an escaped code of CP932
//     input (4 bytes);
//   0xEF 0x41+plane, then two digit codes (0xEB40-0xEC84, digits 0-255):
//     a Unicode scalar value outside CP932 (6 bytes).
inline constexpr unsigned char kSequenceLead = 0xEF;
inline constexpr unsigned char kEscapeTrail = 0x40;
inline constexpr unsigned char kPlaneTrail = 0x41;  // + plane 0-16

// A lead byte of a row CP932 leaves wholly unassigned.
constexpr bool IsUnassignedLead(unsigned char b) noexcept {
  return b == 0x85 || b == 0x86 || b == 0xEB || b == 0xEC || b == 0xEF;
}

// The digit (0-255) of the code at s[i], or -1 when it is not a digit code.
constexpr int DigitAt(std::string_view s, std::size_t i) noexcept {
  if (i + 1 >= s.size()) return -1;
  const auto lead = static_cast<unsigned char>(s[i]), trail = static_cast<unsigned char>(s[i + 1]);
  if (!IsTrailByte(trail)) return -1;
  const int t = trail < 0x7F ? trail - 0x40 : trail - 0x41;
  if (lead == 0xEB) return t;
  if (lead == 0xEC && t < 68) return 188 + t;
  return -1;
}

// Length in bytes of the character starting at s[i] (i < s.size()):
// - an internal form (above): its whole length, 4 or 6 bytes;
// - otherwise 2 for a lead byte with a byte after it (whatever that byte is),
//   else 1 (a lone lead byte at the end is one character).
// An internal form cut short is an ordinary double-byte character.
constexpr std::size_t CharLength(std::string_view s, std::size_t i) noexcept {
  const auto b = static_cast<unsigned char>(s[i]);
  if (!IsLeadByte(b) || i + 1 >= s.size()) return 1;
  if (b != kSequenceLead) return 2;
  const auto kind = static_cast<unsigned char>(s[i + 1]);
  if (kind == kEscapeTrail)
    return i + 3 < s.size() && IsUnassignedLead(static_cast<unsigned char>(s[i + 2])) &&
                   IsTrailByte(static_cast<unsigned char>(s[i + 3]))
               ? 4
               : 2;
  if (kind >= kPlaneTrail && kind <= kPlaneTrail + 16)
    return DigitAt(s, i + 2) >= 0 && DigitAt(s, i + 4) >= 0 ? 6 : 2;
  return 2;
}

// Whether Position (at most s.size()) starts a character when s is read
// from its beginning with CharLength. Looks back only over the lead-range
// bytes before Position and at most two codes further, so checking near the
// end of a long text is cheap.
constexpr bool IsCharacterStart(std::string_view s, std::size_t Position) noexcept {
  // The byte before a run of lead-range bytes always ends a character, so
  // the run's bytes pair up from its start.
  const auto pairsUp = [s](std::size_t p) {
    std::size_t run = 0;
    while (p > run && IsLeadByte(static_cast<unsigned char>(s[p - run - 1]))) ++run;
    return run % 2 == 0;
  };
  if (!pairsUp(Position)) return false;
  // Inside an internal form only when a form starting at most two codes
  // back reaches over Position.
  for (std::size_t back = 2; back <= 4 && back <= Position; back += 2) {
    const std::size_t at = Position - back;
    if (!IsUnassignedLead(static_cast<unsigned char>(s[at])) || !pairsUp(at)) return true;
    if (static_cast<unsigned char>(s[at]) == kSequenceLead && CharLength(s, at) > back)
      return false;
  }
  return true;
}

}  // namespace tavrin
