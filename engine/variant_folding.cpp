#include "engine/variant_folding.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <span>
#include <stdexcept>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/char_folding.h"
#include "engine/number_counters.h"
#include "engine/okurigana_table.h"
#include "engine/variant_tables.h"
#include "util/cp932.h"
#include "util/sjis.h"

namespace tavrin {
namespace {

namespace vt = variant_tables;

// What a character of the key does under the kinds.
enum class TAction : std::uint8_t {
  Keep,
  Replace,       // becomes Bytes
  Delete,        // goes (variation selectors)
  Blank,         // goes when inside the line, but between two digits or two Latin letters
  Dot,           // a middle dot: likewise, and goes at the ends as well
  RepeatKanji,   // 々: the kanji before it
  RepeatKana,    // ゝ ヽ: the kana before it, without its sound mark
  RepeatVoiced,  // ゞ ヾ: the kana before it, voiced
};

struct TRule {
  TAction Action = TAction::Keep;
  std::string Bytes;
};

// A single-byte Unicode scalar value of a 6-byte form, or 0.
char32_t FormScalar(std::string_view c) {
  if (c.size() != 6) return 0;
  const int hi = DigitAt(c, 2), lo = DigitAt(c, 4);
  const unsigned plane = static_cast<unsigned char>(c[1]) - kPlaneTrail;
  return static_cast<char32_t>(plane << 16 | unsigned(hi) << 8 | unsigned(lo));
}

// The code of the character at P in Text (a byte, or lead << 8 | trail)
// and its length, for the one-pass folding's table; false at a form of the
// codec, which that folding leaves to the folding in steps.
inline bool OnePassCode(std::string_view Text, const char* P, unsigned& Code, std::size_t& N) {
  const auto b = static_cast<unsigned char>(*P);
  Code = b;
  N = 1;
  if (IsLeadByte(b) && P + 1 < Text.data() + Text.size()) {
    if (b == kSequenceLead && CharLength(Text, static_cast<std::size_t>(P - Text.data())) > 2)
      return false;
    Code = unsigned(b) << 8 | static_cast<unsigned char>(P[1]);
    N = 2;
  }
  return true;
}

// U+200D, the zero-width joiner, as the codec writes it.
constexpr std::string_view kJoinerForm = "\xEF\x41\xEB\x60\xEB\x4D";

bool IsKanji(std::string_view c) {
  if (c.size() == 2) {
    const auto lead = static_cast<unsigned char>(c[0]);
    const unsigned code = unsigned(lead) << 8 | static_cast<unsigned char>(c[1]);
    return code >= 0x889F && !IsUnassignedLead(lead);
  }
  const char32_t u = FormScalar(c);
  return (u >= 0x3400 && u <= 0x4DBF) || (u >= 0x4E00 && u <= 0x9FFF) ||
         (u >= 0xF900 && u <= 0xFAFF) || (u >= 0x20000 && u <= 0x3FFFF);
}

// Whether a separator between the last character of Before (at Last) and
// a character starting with Next keeps two words apart: 10 20 is not 1020,
// John Smith not JohnSmith.
bool Separates(std::string_view Before, std::size_t Last, char Next) {
  const auto kind = [](char c) {
    if (c >= '0' && c <= '9') return 1;
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ? 2 : 0;
  };
  const int k = kind(Next);
  return k != 0 && Last == Before.size() - 1 && kind(Before[Last]) == k &&
         IsCharacterStart(Before, Last);
}

// The ends of the zero-width-joiner sequences of Key (an emoji family is one
// character, not three people): each joins the characters on either side
// of a joiner, with their variation selectors and skin tones. Empty
// without a joiner.
std::vector<std::pair<std::size_t, std::size_t>> JoinedSequences(std::string_view Key) {
  std::vector<std::pair<std::size_t, std::size_t>> spans;
  if (Key.find(kJoinerForm) == std::string_view::npos) return spans;
  const auto modifier = [](std::string_view c) {
    const char32_t u = FormScalar(c);
    return (u >= 0xFE00 && u <= 0xFE0F) || (u >= 0x1F3FB && u <= 0x1F3FF) ||
           (u >= 0xE0100 && u <= 0xE01EF);
  };
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < Key.size(); i += CharLength(Key, i)) starts.push_back(i);
  starts.push_back(Key.size());
  const auto at = [&](std::size_t k) { return Key.substr(starts[k], starts[k + 1] - starts[k]); };
  const auto blank = [](std::string_view c) {
    return c.size() == 1 && static_cast<unsigned char>(c[0]) <= 0x20;
  };
  for (std::size_t k = 1; k + 2 < starts.size(); ++k) {
    if (at(k) != kJoinerForm || blank(at(k + 1)) || at(k + 1) == kJoinerForm) continue;
    std::size_t first = k - 1;
    while (first > 0 && modifier(at(first))) --first;
    if (blank(at(first)) || at(first) == kJoinerForm) continue;
    std::size_t last = k + 1;
    while (last + 2 < starts.size() && modifier(at(last + 1))) ++last;
    if (!spans.empty() && spans.back().second > starts[first])
      spans.back().second = starts[last + 1];
    else
      spans.emplace_back(starts[first], starts[last + 1]);
  }
  return spans;
}

// A half-width kana that can be repeated (not the long-vowel or sound marks).
bool IsKanaByte(unsigned char b) { return (b >= 0xA6 && b <= 0xAF) || (b >= 0xB1 && b <= 0xDD); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLatin(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// What a kanji numeral stands for: 0 to 9 for 〇 to 九, 10, 100 and 1000
// for 十, 百 and 千; -1 for any other character.
int NumeralOf(std::string_view c) {
  if (c.size() != 2) return -1;
  switch (static_cast<unsigned char>(c[0]) << 8 | static_cast<unsigned char>(c[1])) {
    case 0x815A:
      return 0;
    case 0x88EA:
      return 1;
    case 0x93F1:
      return 2;
    case 0x8E4F:
      return 3;
    case 0x8E6C:
      return 4;
    case 0x8CDC:
      return 5;
    case 0x985A:
      return 6;
    case 0x8EB5:
      return 7;
    case 0x94AA:
      return 8;
    case 0x8BE3:
      return 9;
    case 0x8F5C:
      return 10;
    case 0x9553:
      return 100;
    case 0x90E7:
      return 1000;
    default:
      return -1;
  }
}

// 万 and 億 as they part a run of kanji numerals into groups (一万五千),
// 0 for any other character.
int GroupPlaceOf(std::string_view c) {
  if (c.size() != 2) return 0;
  switch (static_cast<unsigned char>(c[0]) << 8 | static_cast<unsigned char>(c[1])) {
    case 0x969C:
      return 10000;
    case 0x89AD:
      return 100000000;
    default:
      return 0;
  }
}

// The digits of a run of kanji numerals: with 十, 百 or 千 as places
// (十二 = 12, 二十 = 20, 百五 = 105), else one numeral or digit by digit,
// where the run holds 〇 or is a year of four (二〇二四, 一九九九年);
// empty when the run is no number (十十, 二三百) or may be a figure of
// speech (一二回 is once or twice, 三三九度 a rite, 七三分け a parting).
std::string NumeralDigits(const std::vector<int>& Run, bool Year) {
  // 億 and 万 stay, each after the digits of its group, in falling order
  // (三億五千万 = 3億5000万, 一万二 = 1万2).
  if (std::any_of(Run.begin(), Run.end(), [](int v) { return v >= 10000; })) {
    std::string digits;
    int lastGroup = 1000000000;
    auto from = Run.begin();
    for (auto it = Run.begin(); it != Run.end(); ++it) {
      if (*it < 10000) continue;
      const std::string group = NumeralDigits({from, it}, false);
      if (group.empty() || *it >= lastGroup) return {};
      digits += group + (*it == 10000 ? "\x96\x9C" : "\x89\xAD");
      lastGroup = *it;
      from = it + 1;
    }
    if (from == Run.end()) return digits;
    const std::string rest = NumeralDigits({from, Run.end()}, false);
    return rest.empty() ? std::string{} : digits + rest;
  }
  if (std::none_of(Run.begin(), Run.end(), [](int v) { return v >= 10; })) {
    if (Run.size() > 1 && std::find(Run.begin(), Run.end(), 0) == Run.end() &&
        !(Year && Run.size() == 4))
      return {};
    std::string digits;
    for (const int v : Run) digits += static_cast<char>('0' + v);
    return digits;
  }
  int total = 0, lastPlace = 10000;
  for (std::size_t i = 0; i < Run.size();) {
    int factor = 1;
    if (Run[i] < 10) {
      factor = Run[i++];
      if (factor == 0) return {};
      if (i == Run.size()) {
        total += factor;
        break;
      }
      if (Run[i] < 10) return {};
    }
    if (Run[i] >= lastPlace) return {};
    lastPlace = Run[i++];
    total += factor * lastPlace;
  }
  return std::to_string(total);
}

}  // namespace

class TVariantFolder {
 public:
  TVariantFolder(unsigned Kinds, bool Hyphens);
  std::string_view Fold(std::string_view Key, std::string& Out) const;
  // The same for a key whose text FoldKeyIntoMarked found unmarked, or
  // marked (then folded without a first look: the marks are close).
  std::string_view FoldUnmarked(std::string_view Key, std::string& Out) const {
    return FoldUnmarked(Key, FOkuri && OkuriganaHit(Key), Out);
  }
  // The same, told whether the okurigana kind may change Key (Words).
  std::string_view FoldUnmarked(std::string_view Key, bool Words, std::string& Out) const;
  std::string_view FoldMarked(std::string_view Key, std::string& Out) const;
  const std::uint64_t* Marks() const { return FMarks.data(); }
  // The whole key folding of a text (width and case folding included) in
  // one pass, when each character folds on its own; false when one needs
  // its neighbours (blanks, repeat marks, sound marks, ヴ, ｰ) or is a form
  // of the codec. Company forms are not looked at.
  std::size_t FoldText(std::string_view Text, std::string& Out, unsigned& Finish) const;

 private:
  // A run of blanks at P in Text, for FoldText, whose output has reached O
  // from Start: written as it stands at either end of the line, else gone,
  // or one blank where it separates two digits or two Latin letters. The
  // next character is left to the caller (nullptr when it needs its
  // neighbours). A character before the run keeps its flag of a spelling's
  // start, as the run goes.
  const char* BlankRun(std::string_view Text, const char* P, char*& O, const char* Start) const;
  void AddTable(std::span<const vt::TPair> Pairs, TAction Action);
  void AddRule(std::string_view Source, TAction Action, std::string_view Target);
  const TRule* RuleFor(std::string_view c) const {
    if (c.size() == 1) return FSingle[static_cast<unsigned char>(c[0])];
    if (c.size() == 2)
      return FDouble[static_cast<unsigned char>(c[0]) << 8 | static_cast<unsigned char>(c[1])];
    const auto it = FLong.find(std::string(c));
    return it == FLong.end() ? nullptr : &it->second;
  }
  // The rule-by-rule pass, the kana spellings and "-" between digits, the
  // company forms.
  // Line: Key is a whole key, whose end is the line's (not a rule's
  // replacement, which a key may hold anywhere).
  void MapCharacters(std::string_view Key, std::string& Out, bool Line) const;
  // Whether Piece holds one character (a sound mark counts with its kana),
  // and whether the piece of Key at At, up to the next dot, does.
  static bool OneCharacter(std::string_view Piece);
  bool OnePieceAt(std::string_view Key, std::size_t At) const;
  std::size_t Spellings(char* Key, std::size_t Size) const;  // the new size
  // Whether a word stands in Key, looked for only at its odd pieces.
  bool HasWord(std::string_view Key) const {
    for (std::size_t q = 0; q < Key.size(); ++q) {
      const auto b = static_cast<unsigned char>(Key[q]);
      if (FWordsByOdd[b].empty() || (b != 0xA6 && (q + 1 == Key.size() || Key[q + 1] != '\xDE')))
        continue;
      for (const auto& [pattern, at] : FWordsByOdd[b])
        if (at <= q && Key.compare(q - at, pattern->first.size(), pattern->first) == 0) return true;
    }
    return false;
  }
  void Spellings(std::string& Key) const { Key.resize(Spellings(Key.data(), Key.size())); }
  // ヴ in a long word of kana as the B row (ヴァイオリニスト, ベートーヴェン,
  // ヴァージョン): one of six kana or more is nearly always a borrowed word
  // spelt both ways; a shorter one may be another word or name (ベスト and
  // ヴェスト, ハービー and ハーヴィー). In place; the new size.
  static constexpr std::size_t kVuWordLength = 6;
  std::size_t VuWords(char* Key, std::size_t Size) const {
    bool found = false;
    return VuWords(Key, std::string_view(Key, Size), found);
  }
  bool HasVuWord(std::string_view Key) const {
    bool found = false;
    if (FWords && Key.find("\xA9\xDE") != std::string_view::npos) VuWords(nullptr, Key, found);
    return found;
  }
  // Writes to Out when given (it may be Key's own bytes: the key never
  // grows), else only looks; Found tells whether a word was there.
  std::size_t VuWords(char* Out, std::string_view Key, bool& Found) const;
  // The place-name ヶ between two kanji (霞ヶ関, 霞ケ関, 三ヵ所, 三カ所) as ｹ,
  // in place; the new size, and whether anything changed.
  std::size_t KeBetweenKanji(char* Key, std::size_t Size, bool& Changed) const;
  // The length of a spelling of ヶ at I (N bytes) in Key between the kanji
  // Before and a kanji after it, or 0.
  std::size_t KeAt(std::string_view Key, std::size_t I, std::size_t N,
                   std::string_view Before) const;
  // Whether KeBetweenKanji would change Key: read only, the first change
  // decides.
  bool KeChanges(std::string_view Key) const {
    if (!FKe || Key.find_first_of("\xB6\x83") == std::string_view::npos) return false;
    std::size_t prev = std::string::npos;
    for (std::size_t i = 0; i < Key.size();) {
      const std::size_t n = CharLength(Key, i);
      const std::size_t length =
          prev == std::string::npos ? 0 : KeAt(Key, i, n, Key.substr(prev, i - prev));
      prev = i;
      if (length == 0) {
        i += n;
        continue;
      }
      if (length != 1 || Key[i] != '\xB9') return true;
      i += length;
    }
    return false;
  }
  void KeBetweenKanji(std::string& Key) const {
    bool changed = false;
    // Only ｶ, ｹ and the 0x83 row spell ヶ: a key without their bytes is
    // not walked.
    if (FKe && std::any_of(Key.begin(), Key.end(),
                           [](char c) { return c == '\xB6' || c == '\xB9' || c == '\x83'; }))
      Key.resize(KeBetweenKanji(Key.data(), Key.size(), changed));
  }
  void CompanyForms(std::string& Key) const;
  // The number kind: kanji numerals before a counter as digits, the
  // counter mark of 3ヶ月 as one token, an address's 丁目 and 番 as
  // hyphens, the forms of TEL as ℡. NumberHit tells whether Key holds
  // anything it may change.
  bool NumberHit(std::string_view Key) const;
  void Numbers(std::string& Key) const;
  // The length of the counter (of kCounters or kAddress, as folded) at At
  // in Key, 0 for none; Address tells which list.
  std::size_t CounterAt(std::string_view Key, std::size_t At, bool& Address) const;
  // Whether kanji numerals and the unit after Counter stand at At (年 then
  // 五月, 時 then 十五分).
  bool NextUnitAt(std::string_view Key, std::size_t At, std::string_view Counter) const;
  // The okurigana kind: each word of the table where it stands in Key, by
  // longest match, as its standard spelling (申込書 -> 申し込み書). A
  // spelling that begins with kana needs neither kana nor a kanji before
  // it, and one of kana alone neither after it either: next to them it may
  // be a piece of other words, or the kana of a name (あけぼの町 is not
  // 曙町). Before tells what stands before At (kOkuriKana, kOkuriKanji or
  // 0). OkuriganaAt gives the entry that matches at At, or nullptr.
  // Okurigana folds to a fixed point: a standard spelling and what follows
  // it may spell another word of the table.
  struct TOkuriEntry {
    std::string_view Source, Target;
    bool KanaStart, KanaOnly;
    std::uint8_t End;    // what the target's last character is (kOkuriKana, kOkuriKanji, 0)
    std::uint32_t Hash;  // OkuriHash of its first characters
  };
  static constexpr std::uint8_t kOkuriKana = 1, kOkuriKanji = 2;
  static std::uint8_t OkuriClass(std::string_view Key, std::size_t At) {
    const std::size_t n = CharLength(Key, At);
    const auto b = static_cast<unsigned char>(Key[At]);
    if (n == 1) return b >= 0xA6 && b <= 0xDF ? kOkuriKana : 0;
    return IsKanji(Key.substr(At, n)) ? kOkuriKanji : 0;
  }
  // A hash of the first Chars (2 or 3) characters at At (FNV-1a of their
  // bytes), or UINT32_MAX where fewer stand.
  static std::uint32_t OkuriHash(std::string_view Key, std::size_t At, int Chars) {
    std::size_t e = At;
    for (int c = 0; c < Chars; ++c) {
      if (e >= Key.size()) return UINT32_MAX;
      e += CharLength(Key, e);
    }
    std::uint32_t h = 2166136261u ^ static_cast<std::uint32_t>(Chars);
    for (std::size_t k = At; k < e; ++k) h = (h ^ static_cast<unsigned char>(Key[k])) * 16777619u;
    return h == UINT32_MAX || h == 0 ? 1 : h;
  }
  // The number of characters of W, up to three.
  static int OkuriChars(std::string_view W) {
    int chars = 0;
    for (std::size_t i = 0; i < W.size() && chars < 3; i += CharLength(W, i)) ++chars;
    return chars;
  }
  const TOkuriEntry* OkuriganaAt(std::string_view Key, std::size_t At, std::uint8_t Before,
                                 std::size_t& Length) const;
  bool OkuriganaHit(std::string_view Key) const;
  // Whether a word changed Key: its first round is the look of
  // OkuriganaHit.
  bool Okurigana(std::string& Key) const;
  bool FOkuri = false, FOkuriAlways = false;
  std::string FOkuriText;  // the table's spellings as folded, one after another
  // The spellings by the hash of their first three characters (of two for
  // those of two), longest first within one hash (FOkuriRanges: first,
  // end); a bit per hash's top bits says, without a look-up, that no
  // spelling starts so.
  std::vector<TOkuriEntry> FOkuriEntries;
  // An open-addressed table: hash (0 for none), first, end.
  struct TOkuriSlot {
    std::uint32_t Hash = 0, First = 0, End = 0;
  };
  std::vector<TOkuriSlot> FOkuriRanges;
  std::uint32_t FOkuriMask = 0;
  const TOkuriSlot* OkuriSlot(std::uint32_t Hash) const {
    for (std::uint32_t i = Hash & FOkuriMask;; i = (i + 1) & FOkuriMask) {
      const TOkuriSlot& slot = FOkuriRanges[i];
      if (slot.Hash == Hash) return &slot;
      if (slot.Hash == 0) return nullptr;
    }
  }
  static constexpr int kOkuriBitShift = 12;  // 2^20 bits
  std::vector<std::uint64_t> FOkuriBits;
  // The same bits for the first two characters of every spelling: most
  // places of a key start none, which one hash shows.
  std::vector<std::uint64_t> FOkuriPrefix;
  // Cheaper still, for a whole key at once, over the spellings other than
  // a standard one: per code that begins one but kana, a bit of 64 per
  // code that may follow it there (FOkuriFollow, by OkuriFollowBit), so
  // that one look-up a character tests the pair with the character before;
  // then one bit of 2^20 per hash of the two (FOkuriPair). Only where two
  // neighbours pass both are the spellings of that start compared, and a
  // key where none matches is left as it is. A character of the codec's
  // longer forms counts as one code, kOkuriFormCode, whichever it is.
  static constexpr unsigned kOkuriFormCode = 0xFFFF;  // no double-byte code (0xFF leads none)
  std::vector<std::uint64_t> FOkuriFollow;
  static unsigned OkuriFollowBit(unsigned Code) { return (Code * 0x9E3779B1u) >> 26; }
  std::vector<std::uint64_t> FOkuriPair;
  static std::uint32_t OkuriPairHash(unsigned First, unsigned Second) {
    return static_cast<std::uint32_t>((std::uint64_t{First} << 16 | Second) * 0x9E3779B97F4A7C15u >>
                                      44);
  }
  bool OkuriPairBit(unsigned First, unsigned Second) const {
    const std::uint32_t h = OkuriPairHash(First, Second);
    return (FOkuriPair[h / 64] >> (h % 64) & 1) != 0;
  }
  bool MayHoldOkurigana(std::string_view Key) const;
  // A spelling that begins with kana starts a run of kana after what is
  // neither kana nor a kanji: the run is all of it, or its kana before
  // the first other character (then the run and that character stand at
  // the spelling's start). One bit of 2^20 per hash of those bytes (FNV-1a,
  // its top 20 bits) says that a spelling other than a standard one may
  // start at such a run.
  std::vector<std::uint64_t> FOkuriKanaRuns;
  static bool OkuriKanaByte(char c) {
    return static_cast<unsigned char>(c) >= 0xA6 && static_cast<unsigned char>(c) <= 0xDF;
  }
  // The hash of Key's bytes from At to End, going on from H (the hash of
  // the bytes before At).
  static std::uint32_t OkuriBytesHash(std::string_view Key, std::size_t At, std::size_t End,
                                      std::uint32_t H = 2166136261u) {
    for (std::size_t k = At; k < End; ++k) H = (H ^ static_cast<unsigned char>(Key[k])) * 16777619u;
    return H;
  }
  bool OkuriKanaRunBit(std::uint32_t Hash) const {
    return (FOkuriKanaRuns[(Hash >> 12) / 64] >> (Hash >> 12) % 64 & 1) != 0;
  }
  // Whether a spelling that is no standard one stands at At, whose second
  // character ends at End, after a character of the class Before.
  bool ChangingAt(std::string_view Key, std::size_t At, std::size_t End, std::uint8_t Before) const;
  bool OkuriBit(const std::vector<std::uint64_t>& Bits, std::uint32_t Hash) const {
    return (Bits[(Hash >> kOkuriBitShift) / 64] >> ((Hash >> kOkuriBitShift) % 64) & 1) != 0;
  }
  // Everything but the company forms.
  std::string Inner(std::string_view Key) const {
    std::string out;
    Inner(Key, out);
    return out;
  }
  void Inner(std::string_view Key, std::string& Out) const {
    MapCharacters(Key, Out, false);
    Spellings(Out);
  }

  unsigned FKinds;
  bool FHyphens;
  // The number kind's counters as folded (longest first, and whether one
  // of an address), the counters after a mark, the marks, and a few words.
  bool FNumbers = false;
  std::vector<std::pair<std::string, bool>> FCounters;
  // The counters by their first code (ordered by it; longest first within
  // one): that code and where its counters start in FCounters.
  std::vector<std::pair<unsigned, std::uint32_t>> FCounterFirst;
  std::vector<std::string> FMarkCounters, FCounterMarks, FNumberWords;
  // NumberHit's tables: per byte, what it may start; the double-byte
  // codes of numerals, ℡, 丁 and the marks; the first characters of
  // counters and marks (a bit per code, a single byte by its value).
  static constexpr std::uint8_t kLead = 1, kTee = 2, kSingleMark = 3;
  std::array<std::uint8_t, 256> FNumberByte{};
  std::vector<std::uint64_t> FNumberCode = std::vector<std::uint64_t>(0x10000 / 64, 0),
                             FCounterStart = std::vector<std::uint64_t>(0x10000 / 64, 0);
  // Which of those Key holds, as kNumberText (a numeral, ℡ or t, looked
  // at wherever it stands), kNumberMark (a mark or 丁, which count only
  // after a digit) and kNumberDigit (a digit): the one-pass folding looks
  // for numbers only in a text whose characters' folds hold the first, or
  // the second and the third.
  std::uint32_t NumberChars(std::string_view Key) const {
    std::uint32_t holds = 0;
    for (std::size_t i = 0; i < Key.size(); i += CharLength(Key, i)) {
      const auto b = static_cast<unsigned char>(Key[i]);
      if (IsDigit(Key[i])) holds |= kNumberDigit;
      if (FNumberByte[b] == kTee) holds |= kNumberText;
      if (FNumberByte[b] == kSingleMark) holds |= kNumberMark;
      if (CharLength(Key, i) == 2) {
        const unsigned code = unsigned(b) << 8 | static_cast<unsigned char>(Key[i + 1]);
        if (FNumberCode[code / 64] >> (code % 64) & 1)
          holds |= NumeralOf(Key.substr(i, 2)) >= 0 || code == 0x8784 ? kNumberText : kNumberMark;
      }
    }
    return holds;
  }
  std::string FMarkToken, FOrdinal, FYear, FChome, FBanchi, FBan, FGo, FTel;
  // The counters a lone 十, 百 or 千 is a number before (十日, 百円), and
  // the month, the one a lone 十 is (十月; 百月 is a name).
  std::vector<std::string> FLoneCounters;
  std::string FMonth;
  // A counter and the kanji that may follow it in a number's word
  // (三号館, 二番線).
  std::vector<std::string> FCounterWords;
  // The eras a year's number may follow (平成三十年).
  std::vector<std::string> FEras;
  // A date's and a time's units, each with the one after it.
  std::vector<std::pair<std::string, std::string>> FNextUnits;
  std::array<const TRule*, 256> FSingle{};
  std::vector<const TRule*> FDouble = std::vector<const TRule*>(0x10000, nullptr);
  std::unordered_map<std::string, TRule> FLong;
  std::vector<std::unique_ptr<TRule>> FRules;
  // Spellings of several characters: (pattern, replacement), longest first.
  std::vector<std::pair<std::string, std::string>> FPatterns;
  std::array<bool, 256> FPatternStart{};
  // Bytes after which a lone sound mark may finish a spelling or a word's
  // odd piece (ヴ ヂ ヅ); whether the kana words are folded.
  std::array<bool, 256> FStarter{};
  bool FWords = false;
  // Whether ヶ between kanji is folded, and the first bytes of the keys'
  // characters that may spell it (ｶ, ｹ; ヶ and ヵ are 0x83 codes).
  bool FKe = false;
  std::array<bool, 256> FKeFirst{};
  // The words by the first byte of their first odd piece (ｦ, or ｩ ﾁ ｯ
  // before a sound mark), with where it stands in the word.
  std::array<std::vector<std::pair<const std::pair<std::string, std::string>*, std::size_t>>, 256>
      FWordsByOdd;
  std::array<std::vector<std::uint16_t>, 256> FPatternsBy;  // by first byte, longest first
  // A first look, without branches on the bytes: per byte, 1 when it has a
  // rule of its own, 2 when it is a lead byte of a row with a rule (or of
  // the codec's forms); per pair of bytes, a bit when a spelling starts so.
  std::array<std::uint8_t, 256> FByteHit{};
  std::array<std::uint64_t, 0x10000 / 64> FBytePairHit{};
  // Company forms (folded), longest first, and their tokens.
  std::vector<std::pair<std::string, std::string>> FStarts, FEnds;
  // Forms that count inside a line too (folded), longest first, and the
  // double-byte codes that end one, whose presence sends a key to look.
  std::vector<std::pair<std::string, std::string>> FInside;
  std::vector<std::uint64_t> FInsideHint = std::vector<std::uint64_t>(0x10000 / 64, 0);
  // Whether such a form stands in Key, looked for where its last character
  // does (forms that end in a bracket are their own token).
  std::vector<std::pair<unsigned, std::size_t>> FInsideByLast;  // last code, form's index
  // The form (its index in FInside) that ends at End, longest first, and
  // starts at From or later; npos for none.
  std::size_t InsideFormAt(std::string_view Key, std::size_t End, std::size_t From = 0) const {
    const unsigned code =
        static_cast<unsigned char>(Key[End - 2]) << 8 | static_cast<unsigned char>(Key[End - 1]);
    for (const auto& [last, index] : FInsideByLast) {
      const std::string& form = FInside[index].first;
      if (last == code && form.size() <= End - From &&
          Key.compare(End - form.size(), form.size(), form) == 0 &&
          IsCharacterStart(Key, End - form.size()))
        return index;
    }
    return std::string::npos;
  }
  bool InsideFormEndsAt(std::string_view Key, std::size_t End) const {
    return InsideFormAt(Key, End) != std::string::npos;
  }
  bool HasInside(std::string_view Key) const {
    for (std::size_t i = 0; i < Key.size();) {
      const std::size_t n = CharLength(Key, i);
      i += n;
      if (n != 2) continue;
      const unsigned code =
          static_cast<unsigned char>(Key[i - 2]) << 8 | static_cast<unsigned char>(Key[i - 1]);
      if ((FInsideHint[code / 64] >> (code % 64) & 1) && InsideFormEndsAt(Key, i)) return true;
    }
    return false;
  }
  void InsideForms(std::string& Key) const;
  // What may make a fold change a key: bytes and double-byte codes (a bit
  // each) that have a rule or start a spelling, the first bytes of company
  // forms at the start and the last bytes of those at the end.
  std::array<bool, 256> FSingleHit{}, FStartHit{}, FEndHit{};
  // Per byte: 0 nothing, 1 a rule, 2 look at the next byte too (FPairHit).
  std::array<std::uint8_t, 256> FSingleClass{};
  // The first two bytes of start forms, the last two of end forms.
  std::array<std::array<std::uint64_t, 4>, 256> FStartPair{}, FEndPair{};
  bool FShortStart = false, FShortEnd = false;  // a form of one byte
  std::array<std::uint64_t, 0x10000 / 64> FDoubleHit{};
  std::array<std::array<std::uint64_t, 4>, 256> FPairHit{};  // single byte, then the next byte
  // The forms by their first byte (starts) or last byte (ends), longest
  // first, as indexes into FStarts and FEnds.
  std::array<std::vector<std::uint16_t>, 256> FStartsBy, FEndsBy;
  bool Untouched(std::string_view Key) const;
  // Whether no character of Key has a rule or starts a spelling.
  bool CharsUntouched(std::string_view Key) const;
  // Whether no company form stands at either end of Key.
  bool EndsUntouched(std::string_view Key) const;
  // The characters of a text that may fold to something the kinds change:
  // a bit per code, as FoldKeyIntoMarked reads them.
  std::vector<std::uint64_t> FMarks = std::vector<std::uint64_t>(0x10000 / 64, 0);
  // Per character code (a single byte by its value, a double-byte one by
  // lead << 8 | trail): what it folds to: up to two bytes as
  // bytes << 8 | length, else 4 | index << 8 of a longer fold in FPool
  // (FPoolAt, FPoolSize; an index below 2^16); kNeighbours when it needs its
  // neighbours.
  static constexpr std::uint32_t kNeighbours = UINT32_MAX;
  // Flags beside: the fold starts with a lone sound mark; it ends with a
  // single-byte character that may start a spelling.
  // The fold holds a word's odd piece: the words are looked for afterwards.
  // The fold may spell ヶ, which counts after a kanji.
  // A character that ends a company form that counts inside a line.
  // And in the top byte: what of a number's form the fold holds
  // (NumberChars).
  // A blank of the space kind (with kMarkFirst, so that the loop's one
  // rare-case test finds it): a run of them goes or stays by what stands
  // on both sides, which the one-pass folding looks at where the run ends.
  static constexpr std::uint32_t kMarkFirst = 8, kStarterLast = 16, kOddPiece = 32,
                                 kKeSpelling = 64, kInsideHint = 128, kNumberText = 1u << 24,
                                 kBlankRun = 1u << 25, kNumberMark = 1u << 26,
                                 kNumberDigit = 1u << 27;
  std::vector<std::uint32_t> FComposed = std::vector<std::uint32_t>(0x10000, kNeighbours);
  std::string FPool;
  std::vector<std::uint32_t> FPoolAt, FPoolSize;
  std::size_t FGrowth = 1;  // no character folds to more than this many bytes a byte
  // The form at the start (end) of Key[b, e), or nullptr.
  const std::pair<std::string, std::string>* StartForm(std::string_view Key, std::size_t b,
                                                       std::size_t e) const {
    for (const std::uint16_t i : FStartsBy[static_cast<unsigned char>(Key[b])]) {
      const std::string& form = FStarts[i].first;
      if (form.size() <= e - b && Key.compare(b, form.size(), form) == 0) return &FStarts[i];
    }
    return nullptr;
  }
  const std::pair<std::string, std::string>* EndForm(std::string_view Key, std::size_t b,
                                                     std::size_t e) const {
    for (const std::uint16_t i : FEndsBy[static_cast<unsigned char>(Key[e - 1])]) {
      const std::string& form = FEnds[i].first;
      if (form.size() <= e - b && Key.compare(e - form.size(), form.size(), form) == 0 &&
          IsCharacterStart(Key, e - form.size()))
        return &FEnds[i];
    }
    return nullptr;
  }
};

namespace {

std::pair<std::size_t, std::size_t> LastTwo(std::string_view Text);

std::string KeyFold(std::string_view s, bool hyphens) {
  std::string out(s.size(), '\0');
  out.resize(FoldKeyInto(s, hyphens, out.data()));
  return out;
}

// The okurigana table's spellings as keys, one after another in Bytes:
// the i-th ends at Ends[i]; an empty one before each word, then its
// standard spelling and the others.
struct TOkuriganaKeys {
  std::string Bytes;
  std::vector<std::uint32_t> Ends;
  std::size_t size() const { return Ends.size(); }
  std::string_view operator[](std::size_t i) const {
    const std::uint32_t from = i == 0 ? 0 : Ends[i - 1];
    return std::string_view(Bytes).substr(from, Ends[i] - from);
  }
};

// Made once for each option, on first use: a run mostly asks for one.
const TOkuriganaKeys& OkuriganaKeys(bool hyphens) {
  const auto make = [](bool h) {
    TOkuriganaKeys keys;
    keys.Ends.reserve(std::size(okurigana_table::kWords) * 4);
    for (const std::string_view line : okurigana_table::kWords) {
      keys.Ends.push_back(static_cast<std::uint32_t>(keys.Bytes.size()));
      for (std::size_t from = 0; from <= line.size();) {
        const std::size_t tab = std::min(line.find('\t', from), line.size());
        const std::string sjis = cp932::Sjis(line.substr(from, tab - from));
        const std::size_t at = keys.Bytes.size();
        keys.Bytes.resize(at + sjis.size());
        keys.Bytes.resize(at + FoldKeyInto(sjis, h, keys.Bytes.data() + at));
        keys.Ends.push_back(static_cast<std::uint32_t>(keys.Bytes.size()));
        from = tab + 1;
      }
    }
    return keys;
  };
  if (hyphens) {
    static const TOkuriganaKeys hyphened = make(true);
    return hyphened;
  }
  static const TOkuriganaKeys plain = make(false);
  return plain;
}

}  // namespace

void TVariantFolder::AddRule(std::string_view Source, TAction Action, std::string_view Target) {
  // The key holds a character as the key folding left it.
  const std::string source = KeyFold(Source, FHyphens);
  if (source.empty() || CharLength(source, 0) != source.size()) return;
  std::string target = KeyFold(Target, FHyphens);
  if (Action == TAction::Replace && target == source) return;
  if (RuleFor(source) != nullptr) return;  // the first kind to list a character decides
  TRule rule{Action, std::move(target)};
  if (source.size() > 2) {
    FLong.emplace(source, std::move(rule));
    return;
  }
  FRules.push_back(std::make_unique<TRule>(std::move(rule)));
  if (source.size() == 1)
    FSingle[static_cast<unsigned char>(source[0])] = FRules.back().get();
  else {
    const unsigned code =
        static_cast<unsigned char>(source[0]) << 8 | static_cast<unsigned char>(source[1]);
    FDouble[code] = FRules.back().get();
    FDoubleHit[code / 64] |= std::uint64_t{1} << (code % 64);
  }
}

void TVariantFolder::AddTable(std::span<const vt::TPair> Pairs, TAction Action) {
  for (const vt::TPair& p : Pairs) {
    const TAction action =
        Action == TAction::Replace && p.Target.empty() ? TAction::Delete : Action;
    AddRule(p.Source, action, p.Target);
  }
}

TVariantFolder::TVariantFolder(unsigned Kinds, bool Hyphens) : FKinds(Kinds), FHyphens(Hyphens) {
  // The spellings of a few characters (not the words), whose first
  // characters decide in the one-pass folding.
  std::vector<std::pair<std::string, std::string>> spellings;
  // Where two kinds list a character, the earlier here decides.
  if (Kinds & kVariantSpace) {
    AddTable(vt::kBlanks, TAction::Blank);
    AddTable(vt::kDots, TAction::Dot);
  }
  if (Kinds & kVariantSymbol) {
    AddTable(vt::kSymbols, TAction::Replace);  // ｰ between digits: Spellings
  }
  if (Kinds & kVariantKanji) {
    AddTable(vt::kKanji, TAction::Replace);
    AddRule("\x81\x58", TAction::RepeatKanji, {});  // 々
  }
  if (Kinds & kVariantCompat) AddTable(vt::kCompat, TAction::Replace);
  if (Kinds & kVariantKana) {
    for (const vt::TPair& p : vt::kKana) {
      const std::string source = KeyFold(p.Source, Hyphens);
      if (!source.empty() && CharLength(source, 0) == source.size())
        AddRule(p.Source, TAction::Replace, p.Target);
      else
        FPatterns.emplace_back(source, KeyFold(p.Target, Hyphens));
    }
    spellings = FPatterns;
    // Words across ヴ/ブ, ぢ/じ, づ/ず and を/お, anywhere in the line; also
    // without the long-vowel mark the trailing-mark rule takes first.
    for (const vt::TPair& p : vt::kKanaWords) {
      std::string source = KeyFold(p.Source, Hyphens), target = KeyFold(p.Target, Hyphens);
      FPatterns.emplace_back(source, target);
      const auto mark = [](const std::string& w) {
        return !w.empty() && (w.back() == '-' || w.back() == '\xB0');
      };
      if (mark(source) && mark(target)) {
        source.pop_back(), target.pop_back();
        FPatterns.emplace_back(std::move(source), std::move(target));
      }
    }
    FWords = std::size(vt::kKanaWords) != 0;
    FKe = true;
    for (const unsigned char b : {0xB6, 0xB9, 0x83}) FKeFirst[b] = true;
    AddRule("\x81\x54", TAction::RepeatKana, {});    // ゝ
    AddRule("\x81\x52", TAction::RepeatKana, {});    // ヽ
    AddRule("\x81\x55", TAction::RepeatVoiced, {});  // ゞ
    AddRule("\x81\x53", TAction::RepeatVoiced, {});  // ヾ
  }
  // A replacement is folded by the rules in turn until nothing changes
  // (① -> 1, Ⅱ -> ii, ㌻ -> ﾍﾟｰｼﾞ): each rule then gives a fixed point.
  const auto settle = [this](TRule& rule) {
    for (int round = 0; round < 8 && rule.Action == TAction::Replace; ++round) {
      std::string next = Inner(rule.Bytes);
      if (next == rule.Bytes) return;
      rule.Bytes = std::move(next);
    }
  };
  for (auto& rule : FRules) settle(*rule);
  for (auto& [source, rule] : FLong) settle(rule);
  for (auto& [pattern, replacement] : FPatterns) replacement = Inner(replacement);
  // Spellings are rewritten in place: none may grow.
  std::erase_if(FPatterns, [](const auto& p) { return p.second.size() > p.first.size(); });
  std::sort(FPatterns.begin(), FPatterns.end(), [](const auto& a, const auto& b) {
    return a.first.size() != b.first.size() ? a.first.size() > b.first.size() : a.first < b.first;
  });
  // Hiragana and katakana spellings meet in one key form: once is enough.
  FPatterns.erase(std::unique(FPatterns.begin(), FPatterns.end()), FPatterns.end());
  for (std::size_t i = 0; i < FPatterns.size(); ++i) {
    const auto first = static_cast<unsigned char>(FPatterns[i].first[0]);
    FPatternStart[first] = true;
    FPatternsBy[first].push_back(static_cast<std::uint16_t>(i));
  }

  for (const auto& p : FPatterns) {
    if (std::find(spellings.begin(), spellings.end(), p) != spellings.end()) continue;
    for (std::size_t k = 0; k < p.first.size(); ++k) {
      const auto b = static_cast<unsigned char>(p.first[k]);
      if (b == 0xA6 || ((b == 0xA9 || b == 0xC1 || b == 0xAF) && k + 1 < p.first.size() &&
                        p.first[k + 1] == '\xDE')) {
        FWordsByOdd[b].emplace_back(&p, k);
        break;
      }
    }
  }
  for (const auto& p : spellings) FStarter[static_cast<unsigned char>(p.first[0])] = true;
  // Before a lone sound mark these may make the odd piece of a word (the
  // key holds ｳ and ﾂ as ｩ and ｯ).
  if (FWords)
    for (const unsigned char b : {0xA9, 0xC1, 0xAF}) FStarter[b] = true;
  for (unsigned b = 0; b < 256; ++b) FSingleHit[b] = FSingle[b] != nullptr;
  for (const auto& p : FPatterns) {
    // A spelling starts with a single-byte kana and a sound mark: the pair
    // is what counts.
    const auto first = static_cast<unsigned char>(p.first[0]);
    if (p.first.size() < 2) {
      FSingleHit[first] = true;
      continue;
    }
    const auto second = static_cast<unsigned char>(p.first[1]);
    FPairHit[first][second / 64] |= std::uint64_t{1} << (second % 64);
  }
  if (Kinds & kVariantSymbol) FSingleHit[0xB0] = true;
  for (unsigned b = 0; b < 256; ++b) {
    bool pair = false;
    for (const std::uint64_t w : FPairHit[b]) pair = pair || w != 0;
    FSingleClass[b] = FSingleHit[b] ? 1 : pair ? 2 : 0;
  }
  for (unsigned code = 0; code < 0x10000; ++code) {
    if (FDouble[code] == nullptr) continue;
    FByteHit[code >> 8] |= 2;
  }
  FByteHit[kSequenceLead] |= 2;
  for (unsigned b = 0; b < 256; ++b) {
    if (FSingleHit[b]) FByteHit[b] |= 1;
    for (unsigned next = 0; next < 256; ++next)
      if (FPairHit[b][next / 64] >> (next % 64) & 1)
        FBytePairHit[(b << 8 | next) / 64] |= std::uint64_t{1} << (next % 64);
  }
  if (Kinds & kVariantCompany) {
    const auto add = [this](std::vector<std::pair<std::string, std::string>>& to,
                            std::span<const vt::TPair> pairs) {
      for (const vt::TPair& p : pairs)
        to.emplace_back(Inner(KeyFold(p.Source, FHyphens)), Inner(KeyFold(p.Target, FHyphens)));
    };
    add(FStarts, vt::kCompanyForms);
    add(FStarts, vt::kCompanyStarts);
    add(FEnds, vt::kCompanyForms);
    add(FEnds, vt::kCompanyEnds);
    add(FInside, vt::kCompanyInside);
    std::stable_sort(FInside.begin(), FInside.end(),
                     [](const auto& a, const auto& b) { return a.first.size() > b.first.size(); });
    for (std::size_t index = 0; index < FInside.size(); ++index) {
      const std::string& form = FInside[index].first;
      const std::size_t last = LastTwo(form).first;
      if (form.size() - last != 2) continue;
      const unsigned code =
          static_cast<unsigned char>(form[last]) << 8 | static_cast<unsigned char>(form[last + 1]);
      FInsideHint[code / 64] |= std::uint64_t{1} << (code % 64);
      FInsideByLast.emplace_back(code, index);
    }
    for (auto* list : {&FStarts, &FEnds}) {
      std::stable_sort(list->begin(), list->end(), [](const auto& a, const auto& b) {
        return a.first.size() > b.first.size();
      });
    }
    for (std::size_t i = 0; i < FStarts.size(); ++i) {
      const std::string& form = FStarts[i].first;
      if (form.empty()) continue;
      FStartHit[static_cast<unsigned char>(form.front())] = true;
      FShortStart = FShortStart || form.size() == 1;
      if (form.size() >= 2) {
        const auto second = static_cast<unsigned char>(form[1]);
        FStartPair[static_cast<unsigned char>(form[0])][second / 64] |= std::uint64_t{1}
                                                                        << (second % 64);
      }
      FStartsBy[static_cast<unsigned char>(form.front())].push_back(static_cast<std::uint16_t>(i));
    }
    for (std::size_t i = 0; i < FEnds.size(); ++i) {
      const std::string& form = FEnds[i].first;
      if (form.empty()) continue;
      FEndHit[static_cast<unsigned char>(form.back())] = true;
      FShortEnd = FShortEnd || form.size() == 1;
      if (form.size() >= 2) {
        const auto before = static_cast<unsigned char>(form[form.size() - 2]);
        FEndPair[static_cast<unsigned char>(form.back())][before / 64] |= std::uint64_t{1}
                                                                          << (before % 64);
      }
      FEndsBy[static_cast<unsigned char>(form.back())].push_back(static_cast<std::uint16_t>(i));
    }
  }
  if (Kinds & kVariantNumber) {
    FNumbers = true;
    const auto folded = [this](std::string_view utf8) {
      return Inner(KeyFold(cp932::Sjis(utf8), FHyphens));
    };
    for (const std::string_view c : number_counters::kAddress)
      FCounters.emplace_back(folded(c), true);
    for (const std::string_view c : number_counters::kCounters)
      FCounters.emplace_back(folded(c), false);
    std::stable_sort(FCounters.begin(), FCounters.end(),
                     [](const auto& a, const auto& b) { return a.first.size() > b.first.size(); });
    for (const std::string_view c : number_counters::kAfterMark) FMarkCounters.push_back(folded(c));
    for (const std::string_view m : {"か", "カ", "ヵ", "ヶ", "ケ", "箇"})
      if (std::find(FCounterMarks.begin(), FCounterMarks.end(), folded(m)) == FCounterMarks.end())
        FCounterMarks.push_back(folded(m));
    for (const std::string_view w : number_counters::kWords) FNumberWords.push_back(folded(w));
    FMarkToken = folded("か");
    FOrdinal = folded("第");
    FYear = folded("年");
    for (const std::string_view c : {"円", "日"}) FLoneCounters.push_back(folded(c));
    FMonth = folded("月");
    for (const std::string_view w : {"号館", "号棟", "号室", "号車", "号線", "号機", "番線"})
      FCounterWords.push_back(folded(w));
    for (const std::string_view era : {"明治", "大正", "昭和", "平成", "令和"})
      FEras.push_back(folded(era));
    // Not 月 then 日: 四月一日 and 八月一日 are family names.
    for (const auto& [unit, next] : {std::pair{"年", "月"}, {"時", "分"}, {"分", "秒"}})
      FNextUnits.emplace_back(folded(unit), folded(next));
    FChome = folded("丁目");
    FBanchi = folded("番地");
    FBan = folded("番");
    FGo = folded("号");
    FTel = "\x87\x84";  // ℡
    const auto firstCode = [](const std::string& c) {
      const std::size_t n = CharLength(c, 0);
      return n == 2   ? static_cast<unsigned char>(c[0]) << 8 | static_cast<unsigned char>(c[1])
             : n == 1 ? static_cast<unsigned char>(c[0])
                      : 0u;
    };
    const auto set = [](std::vector<std::uint64_t>& bits, unsigned code) {
      bits[code / 64] |= std::uint64_t{1} << (code % 64);
    };
    for (unsigned b = 0x80; b < 256; ++b)
      if (IsLeadByte(static_cast<unsigned char>(b))) FNumberByte[b] = kLead;
    FNumberByte['t'] = FNumberByte['T'] = kTee;
    for (const unsigned code : {0x815Au, 0x88EAu, 0x93F1u, 0x8E4Fu, 0x8E6Cu, 0x8CDCu, 0x985Au,
                                0x8EB5u, 0x94AAu, 0x8BE3u, 0x8F5Cu, 0x9553u, 0x90E7u, 0x8784u})
      set(FNumberCode, code);
    set(FNumberCode, firstCode(FChome));
    for (const std::string& m : FCounterMarks) {
      if (m.size() == 1)
        FNumberByte[static_cast<unsigned char>(m[0])] = kSingleMark;
      else
        set(FNumberCode, firstCode(m));
      set(FCounterStart, firstCode(m));
    }
    for (const auto& [counter, address] : FCounters) set(FCounterStart, firstCode(counter));
    // Longest first within one first code, as CounterAt takes the first
    // that matches.
    std::stable_sort(FCounters.begin(), FCounters.end(), [&](const auto& a, const auto& b) {
      return firstCode(a.first) < firstCode(b.first);
    });
    for (std::size_t k = 0; k < FCounters.size(); ++k)
      if (k == 0 || firstCode(FCounters[k].first) != firstCode(FCounters[k - 1].first))
        FCounterFirst.emplace_back(firstCode(FCounters[k].first), static_cast<std::uint32_t>(k));
    FCounterFirst.emplace_back(0x10000, static_cast<std::uint32_t>(FCounters.size()));
  }
  if (Kinds & kVariantOkurigana) {
    FOkuri = true;
    FOkuriBits.assign((std::size_t{1} << (32 - kOkuriBitShift)) / 64, 0);
    FOkuriPrefix = FOkuriBits;
    FOkuriPair.assign((std::size_t{1} << 20) / 64, 0);
    FOkuriKanaRuns = FOkuriPair;
    FOkuriFollow.assign(0x10000, 0);
    // The spellings as the key holds them after the other kinds, one after
    // another in one string: each word's standard spelling maps to itself,
    // so that a longest match never takes a piece of it for a shorter word
    // (引っ越 in 引っ越し).
    struct TSpan {
      std::uint32_t At = 0, Size = 0;
    };
    std::vector<std::pair<TSpan, TSpan>> pairs;  // source, target in FOkuriText
    const TOkuriganaKeys& words = OkuriganaKeys(Hyphens);
    FOkuriText.reserve(words.Bytes.size() + words.Bytes.size() / 16);
    pairs.reserve(words.size());
    TSpan target;
    bool standard = false;
    std::string folded;
    for (std::size_t k = 0; k < words.size(); ++k) {
      const std::string_view w = words[k];
      // Each word's spellings follow its standard one, after an empty line.
      if (w.empty()) {
        standard = true;
        continue;
      }
      const auto at = static_cast<std::uint32_t>(FOkuriText.size());
      // The other kinds' folds, where they change anything.
      if (CharsUntouched(w) && !KeChanges(w)) {
        FOkuriText += w;
      } else {
        Inner(w, folded);
        KeBetweenKanji(folded);
        FOkuriText += folded;
      }
      const TSpan span{at, static_cast<std::uint32_t>(FOkuriText.size() - at)};
      if (standard) target = span, standard = false;
      pairs.emplace_back(span, target);
    }
    const auto view = [&](TSpan s) { return std::string_view(FOkuriText).substr(s.At, s.Size); };
    const auto kana = [](std::string_view w, std::size_t at) {
      return OkuriClass(w, at) == kOkuriKana;
    };
    FOkuriEntries.reserve(pairs.size());
    for (const auto& [source, target] : pairs) {
      const std::string_view w = view(source), t = view(target);
      if (w.empty() || CharLength(w, 0) == w.size()) continue;
      bool kanaOnly = true;
      for (std::size_t i = 0; i < w.size(); i += CharLength(w, i))
        kanaOnly = kanaOnly && kana(w, i);
      FOkuriEntries.push_back(TOkuriEntry{
          w, t, kana(w, 0), kanaOnly, t.empty() ? std::uint8_t{0} : OkuriClass(t, LastTwo(t).first),
          OkuriHash(w, 0, OkuriChars(w))});
    }
    // By hash, longest first, then by bytes (two spellings of one length
    // never match at one place): a spelling the other kinds make one with
    // another stands next to it, and keeps the first word's, whose target
    // stands first in FOkuriText.
    std::sort(FOkuriEntries.begin(), FOkuriEntries.end(),
              [](const TOkuriEntry& a, const TOkuriEntry& b) {
                if (a.Hash != b.Hash) return a.Hash < b.Hash;
                if (a.Source.size() != b.Source.size()) return a.Source.size() > b.Source.size();
                if (a.Source != b.Source) return a.Source < b.Source;
                return std::less<const char*>()(a.Target.data(), b.Target.data());
              });
    FOkuriEntries.erase(std::unique(FOkuriEntries.begin(), FOkuriEntries.end(),
                                    [](const TOkuriEntry& a, const TOkuriEntry& b) {
                                      return a.Source == b.Source;
                                    }),
                        FOkuriEntries.end());
    std::size_t capacity = 1024;
    while (capacity < 2 * FOkuriEntries.size()) capacity *= 2;
    FOkuriRanges.assign(capacity, {});
    FOkuriMask = static_cast<std::uint32_t>(capacity - 1);
    for (std::size_t k = 0; k < FOkuriEntries.size(); ++k) {
      const TOkuriEntry& entry = FOkuriEntries[k];
      const std::uint32_t h = entry.Hash;
      std::uint32_t i = h & FOkuriMask;
      while (FOkuriRanges[i].Hash != 0 && FOkuriRanges[i].Hash != h) i = (i + 1) & FOkuriMask;
      TOkuriSlot& range = FOkuriRanges[i];
      if (range.Hash == 0) range = {h, static_cast<std::uint32_t>(k), 0};
      range.End = static_cast<std::uint32_t>(k + 1);
      FOkuriBits[(h >> kOkuriBitShift) / 64] |= std::uint64_t{1} << ((h >> kOkuriBitShift) % 64);
      const std::uint32_t p = OkuriHash(entry.Source, 0, 2);
      FOkuriPrefix[(p >> kOkuriBitShift) / 64] |= std::uint64_t{1} << ((p >> kOkuriBitShift) % 64);
      // The codes the key's look reads where this spelling starts, for the
      // spellings that change a key (a standard one maps to itself). A lone
      // lead byte at the spelling's end may be a double-byte code's in a
      // key: such a spelling is looked for in every key.
      if (entry.Source != entry.Target) {
        const std::string_view w = entry.Source;
        unsigned codes[3] = {};
        for (std::size_t c = 0, at = 0; c < 3 && at < w.size(); ++c) {
          const std::size_t n = CharLength(w, at);
          const auto b = static_cast<unsigned char>(w[at]);
          if (n == 1 && IsLeadByte(b)) FOkuriAlways = true;
          codes[c] = n > 2    ? kOkuriFormCode
                     : n == 2 ? unsigned(b) << 8 | static_cast<unsigned char>(w[at + 1])
                              : b;
          at += n;
        }
        const std::uint32_t pair = OkuriPairHash(codes[0], codes[1]);
        FOkuriPair[pair / 64] |= std::uint64_t{1} << (pair % 64);
        if (!entry.KanaStart) {
          FOkuriFollow[codes[0]] |= std::uint64_t{1} << OkuriFollowBit(codes[1]);
        } else {
          std::size_t run = 0;
          while (run < w.size() && OkuriKanaByte(w[run])) ++run;
          const std::uint32_t h = run == w.size()
                                      ? OkuriBytesHash(w, 0, run) >> 12
                                      : OkuriBytesHash(w, 0, run + CharLength(w, run)) >> 12;
          FOkuriKanaRuns[h / 64] |= std::uint64_t{1} << (h % 64);
        }
      }
    }
  }
  // The characters of a text whose folded form a rule or a spelling may
  // change; a lone sound mark too, as it may finish a spelling with the
  // character before it.
  for (unsigned code = 0; code < 0x10000; ++code) {
    if (code >= 0x100 && !IsLeadByte(static_cast<unsigned char>(code >> 8))) continue;
    std::string c;
    if (code >= 0x100) c += static_cast<char>(code >> 8);
    c += static_cast<char>(code & 0xFF);
    const std::string f = KeyFold(c, Hyphens);
    const auto first = f.empty() ? 0u : static_cast<unsigned char>(f[0]);
    const bool mark = !FPatterns.empty() && (first == 0xDE || first == 0xDF);
    // The words' odd pieces: whoever holds one is folded with its
    // neighbours, where the words are looked for.
    bool odd = false;
    for (std::size_t i = 0; FWords && i < f.size() && !odd; i += CharLength(f, i))
      odd = f[i] == '\xA6' || (i + 1 < f.size() && f[i + 1] == '\xDE' &&
                               (f[i] == '\xA9' || f[i] == '\xC1' || f[i] == '\xAF'));
    const bool ke = !f.empty() && FKeFirst[first];
    if (mark || odd || ke || !CharsUntouched(f))
      FMarks[code / 64] |= std::uint64_t{1} << (code % 64);
    // Whether the character's fold depends on its neighbours. A lone sound
    // mark only does after a character that may start a spelling, which
    // the one-pass folding checks.
    // A middle dot looks at the pieces on both sides: folded in steps. A
    // blank writes itself, and its run is settled by the one pass.
    if (const TRule* rule = RuleFor(f); rule != nullptr && rule->Action != TAction::Replace) {
      if (rule->Action == TAction::Blank && f.size() == 1)
        FComposed[code] =
            1 | std::uint32_t{static_cast<unsigned char>(f[0])} << 8 | kMarkFirst | kBlankRun;
      if (rule->Action == TAction::Dot || rule->Action == TAction::Blank) continue;
    }
    bool neighbours = false;
    for (std::size_t i = 0; i < f.size() && !neighbours; i += CharLength(f, i)) {
      const TRule* rule = RuleFor(std::string_view(f).substr(i, CharLength(f, i)));
      neighbours = rule != nullptr && rule->Action != TAction::Replace &&
                   rule->Action != TAction::Delete && rule->Action != TAction::Keep;
      if ((FKinds & kVariantSymbol) && f[i] == '\xB0' && CharLength(f, i) == 1) neighbours = true;
    }
    for (const auto& [pattern, replacement] : spellings)
      for (std::size_t k = 2; k < pattern.size() && !neighbours; ++k)
        neighbours = f.size() >= k && f.compare(f.size() - k, k, pattern, 0, k) == 0;
    if (neighbours) continue;
    const std::string folded = Inner(f);
    // A character that folds to nothing would leave a blank run's
    // neighbours unknown to the one pass: folded in steps.
    if (folded.empty()) continue;
    std::uint32_t bits = (mark ? kMarkFirst : 0) | (odd ? kOddPiece : 0);
    if (!folded.empty() && FKeFirst[static_cast<unsigned char>(folded[0])]) bits |= kKeSpelling;
    // A fold that ends a form inside the line notes where; one that holds
    // such an end elsewhere is folded in steps.
    bool hint = false, last = false;
    for (std::size_t i = 0; i < folded.size(); i += CharLength(folded, i)) {
      last = false;
      if (CharLength(folded, i) != 2) continue;
      const unsigned c2 =
          static_cast<unsigned char>(folded[i]) << 8 | static_cast<unsigned char>(folded[i + 1]);
      last = (FInsideHint[c2 / 64] >> (c2 % 64) & 1) != 0;
      hint = hint || last;
    }
    if (hint && !last) continue;
    if (hint) bits |= kInsideHint;
    if (!folded.empty() && FStarter[static_cast<unsigned char>(folded.back())] &&
        LastTwo(folded).first == folded.size() - 1)
      bits |= kStarterLast;
    if (FNumbers) bits |= NumberChars(f) | NumberChars(folded);
    if (folded.size() <= 2) {
      std::uint32_t to = static_cast<std::uint32_t>(folded.size()) | bits;
      for (std::size_t k = 0; k < folded.size(); ++k)
        to |= std::uint32_t{static_cast<unsigned char>(folded[k])} << (8 * (k + 1));
      FComposed[code] = to;
    } else {
      if (FPoolAt.size() >= 0x10000) throw std::length_error("variant folds");
      FComposed[code] = static_cast<std::uint32_t>(FPoolAt.size() << 8 | 4 | bits);
      FPoolAt.push_back(static_cast<std::uint32_t>(FPool.size()));
      FPoolSize.push_back(static_cast<std::uint32_t>(folded.size()));
      FPool += folded;
    }
    FGrowth = std::max(FGrowth, (folded.size() + c.size() - 1) / c.size());
  }
}

namespace {

// Where the last character of Text starts, and the one before it (npos for
// none): found from the start, as character boundaries are.
std::pair<std::size_t, std::size_t> LastTwo(std::string_view Text) {
  std::size_t last = std::string::npos, before = std::string::npos;
  for (std::size_t i = 0; i < Text.size(); i += CharLength(Text, i)) before = last, last = i;
  return {last, before};
}

}  // namespace

void TVariantFolder::MapCharacters(std::string_view Key, std::string& Out, bool Line) const {
  Out.clear();
  Out.reserve(Key.size() + 8);
  bool any = false;  // a character other than a leading blank was written
  // A run of blanks and dots after the first other character, dropped when
  // another character follows, unless it separates two digits or two
  // Latin letters: then one blank (or one dot, if it held one) stays. A
  // dot beside a piece of one character stays as well: ア・テスト is not
  // アテスト, and in 中・島 the dot stands for a character the writer could
  // not type (中甑島), so it is not 中島. A trailing run of blanks stays, as
  // leading blanks do: the trimming options decide about outer blanks. A
  // dot at the end stays as one dot for the same reason (大松・ is 大松碆, not
  // 大松); dots before the first character go.
  std::size_t run = std::string::npos,
              piece = 0;  // piece: where the text after the last run starts in Out
  bool dot = false;
  // Next is the character after the run, at At in Key.
  const auto dropRun = [&](char next, std::size_t At) {
    if (run == std::string::npos) return;
    const bool separates =
        run > 0 && Separates(std::string_view(Out).substr(0, run), run - 1, next);
    const bool lone = dot && (OneCharacter(std::string_view(Out).substr(piece, run - piece)) ||
                              OnePieceAt(Key, At));
    Out.resize(run);
    if (separates || lone) Out += dot ? '\xA5' : ' ';
    // Only a dot that stays parts pieces: blanks go, or stay as a blank, and
    // a dot that goes leaves one piece, as the folded key shows it when it
    // is folded again.
    if (dot && (separates || lone)) piece = Out.size();
    run = std::string::npos;
    dot = false;
  };
  // Characters without a rule are copied in runs, and so are the joiner
  // sequences: no fold looks inside one.
  const auto joined = JoinedSequences(Key);
  std::size_t nextJoined = 0;
  std::size_t from = 0;
  const auto flush = [&](std::size_t to) {
    if (to <= from) return;
    dropRun(Key[from], from);
    Out.append(Key, from, to - from);
    any = true;
  };
  for (std::size_t i = 0; i < Key.size();) {
    if (nextJoined < joined.size() && joined[nextJoined].first == i) {
      i = joined[nextJoined++].second;
      continue;
    }
    const auto b = static_cast<unsigned char>(Key[i]);
    const std::size_t n = CharLength(Key, i);
    if (n == 2) {
      const unsigned code = unsigned(b) << 8 | static_cast<unsigned char>(Key[i + 1]);
      if (!(FDoubleHit[code / 64] >> (code % 64) & 1)) {
        i += 2;
        continue;
      }
    } else if (n == 1 && FSingle[b] == nullptr) {
      ++i;
      continue;
    }
    const std::string_view c = Key.substr(i, n);
    const TRule* rule = RuleFor(c);
    flush(i);
    i += n;
    from = i;
    if (rule == nullptr) {
      dropRun(c[0], i - n);
      Out += c;
      any = true;
      continue;
    }
    switch (rule->Action) {
      case TAction::Keep:
      case TAction::Replace: {
        const std::string_view to =
            rule->Action == TAction::Keep ? c : std::string_view(rule->Bytes);
        dropRun(to[0], i - n);
        Out += to;
        any = true;
        break;
      }
      case TAction::Delete:
        break;
      case TAction::Blank:
        if (any && run == std::string::npos) run = Out.size();
        Out += c;
        break;
      case TAction::Dot:
        if (any && run == std::string::npos) run = Out.size();
        dot = dot || any;
        break;
      case TAction::RepeatKanji: {
        dropRun('\0', i - n);
        const std::size_t last = LastTwo(Out).first;
        Out += last != std::string::npos && IsKanji(std::string_view(Out).substr(last))
                   ? Out.substr(last)
                   : std::string(c);
        any = true;
        break;
      }
      case TAction::RepeatKana:
      case TAction::RepeatVoiced: {
        dropRun('\0', i - n);
        const auto [last, before] = LastTwo(Out);
        std::size_t base = std::string::npos;
        if (last != std::string::npos && Out.size() - last == 1) {
          const auto b = static_cast<unsigned char>(Out[last]);
          if (IsKanaByte(b))
            base = last;
          else if ((b == 0xDE || b == 0xDF) && before != std::string::npos && before + 1 == last &&
                   IsKanaByte(static_cast<unsigned char>(Out[before])))
            base = before;
        }
        any = true;
        if (base == std::string::npos) {
          Out += c;
          break;
        }
        Out += Out[base];
        if (rule->Action == TAction::RepeatVoiced) Out += '\xDE';
        break;
      }
    }
  }
  flush(Key.size());
  if (Line && run != std::string::npos && dot) Out.insert(run, 1, '\xA5');
}

bool TVariantFolder::OneCharacter(std::string_view Piece) {
  // A sound mark belongs to the kana before it (ﾀﾞ is one); outer blanks
  // do not count.
  std::size_t count = 0;
  for (std::size_t i = 0; i < Piece.size() && count < 2; i += CharLength(Piece, i)) {
    const auto b = static_cast<unsigned char>(Piece[i]);
    count += b > 0x20 && b != 0xDE && b != 0xDF;
  }
  return count == 1;
}

bool TVariantFolder::OnePieceAt(std::string_view Key, std::size_t At) const {
  // The piece runs to the next dot; its blanks are no characters of it.
  std::string piece;
  for (std::size_t e = At; e < Key.size() && piece.size() < 8;) {
    const std::size_t n = CharLength(Key, e);
    const TRule* rule = RuleFor(Key.substr(e, n));
    if (rule != nullptr && rule->Action == TAction::Dot) break;
    if (rule == nullptr || rule->Action != TAction::Blank) piece.append(Key, e, n);
    e += n;
  }
  return OneCharacter(piece);
}

// In place: a spelling never grows.
std::size_t TVariantFolder::Spellings(char* Key, std::size_t Size) const {
  // The long words first: a word of the list may stand inside one (ラヴ in
  // キャラヴァン).
  if (FWords && std::string_view(Key, Size).find("\xA9\xDE") != std::string_view::npos)
    Size = VuWords(Key, Size);
  const std::string_view key(Key, Size);
  const bool dash = (FKinds & kVariantSymbol) != 0;
  std::size_t o = 0;
  for (std::size_t i = 0; i < Size;) {
    const auto b = static_cast<unsigned char>(Key[i]);
    const std::size_t n = CharLength(key, i);
    if (FPatternStart[b]) {
      bool matched = false;
      for (const std::uint16_t k : FPatternsBy[b]) {
        const auto& [pattern, replacement] = FPatterns[k];
        bool same = i + pattern.size() <= Size;
        for (std::size_t k = 1; same && k < pattern.size(); ++k) same = Key[i + k] == pattern[k];
        if (same) {
          std::memcpy(Key + o, replacement.data(), replacement.size());
          o += replacement.size();
          i += pattern.size();
          matched = true;
          break;
        }
      }
      if (matched) continue;
    }
    if (dash && n == 1 && b == 0xB0 && o > 0 && IsDigit(Key[o - 1]) && i + 1 < Size &&
        IsDigit(Key[i + 1])) {
      Key[o++] = '-';
      ++i;
      continue;
    }
    if (o != i)
      for (std::size_t k = 0; k < n; ++k) Key[o + k] = Key[i + k];
    o += n;
    i += n;
  }
  return o;
}

std::size_t TVariantFolder::VuWords(char* Out, std::string_view Key, bool& Found) const {
  const std::size_t Size = Key.size();
  // A run of kana (ｩﾞ is ヴ, the key's kana being small) and long-vowel
  // marks or hyphens after them, counted without its sound marks.
  const auto kana = [](unsigned char b) { return b >= 0xA6 && b <= 0xDF; };
  std::size_t o = 0;
  const auto put = [&](std::string_view bytes) {
    if (Out != nullptr && o != static_cast<std::size_t>(bytes.data() - Key.data()))
      std::memmove(Out + o, bytes.data(), bytes.size());
    o += bytes.size();
  };
  for (std::size_t i = 0; i < Size;) {
    const std::size_t n = CharLength(Key, i);
    if (n != 1 || !kana(static_cast<unsigned char>(Key[i]))) {
      put(Key.substr(i, n));
      i += n;
      continue;
    }
    std::size_t e = i, count = 0;
    bool vu = false;
    for (; e < Size && CharLength(Key, e) == 1; ++e) {
      const auto b = static_cast<unsigned char>(Key[e]);
      if (!kana(b) && b != '-') break;
      count += b != 0xDE && b != 0xDF;
      vu = vu || (b == 0xDE && e > i && Key[e - 1] == '\xA9');
    }
    if (!vu || count < kVuWordLength) {
      put(Key.substr(i, e - i));
      i = e;
      continue;
    }
    Found = true;
    if (Out == nullptr) return Size;
    // ｩﾞｧ ｩﾞｨ ｩﾞｪ ｩﾞｫ as ﾊﾞ ﾋﾞ ﾍﾞ ﾎﾞ, ｩﾞｭ as ﾋﾞｭ, ｩﾞ alone as ﾌﾞ.
    for (std::size_t p = i; p < e;) {
      if (Key[p] != '\xA9' || p + 1 == e || Key[p + 1] != '\xDE') {
        put(Key.substr(p, 1));
        ++p;
        continue;
      }
      const char next = p + 2 < e ? Key[p + 2] : '\0';
      const char* row = next == '\xA7'   ? "\xCA\xDE"
                        : next == '\xA8' ? "\xCB\xDE"
                        : next == '\xAA' ? "\xCD\xDE"
                        : next == '\xAB' ? "\xCE\xDE"
                        : next == '\xAD' ? "\xCB\xDE\xAD"
                                         : nullptr;
      const std::string_view to = row != nullptr ? std::string_view(row) : "\xCC\xDE";
      std::memcpy(Out + o, to.data(), to.size());
      o += to.size();
      p += row != nullptr ? 3 : 2;
    }
    i = e;
  }
  return o;
}

std::size_t TVariantFolder::KeAt(std::string_view Key, std::size_t I, std::size_t N,
                                 std::string_view Before) const {
  // ヶ ヵ ｹ ｶ, not ｹﾞ; ｶﾞ before a kanji of place names.
  const auto b = static_cast<unsigned char>(Key[I]);
  std::size_t length = 0;
  if (N == 2) {
    length = b == 0x83 && (Key[I + 1] == '\x96' || Key[I + 1] == '\x95') ? 2 : 0;
  } else if (N == 1 && (b == 0xB9 || b == 0xB6)) {
    if (I + 1 == Key.size() || (Key[I + 1] != '\xDE' && Key[I + 1] != '\xDF')) {
      length = 1;
    } else {
      const auto place = [&](const vt::TPair& p) {
        return Key.compare(I + 2, p.Source.size(), p.Source) == 0;
      };
      length = b == 0xB6 && Key[I + 1] == '\xDE' && I + 2 < Key.size() &&
                       std::ranges::any_of(vt::kKePlaces, place)
                   ? 2
                   : 0;
    }
  }
  if (length == 0 || I + length >= Key.size() || !IsKanji(Before)) return 0;
  return IsKanji(Key.substr(I + length, CharLength(Key, I + length))) ? length : 0;
}

std::size_t TVariantFolder::KeBetweenKanji(char* Key, std::size_t Size, bool& Changed) const {
  const std::string_view key(Key, Size);
  std::size_t o = 0, prev = std::string::npos;  // where the last character written starts
  for (std::size_t i = 0; i < Size;) {
    const std::size_t n = CharLength(key, i);
    // What was written before i is read as the character before.
    const std::size_t length =
        prev == std::string::npos ? 0 : KeAt(key, i, n, std::string_view(Key + prev, o - prev));
    if (length != 0) {
      Changed = Changed || length != 1 || Key[i] != '\xB9';
      prev = o;
      Key[o++] = '\xB9';
      i += length;
      continue;
    }
    prev = o;
    if (o != i) std::memmove(Key + o, Key + i, n);
    o += n;
    i += n;
  }
  return o;
}

// A form inside the line becomes its token where it stands (山田(株)東京支店
// = 山田株式会社東京支店); the forms at the ends then give the same tokens.
void TVariantFolder::InsideForms(std::string& Key) const {
  std::string out;
  std::size_t copied = 0;  // Key is in out up to here
  for (std::size_t i = 0; i < Key.size();) {
    const std::size_t n = CharLength(Key, i);
    i += n;
    if (n != 2) continue;
    const unsigned code =
        static_cast<unsigned char>(Key[i - 2]) << 8 | static_cast<unsigned char>(Key[i - 1]);
    if (!(FInsideHint[code / 64] >> (code % 64) & 1)) continue;
    const std::size_t form = InsideFormAt(Key, i, copied);
    if (form == std::string::npos) continue;
    out.append(Key, copied, i - FInside[form].first.size() - copied);
    out += FInside[form].second;
    copied = i;
  }
  if (copied == 0) return;
  out.append(Key, copied);
  Key = std::move(out);
}

void TVariantFolder::CompanyForms(std::string& Key) const {
  InsideForms(Key);
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  const auto control = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  std::size_t b = 0, e = Key.size();
  while (b < e && control(Key[b])) ++b;
  while (e > b && control(Key[e - 1])) --e;
  if (b < e && FStartHit[static_cast<unsigned char>(Key[b])]) {
    if (const auto* f = StartForm(Key, b, e)) {
      std::size_t after = b + f->first.size(), skip = after;
      while (skip < e && blank(Key[skip])) ++skip;
      if (skip < e) after = skip;  // the blanks between the form and the name go
      Key.replace(b, after - b, f->second);
      e = e - (after - b) + f->second.size();
      b += f->second.size();
    }
  }
  if (b < e && FEndHit[static_cast<unsigned char>(Key[e - 1])]) {
    if (const auto* f = EndForm(Key, b, e)) {
      const std::size_t at = e - f->first.size();
      std::size_t before = at;
      while (before > b && blank(Key[before - 1])) --before;
      if (before == b) before = at;
      Key.replace(before, e - before, f->second);
    }
  }
}

std::size_t TVariantFolder::CounterAt(std::string_view Key, std::size_t At, bool& Address) const {
  if (At >= Key.size()) return 0;
  const auto b = static_cast<unsigned char>(Key[At]);
  const unsigned code = IsLeadByte(b) && At + 1 < Key.size()
                            ? unsigned(b) << 8 | static_cast<unsigned char>(Key[At + 1])
                            : b;
  if (!(FCounterStart[code / 64] >> (code % 64) & 1)) return 0;
  // A mark's code has a bit too, but may start no counter.
  const auto first = std::lower_bound(
      FCounterFirst.begin(), FCounterFirst.end(), code,
      [](const std::pair<unsigned, std::uint32_t>& e, unsigned c) { return e.first < c; });
  if (first->first != code) return 0;
  for (std::uint32_t k = first->second; k < first[1].second; ++k) {
    const auto& [counter, address] = FCounters[k];
    if (Key.compare(At, counter.size(), counter) == 0) {
      Address = address;
      return counter.size();
    }
  }
  return 0;
}

bool TVariantFolder::NextUnitAt(std::string_view Key, std::size_t At,
                                std::string_view Counter) const {
  const auto unit = std::find_if(FNextUnits.begin(), FNextUnits.end(),
                                 [&](const auto& u) { return u.first == Counter; });
  if (unit == FNextUnits.end()) return false;
  std::size_t e = At;
  while (e + 1 < Key.size() && NumeralOf(Key.substr(e, 2)) >= 0) e += 2;
  bool address = false;
  return e > At && CounterAt(Key, e, address) == unit->second.size() &&
         Key.compare(e, unit->second.size(), unit->second) == 0;
}

// One look at each byte: only a numeral before a counter or a mark, a mark
// or 丁 after a digit, ℡ or t e l send a key to Numbers.
bool TVariantFolder::NumberHit(std::string_view Key) const {
  const auto bit = [](const std::vector<std::uint64_t>& bits, unsigned code) {
    return (bits[code / 64] >> (code % 64) & 1) != 0;
  };
  const auto codeAt = [&](std::size_t i) {
    const auto b = static_cast<unsigned char>(Key[i]);
    return IsLeadByte(b) && i + 1 < Key.size()
               ? unsigned(b) << 8 | static_cast<unsigned char>(Key[i + 1])
               : unsigned(b);
  };
  for (std::size_t i = 0; i < Key.size();) {
    const auto b = static_cast<unsigned char>(Key[i]);
    const std::uint8_t what = FNumberByte[b];
    if (what == 0) {
      ++i;
      continue;
    }
    std::size_t n = 1;
    unsigned code = b;
    if (what == kLead) {
      if (b == kSequenceLead || i + 1 == Key.size()) {
        i += CharLength(Key, i);  // a form of the codec: none of these
        continue;
      }
      code = unsigned(b) << 8 | static_cast<unsigned char>(Key[i + 1]);
      n = 2;
      if (!bit(FNumberCode, code)) {
        i += 2;
        continue;
      }
    }
    const bool afterDigit = i > 0 && IsDigit(Key[i - 1]);
    if (n == 2 && bit(FNumberCode, code)) {
      if (NumeralOf(Key.substr(i, 2)) >= 0) {
        if (i + 2 < Key.size() &&
            (bit(FCounterStart, codeAt(i + 2)) || GroupPlaceOf(Key.substr(i + 2, 2)) != 0))
          return true;
      } else if (code == 0x8784 || afterDigit) {
        return true;  // ℡, or 丁 or a mark after a digit
      }
    } else if (what == kTee) {
      if (Key.size() - i >= 3 && (Key[i + 1] | 0x20) == 'e' && (Key[i + 2] | 0x20) == 'l')
        return true;
    } else if (what == kSingleMark && afterDigit) {
      return true;
    }
    i += n;
  }
  return false;
}

// Each fold looks at what stands around it, so that a numeral inside a
// word stays (一般, 一郎, 統一, 三日月, 二階堂): a kanji numeral becomes
// digits only before a counter of the list, after the start, a character
// other than a kanji, 第, or an address's counter (一丁目二番), and when no
// kanji but 第 or an address's next numeral follows the counter. 丁目 and
// 番地 may follow a place's name (本町一丁目).
void TVariantFolder::Numbers(std::string& Key) const {
  // The thread's buffers, so that a key keeps its string's room: no
  // allocation a key.
  thread_local std::string out;
  thread_local std::vector<int> run;  // the kanji numerals' values
  out.clear();
  const auto at = [&](std::size_t i) {
    const auto b = static_cast<unsigned char>(Key[i]);
    const std::size_t n = !IsLeadByte(b) || i + 1 >= Key.size() ? 1
                          : b == kSequenceLead                  ? CharLength(Key, i)
                                                                : 2;
    return std::string_view(Key).substr(i, n);
  };
  const auto kanji = [&](std::string_view c) { return IsKanji(c) && c != FOrdinal; };
  // A kanji but 第, a kana or a Latin letter.
  const auto letter = [&](std::string_view c) {
    if (c.size() == 1)
      return IsLatin(c[0]) ||
             (static_cast<unsigned char>(c[0]) >= 0xA6 && static_cast<unsigned char>(c[0]) <= 0xDF);
    const unsigned code =
        c.size() == 2 ? static_cast<unsigned char>(c[0]) << 8 | static_cast<unsigned char>(c[1])
                      : 0;
    return kanji(c) || (code >= 0x829F && code <= 0x8396) || code == 0x815B;
  };
  // Whether the text before the numeral ends with a counter whose number
  // goes on: an address's (一丁目二番) or a date's or time's (三年五月).
  bool afterAddress = false;
  std::string_view before;  // the character before, in Key
  // A character that starts nothing here: no digit, numeral, ℡, t or T
  // (nor a mark or 丁, looked at one by one as well).
  const auto plain = [&](std::size_t i) {
    const auto b = static_cast<unsigned char>(Key[i]);
    if (IsDigit(Key[i]) || (b | 0x20) == 't') return false;
    if (!IsLeadByte(b) || i + 1 >= Key.size()) return true;
    const unsigned code = unsigned(b) << 8 | static_cast<unsigned char>(Key[i + 1]);
    return (FNumberCode[code / 64] >> (code % 64) & 1) == 0;
  };
  for (std::size_t i = 0; i < Key.size();) {
    // A stretch of such characters is copied as it stands.
    if (plain(i)) {
      std::size_t e = i, last = i;
      for (; e < Key.size() && plain(e); e += at(e).size()) last = e;
      out.append(Key, i, e - i);
      before = at(last);
      i = e;
      afterAddress = false;
      continue;
    }
    // ℡, TEL, Tel. and TEL: before a number, apart from a Latin word.
    if (const bool sign = i + 1 < Key.size() && Key[i] == FTel[0] && Key[i + 1] == FTel[1];
        sign || ((Key[i] | 0x20) == 't' && i + 2 < Key.size() && (Key[i + 1] | 0x20) == 'e' &&
                 (Key[i + 2] | 0x20) == 'l' && (before.size() != 1 || !IsLatin(before[0])))) {
      std::size_t e = i + (sign ? FTel.size() : 3);
      if (e < Key.size() && Key[e] == '.') ++e;
      if (e < Key.size() && Key[e] == ':') ++e;
      while (e < Key.size() && Key[e] == ' ') ++e;
      if (e < Key.size() && (IsDigit(Key[e]) || Key[e] == '(')) {
        out += FTel;
        before = std::string_view(Key).substr(e - 1, 1);
        i = e;
        afterAddress = false;
        continue;
      }
    }
    run.clear();
    bool digits = false;
    std::size_t e = i, last = i;  // the run's end, and its last character
    for (; e < Key.size();
         e += e + 1 < Key.size() && IsLeadByte(static_cast<unsigned char>(Key[e])) ? 2 : 1) {
      if (IsDigit(Key[e]))
        digits = true;
      else if (const int v = IsLeadByte(static_cast<unsigned char>(Key[e]))
                                 ? NumeralOf(Key.substr(e, 2))
                                 : -1;
               v >= 0)
        run.push_back(v);
      else if (const int group = GroupPlaceOf(Key.substr(e, 2));
               group != 0 && !run.empty() && !digits && run.back() < 10000)
        run.push_back(group);  // 一万, 三億
      else
        break;
      last = e;
    }
    if (e == i) {
      before = at(i);
      out += before;
      i += before.size();
      afterAddress = false;
      continue;
    }
    // The counter, perhaps after a mark (3ヶ月).
    std::size_t c = e, markEnd = e;
    bool address = false, marked = false;
    std::size_t length = CounterAt(Key, e, address);
    if (length == 0 && e < Key.size() &&
        std::find(FCounterMarks.begin(), FCounterMarks.end(), at(e)) != FCounterMarks.end()) {
      markEnd = e + at(e).size();
      for (const std::string& counter : FMarkCounters)
        if (Key.compare(markEnd, counter.size(), counter) == 0) length = counter.size();
      if (length != 0) c = markEnd, marked = true;
    }
    if (length == 0) {
      // No number of a counter: the run stays as it is.
      out.append(Key, i, e - i);
      before = at(last);
      i = e;
      afterAddress = false;
      continue;
    }
    const std::size_t end = c + length;
    const std::string_view counter = std::string_view(Key).substr(c, length);
    const bool addressPart = address || counter == FBan || counter == FGo;
    // The words of the list stay (一時, 九段).
    const auto word = [&] {
      return std::any_of(FNumberWords.begin(), FNumberWords.end(), [&](const std::string& w) {
        return Key.compare(i, w.size(), w) == 0 && i + w.size() >= end;
      });
    };
    // A hyphen that stands for a long-vowel mark ends a word too (レツゴー三匹).
    const auto markAfterWord = [&] {
      const auto [last, previous] = LastTwo(out);
      return previous != std::string::npos &&
             letter(std::string_view(out).substr(previous, last - previous));
    };
    const bool mark = before == "-" && markAfterWord();
    // A numeral after a letter (お八つ, いの一番, 明け六つ) or a counter
    // before one (一人前, 三日月, 一つ穴) is part of a word.
    const bool era =
        counter == FYear && std::any_of(FEras.begin(), FEras.end(), [&](const auto& e) {
          return i >= e.size() && Key.compare(i - e.size(), e.size(), e) == 0 &&
                 IsCharacterStart(Key, i - e.size());
        });
    const bool leftOk =
        before.empty() || (!letter(before) && !mark) || afterAddress || address || era;
    // After 第 a number is an ordinal whatever follows (第三回定例会); a
    // date or a time goes on with its next unit (三年五月, 三時十五分).
    const bool goesOn = NextUnitAt(Key, end, counter);
    const bool rightOk =
        end == Key.size() || (addressPart && NumeralOf(at(end)) >= 0) || goesOn ||
        before == FOrdinal || !letter(at(end)) ||
        std::any_of(FCounterWords.begin(), FCounterWords.end(), [&](const std::string& w) {
          return w.size() > length && Key.compare(c, w.size(), w) == 0;
        });
    std::string digitsOf;
    // A lone 十, 百 or 千 is mostly a word's (十分, 百度, 千歳, 千種), but
    // before 円 and 日 a number (百円, 十日), and 十 before 月.
    const bool lonePlace =
        run.size() == 1 && run[0] >= 10 &&
        std::find(FLoneCounters.begin(), FLoneCounters.end(), counter) == FLoneCounters.end() &&
        !(run[0] == 10 && counter == FMonth);
    if (!run.empty() && !digits && leftOk && rightOk && !lonePlace && !word())
      digitsOf = NumeralDigits(run, counter == FYear);
    if (!run.empty() && digitsOf.empty()) {
      // No number of a counter: the run stays as it is.
      out.append(Key, i, e - i);
      before = at(last);
      i = e;
      afterAddress = false;
      continue;
    }
    out += run.empty() ? Key.substr(i, e - i) : digitsOf;
    if (marked) out += FMarkToken;
    out += counter;
    before = counter.substr(LastTwo(counter).first);
    i = end;
    afterAddress = addressPart || goesOn;
  }
  // An address's 丁目 and 番 (番地, 号) as hyphens: 1丁目2番3号 = 1-2-3.
  std::string addressed;
  const auto starts = [&](std::size_t q, const std::string& s) {
    return out.compare(q, s.size(), s) == 0;
  };
  const auto digitsEnd = [&](std::size_t q) {
    while (q < out.size() && IsDigit(out[q])) ++q;
    return q;
  };
  std::size_t copied = 0;
  for (std::size_t p = out.find(FChome); p != std::string::npos; p = out.find(FChome, p + 1)) {
    std::size_t from = p;
    while (from > copied && IsDigit(out[from - 1])) --from;
    const std::size_t b0 = p + FChome.size(), b = digitsEnd(b0);
    if (from == p || b == b0 || !IsCharacterStart(out, p)) continue;
    std::string hyphens = out.substr(from, p - from) + '-' + out.substr(b0, b - b0);
    std::size_t end = b;
    if (starts(b, FBanchi) || starts(b, FBan)) {
      end = b + (starts(b, FBanchi) ? FBanchi.size() : FBan.size());
      if (const std::size_t c = digitsEnd(end); c > end) {
        hyphens += '-' + out.substr(end, c - end);
        end = starts(c, FGo) ? c + FGo.size() : c;
      }
    } else if (starts(b, FGo)) {
      end = b + FGo.size();
    } else if (b < out.size() && out[b] == '-' && digitsEnd(b + 1) > b + 1) {
      end = digitsEnd(b + 1);
      hyphens += out.substr(b, end - b);
    } else {
      continue;
    }
    addressed.append(out, copied, from - copied);
    addressed += hyphens;
    copied = end;
    p = end - 1;
  }
  if (copied != 0) {
    addressed.append(out, copied);
    Key = std::move(addressed);
  } else {
    Key.assign(out);
  }
}

const TVariantFolder::TOkuriEntry* TVariantFolder::OkuriganaAt(std::string_view Key, std::size_t At,
                                                               std::uint8_t Before,
                                                               std::size_t& Length) const {
  const std::uint32_t two = OkuriHash(Key, At, 2);
  if (two == UINT32_MAX || !OkuriBit(FOkuriPrefix, two)) return nullptr;
  // The spellings of three characters or more first: they are the longer.
  for (const int chars : {3, 2}) {
    const std::uint32_t h = chars == 2 ? two : OkuriHash(Key, At, chars);
    if (h == UINT32_MAX || !OkuriBit(FOkuriBits, h)) continue;
    const TOkuriSlot* range = OkuriSlot(h);
    if (range == nullptr) continue;
    for (std::uint32_t k = range->First; k < range->End; ++k) {
      const TOkuriEntry& e = FOkuriEntries[k];
      const std::size_t n = e.Source.size();
      if (n > Key.size() - At || Key.compare(At, n, e.Source) != 0) continue;
      // The match ends at a character's start: it began at one, and is a
      // whole spelling.
      if ((e.KanaStart && Before != 0) ||
          (e.KanaOnly && At + n < Key.size() && OkuriClass(Key, At + n) != 0))
        continue;
      Length = n;
      return &e;
    }
  }
  return nullptr;
}

bool TVariantFolder::MayHoldOkurigana(std::string_view Key) const {
  if (FOkuriAlways) return true;
  // What may follow the last character where it starts a spelling (its
  // bits of FOkuriFollow, none for kana: their runs are looked at whole),
  // where it starts, its code, the class of the character before it as
  // OkuriganaAt reads it (a form of the codec counts as neither kana nor
  // a kanji), and the last one's class. Mostly without branches on the
  // bytes: kana and kanji alternate.
  std::uint64_t follow = 0;
  std::size_t last = 0;
  unsigned previous = 0;
  std::uint8_t before = 0, lastClass = 0;
  const std::uint64_t* const follows = FOkuriFollow.data();
  const std::size_t size = Key.size();
  for (std::size_t i = 0; i < size;) {
    // The character's code, length and class, without branches on which
    // of kana and kanji it is.
    const auto b = static_cast<unsigned char>(Key[i]);
    const std::size_t at = i;
    const bool lead = IsLeadByte(b) && i + 1 < size;
    const unsigned trail = static_cast<unsigned char>(Key[lead ? i + 1 : i]);
    unsigned code = lead ? unsigned(b) << 8 | trail : b;
    const bool kanji = lead && code >= 0x889F && !IsUnassignedLead(b);
    const bool kana = b >= 0xA6 && b <= 0xDF;
    std::uint8_t cls = kanji ? kOkuriKanji : kana ? kOkuriKana : 0;
    i += lead ? 2 : 1;
    if (b == kSequenceLead && lead && CharLength(Key, at) > 2) [[unlikely]] {
      code = kOkuriFormCode;  // counts as neither kana nor a kanji
      cls = 0;
      i = at + CharLength(Key, at);
    }
    // A spelling's first two codes: the spellings of that start are
    // compared there.
    if ((follow >> OkuriFollowBit(code) & 1) != 0 && OkuriPairBit(previous, code) &&
        ChangingAt(Key, last, i, before))
      return true;
    if (cls == kOkuriKana && lastClass == 0) {
      // A run of kana where a spelling of kana may start: the whole run,
      // or the run and the character after it, shows whether one does.
      std::size_t run = i;
      while (run < size && OkuriKanaByte(Key[run])) ++run;
      const std::size_t after = run == size ? run : run + CharLength(Key, run);
      // The second character's end, where the spellings' look reads it.
      const std::size_t secondEnd = run - at >= 2 ? at + 2 : after;
      const std::uint32_t whole = OkuriBytesHash(Key, at, run);
      if (secondEnd > i &&
          (OkuriKanaRunBit(whole) ||
           (after > run && OkuriKanaRunBit(OkuriBytesHash(Key, run, after, whole)))) &&
          ChangingAt(Key, at, secondEnd, 0))
        return true;
      i = run;
      follow = 0;
      lastClass = kOkuriKana;
      continue;
    }
    follow = cls == kOkuriKana ? 0 : follows[code];
    before = lastClass;
    lastClass = cls;
    last = at;
    previous = code;
  }
  return false;
}

bool TVariantFolder::ChangingAt(std::string_view Key, std::size_t At, std::size_t End,
                                std::uint8_t Before) const {
  // The spellings of three characters or more by the hash of their first
  // three, then those of two, as OkuriHash makes them.
  const auto hash = [&](std::size_t e, int chars) {
    std::uint32_t h = 2166136261u ^ static_cast<std::uint32_t>(chars);
    for (std::size_t k = At; k < e; ++k) h = (h ^ static_cast<unsigned char>(Key[k])) * 16777619u;
    return h == UINT32_MAX || h == 0 ? 1 : h;
  };
  for (const int chars : {3, 2}) {
    std::size_t e = End;
    if (chars == 3) {
      if (End == Key.size()) continue;
      const auto b = static_cast<unsigned char>(Key[End]);
      e += !IsLeadByte(b) || End + 1 == Key.size() ? 1
           : b == kSequenceLead                    ? CharLength(Key, End)
                                                   : 2;
    }
    const std::uint32_t h = hash(e, chars);
    if (!OkuriBit(FOkuriBits, h)) continue;
    const TOkuriSlot* range = OkuriSlot(h);
    if (range == nullptr) continue;
    for (std::uint32_t k = range->First; k < range->End; ++k) {
      const TOkuriEntry& entry = FOkuriEntries[k];
      const std::size_t n = entry.Source.size();
      if (entry.Source == entry.Target || n > Key.size() - At ||
          Key.compare(At, n, entry.Source) != 0)
        continue;
      if ((entry.KanaStart && Before != 0) ||
          (entry.KanaOnly && At + n < Key.size() && OkuriClass(Key, At + n) != 0))
        continue;
      return true;
    }
  }
  return false;
}

bool TVariantFolder::OkuriganaHit(std::string_view Key) const {
  if (!MayHoldOkurigana(Key)) return false;
  std::uint8_t before = 0;
  for (std::size_t i = 0; i < Key.size();) {
    std::size_t n = 0;
    if (const TOkuriEntry* e = OkuriganaAt(Key, i, before, n)) {
      if (Key.compare(i, n, e->Target) != 0) return true;
      before = e->End;
      i += n;
      continue;
    }
    before = OkuriClass(Key, i);
    i += CharLength(Key, i);
  }
  return false;
}

bool TVariantFolder::Okurigana(std::string& Key) const {
  // A few rounds reach the fixed point: each one only makes words standard,
  // and the characters' folds see the new neighbours (a repeat mark after
  // a word's new last kana repeats it).
  // The thread's buffer, and Key's own room for the folds of each round's
  // words: no allocation a round.
  thread_local std::string out;
  for (int round = 0; round < 4; ++round) {
    out.clear();
    std::uint8_t before = 0;
    bool changed = false;
    for (std::size_t i = 0; i < Key.size();) {
      std::size_t n = 0;
      if (const TOkuriEntry* e = OkuriganaAt(Key, i, before, n)) {
        changed = changed || Key.compare(i, n, e->Target) != 0;
        out += e->Target;
        before = e->End;
        i += n;
        continue;
      }
      before = OkuriClass(Key, i);
      n = CharLength(Key, i);
      out.append(Key, i, n);
      i += n;
    }
    if (!changed) return round != 0;
    Inner(out, Key);
    KeBetweenKanji(Key);
  }
  return true;
}

// Most keys hold nothing the kinds change: one look at each character
// shows it, without a copy.
bool TVariantFolder::Untouched(std::string_view Key) const {
  // Every byte as if it stood alone, one look-up each (a trail byte may
  // look like a hit: then the characters are looked at one by one).
  unsigned hit = 0, prev = 0;
  std::uint64_t pairs = 0;
  for (const char c : Key) {
    const auto b = static_cast<unsigned char>(c);
    hit |= FByteHit[b];
    const unsigned pair = prev << 8 | b;
    pairs |= FBytePairHit[pair / 64] >> (pair % 64);
    prev = b;
  }
  if ((hit != 0 || (pairs & 1) != 0) && !CharsUntouched(Key)) return false;
  return EndsUntouched(Key) && (FInside.empty() || !HasInside(Key)) && !KeChanges(Key) &&
         !(FNumbers && NumberHit(Key)) && !(FOkuri && OkuriganaHit(Key));
}

bool TVariantFolder::CharsUntouched(std::string_view Key) const {
  const char* p = Key.data();
  const char* const end = p + Key.size();
  while (p < end) {
    const auto b = static_cast<unsigned char>(*p);
    if (!IsLeadByte(b) || p + 1 == end) {
      const std::uint8_t cls = FSingleClass[b];
      ++p;
      if (cls == 0) continue;
      if (cls == 1) return false;
      if (p < end) {
        const auto next = static_cast<unsigned char>(*p);
        if (FPairHit[b][next / 64] >> (next % 64) & 1) return false;
      }
      continue;
    }
    if (b == kSequenceLead && CharLength(Key, static_cast<std::size_t>(p - Key.data())) > 2)
      return false;  // a form of the codec: looked at in full
    const unsigned code = unsigned(b) << 8 | static_cast<unsigned char>(p[1]);
    if (FDoubleHit[code / 64] >> (code % 64) & 1) return false;
    p += 2;
  }
  return true;
}

bool TVariantFolder::EndsUntouched(std::string_view Key) const {
  if (FStarts.empty() || Key.empty()) return true;
  std::size_t b = 0, e = Key.size();
  const auto outer = [&](std::size_t i) { return static_cast<unsigned char>(Key[i]) <= 0x20; };
  if (outer(0) || outer(e - 1)) {
    while (b < e && outer(b)) ++b;
    while (e > b && outer(e - 1)) --e;
  }
  const auto pairHit = [](const std::array<std::uint64_t, 4>& bits, unsigned char c) {
    return (bits[c / 64] >> (c % 64) & 1) != 0;
  };
  const auto at = [&](std::size_t i) { return static_cast<unsigned char>(Key[i]); };
  // A form of one byte is looked for whenever its byte is there; a longer
  // one when its first (last) two bytes are.
  if (b < e && FStartHit[at(b)] &&
      (e - b < 2 || pairHit(FStartPair[at(b)], at(b + 1)) || FShortStart) &&
      StartForm(Key, b, e) != nullptr)
    return false;
  if (b < e && FEndHit[at(e - 1)] &&
      (e - b < 2 || pairHit(FEndPair[at(e - 1)], at(e - 2)) || FShortEnd) &&
      EndForm(Key, b, e) != nullptr)
    return false;
  return true;
}

std::string_view TVariantFolder::Fold(std::string_view Key, std::string& Out) const {
  if (Untouched(Key)) return Key;
  return FoldMarked(Key, Out);
}

std::string_view TVariantFolder::FoldMarked(std::string_view Key, std::string& Out) const {
  MapCharacters(Key, Out, true);
  if (!FPatterns.empty() || (FKinds & kVariantSymbol)) Spellings(Out);
  KeBetweenKanji(Out);
  // Without a spelling that may change, the words are not walked.
  if (FOkuri && MayHoldOkurigana(Out)) Okurigana(Out);
  if (!FStarts.empty()) CompanyForms(Out);
  if (FNumbers && NumberHit(Out)) Numbers(Out);
  return Out;
}

std::string_view TVariantFolder::FoldUnmarked(std::string_view Key, bool Words,
                                              std::string& Out) const {
  // The words first, as FoldMarked does; then the forms around them. A
  // key no word changes goes on as one without words.
  if (Words && (Out.assign(Key), Okurigana(Out))) {
    if (!EndsUntouched(Out) || (!FInside.empty() && HasInside(Out))) CompanyForms(Out);
    if (FNumbers && NumberHit(Out)) Numbers(Out);
    return Out;
  }
  const bool company = !EndsUntouched(Key) || (!FInside.empty() && HasInside(Key));
  const bool numbers = FNumbers && NumberHit(Key);
  if (!company && !numbers) return Key;
  Out.assign(Key);
  if (company) CompanyForms(Out);
  if (numbers || (FNumbers && NumberHit(Out))) Numbers(Out);
  return Out;
}

std::size_t TVariantFolder::FoldText(std::string_view Text, std::string& Out,
                                     unsigned& Finish) const {
  // Room for the longest fold and for the whole word each short one writes.
  if (Out.size() < Text.size() * FGrowth + 4) Out.resize(Text.size() * FGrowth + 4);
  char* o = Out.data();
  const char* p = Text.data();
  const char* const end = p + Text.size();
  bool starter = false, ke = false;
  std::uint32_t flags = 0;  // every character's flags, or-ed
  // Where the characters that may end a company form inside the line end.
  std::size_t hintEnds[4], hints = 0;
  while (p < end) {
    unsigned code;
    std::size_t n;
    if (!OnePassCode(Text, p, code, n)) return std::string::npos;
    const std::uint32_t to = FComposed[code];
    // kNeighbours has every flag, so one test covers the rare cases.
    if ((to & kMarkFirst) != 0) [[unlikely]] {
      if (to == kNeighbours) return std::string::npos;
      if ((to & kBlankRun) != 0) {
        p = BlankRun(Text, p, o, Out.data());
        if (p == nullptr) return std::string::npos;
        continue;
      }
      if (starter) return std::string::npos;
    }
    if ((to & kKeSpelling) != 0 && o - Out.data() >= 2) {
      // A spelling of ヶ after what may end in a kanji (a lead byte of the
      // kanji rows two bytes back): looked at afterwards.
      const auto lead = static_cast<unsigned char>(o[-2]);
      ke = ke || (lead >= 0x88 && lead <= 0x9F) || lead >= 0xE0;
    }
    flags |= to;

    // A character that goes leaves the last one's flag.
    if ((to & 7) != 0) starter = (to & kStarterLast) != 0;
    const std::size_t length = to & 3;
    if ((to & 4) == 0) [[likely]] {
      // Up to three bytes inline: the word is written whole, the next
      // character overwrites what lies beyond.
      if constexpr (std::endian::native == std::endian::little) {
        const std::uint32_t word = to >> 8 & 0xFFFF;
        std::memcpy(o, &word, 4);
      } else {
        const char bytes[4] = {static_cast<char>(to >> 8), static_cast<char>(to >> 16), 0, 0};
        std::memcpy(o, bytes, 4);
      }
      o += length;
    } else {
      const std::size_t at = to >> 8 & 0xFFFF;
      std::memcpy(o, FPool.data() + FPoolAt[at], FPoolSize[at]);
      o += FPoolSize[at];
    }
    p += n;
    if ((to & kInsideHint) != 0) {
      if (hints < std::size(hintEnds)) hintEnds[hints] = static_cast<std::size_t>(o - Out.data());
      ++hints;
    }
  }
  std::size_t n = static_cast<std::size_t>(o - Out.data());
  if ((flags & kOddPiece) != 0 &&
      (HasWord(std::string_view(Out.data(), n)) || HasVuWord(std::string_view(Out.data(), n)))) {
    n = Spellings(Out.data(), n);
    if (hints != 0) hints = std::size(hintEnds) + 1;  // the ends moved: look again
  }
  if (ke) {
    bool changed = false;
    n = KeBetweenKanji(Out.data(), n, changed);
    if (changed && hints != 0) hints = std::size(hintEnds) + 1;
  }
  // The number kind looks at each numeral's neighbours: it finishes too.
  // A mark or 丁 counts only after a digit: a text without one leaves them.
  const bool numbers =
      (flags & kNumberText) != 0 || ((flags & kNumberMark) != 0 && (flags & kNumberDigit) != 0);
  Finish = numbers && NumberHit(std::string_view(Out.data(), n)) ? kFinishForms : 0;
  // So does the okurigana kind where a spelling that changes a key may
  // stand: the words' first round shows whether one does.
  if (FOkuri && MayHoldOkurigana(std::string_view(Out.data(), n))) Finish |= kFinishOkurigana;
  if (FStarts.empty() || n == 0) return n;
  // The first two and last two bytes show most keys without a form.
  const auto at = [&](std::size_t i) { return static_cast<unsigned char>(Out[i]); };
  const auto bit = [](const std::array<std::uint64_t, 4>& bits, unsigned char c) {
    return (bits[c / 64] >> (c % 64) & 1) != 0;
  };
  bool maybe = at(0) <= 0x20 || at(n - 1) <= 0x20 || FShortStart || FShortEnd || n < 2;
  maybe = maybe || bit(FStartPair[at(0)], at(1)) || bit(FEndPair[at(n - 1)], at(n - 2));
  const std::string_view key(Out.data(), n);
  bool inside = false;
  if (hints > std::size(hintEnds))
    inside = HasInside(key);
  else
    for (std::size_t h = 0; h < hints && !inside; ++h) inside = InsideFormEndsAt(key, hintEnds[h]);
  if (inside || (maybe && !EndsUntouched(key))) Finish |= kFinishForms;
  return n;
}

const char* TVariantFolder::BlankRun(std::string_view Text, const char* P, char*& O,
                                     const char* Start) const {
  const char* const end = Text.data() + Text.size();
  char* const run = O;
  std::uint32_t to = 0;
  const char* p = P;
  while (p < end) {
    unsigned code;
    std::size_t n;
    if (!OnePassCode(Text, p, code, n)) return nullptr;
    to = FComposed[code];
    if ((to & kBlankRun) == 0 || to == kNeighbours) break;
    *O++ = static_cast<char>(to >> 8);
    p += n;
  }
  // Blanks before the first character and after the last stay: the
  // trimming options decide about them.
  if (p == end || run == Start) return p;
  if (to == kNeighbours) return nullptr;
  const char next = (to & 4) == 0 ? static_cast<char>(to >> 8) : FPool[FPoolAt[to >> 8 & 0xFFFF]];
  const std::size_t before = static_cast<std::size_t>(run - Start);
  O = run;
  if (Separates(std::string_view(Start, before), before - 1, next)) *O++ = ' ';
  return p;
}

std::size_t VariantFoldText(const TVariantFolder& Folder, std::string_view Text, std::string& Out,
                            unsigned& Finish) {
  return Folder.FoldText(Text, Out, Finish);
}

std::string_view FoldVariantCompanyForms(const TVariantFolder& Folder, std::string_view Key,
                                         unsigned Finish, std::string& Out) {
  return Folder.FoldUnmarked(Key, (Finish & kFinishOkurigana) != 0, Out);
}

const TVariantFolder& VariantFolder(unsigned Kinds, bool Hyphens) {
  static std::array<std::atomic<const TVariantFolder*>, 2 * (kAllVariantKinds + 1)> folders{};
  static std::mutex making;
  const unsigned index = (Kinds & kAllVariantKinds) | (Hyphens ? kAllVariantKinds + 1 : 0u);
  if (const TVariantFolder* f = folders[index].load(std::memory_order_acquire)) return *f;
  const std::lock_guard<std::mutex> lock(making);
  if (const TVariantFolder* f = folders[index].load(std::memory_order_acquire)) return *f;
  // Made once per combination and kept until the program ends.
  const TVariantFolder* f = new TVariantFolder(Kinds & kAllVariantKinds, Hyphens);
  folders[index].store(f, std::memory_order_release);
  return *f;
}

const std::uint64_t* VariantMarks(const TVariantFolder& Folder) { return Folder.Marks(); }

std::string_view FoldVariantsInto(const TVariantFolder& Folder, std::string_view Key, bool Marked,
                                  std::string& Out) {
  return Marked ? Folder.FoldMarked(Key, Out) : Folder.FoldUnmarked(Key, Out);
}

std::string_view FoldVariantsInto(std::string_view Key, unsigned Kinds, bool Hyphens,
                                  std::string& Out) {
  if ((Kinds & kAllVariantKinds) == 0) return Key;
  return VariantFolder(Kinds, Hyphens).Fold(Key, Out);
}

unsigned NonstandardForms(std::string_view Text) {
  // What a character alone tells, by its code (a byte, or lead << 8 |
  // trail): 2 for a kanji's variant form, 4 for a compatibility character
  // (the first table to list a character decides), 8 for half-width kana.
  // The codec's longer forms are looked up by their bytes.
  struct TSources {
    std::vector<std::uint8_t> Code = std::vector<std::uint8_t>(0x10000, 0);
    std::unordered_map<std::string_view, unsigned> Longer;
    void Add(std::string_view source, unsigned form) {
      if (source.size() > 2) {
        Longer.emplace(source, form);
        return;
      }
      // A character is looked up as one byte, or as a lead byte and the
      // byte after it: other sources are no character.
      if (source.empty() ||
          (source.size() == 2 && !IsLeadByte(static_cast<unsigned char>(source[0]))))
        return;
      const unsigned code = source.size() == 1 ? static_cast<unsigned char>(source[0])
                                               : static_cast<unsigned char>(source[0]) << 8 |
                                                     static_cast<unsigned char>(source[1]);
      if ((Code[code] & 6) == 0) Code[code] |= static_cast<std::uint8_t>(form);
    }
  };
  static const TSources sources = [] {
    TSources s;
    for (const vt::TPair& p : vt::kKanji) s.Add(p.Source, 2u);
    for (const vt::TPair& p : vt::kCompat) s.Add(p.Source, 4u);
    for (unsigned b = 0xA1; b <= 0xDF; ++b) s.Code[b] |= 8;
    return s;
  }();
  // The full forms (no brackets, more than one character: 株式会社,
  // カブシキガイシャ, NPO法人) by their first byte.
  static const auto full = [] {
    std::array<std::vector<std::string_view>, 256> f;
    for (const vt::TPair& p : vt::kCompanyForms)
      if (p.Source.find_first_of("(\x81") != 0 && CharLength(p.Source, 0) < p.Source.size())
        f[static_cast<unsigned char>(p.Source[0])].push_back(p.Source);
    return f;
  }();
  unsigned forms = 0;
  bool fullForm = false;
  for (std::size_t i = 0; i < Text.size();) {
    const std::size_t n = CharLength(Text, i);
    const auto b = static_cast<unsigned char>(Text[i]);
    if (n == 1) {
      forms |= sources.Code[b];
    } else if (n == 2) {
      forms |= sources.Code[b << 8 | static_cast<unsigned char>(Text[i + 1])];
    } else if (const auto it = sources.Longer.find(Text.substr(i, n)); it != sources.Longer.end()) {
      forms |= it->second;
    }
    if (!fullForm)
      for (const std::string_view form : full[b])
        if (Text.compare(i, form.size(), form) == 0) fullForm = true;
    i += n;
  }
  if (!fullForm) forms |= 16;
  // A spelling of the okurigana table other than a word's standard one,
  // through the folder's quick look where the key holds none of its marks.
  const TVariantFolder& okurigana = VariantFolder(kVariantOkurigana, false);
  thread_local std::string key, out;
  if (key.size() < Text.size()) key.resize(Text.size());
  bool marked = false;
  const std::string_view folded(
      key.data(), FoldKeyIntoMarked(Text, false, key.data(), VariantMarks(okurigana), marked));
  if (FoldVariantsInto(okurigana, folded, marked, out) != folded) forms |= 1;
  return forms;
}

std::future<void> MakeFoldersAhead(unsigned Kinds, bool Hyphens, bool Canonical) {
  return std::async(std::launch::async, [Kinds, Hyphens, Canonical] {
    if (Canonical) VariantFolder(kVariantOkurigana, false);
    if ((Kinds & kAllVariantKinds) != 0) VariantFolder(Kinds, Hyphens);
  });
}

std::string FoldVariants(std::string_view Key, unsigned Kinds, bool Hyphens) {
  std::string out;
  return std::string(FoldVariantsInto(Key, Kinds, Hyphens, out));
}

}  // namespace tavrin
