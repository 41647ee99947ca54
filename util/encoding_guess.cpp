#include "util/encoding_guess.h"

#include <algorithm>
#include <vector>

#include "util/cp932_table.h"
#include "util/sjis.h"

namespace tavrin {
namespace {

// What a character of a reading is, for weighing it among its neighbours.
enum class TKind : unsigned char {
  Break,     // CR or LF: a line's edge, no company
  Ascii,     // any other ASCII character but a letter
  Letter,    // an ASCII letter
  Fixed,     // counts Weight whatever its neighbours
  HalfKana,  // CP932 half-width kana
  Script,    // a UTF-8 letter of two bytes, of script Script
  Mark,      // a UTF-8 combining mark, likely after a letter
  Symbol,    // a UTF-8 sign of Latin-1 (©, °, ±, ×), likely beside ASCII
};

struct TChar {
  TKind Kind;
  signed char Weight = 0;  // for Fixed
  unsigned short Script = 0;
};

// Scripts of the two-byte letters: Latin, Greek and Cyrillic (the last two
// are in CP932 too), and then one per block of 128 letters.
constexpr unsigned short kLatin = 0, kGreek = 1, kCyrillic = 2;

TChar AsciiChar(unsigned char b) {
  if (b == '\r' || b == '\n') return {TKind::Break};
  const unsigned char lower = b | 0x20;
  return {lower >= 'a' && lower <= 'z' ? TKind::Letter : TKind::Ascii};
}

TChar Utf8Char(char32_t c) {
  if (c < 0x80) return AsciiChar(static_cast<unsigned char>(c));
  if (c < 0xA0) return {TKind::Fixed, -5};  // C1 controls
  if (c < 0xC0 || c == 0xD7 || c == 0xF7) return {TKind::Symbol};
  if (c >= 0x300 && c < 0x370) return {TKind::Mark};
  if (c < 0x800) {
    const unsigned short script = c < 0x250   ? kLatin
                                  : c < 0x370 ? static_cast<unsigned short>(c >> 7)
                                  : c < 0x400 ? kGreek
                                  : c < 0x530 ? kCyrillic
                                              : static_cast<unsigned short>(c >> 7);
    return {TKind::Script, 0, script};
  }
  // Kana, CJK punctuation, kanji, full-width and half-width forms.
  if ((c >= 0x3000 && c < 0x3100) || (c >= 0x3400 && c < 0xA000) || (c >= 0xF900 && c < 0xFB00) ||
      (c >= 0xFF00 && c < 0xFFF0))
    return {TKind::Fixed, 4};
  if ((c >= 0xE000 && c < 0xF900) || (c >= 0xFFF0 && c < 0x10000))
    return {TKind::Fixed, -3};  // private use, specials
  // Punctuation and signs, enclosed and CJK compatibility forms, Hangul;
  // characters beyond the BMP (emoji, rare kanji).
  if ((c >= 0x2000 && c < 0x2C00) || (c >= 0x3100 && c < 0x3400) || (c >= 0xAC00 && c < 0xD7A4) ||
      c >= 0x10000)
    return {TKind::Fixed, 1};
  return {TKind::Fixed, 0};
}

bool Assigned(unsigned code) {
  const auto* end = cp932::table::kDecode + cp932::table::kDecodeSize;
  const auto* at =
      std::lower_bound(cp932::table::kDecode, end, code,
                       [](const cp932::table::Pair& p, unsigned c) { return p.first < c; });
  return at != end && at->first == code;
}

// A double-byte code of CP932 by its rows.
signed char Cp932Weight(unsigned code) {
  if (!Assigned(code)) return -5;
  if (code < 0x839F) return 2;                     // signs, digits, Latin, kana
  if (code < 0x84C0) return 1;                     // Greek, Cyrillic, box drawing
  if (code < 0x8800) return 1;                     // NEC signs (①, ㍻)
  if (code < 0x9873) return 2;                     // first level kanji
  if (code < 0xEAA5) return 1;                     // second level kanji
  if (code >= 0xF040 && code < 0xFA00) return -3;  // user-defined
  return 0;                                        // IBM and NEC-selected IBM kanji
}

std::vector<TChar> Utf8Reading(std::string_view s) {
  std::vector<TChar> chars;
  for (std::size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    // Well-formed here: the length follows from the first byte.
    const std::size_t n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    if (i + n > s.size()) break;
    char32_t c = n == 1 ? b : n == 2 ? b & 0x1F : n == 3 ? b & 0x0F : b & 0x07;
    for (std::size_t k = 1; k < n; ++k) c = c << 6 | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    chars.push_back(Utf8Char(c));
    i += n;
  }
  return chars;
}

// Stops before a lead byte at the end of S; Whole: S is all the text, and
// such a byte is a broken character.
std::vector<TChar> Cp932Reading(std::string_view s, bool whole) {
  std::vector<TChar> chars;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
      chars.push_back(AsciiChar(b));
    } else if (b >= 0xA1 && b <= 0xDF) {
      chars.push_back({TKind::HalfKana});
    } else if (!IsLeadByte(b)) {  // NOLINT(bugprone-branch-clone): broken, like the last case
      chars.push_back({TKind::Fixed, -5});  // 0x80, 0xA0, 0xFD-0xFF
    } else if (i + 1 == s.size()) {
      if (whole) chars.push_back({TKind::Fixed, -5});
    } else if (const auto t = static_cast<unsigned char>(s[i + 1]); IsTrailByte(t)) {
      chars.push_back({TKind::Fixed, Cp932Weight(unsigned(b) << 8 | t)});
      ++i;
    } else {
      chars.push_back({TKind::Fixed, -5});
    }
  }
  return chars;
}

long Weigh(const std::vector<TChar>& chars) {
  long total = 0;
  const TChar none{TKind::Break};
  for (std::size_t i = 0; i < chars.size(); ++i) {
    const TChar& c = chars[i];
    const TChar& l = i > 0 ? chars[i - 1] : none;
    const TChar& r = i + 1 < chars.size() ? chars[i + 1] : none;
    const auto beside = [&](auto is) { return is(l) || is(r); };
    switch (c.Kind) {
      case TKind::Fixed:
        total += c.Weight;
        break;
      case TKind::HalfKana:
        // Glued to a Latin letter, two kana are as likely a UTF-8 letter
        // (ﾃｩ is é); beside kanji, one alone is a piece of a misread one.
        if (beside([](const TChar& x) { return x.Kind == TKind::Letter; })) break;
        if (beside([](const TChar& x) { return x.Kind == TKind::HalfKana; })) {
          total += 1;
        } else if (beside([](const TChar& x) { return x.Kind == TKind::Fixed; })) {
          total -= 2;
        }
        break;
      case TKind::Script: {
        // In a word of its script a letter is likely; alone, one of Latin,
        // Greek or Cyrillic is rare (α, é), one of any other script rarer.
        const bool word = beside([&](const TChar& x) {
          return (x.Kind == TKind::Script && x.Script == c.Script) ||
                 (c.Script == kLatin && x.Kind == TKind::Letter);
        });
        total += c.Script <= kCyrillic ? (word ? 3 : -1) : (word ? 1 : -3);
        break;
      }
      case TKind::Mark:
        total += l.Kind == TKind::Letter || l.Kind == TKind::Script ? 3 : -3;
        break;
      case TKind::Symbol:
        if (beside(
                [](const TChar& x) { return x.Kind == TKind::Ascii || x.Kind == TKind::Letter; }))
          total += 2;
        break;
      case TKind::Break:
      case TKind::Ascii:
      case TKind::Letter:
        break;
    }
  }
  return total;
}

}  // namespace

TReadingWeights WeighReadings(std::string_view Bytes, std::size_t Utf8End) {
  const std::string_view cp932 = Bytes.substr(0, kWeighedBytes);
  return {Weigh(Utf8Reading(Bytes.substr(0, std::min(Utf8End, kWeighedBytes)))),
          Weigh(Cp932Reading(cp932, cp932.size() == Bytes.size()))};
}

}  // namespace tavrin
