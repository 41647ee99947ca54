#pragma once
// Groups of similar lines as [類字抽出] lists them: which rows belong
// together, which spelling to keep (the canonical row), and what follows
// from that: the replacement map and the input text with every variant row
// replaced by its canonical text.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/result_rows.h"
#include "app/user_dictionary.h"
#include "engine/unique_manager.h"

namespace tavrin {

struct TVariantGroup {
  // The group's rows in list order; at least two, all of one key.
  std::vector<const TUniqueItem*> Rows;
  // The row of the highest FCount; on a tie the most standard spelling
  // (NonstandardForms, engine/variant_folding.h), then the one whose text
  // occurred first in the input.
  // A group of the user's rules has the spelling its rule gives, which
  // need not be in the input: Canonical is then nullptr.
  const TUniqueItem* Canonical = nullptr;
  std::string_view RuleCanonical;  // the rule's spelling, when a rule gave one
  std::string_view CanonicalText() const {
    return Canonical != nullptr ? Canonical->Text() : RuleCanonical;
  }
};

// The groups of the similar rows Rows (list order), in the order of their
// first row. Rows left alone in their key (after deletions from the list)
// form no group. With Dictionary the user's rules decide over the keys: a
// group of theirs is formed by the rows they place in it (one row is enough
// when the rule's canonical spelling differs from it).
std::vector<TVariantGroup> VariantGroups(std::span<const TResultRow> Rows,
                                         const TDictionaryGroups* Dictionary = nullptr);
// VariantGroups in steps, for a list that shows a few of many groups at a
// time: the groups with neither rows nor canonical row yet, their rows'
// items in one array and each row's group (an index into Groups, or -1);
// then, group by group as they are needed, GiveRows and ChooseCanonical,
// which weighs the spellings of tied rows. A list of many groups so takes
// no memory block for each (under wine's heap, 28,000 blocks made and
// freed cost about 10 ms). Room: an earlier result, whose arrays the new
// one fills instead of taking memory afresh (a list is grouped at every
// press).
struct TVariantGroupRows {
  std::vector<TVariantGroup> Groups;
  std::vector<const TUniqueItem*> Items;  // group after group, each in list order
  std::vector<std::uint32_t> RowsAt;      // group g's lie from RowsAt[g] to RowsAt[g + 1]
  std::vector<std::int32_t> GroupOfRow;
  // Gives Group, the one of index Index, its rows.
  void GiveRows(TVariantGroup& Group, std::size_t Index) const {
    Group.Rows.assign(Items.begin() + RowsAt[Index], Items.begin() + RowsAt[Index + 1]);
  }
  // Empties the result's arrays and keeps their memory.
  void Clear();

  // The grouping's working arrays, kept with the result: every key's (or
  // rule's) group with its size, first row and rule, each row's group,
  // each group's index among those that stay (-1 for none), and where the
  // next row of each that stays goes in Items.
  struct TWork {
    std::vector<std::uint32_t> Size, RuleOf;
    std::vector<std::size_t> FirstRow, OfRow;
    std::vector<std::int32_t> Kept;
    std::vector<std::uint32_t> Next;
  } Work;
};
TVariantGroupRows GroupVariantRows(std::span<const TResultRow> Rows,
                                   const TDictionaryGroups* Dictionary = nullptr,
                                   TVariantGroupRows Room = {});
void ChooseCanonical(TVariantGroup& Group);

// One line per variant, "variant TAB canonical TAB count CR LF", group by
// group, the variants of a group in list order. A text with a TAB, a quote
// or a line break is written as a quoted cell ("a""b" for a"b), so that a
// spreadsheet reads each line as its columns.
std::string VariantMapText(std::span<const TVariantGroup> Groups);
// The same with a fourth column, after a TAB: Explain(variant, canonical).
std::string VariantMapText(
    std::span<const TVariantGroup> Groups,
    const std::function<std::string(std::string_view, std::string_view)>& Explain);

// Text (the input as given, CP932) with every variant row replaced whole by
// its canonical text. A row is a line of the intake after its joining pass
// (a joined cell spans from its opening to its closing quote); it is a
// variant when it is not blank and its kept text (trimmed with Trim) is a
// variant's text. Everything else is kept byte for byte, up to the text's
// first NUL. The text read again has the same rows; a variant row keeps its
// text only where every form of its canonical text (then quotes alone)
// would join the line before it, a kept line that opens a cell.
std::string NormalizedText(std::string_view Text, std::span<const TVariantGroup> Groups, bool Trim);

}  // namespace tavrin
