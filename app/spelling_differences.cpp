#include "app/spelling_differences.h"

#include <algorithm>
#include <optional>
#include <utility>

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
  if ((c >= 0x8340 && c <= 0x8396) || (c >= 0xA6 && c <= 0xDD && c != 0xB0))
    return TScript::Katakana;
  return TScript::Other;
}

bool IsSmallKana(unsigned c) {
  switch (c) {
    case 0x829F:
    case 0x82A1:
    case 0x82A3:
    case 0x82A5:
    case 0x82A7:
    case 0x82C1:
    case 0x82E1:
    case 0x82E3:
    case 0x82E5:
    case 0x82EC:
    case 0x8340:
    case 0x8342:
    case 0x8344:
    case 0x8346:
    case 0x8348:
    case 0x8362:
    case 0x8383:
    case 0x8385:
    case 0x8387:
    case 0x838E:
    case 0x8395:
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
      if (w.size() == 2 && (w[1] == '\xDE' || w[1] == '\xDF') && c != 0x814A && c != 0x814B)
        forms |= 1;
    }
  }
  return forms;
}

// The codec's fixed codes (〜 − — ...) a text holds, as a set of bits.
unsigned FixedCodes(std::string_view text) {
  unsigned found = 0;
  for (std::size_t i = 0; i < text.size(); i += CharLength(text, i)) {
    const unsigned c = Code(text.substr(i, CharLength(text, i)));
    if (c >= cp932::kFixedCodes[0].code &&
        c < cp932::kFixedCodes[0].code + cp932::kFixedCodeCount - 2)
      found |= 1u << (c - cp932::kFixedCodes[0].code);
  }
  return found;
}

// The kinds between two runs of characters that fold alike: V and C, whose
// first characters are v and c, with pieces pv and pc.
unsigned Kinds(std::string_view V, std::string_view C, std::string_view v, std::string_view c,
               std::string_view pv, std::string_view pc) {
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
  else if ((a > 0xFF) != (b > 0xFF) &&
           FoldCaseAndSmallKana(FoldWidth(V)) == FoldCaseAndSmallKana(FoldWidth(C)))
    kinds |= kWidth;
  const TScript sa = Script(a), sb = Script(b);
  if (sa != sb && sa != TScript::Other && sb != TScript::Other) kinds |= kKanaKind;
  if (sa != TScript::Other && sb != TScript::Other && IsSmallKana(a) != IsSmallKana(b))
    kinds |= kSmallKana;
  if (LetterCase(a) * LetterCase(b) < 0) kinds |= kCase;
  if (Mark(a, pv) * Mark(b, pc) < 0) kinds |= kLongVowel;
  if (IsOldKana(a) != IsOldKana(b)) kinds |= kOldKana;
  const unsigned ma = SoundMarks(V), mb = SoundMarks(C);
  if (ma != mb && ma != 0 && mb != 0) kinds |= kSoundMark;
  return kinds;
}

// Widens each part to whole clusters of the text and joins the parts that
// then overlap or fall out of order; an empty part (the canonical has more
// there) moves to the end of its cluster. The blanks and the trailing mark,
// compared on their own, may end inside a cluster.
void WidenToClusters(std::string_view text, const std::vector<TChar>& chars,
                     std::vector<TSpellingDifference>& parts) {
  // The index of the character at byte at (at most text.size()).
  const auto index = [&](std::size_t at) {
    return std::size_t(
        std::lower_bound(chars.begin(), chars.end(), at,
                         [](const TChar& ch, std::size_t a) { return ch.Start < a; }) -
        chars.begin());
  };
  const auto extends = [&](std::size_t k) {
    return k < chars.size() && !IsClusterStart(text, chars[k].Start);
  };
  const auto start = [&](std::size_t k) { return k < chars.size() ? chars[k].Start : text.size(); };
  std::vector<TSpellingDifference> widened;
  for (TSpellingDifference& p : parts) {
    std::size_t first = index(p.Start), last = index(p.Start + p.Length);
    if (p.Length > 0)
      while (extends(first)) --first;
    while (extends(last)) ++last;
    const std::size_t from = p.Length > 0 ? start(first) : start(last), to = start(last);
    TSpellingDifference part{from, to - from, std::move(p.Canonical)};
    // A part that now overlaps the one before, or would stand before it
    // (an insertion moved to its cluster's end), joins it.
    while (!widened.empty() && (part.Start < widened.back().Start + widened.back().Length ||
                                part.Start < widened.back().Start)) {
      TSpellingDifference& back = widened.back();
      const std::size_t end = std::max(back.Start + back.Length, part.Start + part.Length);
      part.Start = std::min(back.Start, part.Start);
      part.Length = end - part.Start;
      part.Canonical = back.Canonical + part.Canonical;
      widened.pop_back();
    }
    widened.push_back(std::move(part));
  }
  parts = std::move(widened);
}

// A grapheme cluster of the part of a text the key compares: its first
// character, what its characters fold to in the key, and that with the
// kinds of variants folded in, by which the two texts are aligned (ｶﾞ
// against ガ, ① against 1).
struct TCluster {
  std::size_t First;
  std::string Key, Align;
};

std::vector<TCluster> Clusters(std::string_view text, const std::vector<TChar>& chars,
                               std::size_t from, std::size_t to, unsigned variants, bool hyphen) {
  std::vector<TCluster> clusters;
  for (std::size_t k = from; k < to; ++k) {
    if (clusters.empty() || IsClusterStart(text, chars[k].Start)) clusters.push_back({k, {}, {}});
    clusters.back().Key += chars[k].Piece;
  }
  for (TCluster& cl : clusters)
    cl.Align = variants != 0 ? FoldVariants(cl.Key, variants, hyphen) : cl.Key;
  return clusters;
}

// Clusters [V0, V1) of the variant against [C0, C1) of the canonical;
// SameKey when their keys join to the same bytes, so that they can be
// compared character by character; Paired for one cluster matched to one
// by what they fold to.
struct TRegion {
  std::size_t V0, V1, C0, C1;
  bool SameKey, Paired = false;
};

// The pairs (a's index, b's index) of a shortest alignment of clusters
// a[a0, a1) and b[b0, b1) by their Align (Myers' difference algorithm), in
// order; nullopt when it needs more insertions and deletions than a fixed
// budget of work allows, so that a long line costs time linear in its length.
std::optional<std::vector<std::pair<std::size_t, std::size_t>>> MatchClusters(
    const std::vector<TCluster>& a, std::size_t a0, std::size_t a1, const std::vector<TCluster>& b,
    std::size_t b0, std::size_t b1) {
  constexpr std::ptrdiff_t kBudget = 1 << 17;  // about (N + M) * D steps
  const auto n = static_cast<std::ptrdiff_t>(a1 - a0), m = static_cast<std::ptrdiff_t>(b1 - b0);
  const std::ptrdiff_t maxD =
      std::min(n + m, std::max<std::ptrdiff_t>(1, kBudget / std::max<std::ptrdiff_t>(1, n + m)));
  const std::ptrdiff_t off = maxD + 1;
  // x reached on each diagonal k = x - y, before each round d.
  std::vector<std::ptrdiff_t> reach(static_cast<std::size_t>(2 * maxD + 3), 0);
  std::vector<std::vector<std::ptrdiff_t>> trace;
  const auto same = [&](std::ptrdiff_t x, std::ptrdiff_t y) {
    return a[a0 + static_cast<std::size_t>(x)].Align == b[b0 + static_cast<std::size_t>(y)].Align;
  };
  const auto at = [&](const std::vector<std::ptrdiff_t>& r, std::ptrdiff_t k) {
    return r[static_cast<std::size_t>(k + off)];
  };
  for (std::ptrdiff_t d = 0; d <= maxD; ++d) {
    trace.push_back(reach);
    for (std::ptrdiff_t k = -d; k <= d; k += 2) {
      std::ptrdiff_t x = k == -d || (k != d && at(reach, k - 1) < at(reach, k + 1))
                             ? at(reach, k + 1)
                             : at(reach, k - 1) + 1;
      std::ptrdiff_t y = x - k;
      while (x < n && y < m && same(x, y)) ++x, ++y;
      reach[static_cast<std::size_t>(k + off)] = x;
      if (x < n || y < m) continue;
      // Back along the rounds, gathering the diagonal moves.
      std::vector<std::pair<std::size_t, std::size_t>> pairs;
      for (std::ptrdiff_t e = d; e >= 0; --e) {
        const std::vector<std::ptrdiff_t>& r = trace[static_cast<std::size_t>(e)];
        const std::ptrdiff_t kk = x - y;
        const std::ptrdiff_t pk =
            kk == -e || (kk != e && at(r, kk - 1) < at(r, kk + 1)) ? kk + 1 : kk - 1;
        const std::ptrdiff_t px = e == 0 ? 0 : at(r, pk), py = e == 0 ? 0 : px - pk;
        while (x > px && y > py) {
          --x, --y;
          pairs.emplace_back(a0 + static_cast<std::size_t>(x), b0 + static_cast<std::size_t>(y));
        }
        x = px, y = py;
      }
      std::reverse(pairs.begin(), pairs.end());
      return pairs;
    }
  }
  return std::nullopt;
}

// Aligns the clusters of two texts: the stretches at either end where both
// sides begin clusters at the same places of equal keys, and between them
// the clusters matched by what they fold to. Where that alignment would be
// too costly, the middle stays one region.
std::vector<TRegion> AlignClusters(const std::vector<TCluster>& a, const std::vector<TCluster>& b) {
  const std::size_t n = a.size(), m = b.size();
  // Where each cluster starts in the joined key, and the joined keys.
  std::vector<std::size_t> ka{0}, kb{0};
  std::string ja, jb;
  for (const TCluster& cl : a) ja += cl.Key, ka.push_back(ja.size());
  for (const TCluster& cl : b) jb += cl.Key, kb.push_back(jb.size());
  const auto sameKey = [&](std::size_t v0, std::size_t v1, std::size_t c0, std::size_t c1) {
    return ja.compare(ka[v0], ka[v1] - ka[v0], jb, kb[c0], kb[c1] - kb[c0]) == 0;
  };
  // The common start: the last place within the keys' common prefix where
  // both sides begin a cluster.
  const std::size_t prefix = static_cast<std::size_t>(
      std::mismatch(ja.begin(), ja.end(), jb.begin(), jb.end()).first - ja.begin());
  std::size_t si = 0, sj = 0;
  for (std::size_t i = 0, j = 0; i <= n && j <= m;) {
    if (ka[i] == kb[j]) {
      if (ka[i] > prefix) break;
      si = i++, sj = j++;
    } else if (ka[i] < kb[j]) {
      ++i;
    } else {
      ++j;
    }
  }
  if (si == n && sj == m) return {{0, n, 0, m, true}};
  // The common end likewise, not reaching back over the start.
  const std::string_view ra = std::string_view(ja).substr(ka[si]),
                         rb = std::string_view(jb).substr(kb[sj]);
  const std::size_t suffix = static_cast<std::size_t>(
      std::mismatch(ra.rbegin(), ra.rend(), rb.rbegin(), rb.rend()).first - ra.rbegin());
  std::size_t ei = n, ej = m;
  for (std::size_t i = n, j = m;;) {
    const std::size_t ea = ka[n] - ka[i], eb = kb[m] - kb[j];
    if (ea == eb) {
      if (ea > suffix) break;
      ei = i, ej = j;
      if (i == si || j == sj) break;
      --i, --j;
    } else if (ea < eb) {
      if (i == si) break;
      --i;
    } else {
      if (j == sj) break;
      --j;
    }
  }
  std::vector<TRegion> regions;
  if (si > 0 || sj > 0) regions.push_back({0, si, 0, sj, true});
  const auto unmatched = [&](std::size_t v0, std::size_t v1, std::size_t c0, std::size_t c1) {
    if (v0 < v1 || c0 < c1) regions.push_back({v0, v1, c0, c1, sameKey(v0, v1, c0, c1)});
  };
  std::size_t x = si, y = sj;
  if (const auto pairs = MatchClusters(a, si, ei, b, sj, ej)) {
    for (const auto& [px, py] : *pairs) {
      unmatched(x, px, y, py);
      regions.push_back({px, px + 1, py, py + 1, a[px].Key == b[py].Key, true});
      x = px + 1, y = py + 1;
    }
  }
  unmatched(x, ei, y, ej);
  if (ei < n || ej < m) regions.push_back({ei, n, ej, m, true});
  // A stretch that matches by chance between two unmatched ones (the 株 of
  // （株） against 株式会社) joins them, as a reader sees one difference
  // there: a run of matching clusters no longer than either neighbour and
  // shorter than one (single changed characters between matching ones stay
  // apart).
  const auto size = [](const TRegion& r) { return std::max(r.V1 - r.V0, r.C1 - r.C0); };
  const auto unpaired = [](const TRegion& r) { return !r.SameKey && !r.Paired; };
  std::vector<TRegion> joined;
  for (std::size_t i = 0; i < regions.size();) {
    std::size_t j = i;
    while (j < regions.size() && regions[j].SameKey) ++j;
    if (j == i) {
      joined.push_back(regions[i++]);
      continue;
    }
    const std::size_t run =
        std::max(regions[j - 1].V1 - regions[i].V0, regions[j - 1].C1 - regions[i].C0);
    if (!joined.empty() && unpaired(joined.back()) && j < regions.size() && unpaired(regions[j]) &&
        run <= std::min(size(joined.back()), size(regions[j])) &&
        run < std::max(size(joined.back()), size(regions[j]))) {
      TRegion& back = joined.back();
      back.V1 = regions[j].V1, back.C1 = regions[j].C1;
      back.SameKey = sameKey(back.V0, back.V1, back.C0, back.C1);
      i = j + 1;
      continue;
    }
    joined.insert(joined.end(), regions.begin() + static_cast<std::ptrdiff_t>(i),
                  regions.begin() + static_cast<std::ptrdiff_t>(j));
    i = j;
  }
  return joined;
}

}  // namespace

TSpellingDifferences CompareSpellings(std::string_view Variant, std::string_view Canonical,
                                      bool Hyphen, unsigned Variants) {
  TSpellingDifferences result;
  const std::vector<TChar> v = Characters(Variant, Hyphen), c = Characters(Canonical, Hyphen);
  // The bytes of characters [first, last) of a text.
  const auto bytes = [](std::string_view text, const std::vector<TChar>& chars, std::size_t first,
                        std::size_t last) {
    const std::size_t from = first < chars.size() ? chars[first].Start : text.size();
    const std::size_t to = last < chars.size() ? chars[last].Start : text.size();
    return text.substr(from, to - from);
  };
  // Records v[vf, vl) against c[cf, cl) when they differ; returns whether.
  const auto differ = [&](std::size_t vf, std::size_t vl, std::size_t cf, std::size_t cl) {
    const std::string_view a = bytes(Variant, v, vf, vl), b = bytes(Canonical, c, cf, cl);
    if (a == b) return false;
    result.Parts.push_back(
        {static_cast<std::size_t>(a.data() - Variant.data()), a.size(), std::string(b)});
    return true;
  };
  // Outer blanks, compared run against run.
  std::size_t vb = 0, cb = 0, ve = v.size(), ce = c.size();
  const auto blank = [](std::string_view text, const TChar& ch) {
    return IsBlank(text.substr(ch.Start, ch.Length));
  };
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
             pv.compare(0, pv.size() - v[ve - 1].Piece.size(), pc, 0,
                        pc.size() - c[ce - 1].Piece.size()) == 0)
      vm = ve - 1, cm = ce - 1;  // each has its own mark: ｰ and - without the hyphen option
    if (vm != ve || cm != ce) result.Kinds |= kTrailingMark;
  }
  // The rest in units that end where both sides end a character at the same
  // place of the key, over stretches whose pieces join to the same key;
  // each unit's first characters give its kinds. A part gathers units until
  // both sides end a grapheme cluster, so that a base and its combining
  // marks are highlighted together.
  const auto clusterEnds = [](std::string_view text, const std::vector<TChar>& chars, std::size_t k,
                              std::size_t end) {
    return k >= end || IsClusterStart(text, chars[k].Start);
  };
  const auto pieces = [](const std::vector<TChar>& chars, std::size_t from, std::size_t to) {
    std::string p;
    for (std::size_t k = from; k < to; ++k) p += chars[k].Piece;
    return p;
  };
  const auto walk = [&](std::size_t vf, std::size_t vl, std::size_t cf, std::size_t cl) {
    std::size_t i = vf, j = cf, ki = 0, kj = 0, pi = vf, pj = cf;
    while (i < vl || j < cl) {
      const std::size_t ui = i, uj = j;
      do {
        if (j >= cl || (i < vl && ki <= kj))
          ki += v[i++].Piece.size();
        else
          kj += c[j++].Piece.size();
      } while (ki != kj && (i < vl || j < cl));
      // Only a unit the folding bridges has kinds of its own (with kinds of
      // variants on, others differ in their pieces too).
      if (ui < i && uj < j && bytes(Variant, v, ui, i) != bytes(Canonical, c, uj, j) &&
          pieces(v, ui, i) == pieces(c, uj, j))
        result.Kinds |=
            Kinds(bytes(Variant, v, ui, i), bytes(Canonical, c, uj, j),
                  Variant.substr(v[ui].Start, v[ui].Length),
                  Canonical.substr(c[uj].Start, c[uj].Length), v[ui].Piece, c[uj].Piece);
      if (clusterEnds(Variant, v, i, vl) && clusterEnds(Canonical, c, j, cl)) {
        differ(pi, i, pj, j);
        pi = i;
        pj = j;
      }
    }
  };
  if (pieces(v, vb, vm) == pieces(c, cb, cm)) {
    walk(vb, vm, cb, cm);
  } else {
    // Where the keys differ (a kind of variants, or a blank the key drops),
    // the clusters are aligned first.
    const std::vector<TCluster> vc = Clusters(Variant, v, vb, vm, Variants, Hyphen),
                                cc = Clusters(Canonical, c, cb, cm, Variants, Hyphen);
    const auto first = [](const std::vector<TCluster>& clusters, std::size_t k, std::size_t end) {
      return k < clusters.size() ? clusters[k].First : end;
    };
    for (const TRegion& r : AlignClusters(vc, cc)) {
      const std::size_t vf = first(vc, r.V0, vm), vl = first(vc, r.V1, vm);
      const std::size_t cf = first(cc, r.C0, cm), cl = first(cc, r.C1, cm);
      if (r.SameKey)
        walk(vf, vl, cf, cl);
      else
        differ(vf, vl, cf, cl);
    }
  }
  differ(vm, ve, cm, ce);
  if (differ(ve, v.size(), ce, c.size())) result.Kinds |= kBlank;
  WidenToClusters(Variant, v, result.Parts);
  return result;
}

std::string DifferenceKindNames(unsigned Kinds) {
  static const char* const names[] = {"全角/半角",
                                      "ひらがな/カタカナ",
                                      "大文字/小文字",
                                      "小書き文字",
                                      "長音/ハイフン",
                                      "末尾の長音/ハイフン",
                                      "空白",
                                      "異体字",
                                      "互換文字",
                                      "空白・中点",
                                      "記号",
                                      "カナ表記",
                                      "法人格",
                                      "数字表記",
                                      "送り仮名・かな書き",
                                      "旧仮名",
                                      "濁点",
                                      "波ダッシュ",
                                      "別コードの同じ字"};
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

unsigned VariantDifferenceKinds(const TUniqueManager& Manager, std::string_view Variant,
                                std::string_view Canonical) {
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

unsigned AllDifferenceKinds(const TUniqueManager& Manager, std::string_view Variant,
                            std::string_view Canonical) {
  return CompareSpellings(Variant, Canonical, Manager.FHyphen, Manager.FVariants).Kinds |
         VariantDifferenceKinds(Manager, Variant, Canonical);
}

}  // namespace tavrin
