#include "app/variant_groups.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

#include "app/clipboard_lines.h"
#include "engine/char_folding.h"
#include "engine/text_index.h"
#include "engine/variant_folding.h"
#include "util/sjis.h"

namespace tavrin {

namespace {

using TRowGroups = TVariantGroupRows::TWork;

// The rows' groups, each row going to its rule's group or its key's. ByRuns:
// a row of the key before it joins that row's group and a row of another
// key starts one, without a look-up, as long as the keys rise in byte order
// (a sorted list's do, its keys in PaddedKeyOrder, but for rare keys such
// as one with a control character after another's end); false as soon as
// they do not.
bool GroupRows(std::span<const TResultRow> Rows, const TDictionaryGroups* Dictionary, bool ByRuns,
               TRowGroups& Out) {
  Out.Size.clear();
  Out.FirstRow.clear();
  Out.RuleOf.clear();
  Out.OfRow.assign(Rows.size(), 0);
  TTextIndex<std::size_t> groupOfKey;
  if (!ByRuns) groupOfKey.reserve(Rows.size());
  std::vector<std::size_t> groupOfRule(Dictionary != nullptr ? Dictionary->GroupCount() : 0,
                                       SIZE_MAX);
  // The key and group of the last row that went by its key.
  std::string_view previousKey;
  std::size_t previousGroup = SIZE_MAX;
  for (std::size_t r = 0; r < Rows.size(); ++r) {
    const TUniqueItem* item = Rows[r].Item;
    const std::uint32_t rule =
        Dictionary != nullptr ? Dictionary->GroupOf(*item) : TDictionaryGroups::kNone;
    std::size_t group = Out.Size.size();
    if (rule != TDictionaryGroups::kNone) {
      std::size_t& ofRule = groupOfRule[rule];
      if (ofRule == SIZE_MAX) ofRule = group;
      group = ofRule;
    } else if (ByRuns) {
      const std::string_view key = item->Key();
      if (previousGroup != SIZE_MAX) {
        const int order = previousKey.compare(key);
        if (order > 0) return false;
        if (order == 0) group = previousGroup;
      }
      previousKey = key;
      previousGroup = group;
    } else {
      group = *groupOfKey.try_emplace(item->Key(), group).first;
    }
    if (group == Out.Size.size()) {
      Out.Size.push_back(0);
      Out.FirstRow.push_back(r);
      Out.RuleOf.push_back(rule);
    }
    ++Out.Size[group];
    Out.OfRow[r] = group;
  }
  return true;
}

}  // namespace

void TVariantGroupRows::Clear() {
  Groups.clear();
  Items.clear();
  RowsAt.clear();
  GroupOfRow.clear();
}

TVariantGroupRows GroupVariantRows(std::span<const TResultRow> Rows,
                                   const TDictionaryGroups* Dictionary, TVariantGroupRows Room) {
  TVariantGroupRows out = std::move(Room);
  out.Clear();
  TRowGroups& rows = out.Work;
  if (!GroupRows(Rows, Dictionary, true, rows)) GroupRows(Rows, Dictionary, false, rows);
  // Groups of one row go, but for a row a rule sends to a canonical
  // spelling other than its own; the rows' indices follow the groups that
  // stay.
  std::vector<std::int32_t>& kept = rows.Kept;
  kept.assign(rows.Size.size(), -1);
  out.RowsAt.push_back(0);
  for (std::size_t k = 0; k < rows.Size.size(); ++k) {
    const std::string_view canonical = rows.RuleOf[k] == TDictionaryGroups::kNone
                                           ? std::string_view{}
                                           : Dictionary->CanonicalOf(rows.RuleOf[k]);
    if (rows.Size[k] < 2 && (canonical.empty() || Rows[rows.FirstRow[k]].Item->Text() == canonical))
      continue;
    kept[k] = static_cast<std::int32_t>(out.Groups.size());
    out.Groups.emplace_back().RuleCanonical = canonical;
    out.RowsAt.push_back(out.RowsAt.back() + rows.Size[k]);
  }
  out.Items.resize(out.RowsAt.back());
  out.GroupOfRow.resize(Rows.size());
  std::vector<std::uint32_t>& next = rows.Next;
  next.assign(out.RowsAt.begin(), out.RowsAt.end() - 1);
  for (std::size_t r = 0; r < Rows.size(); ++r) {
    const std::int32_t g = kept[rows.OfRow[r]];
    out.GroupOfRow[r] = g;
    if (g >= 0) out.Items[next[static_cast<std::size_t>(g)]++] = Rows[r].Item;
  }
  return out;
}

void ChooseCanonical(TVariantGroup& g) {
  if (!g.RuleCanonical.empty()) {
    g.Canonical = nullptr;
    for (const TUniqueItem* item : g.Rows)
      if (item->Text() == g.RuleCanonical) g.Canonical = item;
    return;
  }
  // The most frequent text; on a tie the standard spelling (ﾕ)ﾔﾏﾀﾞ is not
  // written over 有限会社ヤマダ, nor ①番 over 1番), then the first seen:
  // an item's number is its place in the order of first occurrence. The
  // spellings are weighed on ties only, the canonical's once.
  g.Canonical = g.Rows.front();
  std::optional<unsigned> canonicalForms;
  for (const TUniqueItem* item : g.Rows) {
    if (item == g.Canonical) continue;
    if (item->FCount != g.Canonical->FCount) {
      if (item->FCount > g.Canonical->FCount) {
        g.Canonical = item;
        canonicalForms.reset();
      }
      continue;
    }
    const unsigned forms = NonstandardForms(item->Text());
    if (!canonicalForms) canonicalForms = NonstandardForms(g.Canonical->Text());
    if (forms < *canonicalForms ||
        (forms == *canonicalForms && item->Index() < g.Canonical->Index())) {
      g.Canonical = item;
      canonicalForms = forms;
    }
  }
}

std::vector<TVariantGroup> VariantGroups(std::span<const TResultRow> Rows,
                                         const TDictionaryGroups* Dictionary) {
  TVariantGroupRows groups = GroupVariantRows(Rows, Dictionary);
  for (std::size_t g = 0; g < groups.Groups.size(); ++g) {
    groups.GiveRows(groups.Groups[g], g);
    ChooseCanonical(groups.Groups[g]);
  }
  return std::move(groups.Groups);
}

namespace {

// A field of a map line as a spreadsheet writes a cell: quoted, its quotes
// doubled, when it holds a TAB, a quote or a line break (no trail byte of
// CP932 is one of those), else as it is.
void AppendCell(std::string& out, std::string_view text) {
  if (text.find_first_of("\t\"\r\n") == std::string_view::npos) {
    out += text;
    return;
  }
  out += '"';
  for (const char c : text) {
    out += c;
    if (c == '"') out += '"';
  }
  out += '"';
}

}  // namespace

std::string VariantMapText(std::span<const TVariantGroup> Groups) {
  return VariantMapText(Groups, {});
}

std::string VariantMapText(
    std::span<const TVariantGroup> Groups,
    const std::function<std::string(std::string_view, std::string_view)>& Explain) {
  std::string out;
  for (const TVariantGroup& g : Groups) {
    for (const TUniqueItem* item : g.Rows) {
      if (item == g.Canonical) continue;
      AppendCell(out, item->Text());
      out += '\t';
      AppendCell(out, g.CanonicalText());
      out += '\t';
      out += std::to_string(item->FCount);
      if (Explain) {
        out += '\t';
        out += Explain(item->Text(), g.CanonicalText());
      }
      out += "\r\n";
    }
  }
  return out;
}

namespace {

// A row of the intake: one line, or a cell joined from two (in a text
// shorter than 4 GiB, as the lines are).
struct TRow {
  std::uint32_t Start, End;   // its bytes in the text, inner line break included
  std::uint32_t FirstLength;  // of its first line: shorter than the row for a joined cell
  std::uint32_t Canonical;    // the number of its replacement, or kKept
  bool Joined() const { return End - Start > FirstLength; }
};
constexpr std::uint32_t kKept = UINT32_MAX;

bool OpensCell(std::string_view Line) { return !Line.empty() && Line.front() == '"'; }
bool ClosesCell(std::string_view Line) { return !Line.empty() && Line.back() == '"'; }
bool AllQuotes(std::string_view Text) {
  return Text.find_first_not_of('"') == std::string_view::npos;
}

}  // namespace

std::string NormalizedText(std::string_view Text, std::span<const TVariantGroup> Groups,
                           bool Trim) {
  if (const void* nul = std::memchr(Text.data(), '\0', Text.size()))
    Text = Text.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - Text.data()));
  // The canonical texts by number, each with its first row as written;
  // the variants' texts to their canonical's number.
  std::vector<std::string_view> canonicals, firstRows;
  TTextIndex<std::uint32_t> canonicalOf, numberOf;
  for (const TVariantGroup& g : Groups) {
    auto [number, fresh] =
        numberOf.try_emplace(g.CanonicalText(), static_cast<std::uint32_t>(canonicals.size()));
    if (fresh) canonicals.push_back(g.CanonicalText());
    for (const TUniqueItem* item : g.Rows)
      if (item != g.Canonical) canonicalOf.try_emplace(item->Text(), *number);
  }
  if (canonicalOf.empty()) return std::string(Text);
  firstRows.resize(canonicals.size());

  // The rows as the intake pairs the lines, each with its kept text.
  const std::vector<TLineSpan> lines = SplitLineSpans(Text);
  const auto line = [&](std::size_t i) { return Text.substr(lines[i].Start, lines[i].Length); };
  std::vector<TRow> rows;
  rows.reserve(lines.size());
  std::string joined;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    TRow row{lines[i].Start, lines[i].Start + lines[i].Length, lines[i].Length, kKept};
    std::string_view text = line(i);
    if (i + 1 < lines.size() && JoinsCells(text, line(i + 1))) {
      const std::string_view next = line(i + 1);
      joined.assign(text.substr(1));
      joined.append(next.substr(0, next.size() - 1));
      text = joined;
      row.End = lines[i + 1].Start + lines[i + 1].Length;
      ++i;
    }
    if (!IsBlankLine(text)) {
      const std::string_view kept = Trim ? TrimBlanksView(text) : text;
      if (const std::uint32_t* found = canonicalOf.find(kept)) row.Canonical = *found;
      const std::uint32_t* number = numberOf.find(kept);
      if (number != nullptr && firstRows[*number].data() == nullptr)
        firstRows[*number] = Text.substr(row.Start, row.End - row.Start);
    }
    rows.push_back(row);
  }
  // A canonical text whose first row is a joined cell is written as that
  // cell, as the user wrote it; empty for one first seen as a single line.
  const auto cellFor = [&](std::uint32_t canonical) {
    const std::string_view cell = firstRows[canonical];
    const bool joinedCell = cell.find_first_of("\r\n") != std::string_view::npos;
    return joinedCell ? cell : std::string_view();
  };
  const auto firstLineOf = [](std::string_view form) {
    return form.substr(0, form.find_first_of("\r\n"));
  };
  const auto rowFirstLine = [&](const TRow& row) {
    return Text.substr(row.Start, row.FirstLength);
  };

  std::string_view textBreak = "\r\n";
  if (const std::size_t at = Text.find_first_of("\r\n"); at != std::string_view::npos)
    textBreak = Text.compare(at, 2, "\r\n") == 0 ? "\r\n" : Text.substr(at, 1);

  // A replacement is written so that the text, read again, has the same
  // rows: it never opens or closes a cell with a line around it that the
  // original row did not. A single line that opens a cell ("open") joins
  // a next line that closes one, so after an open line the next row's
  // first line must not close a cell; the quoted form of the intake
  // ("P line break S", read as P followed by S) writes any text as one row.
  std::string out;
  out.reserve(Text.size());
  std::size_t copied = 0;  // Text is copied up to here
  bool open = false;       // the last row written is one line that opens a cell
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const TRow& row = rows[r];
    const bool keptOpen = !row.Joined() && OpensCell(rowFirstLine(row));
    if (row.Canonical == kKept) {
      open = keptOpen;
      continue;
    }
    const std::string_view text = canonicals[row.Canonical];
    const std::string_view cell = cellFor(row.Canonical);
    // Whether the next row, written after an open line, would close a cell
    // or have to stay unreplaced. A kept row closes one when its first line
    // does; a variant has no form there when its canonical text is all
    // quotes and is no cell whose first line leaves the cell open. Either
    // way this row is better written in its quoted form, which opens no cell.
    const auto nextBlocked = [&] {
      if (r + 1 == rows.size()) return false;
      const std::uint32_t next = rows[r + 1].Canonical;
      if (next == kKept) return ClosesCell(rowFirstLine(rows[r + 1]));
      const std::string_view nextCell = cellFor(next);
      return (nextCell.empty() || ClosesCell(firstLineOf(nextCell))) && AllQuotes(canonicals[next]);
    };
    std::string form;
    bool formOpen = false;
    if (!cell.empty() && !(open && ClosesCell(firstLineOf(cell)))) {
      form = cell;
    } else if (!(open && ClosesCell(text)) && !(OpensCell(text) && nextBlocked())) {
      form = text;
      formOpen = OpensCell(text);
    } else {
      // The quoted form, its first line closing no cell: P runs up to the
      // first character that does not end in a quote.
      std::size_t split = 0;
      for (std::size_t i = 0; i < text.size();) {
        i += CharLength(text, i);
        if (text[i - 1] != '"') {
          split = i;
          break;
        }
      }
      if (split == 0 && open) {
        open = keptOpen;  // no form reads back as this one row here: the row stays
        continue;
      }
      std::string_view lineBreak = textBreak;
      if (row.End < Text.size())
        lineBreak = Text.compare(row.End, 2, "\r\n") == 0 ? "\r\n" : Text.substr(row.End, 1);
      form = '"';
      form.append(text.substr(0, split));
      form.append(lineBreak);
      form.append(text.substr(split));
      form += '"';
    }
    out.append(Text.substr(copied, row.Start - copied));
    out += form;
    copied = row.End;
    open = formOpen;
  }
  out.append(Text.substr(copied));
  return out;
}

}  // namespace tavrin
