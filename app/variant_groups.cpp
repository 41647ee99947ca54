#include "app/variant_groups.h"

#include <cstring>

#include "app/clipboard_lines.h"
#include "engine/char_folding.h"
#include "engine/text_index.h"

namespace tavrin {

std::vector<TVariantGroup> VariantGroups(std::span<const TResultRow> Rows) {
  std::vector<TVariantGroup> groups;
  TTextIndex<std::size_t> groupOfKey;
  groupOfKey.reserve(Rows.size());
  for (const TResultRow& row : Rows) {
    auto [group, inserted] = groupOfKey.try_emplace(row.Item->Key(), groups.size());
    if (inserted) groups.emplace_back();
    groups[*group].Rows.push_back(row.Item);
  }
  std::erase_if(groups, [](const TVariantGroup& g) { return g.Rows.size() < 2; });

  // An item's number is its place in the order of first occurrence.
  for (TVariantGroup& g : groups) {
    g.Canonical = g.Rows.front();
    for (const TUniqueItem* item : g.Rows) {
      if (item->FCount > g.Canonical->FCount ||
          (item->FCount == g.Canonical->FCount && item->Index() < g.Canonical->Index()))
        g.Canonical = item;
    }
  }
  return groups;
}

std::string VariantMapText(std::span<const TVariantGroup> Groups) { return VariantMapText(Groups, {}); }

std::string VariantMapText(std::span<const TVariantGroup> Groups,
                           const std::function<std::string(std::string_view, std::string_view)>& Explain) {
  std::string out;
  for (const TVariantGroup& g : Groups) {
    for (const TUniqueItem* item : g.Rows) {
      if (item == g.Canonical) continue;
      out += item->Text();
      out += '\t';
      out += g.Canonical->Text();
      out += '\t';
      out += std::to_string(item->FCount);
      if (Explain) {
        out += '\t';
        out += Explain(item->Text(), g.Canonical->Text());
      }
      out += "\r\n";
    }
  }
  return out;
}

std::string NormalizedText(std::string_view Text, std::span<const TVariantGroup> Groups, bool Trim) {
  if (const void* nul = std::memchr(Text.data(), '\0', Text.size()))
    Text = Text.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - Text.data()));
  TTextIndex<std::string_view> canonicalOf;
  for (const TVariantGroup& g : Groups)
    for (const TUniqueItem* item : g.Rows)
      if (item != g.Canonical) canonicalOf.try_emplace(item->Text(), g.Canonical->Text());

  const std::vector<TLineSpan> lines = SplitLineSpans(Text);
  const auto line = [&](std::size_t i) { return Text.substr(lines[i].Start, lines[i].Length); };
  std::string out;
  out.reserve(Text.size());
  std::size_t copied = 0;  // Text is copied up to here
  std::string joined;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    // The row: one line, or a cell joined from this line and the next.
    std::string_view row = line(i);
    const std::size_t start = lines[i].Start;
    std::size_t end = lines[i].Start + lines[i].Length;
    if (i + 1 < lines.size() && JoinsCells(row, line(i + 1))) {
      const std::string_view next = line(i + 1);
      joined.assign(row.substr(1));
      joined.append(next.substr(0, next.size() - 1));
      row = joined;
      end = lines[i + 1].Start + lines[i + 1].Length;
      ++i;
    }
    if (IsBlankLine(row)) continue;
    const std::string_view* canonical = canonicalOf.find(Trim ? TrimBlanksView(row) : row);
    if (canonical == nullptr) continue;
    out.append(Text.substr(copied, start - copied));
    out += *canonical;
    copied = end;
  }
  out.append(Text.substr(copied));
  return out;
}

}  // namespace tavrin
