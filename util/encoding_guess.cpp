#include "util/encoding_guess.h"

#include <algorithm>
#include <cstdint>
#include <functional>
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

// Whether a code (a byte, or lead << 8 | trail) decodes: a bit a code.
bool Assigned(unsigned code) {
  static const std::vector<std::uint64_t> bits = [] {
    std::vector<std::uint64_t> b(0x10000 / 64);
    for (const cp932::table::Pair& p : cp932::table::kDecode)
      b[p.first / 64] |= std::uint64_t{1} << (p.first % 64);
    return b;
  }();
  return (bits[code / 64] >> (code % 64) & 1) != 0;
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

// The readings call Char with each character in turn.
template <class CharFn>
void Utf8Reading(std::string_view s, const CharFn& Char) {
  for (std::size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    // Well-formed here: the length follows from the first byte.
    const std::size_t n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    if (i + n > s.size()) break;
    char32_t c = n == 1 ? b : n == 2 ? b & 0x1F : n == 3 ? b & 0x0F : b & 0x07;
    for (std::size_t k = 1; k < n; ++k) c = c << 6 | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    Char(Utf8Char(c));
    i += n;
  }
}

// Stops before a lead byte at the end of S; Whole: S is all the text, and
// such a byte is a broken character.
template <class CharFn>
void Cp932Reading(std::string_view s, bool whole, const CharFn& Char) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
      Char(AsciiChar(b));
    } else if (b >= 0xA1 && b <= 0xDF) {
      Char(TChar{TKind::HalfKana});
    } else if (!IsLeadByte(b)) {      // NOLINT(bugprone-branch-clone): broken, like the last case
      Char(TChar{TKind::Fixed, -5});  // 0x80, 0xA0, 0xFD-0xFF
    } else if (i + 1 == s.size()) {
      if (whole) Char(TChar{TKind::Fixed, -5});
    } else if (const auto t = static_cast<unsigned char>(s[i + 1]); IsTrailByte(t)) {
      Char(TChar{TKind::Fixed, Cp932Weight(unsigned(b) << 8 | t)});
      ++i;
    } else {
      Char(TChar{TKind::Fixed, -5});
    }
  }
}

// The weight of one character between its neighbours l and r (a Break at
// either end of the text).
long WeighChar(const TChar& l, const TChar& c, const TChar& r) {
  long total = 0;
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
      if (beside([](const TChar& x) { return x.Kind == TKind::Ascii || x.Kind == TKind::Letter; }))
        total += 2;
      break;
    case TKind::Break:
    case TKind::Ascii:
    case TKind::Letter:
      break;
  }
  return total;
}

// Weighs the characters of a reading as they come: each once its right
// neighbour is known.
class TWeigher {
 public:
  void operator()(const TChar& Next) {
    if (FCount++ > 0) FTotal += WeighChar(FLeft, FCurrent, Next), FLeft = FCurrent;
    FCurrent = Next;
  }
  long Total() const {
    return FCount > 0 ? FTotal + WeighChar(FLeft, FCurrent, {TKind::Break}) : 0;
  }

 private:
  TChar FLeft{TKind::Break}, FCurrent{TKind::Break};
  std::size_t FCount = 0;
  long FTotal = 0;
};

}  // namespace

TReadingWeights WeighReadings(std::string_view Bytes, std::size_t Utf8End) {
  const std::string_view cp932 = Bytes.substr(0, kWeighedBytes);
  TWeigher utf8, cp932Weigher;
  Utf8Reading(Bytes.substr(0, std::min(Utf8End, kWeighedBytes)), std::ref(utf8));
  Cp932Reading(cp932, cp932.size() == Bytes.size(), std::ref(cp932Weigher));
  return {utf8.Total(), cp932Weigher.Total()};
}

}  // namespace tavrin
