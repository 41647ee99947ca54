#pragma once
// The user's own variant dictionary (tavrin-dict.txt): rules that decide
// groups over every fold, kind and frequency.
//
// One rule a line, fields separated by TAB:
//   正規 TAB 変種 TAB 変種...  every spelling is one group, the first its
//                             canonical spelling; a line that folds to one
//                             of them joins the group too.
//   !甲 TAB 乙 ...            乙 (and each further field) never shares a group
//                             with 甲; lines that fold to 乙 follow 乙.
// A line that starts with '#' is a comment; blank lines are ignored. A later
// line holds over an earlier one: a join that names a spelling of an earlier
// group takes that whole group in (chains), an apart rule takes 乙 out of
// the group it shares with 甲.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/text_index.h"
#include "engine/unique_manager.h"

namespace tavrin {

struct TUserRule {
  bool Apart = false;
  // CP932 (internal forms for what CP932 lacks), at least two, none empty.
  std::vector<std::string> Spellings;
};

struct TUserDictionary {
  std::vector<TUserRule> Rules;  // in the order read, files one after another
};

struct TDictionaryError {
  enum class TKind { InvalidText, Nul, SingleField, EmptyField };
  TKind Kind = TKind::InvalidText;
  std::size_t Line = 0;  // from 1
};

// The TAB-separated fields of a dictionary line, empty ones included.
std::vector<std::string_view> DictionaryFields(std::string_view Line);

// Adds the rules of one file's bytes (UTF-8 with or without a BOM, UTF-16
// with a BOM or CP932, recognised as input files are) to Into; on a
// malformed line returns its error and adds nothing.
std::optional<TDictionaryError> ReadUserDictionary(std::string Bytes, TUserDictionary& Into);

// The rules resolved into groups for one manager's options (its keys and
// trimming): which group each item belongs to, and which spelling a group
// becomes.
class TDictionaryGroups {
 public:
  static constexpr std::uint32_t kNone = UINT32_MAX;

  TDictionaryGroups(TUserDictionary Dictionary, const TUniqueManager& Manager);

  bool empty() const { return FKeyGroup.empty(); }
  // The group the rules give an item: the one naming its text, else the
  // one holding the latest-placed spelling of its key; kNone when the
  // rules leave the item to the folds.
  std::uint32_t GroupOf(const TUniqueItem& Item) const;
  std::size_t GroupCount() const { return FCanonical.size(); }
  // The canonical spelling a join rule gave the group; empty when the
  // group's spelling is chosen as without rules (a group an apart rule
  // made, or whose canonical spelling an apart rule took away).
  std::string_view CanonicalOf(std::uint32_t Group) const { return FCanonical[Group]; }
  // Whether a rule names the text (as the items keep it).
  bool Names(std::string_view Text) const { return FSpellingGroup.find(Text) != nullptr; }

  // After MarkSimilar: the similar mark of every item the rules place, set
  // when its group has another item or a canonical spelling other than its
  // text. Other items keep their marks.
  void Mark(TUniqueManager& Manager) const;

 private:
  struct TKeyEntry {
    std::uint32_t Group;
    std::uint64_t Stamp;
  };
  TUserDictionary FDictionary;
  std::deque<std::string> FKeys;
  TTextIndex<std::uint32_t> FSpellingGroup;  // spelling (as the items keep it) -> group
  TTextIndex<TKeyEntry> FKeyGroup;           // key of a spelling -> group of its latest spelling
  std::vector<std::string_view> FCanonical;
};

}  // namespace tavrin
