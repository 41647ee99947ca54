#include "engine/char_folding.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "engine/fold_tables.h"
#include "engine/lower_case_table.h"
#include "util/cp932.h"
#include "util/paged_table.h"
#include "util/sjis.h"

namespace tavrin {
namespace {

// What one character becomes: Length 0 keeps it, otherwise Length bytes.
struct TCharFold {
  std::uint8_t Length = 0;
  char Bytes[2] = {};

  constexpr std::string_view View() const { return {Bytes, Length}; }
  friend constexpr bool operator==(const TCharFold&, const TCharFold&) = default;
};

// A per-character lookup equivalent to applying a table's pairs one after
// another: every source is a whole character, and no replacement starts a
// character that another pair's source could match, so each character of
// the input is replaced at most once and boundaries stay where they were.
// Only the compiler builds these; the program reads their paged form.
struct TCharMap {
  static constexpr std::size_t kLeadCount = (0x9F - 0x81 + 1) + (0xFC - 0xE0 + 1);

  std::array<TCharFold, 256> Single{};               // by byte
  std::array<TCharFold, kLeadCount * 256> Double{};  // by lead row * 256 + trail

  static constexpr std::size_t LeadRow(unsigned char lead) {
    return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + (0x9F - 0x81 + 1);
  }
  constexpr TCharFold& At(std::string_view ch) {
    const auto b0 = static_cast<unsigned char>(ch[0]);
    if (ch.size() == 1) return Single[b0];
    return Double[LeadRow(b0) * 256 + static_cast<unsigned char>(ch[1])];
  }
  // A double-byte character by lead * 256 + trail; blank for a non-lead byte.
  constexpr TCharFold operator[](unsigned code) const {
    if (!IsLeadByte(static_cast<unsigned char>(code >> 8))) return {};
    return Double[LeadRow(static_cast<unsigned char>(code >> 8)) * 256 + (code & 0xFF)];
  }
  constexpr void Set(std::string_view ch, std::string_view to) {
    TCharFold& f = At(ch);
    // A character listed twice keeps its first replacement: the first pair
    // has replaced every occurrence before the second is applied.
    if (f.Length != 0) return;
    f.Length = static_cast<std::uint8_t>(to.size());
    for (std::size_t i = 0; i < to.size(); ++i) f.Bytes[i] = to[i];
  }
  // The current image of a character (one or two bytes) under this map.
  constexpr TCharFold Fold(std::string_view ch) const {
    TCharFold f = const_cast<TCharMap*>(this)->At(ch);
    if (f.Length == 0) {
      f.Length = static_cast<std::uint8_t>(ch.size());
      for (std::size_t i = 0; i < ch.size(); ++i) f.Bytes[i] = ch[i];
    }
    return f;
  }
};

// The bytes of a code (a byte, or lead << 8 | trail).
constexpr TCharFold CodeChar(std::uint16_t code) {
  if (code < 0x100) return {1, {static_cast<char>(code)}};
  return {2, {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)}};
}

constexpr TCharMap WidthMap() {
  TCharMap width;
  for (const TFoldPair& p : kWidthTable) width.Set(p.Source, p.Replacement);
  // A character the clipboard wrote with another code point than CP932
  // (U+301C for ～, a combining sound mark for ゛...) has a fixed code of
  // the codec's: it folds as its CP932 twin, while the text keeps it.
  for (const cp932::FixedCode& f : cp932::kFixedCodes) {
    const TCharFold code = CodeChar(static_cast<std::uint16_t>(f.code));
    const TCharFold twin = width.Fold(f.twin);
    width.Set(code.View(), twin.View());
  }
  return width;
}

// Lower-casing, then the small-kana table.
constexpr TCharMap CaseSmallMap() {
  TCharMap lower, small, caseSmall;
  for (const TLowerCasePair& p : kLowerCaseTable) {
    const TCharFold code = CodeChar(p.Code), to = CodeChar(p.Lower);
    lower.Set(code.View(), to.View());
  }
  for (const TFoldPair& p : kSmallKanaTable) small.Set(p.Source, p.Replacement);
  // Compose per character: every character maps to one of the same byte
  // length, so composing equals applying the steps in turn. Only a source
  // of either table can change.
  const auto compose = [&](std::string_view ch) {
    const TCharFold mid = lower.Fold(ch);
    const TCharFold end = small.Fold(mid.View());
    if (end.View() != ch) caseSmall.Set(ch, end.View());
  };
  for (const TLowerCasePair& p : kLowerCaseTable) compose(CodeChar(p.Code).View());
  for (const TFoldPair& p : kSmallKanaTable) compose(p.Source);
  return caseSmall;
}

// CaseSmallMap, then both long-vowel marks to "-".
constexpr TCharMap HyphensMap() {
  TCharMap hyphens = CaseSmallMap();
  hyphens.Set("\x81\x5B", "-");  // ー
  hyphens.Set("\xB0", "-");      // ｰ
  return hyphens;
}

// What the folding functions read: a TCharMap with its double-byte part paged.
template <std::size_t Pages>
struct TFoldLookup {
  std::array<TCharFold, 256> Single;
  PagedTable<TCharFold, Pages> Double;
};

template <std::size_t Pages>
constexpr TFoldLookup<Pages> PagedLookup(const TCharMap& map) {
  // Apply writes a result into the input's length.
  for (const TCharFold& f : map.Single)
    if (f.Length > 1) throw "a single-byte character folds to two bytes";
  return {map.Single, Paged<Pages>(map)};
}

// Each map is a constant of its own, computed once, so that every constant
// expression stays within a compiler's step budget. Only the paged forms
// are read at run time.
constexpr TCharMap kWidthMap = WidthMap();
constexpr TCharMap kCaseSmallMap = CaseSmallMap();
constexpr TCharMap kHyphensMap = HyphensMap();

// Width folding, then Map, as one map. Composing per character equals
// folding twice: width output is single bytes, which start no double-byte
// character, so the second fold finds the same character boundaries.
constexpr TCharMap AfterWidth(const TCharMap& map) {
  const TCharMap& width = kWidthMap;
  // Where width keeps a character, Map alone applies; only width's own
  // sources are recomputed.
  TCharMap both = map;
  for (std::size_t i = 0; i < width.Double.size(); ++i) {
    const TCharFold& w = width.Double[i];
    if (w.Length == 0) continue;
    TCharFold to;
    for (std::size_t k = 0; k < w.Length; ++k)
      to.Bytes[to.Length++] = map.Fold(std::string_view(&w.Bytes[k], 1)).Bytes[0];
    both.Double[i] = to;
  }
  return both;
}

constexpr TCharMap kKeyHyphensMap = AfterWidth(kHyphensMap);
constexpr TCharMap kKeyCaseSmallMap = AfterWidth(kCaseSmallMap);

constexpr auto kWidth = PagedLookup<PageCount(kWidthMap)>(kWidthMap);
constexpr auto kCaseSmall = PagedLookup<PageCount(kCaseSmallMap)>(kCaseSmallMap);
constexpr auto kHyphens = PagedLookup<PageCount(kHyphensMap)>(kHyphensMap);
constexpr auto kKeyHyphens = PagedLookup<PageCount(kKeyHyphensMap)>(kKeyHyphensMap);
constexpr auto kKeyCaseSmall = PagedLookup<PageCount(kKeyCaseSmallMap)>(kKeyCaseSmallMap);

// No single byte folds in width: FoldWidth may skip texts without a lead
// byte, and FoldKeyInto's second step sees width output as single bytes.
constexpr bool NoSingleFolds(const std::array<TCharFold, 256>& single) {
  for (const TCharFold& f : single)
    if (f.Length != 0) return false;
  return true;
}
static_assert(NoSingleFolds(kWidth.Single));

// Folds s into out (room for s.size() bytes; no character grows) and
// returns the length written. Mostly without branches on what a character
// folds to: kana and letters fold unpredictably.
// Marks: no marks (nullptr), or a bit per single byte and per double-byte
// code (lead << 8 | trail); Marked gets any bit of S's characters (the
// codec's longer forms always count).
template <class Lookup, bool WithMarks = false>
std::size_t ApplyInto(const Lookup& map, std::string_view s, char* out,
                      const std::uint64_t* Marks = nullptr, bool* Marked = nullptr) {
  char* o = out;
  const char* p = s.data();
  const char* const end = p + s.size();
  std::uint64_t marked = 0;
  while (p < end) {
    const auto b = static_cast<unsigned char>(*p);
    if (!IsLeadByte(b) || p + 1 == end) {
      const TCharFold& f = map.Single[b];
      *o++ = f.Length != 0 ? f.Bytes[0] : *p;
      if constexpr (WithMarks) marked |= Marks[b / 64] >> (b % 64);
      ++p;
      continue;
    }
    if (b == kSequenceLead) {
      // An internal sequence of the codec (longer than two bytes) folds
      // like nothing and is never looked at piece by piece.
      const std::size_t len = CharLength(s, static_cast<std::size_t>(p - s.data()));
      if (len > 2) {
        std::memcpy(o, p, len);
        o += len;
        p += len;
        if constexpr (WithMarks) marked |= 1;
        continue;
      }
    }
    const unsigned code = b << 8 | static_cast<unsigned char>(p[1]);
    const TCharFold& f = map.Double[code];
    if constexpr (WithMarks) marked |= Marks[code / 64] >> (code % 64);
    const bool keep = f.Length == 0;
    // A one-byte result writes its second byte too; the next character
    // overwrites it, and it lies inside the input's length.
    o[0] = keep ? p[0] : f.Bytes[0];
    o[1] = keep ? p[1] : f.Bytes[1];
    o += keep ? 2 : f.Length;
    p += 2;
  }
  if constexpr (WithMarks) *Marked = (marked & 1) != 0;
  return static_cast<std::size_t>(o - out);
}

template <class Lookup>
std::string Apply(const Lookup& map, std::string_view s) {
  // A short result stays inside the string (no allocation), as most do.
  std::string out(s.size(), '\0');
  out.resize(ApplyInto(map, s, out.data()));
  return out;
}

constexpr bool IsControlOrSpace(char c) { return static_cast<unsigned char>(c) <= 0x20; }

bool IsFullWidthSpaceAt(std::string_view s, std::size_t i) {
  return i + 1 < s.size() && s[i] == '\x81' && s[i + 1] == '\x40';
}

}  // namespace

std::span<const TFoldPair> WidthTable() { return kWidthTable; }
std::span<const TFoldPair> SmallKanaTable() { return kSmallKanaTable; }

void BuildWidthTable() {}

std::string FoldWidth(std::string_view S) {
  if (!HasDoubleByteCharacter(S)) return std::string(S);
  return Apply(kWidth, S);
}

std::string FoldCaseAndSmallKana(std::string_view S) { return Apply(kCaseSmall, S); }

std::string FoldHyphens(std::string_view S) { return Apply(kHyphens, S); }

std::size_t FoldKeyInto(std::string_view S, bool Hyphens, char* Out) {
  return Hyphens ? ApplyInto(kKeyHyphens, S, Out) : ApplyInto(kKeyCaseSmall, S, Out);
}

std::size_t FoldKeyIntoMarked(std::string_view S, bool Hyphens, char* Out,
                              const std::uint64_t* Marks, bool& Marked) {
  return Hyphens ? ApplyInto<decltype(kKeyHyphens), true>(kKeyHyphens, S, Out, Marks, &Marked)
                 : ApplyInto<decltype(kKeyCaseSmall), true>(kKeyCaseSmall, S, Out, Marks, &Marked);
}

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
