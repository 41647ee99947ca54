#include "app/spelling_differences.h"

#include <algorithm>

#include "engine/char_folding.h"
#include "engine/variant_folding.h"
#include "util/clusters.h"
#include "util/cp932.h"
#include "util/sjis.h"

namespace tavrin {
namespace {

struct TChar {
  std::size_t Start, Length;
  std::string Piece;  // what the character folds to in the key
};

std::vector<TChar> Characters(std::string_view text, bool hyphen) {
  std::vector<TChar> chars;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = CharLength(text, i);
    const std::string width = FoldWidth(text.substr(i, n));
    chars.push_back({i, n, hyphen ? FoldHyphens(width) : FoldCaseAndSmallKana(width)});
    i += n;
  }
  return chars;
}

unsigned Code(std::string_view c) {
  const auto b0 = static_cast<unsigned char>(c[0]);
  return c.size() < 2 ? b0 : b0 << 8 | static_cast<unsigned char>(c[1]);
}

bool IsBlank(std::string_view c) { return Code(c) <= 0x20 || Code(c) == 0x8140; }

enum class TScript { Other, Hiragana, Katakana };
TScript Script(unsigned c) {
  if (c >= 0x829F && c <= 0x82F1) return TScript::Hiragana;
  if ((c >= 0x8340 && c <= 0x8396) || (c >= 0xA6 && c <= 0xDD && c != 0xB0)) return TScript::Katakana;
  return TScript::Other;
}

bool IsSmallKana(unsigned c) {
  switch (c) {
    case 0x829F: case 0x82A1: case 0x82A3: case 0x82A5: case 0x82A7: case 0x82C1: case 0x82E1:
    case 0x82E3: case 0x82E5: case 0x82EC: case 0x8340: case 0x8342: case 0x8344: case 0x8346:
    case 0x8348: case 0x8362: case 0x8383: case 0x8385: case 0x8387: case 0x838E: case 0x8395:
    case 0x8396:
      return true;
    default:
      return c >= 0xA7 && c <= 0xAF;
  }
}

// +1 upper case, -1 lower case, 0 uncased (Latin, full-width Latin, Greek,
// Cyrillic).
int LetterCase(unsigned c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 0x8260 && c <= 0x8279) || (c >= 0x839F && c <= 0x83B6) ||
      (c >= 0x8440 && c <= 0x8460))
    return 1;
  if ((c >= 'a' && c <= 'z') || (c >= 0x8281 && c <= 0x829A) || (c >= 0x83BF && c <= 0x83D6) ||
      (c >= 0x8470 && c <= 0x8491))
    return -1;
  return 0;
}

// +1 long-vowel mark, -1 a hyphen or minus (anything else folding to "-"),
// 0 neither.
int Mark(unsigned c, std::string_view piece) {
  if (c == 0x815B || c == 0xB0) return 1;
  return piece == "-" ? -1 : 0;
}

bool IsMarkPiece(std::string_view piece) { return piece == "-" || piece == "\xB0"; }

bool IsOldKana(unsigned c) { return c == 0x8390 || c == 0x8391 || c == 0x82EE || c == 0x82EF; }

// How a text writes its sound marks: 1 a voiced kana of one character
// (ガ), 2 a separate full-width mark (゛), 4 a combining one (U+3099);
// the half-width ﾞ is how the half-width form writes either and counts
// for none.
unsigned SoundMarks(std::string_view text) {
  unsigned forms = 0;
  for (std::size_t i = 0; i < text.size(); i += CharLength(text, i)) {
    const std::string_view ch = text.substr(i, CharLength(text, i));
    const unsigned c = Code(ch);
    if (c == 0x814A || c == 0x814B)
      forms |= 2;
    else if (c == 0x8549 || c == 0x854A)
      forms |= 4;
    else if (c > 0xFF && ch.size() == 2) {
      const std::string w = FoldWidth(ch);
      if (w.size() == 2 && (w[1] == '\xDE' || w[1] == '\xDF') && c != 0x814A && c != 0x814B) forms |= 1;
    }
  }
  return forms;
}

// The codec's fixed codes (〜 − — ...) a text holds, as a set of bits.
unsigned FixedCodes(std::string_view text) {
  unsigned found = 0;
  for (std::size_t i = 0; i < text.size(); i += CharLength(text, i)) {
    const unsigned c = Code(text.substr(i, CharLength(text, i)));
    if (c >= cp932::kFixedCodes[0].code && c < cp932::kFixedCodes[0].code + cp932::kFixedCodeCount - 2)
      found |= 1u << (c - cp932::kFixedCodes[0].code);
  }
  return found;
}

// The kinds between two runs of characters that fold alike: V and C, whose
// first characters are v and c, with pieces pv and pc.
unsigned Kinds(std::string_view V, std::string_view C, std::string_view v, std::string_view c, std::string_view pv,
               std::string_view pc) {
  if (IsBlank(v) || IsBlank(c)) return kBlank;
  const unsigned a = Code(v), b = Code(c);
  unsigned kinds = 0;
  // A character the codec reads as a CP932 one (〜 as ～) differs by its
  // code, not by its width.
  if (const unsigned fixed = FixedCodes(V) ^ FixedCodes(C); fixed != 0) {
    if (fixed & 1) kinds |= kWaveDash;
    if (fixed & ~1u) kinds |= kCodeTwin;
  }
  // A width only where the one is the other's other width: not - against
  // ー, which differ as hyphen and long-vowel mark.
  else if ((a > 0xFF) != (b > 0xFF) && FoldCaseAndSmallKana(FoldWidth(V)) == FoldCaseAndSmallKana(FoldWidth(C)))
    kinds |= kWidth;
  const TScript sa = Script(a), sb = Script(b);
  if (sa != sb && sa != TScript::Other && sb != TScript::Other) kinds |= kKanaKind;
  if (sa != TScript::Other && sb != TScript::Other && IsSmallKana(a) != IsSmallKana(b)) kinds |= kSmallKana;
  if (LetterCase(a) * LetterCase(b) < 0) kinds |= kCase;
  if (Mark(a, pv) * Mark(b, pc) < 0) kinds |= kLongVowel;
  if (IsOldKana(a) != IsOldKana(b)) kinds |= kOldKana;
  const unsigned ma = SoundMarks(V), mb = SoundMarks(C);
  if (ma != mb && ma != 0 && mb != 0) kinds |= kSoundMark;
  return kinds;
}

// Widens each part to whole clusters of the text and joins the parts that
// then overlap; an empty part (the canonical has more there) moves
// to the end of its cluster. The blanks and the trailing mark, compared on
// their own, may end inside a cluster.
void WidenToClusters(std::string_view text, const std::vector<TChar>& chars, std::vector<TSpellingDifference>& parts) {
  // The index of the character at byte at (at most text.size()).
  const auto index = [&](std::size_t at) {
    return std::size_t(std::lower_bound(chars.begin(), chars.end(), at,
                                        [](const TChar& ch, std::size_t a) { return ch.Start < a; }) -
                       chars.begin());
  };
  const auto extends = [&](std::size_t k) { return k < chars.size() && !IsClusterStart(text, chars[k].Start); };
  const auto start = [&](std::size_t k) { return k < chars.size() ? chars[k].Start : text.size(); };
  std::vector<TSpellingDifference> widened;
  for (TSpellingDifference& p : parts) {
    std::size_t first = index(p.Start), last = index(p.Start + p.Length);
    if (p.Length > 0)
      while (extends(first)) --first;
    while (extends(last)) ++last;
    const std::size_t from = p.Length > 0 ? start(first) : start(last), to = start(last);
    if (!widened.empty() && p.Length > 0 && widened.back().Length > 0 &&
        from < widened.back().Start + widened.back().Length) {
      TSpellingDifference& back = widened.back();
      back.Length = std::max(back.Start + back.Length, to) - back.Start;
      back.Canonical += p.Canonical;
    } else {
      widened.push_back({from, to - from, std::move(p.Canonical)});
    }
  }
  parts = std::move(widened);
}

}  // namespace

TSpellingDifferences CompareSpellings(std::string_view Variant, std::string_view Canonical, bool Hyphen) {
  TSpellingDifferences result;
  const std::vector<TChar> v = Characters(Variant, Hyphen), c = Characters(Canonical, Hyphen);
  // The bytes of characters [first, last) of a text.
  const auto bytes = [](std::string_view text, const std::vector<TChar>& chars, std::size_t first, std::size_t last) {
    const std::size_t from = first < chars.size() ? chars[first].Start : text.size();
    const std::size_t to = last < chars.size() ? chars[last].Start : text.size();
    return text.substr(from, to - from);
  };
  // Records v[vf, vl) against c[cf, cl) when they differ; returns whether.
  const auto differ = [&](std::size_t vf, std::size_t vl, std::size_t cf, std::size_t cl) {
    const std::string_view a = bytes(Variant, v, vf, vl), b = bytes(Canonical, c, cf, cl);
    if (a == b) return false;
    result.Parts.push_back({static_cast<std::size_t>(a.data() - Variant.data()), a.size(), std::string(b)});
    return true;
  };
  // Outer blanks, compared run against run.
  std::size_t vb = 0, cb = 0, ve = v.size(), ce = c.size();
  const auto blank = [](std::string_view text, const TChar& ch) { return IsBlank(text.substr(ch.Start, ch.Length)); };
  while (vb < ve && blank(Variant, v[vb])) ++vb;
  while (cb < ce && blank(Canonical, c[cb])) ++cb;
  while (ve > vb && blank(Variant, v[ve - 1])) --ve;
  while (ce > cb && blank(Canonical, c[ce - 1])) --ce;
  if (differ(0, vb, 0, cb)) result.Kinds |= kBlank;
  // A trailing mark that only one side has.
  std::string pv, pc;
  for (std::size_t i = vb; i < ve; ++i) pv += v[i].Piece;
  for (std::size_t j = cb; j < ce; ++j) pc += c[j].Piece;
  std::size_t vm = ve, cm = ce;  // the matched part ends here
  const auto endsInMark = [](const std::string& key, const TChar& last, const std::string& other) {
    return IsMarkPiece(last.Piece) && key.compare(0, key.size() - last.Piece.size(), other) == 0 &&
           key.size() - last.Piece.size() == other.size();
  };
  if (pv != pc) {
    if (ve > vb && endsInMark(pv, v[ve - 1], pc))
      vm = ve - 1;
    else if (ce > cb && endsInMark(pc, c[ce - 1], pv))
      cm = ce - 1;
    else if (ve > vb && ce > cb && IsMarkPiece(v[ve - 1].Piece) && IsMarkPiece(c[ce - 1].Piece) &&
             pv.compare(0, pv.size() - v[ve - 1].Piece.size(), pc, 0, pc.size() - c[ce - 1].Piece.size()) == 0)
      vm = ve - 1, cm = ce - 1;  // each has its own mark: ｰ and - without the hyphen option
    if (vm != ve || cm != ce) result.Kinds |= kTrailingMark;
  }
  // The rest in units that end where both sides end a character at the same
  // place of the key; each unit's first characters give its kinds. A part
  // gathers units until both sides end a grapheme cluster, so that a base
  // and its combining marks are highlighted together.
  const auto clusterEnds = [](std::string_view text, const std::vector<TChar>& chars, std::size_t k,
                              std::size_t end) { return k >= end || IsClusterStart(text, chars[k].Start); };
  const auto pieces = [](const std::vector<TChar>& chars, std::size_t from, std::size_t to) {
    std::string p;
    for (std::size_t k = from; k < to; ++k) p += chars[k].Piece;
    return p;
  };
  std::size_t i = vb, j = cb, ki = 0, kj = 0, pi = vb, pj = cb;
  while (i < vm || j < cm) {
    const std::size_t ui = i, uj = j;
    do {
      if (j >= cm || (i < vm && ki <= kj))
        ki += v[i++].Piece.size();
      else
        kj += c[j++].Piece.size();
    } while (ki != kj && (i < vm || j < cm));
    // Only a unit the folding bridges has kinds of its own (with kinds of
    // variants on, others differ in their pieces too).
    if (ui < i && uj < j && bytes(Variant, v, ui, i) != bytes(Canonical, c, uj, j) &&
        pieces(v, ui, i) == pieces(c, uj, j))
      result.Kinds |= Kinds(bytes(Variant, v, ui, i), bytes(Canonical, c, uj, j),
                            Variant.substr(v[ui].Start, v[ui].Length), Canonical.substr(c[uj].Start, c[uj].Length),
                            v[ui].Piece, c[uj].Piece);
    if (clusterEnds(Variant, v, i, vm) && clusterEnds(Canonical, c, j, cm)) {
      differ(pi, i, pj, j);
      pi = i;
      pj = j;
    }
  }
  differ(vm, ve, cm, ce);
  if (differ(ve, v.size(), ce, c.size())) result.Kinds |= kBlank;
  WidenToClusters(Variant, v, result.Parts);
  return result;
}

std::string DifferenceKindNames(unsigned Kinds) {
  static const char* const names[] = {"全角/半角", "ひらがな/カタカナ", "大文字/小文字", "小書き文字",
                                      "長音/ハイフン", "末尾の長音/ハイフン", "空白",
                                      "異体字",    "互換文字",          "空白・中点",    "記号",
                                      "カナ表記",  "法人格",            "旧仮名",        "濁点",
                                      "波ダッシュ", "別コードの同じ字"};
  std::string out;
  for (unsigned k = 0; k < std::size(names); ++k) {
    if (!(Kinds & (1u << k))) continue;
    if (!out.empty()) out += "、";
    out += names[k];
  }
  return cp932::Sjis(out);
}

}  // namespace tavrin

namespace tavrin {

unsigned VariantDifferenceKinds(const TUniqueManager& Manager, std::string_view Variant, std::string_view Canonical) {
  const unsigned on = Manager.FVariants & kAllVariantKinds;
  if (on == 0 || Manager.MakeKey(Variant, 0) == Manager.MakeKey(Canonical, 0)) return 0;
  unsigned needed = 0, changing = 0;
  for (unsigned k = 1; k <= on; k <<= 1) {
    if (!(on & k)) continue;
    if (Manager.MakeKey(Variant, on & ~k) != Manager.MakeKey(Canonical, on & ~k)) needed |= k;
    for (const std::string_view text : {Variant, Canonical})
      if (Manager.MakeKey(text, k) != Manager.MakeKey(text, 0)) changing |= k;
  }
  return (needed != 0 ? needed : changing) << kVariantKindShift;
}

unsigned AllDifferenceKinds(const TUniqueManager& Manager, std::string_view Variant, std::string_view Canonical) {
  return CompareSpellings(Variant, Canonical, Manager.FHyphen).Kinds |
         VariantDifferenceKinds(Manager, Variant, Canonical);
}

}  // namespace tavrin
