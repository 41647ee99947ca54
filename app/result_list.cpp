#include "app/result_list.h"

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <unordered_map>

#include "util/clusters.h"
#include "util/cp932.h"

namespace tavrin {
namespace {

// The characters of CP932 text, through the codec's UTF-8.
std::u32string Characters(std::string_view sjis) {
  const std::string utf8 = cp932::ToUtf8(sjis);
  std::u32string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    const int tail = b < 0x80 ? 0 : b < 0xE0 ? 1 : b < 0xF0 ? 2 : 3;
    char32_t c = tail == 0 ? b : b & (0x3F >> tail);
    for (int k = 1; k <= tail && i + k < utf8.size(); ++k)
      c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    out.push_back(c);
    i += 1 + tail;
  }
  return out;
}

// "「ー」U+30FC": a piece of text with the code points of its characters.
std::string WithCodePoints(const std::string& sjis) {
  std::string out = cp932::Sjis("「") + sjis + cp932::Sjis("」");
  for (const char32_t c : Characters(sjis)) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, " U+%04X", static_cast<unsigned>(c));
    out += buffer;
  }
  return out;
}

}  // namespace

void TResultList::SetRows(std::vector<TResultRow> rows, const TResultOptions& options) {
  FRows = std::move(rows);
  if (options.Variants == 0) {
    FKeyMaker.reset();
  } else if (!FKeyMaker || FKeyMaker->FVariants != options.Variants ||
             FOptions.Trim != options.Trim || FOptions.Hyphen != options.Hyphen ||
             FOptions.HyphenTerminate != options.HyphenTerminate) {
    auto maker = std::make_shared<TUniqueManager>();
    maker->FTrim = options.Trim;
    maker->FHyphen = options.Hyphen;
    maker->FHyphenTerminate = options.HyphenTerminate;
    maker->FVariants = options.Variants;
    FKeyMaker = std::move(maker);
  }
  FOptions = options;
  ClearGroups();
}

void TResultList::ClearGroups() {
  FGroups.clear();
  FChosen.clear();
  FUnchosen = 0;
  FGroupOfRow.clear();
  FGrouped.Clear();
}

std::string TResultList::Caption(int row) const {
  return RowCaption(*Row(row).Item, FOptions.ExprsQuote);
}

std::string TResultList::CountText(int row) const { return tavrin::CountText(Row(row).Count); }

std::string TResultList::ShownCaption(int row) const {
  return tavrin::ShownCaption(*Row(row).Item, FOptions.ExprsQuote);
}

std::string TResultList::CellToolTip(int row, int column) const {
  // The group's tip first, then the start of a caption drawn cut, then
  // what the marks drawn in the caption stand for, each once.
  std::string tip = ToolTip(row);
  if (column == 0) {
    const std::string cut = CaptionToolTip(*Row(row).Item, FOptions.ExprsQuote);
    if (!cut.empty()) tip += (tip.empty() ? "" : "\r\r") + cut;
    std::u32string named;
    std::string marks;
    for (const TCaptionGlyph& g : Glyphs(row)) {
      if (!g.Mark || named.find(g.Text[0]) != std::u32string::npos) continue;
      named += g.Text[0];
      if (!marks.empty()) marks += '\r';
      marks += InvisibleMarkName(g.Text[0]);
    }
    if (!marks.empty()) tip += (tip.empty() ? "" : "\r\r") + marks;
  }
  return tip;
}

void TResultList::MakeGroups(const TDictionaryGroups* Dictionary) {
  // The last grouping's memory serves this one.
  TVariantGroupRows room = std::move(FGrouped);
  room.Groups = std::move(FGroups);
  room.GroupOfRow = std::move(FGroupOfRow);
  FGrouped = GroupVariantRows(FRows, Dictionary, std::move(room));
  FGroups = std::move(FGrouped.Groups);
  FGroupOfRow = std::move(FGrouped.GroupOfRow);
  FChosen.assign(FGroups.size(), false);
  FUnchosen = FGroups.size();
}

void TResultList::SetGroups(std::vector<TVariantGroup> groups) {
  FGrouped.Clear();
  FGroups = std::move(groups);
  FChosen.assign(FGroups.size(), true);
  FUnchosen = 0;
  std::unordered_map<const TUniqueItem*, int> groupOfItem;
  for (std::size_t g = 0; g < FGroups.size(); ++g)
    for (const TUniqueItem* item : FGroups[g].Rows) groupOfItem.emplace(item, static_cast<int>(g));
  FGroupOfRow.assign(FRows.size(), -1);
  for (std::size_t r = 0; r < FRows.size(); ++r)
    if (const auto found = groupOfItem.find(FRows[r].Item); found != groupOfItem.end())
      FGroupOfRow[r] = found->second;
}

const TVariantGroup& TResultList::Group(int group) const {
  const auto g = static_cast<std::size_t>(group);
  if (!FChosen[g]) {
    FGrouped.GiveRows(FGroups[g], g);
    ChooseCanonical(FGroups[g]);
    FChosen[g] = true;
    --FUnchosen;
  }
  return FGroups[g];
}

const std::vector<TVariantGroup>& TResultList::Groups() const {
  for (std::size_t g = 0; FUnchosen > 0 && g < FGroups.size(); ++g) Group(static_cast<int>(g));
  return FGroups;
}

int TResultList::GroupOf(int row) const {
  return FGroupOfRow.empty() ? -1 : FGroupOfRow[static_cast<std::size_t>(row)];
}

bool TResultList::IsCanonical(int row) const {
  const int group = GroupOf(row);
  return group >= 0 && Group(group).Canonical == Row(row).Item;
}

const TUniqueItem* TResultList::CanonicalOf(int row) const {
  const int group = GroupOf(row);
  if (group < 0) return nullptr;
  const TUniqueItem* canonical = Group(group).Canonical;
  return canonical == Row(row).Item ? nullptr : canonical;
}

TSpellingDifferences TResultList::Differences(int row) const {
  const int group = GroupOf(row);
  if (group < 0 || IsCanonical(row)) return {};
  return CompareSpellings(Row(row).Item->Text(), Group(group).CanonicalText(), FOptions.Hyphen,
                          FOptions.Variants);
}

std::string TResultList::ToolTip(int row) const {
  const int group = GroupOf(row);
  if (group < 0) return {};
  const TVariantGroup& g = Group(group);
  if (g.Canonical == Row(row).Item)
    return cp932::Sjis("正規の表記（ほかに ") + std::to_string(g.Rows.size() - 1) +
           cp932::Sjis(" 種類の書き方があります）");
  const std::string_view text = Row(row).Item->Text();
  const TSpellingDifferences d = Differences(row);
  std::string tip = cp932::Sjis("正規の表記: ") + std::string(g.CanonicalText());
  // A group of the user's rules says so: the rule, not a fold, chose.
  if (!g.RuleCanonical.empty()) tip += cp932::Sjis("\r理由: 辞書");
  const unsigned kinds =
      d.Kinds | (FKeyMaker ? VariantDifferenceKinds(*FKeyMaker, text, g.CanonicalText()) : 0);
  if (kinds != 0) tip += cp932::Sjis("\r違い: ") + DifferenceKindNames(kinds);
  // Look-alike characters are told apart by their code points.
  constexpr std::size_t kShown = 5;
  for (std::size_t i = 0; i < d.Parts.size() && i < kShown; ++i) {
    const TSpellingDifference& p = d.Parts[i];
    // Appended piece by piece: "\r" + string draws a false -Wrestrict from
    // GCC 12 at -O3.
    tip += '\r';
    tip += WithCodePoints(std::string(text.substr(p.Start, p.Length)));
    tip += cp932::Sjis(" → ");
    tip += WithCodePoints(p.Canonical);
  }
  if (d.Parts.size() > kShown) tip += cp932::Sjis("\r…");
  return tip;
}

char32_t InvisibleMark(char32_t c, bool outer) {
  switch (c) {
    case U' ':
      return outer ? U'\u00B7' : 0;  // ·
    // ␣, the sign for a space: a box (□) reads as a glyph the font lacks.
    case U'\u3000':
      return U'\u2423';
    case U'\u00A0':
      return U'\u00B0';  // °
    case U'\t':
      return U'\u2192';  // →
    case U'\u200B':
    case U'\u200C':
    case U'\u200D':
    case U'\u2060':
    case U'\uFEFF':
      return U'\u2038';  // ‸
    default:
      return 0;
  }
}

std::string InvisibleMarkName(char32_t mark) {
  switch (mark) {
    case U'\u00B7':
      return cp932::Sjis("「·」は前後の半角空白");
    case U'\u2423':
      return cp932::Sjis("「␣」は全角空白");
    case U'\u00B0':
      return cp932::Sjis("「°」はノーブレークスペース");
    case U'\u2192':
      return cp932::Sjis("「→」はTAB");
    case U'\u2038':
      return cp932::Sjis("「‸」は幅のない文字");
    default:
      return {};
  }
}

std::vector<TCaptionGlyph> TResultList::Glyphs(int row) const {
  // A caption drawn cut keeps the plain drawing, with its ellipsis.
  const std::string text = Caption(row);
  if (Row(row).Item->Text().size() > kShownCaptionBytes) return {};
  const TSpellingDifferences d = Differences(row);
  const std::size_t offset = text.size() > Row(row).Item->Text().size() ? 1 : 0;  // a quote
  std::vector<std::pair<std::string_view, bool>> pieces;
  std::size_t at = 0;
  for (const TSpellingDifference& p : d.Parts) {
    const std::size_t start = p.Start + offset;
    if (start > at) pieces.emplace_back(std::string_view(text).substr(at, start - at), false);
    pieces.emplace_back(std::string_view(text).substr(start, p.Length), true);
    at = start + p.Length;
  }
  pieces.emplace_back(std::string_view(text).substr(at), false);
  // One glyph a grapheme cluster; the parts begin and end at clusters' edges.
  std::vector<TCaptionGlyph> glyphs;
  for (const auto& [piece, differs] : pieces)
    for (std::size_t i = 0, n = 0; i < piece.size(); i += n) {
      n = ClusterLength(piece, i);
      glyphs.push_back({Characters(piece.substr(i, n)), differs, false});
    }
  // Outer spaces of the text itself, inside any quotes.
  const std::size_t first = offset, last = glyphs.size() - offset;
  std::size_t lead = first, trail = last;
  while (lead < last && glyphs[lead].Text == U" ") ++lead;
  while (trail > lead && glyphs[trail - 1].Text == U" ") --trail;
  bool marked = !d.Parts.empty();
  for (std::size_t i = first; i < last; ++i) {
    // The mark stands for the base; combining marks on it stay.
    if (glyphs[i].Text.empty()) continue;
    const char32_t mark = InvisibleMark(glyphs[i].Text[0], i < lead || i >= trail);
    if (mark == 0) continue;
    glyphs[i].Text[0] = mark;
    glyphs[i].Mark = marked = true;
  }
  if (!marked) glyphs.clear();
  return glyphs;
}

void TResultList::RemoveRows(const std::vector<bool>& remove) {
  std::size_t out = 0;
  for (std::size_t i = 0; i < FRows.size(); ++i)
    if (!remove[i]) {
      if (!FGroupOfRow.empty()) FGroupOfRow[out] = FGroupOfRow[i];
      FRows[out++] = std::move(FRows[i]);
    }
  FRows.resize(out);
  if (!FGroupOfRow.empty()) FGroupOfRow.resize(out);
}

std::vector<int> TResultList::SortRows(
    const std::function<bool(const TResultRow&, const TResultRow&)>& less) {
  std::vector<int> order(FRows.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return less(FRows[static_cast<std::size_t>(a)], FRows[static_cast<std::size_t>(b)]);
  });
  std::vector<TResultRow> sorted;
  sorted.reserve(FRows.size());
  std::vector<int> newPos(FRows.size());
  for (std::size_t i = 0; i < order.size(); ++i) {
    newPos[static_cast<std::size_t>(order[i])] = static_cast<int>(i);
    sorted.push_back(std::move(FRows[static_cast<std::size_t>(order[i])]));
  }
  FRows = std::move(sorted);
  if (!FGroupOfRow.empty()) {
    std::vector<std::int32_t> groups(FGroupOfRow.size());
    for (std::size_t i = 0; i < order.size(); ++i)
      groups[i] = FGroupOfRow[static_cast<std::size_t>(order[i])];
    FGroupOfRow = std::move(groups);
  }
  return newPos;
}

}  // namespace tavrin
