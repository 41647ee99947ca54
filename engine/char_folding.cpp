#include "engine/char_folding.h"

#include <array>
#include <cstdint>
#include <memory>

#include "engine/lower_case_table.h"
#include "util/cp932.h"
#include "util/sjis.h"

namespace tavrin {
namespace {

// What one character becomes: Length 0 keeps it, otherwise Length bytes.
struct TCharFold {
  std::uint8_t Length = 0;
  char Bytes[2] = {};

  std::string_view View() const { return {Bytes, Length}; }
};

// A per-character lookup equivalent to applying a table's pairs one after
// another: every source is a whole character, and no replacement starts a
// character that another pair's source could match, so each character of
// the input is replaced at most once and boundaries stay where they were.
struct TCharMap {
  std::array<TCharFold, 256> Single{};   // by byte
  std::array<TCharFold, 65536> Double{};  // by lead * 256 + trail

  TCharFold& At(std::string_view ch) {
    auto b0 = static_cast<unsigned char>(ch[0]);
    if (ch.size() == 1) return Single[b0];
    return Double[b0 * 256u + static_cast<unsigned char>(ch[1])];
  }
  const TCharFold& Lookup(std::string_view ch) const {
    return const_cast<TCharMap*>(this)->At(ch);
  }
  void Set(std::string_view ch, std::string_view to) {
    TCharFold& f = At(ch);
    // A character listed twice keeps its first replacement: the first pair
    // has replaced every occurrence before the second is applied.
    if (f.Length != 0) return;
    f.Length = static_cast<std::uint8_t>(to.size());
    for (std::size_t i = 0; i < to.size(); ++i) f.Bytes[i] = to[i];
  }
  // The current image of a character (one or two bytes) under this map.
  TCharFold Fold(std::string_view ch) const {
    TCharFold f = Lookup(ch);
    if (f.Length == 0) {
      f.Length = static_cast<std::uint8_t>(ch.size());
      for (std::size_t i = 0; i < ch.size(); ++i) f.Bytes[i] = ch[i];
    }
    return f;
  }
  std::string Image(std::string_view ch) const { return std::string(Fold(ch).View()); }
};

std::string CodeBytes(std::uint16_t code) {
  if (code < 0x100) return std::string(1, static_cast<char>(code));
  return {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
}

struct TFoldMaps {
  TCharMap Width;
  TCharMap CaseSmall;  // lower-casing, then the small-kana table
  TCharMap Hyphens;    // CaseSmall, then both long-vowel marks to "-"

  TFoldMaps() {
    for (const TFoldPair& p : WidthTable()) Width.Set(p.Source, p.Replacement);
    // A character the clipboard wrote with another code point than CP932
    // (U+301C for ～, a combining sound mark for ゛...) has a fixed code of
    // the codec's: it folds as its CP932 twin, while the text keeps it.
    for (const cp932::FixedCode& f : cp932::kFixedCodes)
      Width.Set(CodeBytes(static_cast<std::uint16_t>(f.code)), Width.Image(f.twin));

    auto lowerMap = std::make_unique<TCharMap>();
    auto smallMap = std::make_unique<TCharMap>();
    TCharMap& lower = *lowerMap;
    TCharMap& small = *smallMap;
    for (std::size_t i = 0; i < kLowerCaseTableSize; ++i)
      lower.Set(CodeBytes(kLowerCaseTable[i].Code), CodeBytes(kLowerCaseTable[i].Lower));
    for (const TFoldPair& p : SmallKanaTable()) small.Set(p.Source, p.Replacement);
    // Compose per character: every character maps to one of the same byte
    // length, so composing equals applying the steps in turn.
    auto compose = [](TCharMap& out, const TCharMap& first, const TCharMap& second,
                      std::string_view ch) {
      const TCharFold mid = first.Fold(ch);
      const TCharFold end = second.Fold(mid.View());
      if (end.View() != ch) out.Set(ch, end.View());
    };
    for (unsigned b = 0; b < 256; ++b) {
      const char ch[1] = {static_cast<char>(b)};
      if (!IsLeadByte(static_cast<unsigned char>(b))) compose(CaseSmall, lower, small, {ch, 1});
    }
    for (unsigned code = 0; code < 65536; ++code) {
      if (!IsLeadByte(static_cast<unsigned char>(code >> 8))) continue;
      const char ch[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
      compose(CaseSmall, lower, small, {ch, 2});
    }
    Hyphens = CaseSmall;
    Hyphens.Set("\x81\x5B", "-");  // ー
    Hyphens.Set("\xB0", "-");      // ｰ
  }
};

const TFoldMaps& Maps() {
  static const TFoldMaps maps;  // built once, then only read
  return maps;
}

std::string Apply(const TCharMap& map, std::string_view s) {
  std::string out;
  // Most characters keep their length; a short result stays inside the
  // string (no allocation), as most keys do.
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    const std::size_t len = CharLength(s, i);
    // An internal sequence of the codec (longer than two bytes) folds like
    // nothing and is never looked at piece by piece.
    const TCharFold& f = len > 2 ? TCharFold{} : map.Lookup(s.substr(i, len));
    if (f.Length == 0)
      out.append(s.data() + i, len);
    else
      out.append(f.Bytes, f.Length);
    i += len;
  }
  return out;
}

constexpr bool IsControlOrSpace(char c) { return static_cast<unsigned char>(c) <= 0x20; }

bool IsFullWidthSpaceAt(std::string_view s, std::size_t i) {
  return i + 1 < s.size() && s[i] == '\x81' && s[i + 1] == '\x40';
}

}  // namespace

void BuildWidthTable() { Maps(); }

std::string FoldWidth(std::string_view S) {
  if (!HasDoubleByteCharacter(S)) return std::string(S);
  return Apply(Maps().Width, S);
}

std::string FoldCaseAndSmallKana(std::string_view S) { return Apply(Maps().CaseSmall, S); }

std::string FoldHyphens(std::string_view S) { return Apply(Maps().Hyphens, S); }

std::string_view TrimControls(std::string_view Text) {
  std::size_t b = 0, e = Text.size();
  while (b < e && IsControlOrSpace(Text[b])) ++b;
  while (e > b && IsControlOrSpace(Text[e - 1])) --e;
  return Text.substr(b, e - b);
}

std::string_view TrimBlanksView(std::string_view Text) {
  // Empty when nothing but full-width spaces and bytes up to 0x20 remain.
  bool blank = true;
  for (std::size_t i = 0; i < Text.size() && blank;) {
    if (IsFullWidthSpaceAt(Text, i)) {
      i += 2;
    } else {
      blank = IsControlOrSpace(Text[i]);
      i += CharLength(Text, i);
    }
  }
  if (blank) return {};

  std::string_view t = TrimControls(Text);
  std::size_t b = 0;
  for (;;) {
    if (b < t.size() && t[b] == ' ')
      b += 1;
    else if (IsFullWidthSpaceAt(t, b))
      b += 2;
    else
      break;
  }
  t.remove_prefix(b);  // whole characters only, so boundaries stay
  std::size_t e = t.size();
  for (;;) {
    if (e > 0 && t[e - 1] == ' ')
      e -= 1;
    else if (e >= 2 && t[e - 2] == '\x81' && t[e - 1] == '\x40' && IsCharacterStart(t, e - 2))
      e -= 2;
    else
      break;
  }
  return TrimControls(t.substr(0, e));
}

std::string TrimBlanks(std::string_view Text) { return std::string(TrimBlanksView(Text)); }

bool HasDoubleByteCharacter(std::string_view Text) {
  for (char c : Text)
    if (IsLeadByte(static_cast<unsigned char>(c))) return true;
  return false;
}

}  // namespace tavrin
