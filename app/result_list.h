#pragma once
// The rows of the result list and their groups, as the main form keeps them
// and every skin shows them: the caption (quoted as the list was filled),
// the count text, the group tool-tip and the drawn pieces of a caption are
// formed only for the rows a skin paints.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/result_rows.h"
#include "app/spelling_differences.h"
#include "app/variant_groups.h"

namespace tavrin {

// The options a result was made with; later commands on it use these, not
// the options of the moment.
struct TResultOptions {
  bool ExprsQuote = false;
  bool Trim = false;
  bool Hyphen = true;
  bool HyphenTerminate = false;
  unsigned Variants = 0;  // the kinds of variants (TVariantKind bits) of its keys
};

// A glyph of a caption as drawn: one grapheme cluster (UTF-32; a
// character with the combining marks after it, util/clusters.h), since a
// mark drawn apart from its base is lost, or the mark drawn in place of an
// invisible character; whether it differs from the canonical spelling.
struct TCaptionGlyph {
  std::u32string Text;
  bool Differs = false;
  bool Mark = false;
};

class TResultList {
 public:
  int Count() const { return static_cast<int>(FRows.size()); }
  const TResultRow& Row(int i) const { return FRows[static_cast<std::size_t>(i)]; }
  const std::vector<TResultRow>& Rows() const { return FRows; }
  const TResultOptions& Options() const { return FOptions; }

  // Replaces every row; clears the groups.
  void SetRows(std::vector<TResultRow> rows, const TResultOptions& options);
  // No rows; the memory of many rows stays for the next list (TakeRoom).
  void Clear() { SetRows(TakeRoom(), FOptions); }
  // Clears the rows and hands over their memory, for FillRows to fill the
  // next list in: a window lists again at each press, and a million rows
  // taken afresh are 16 MB the system zeroes page by page. Only a room of
  // kKeptRoomBytes and more is kept (smaller blocks come from the heap,
  // which reuses them without the system; kept, they would only add to
  // the next build's peak).
  static constexpr std::size_t kKeptRoomBytes = std::size_t{8} << 20;
  std::vector<TResultRow> TakeRoom() {
    std::vector<TResultRow> room = std::move(FRows);
    room.clear();
    SetRows({}, FOptions);
    if (room.capacity() * sizeof(TResultRow) < kKeptRoomBytes) return {};
    return room;
  }

  // The texts of a row, CP932: whole caption, count text ("%3d"), the
  // caption as drawn (cut) and the cell's tool-tip (empty: none; CR between
  // lines): the group's tip, then for column 0 the start of a cut caption
  // and the names of the marks drawn in it.
  std::string Caption(int row) const;
  std::string CountText(int row) const;
  std::string ShownCaption(int row) const;
  std::string CellToolTip(int row, int column) const;
  static constexpr int kImageIndex = 10;  // the row picture

  // The groups of the similar rows (VariantGroups of these rows): made
  // here, each group's canonical row chosen when first asked for, since a
  // list of many groups shows a few at a time; or given, chosen.
  void MakeGroups(const TDictionaryGroups* Dictionary);
  void SetGroups(std::vector<TVariantGroup> groups);
  void ClearGroups();                                // every row without a group; the rows stay
  const std::vector<TVariantGroup>& Groups() const;  // every canonical row chosen
  const TVariantGroup& Group(int group) const;       // its canonical row chosen
  bool HasGroups() const { return !FGroups.empty(); }
  int GroupOf(int row) const;  // an index into Groups(), or -1
  bool IsCanonical(int row) const;
  const TUniqueItem* CanonicalOf(int row) const;  // nullptr: none, or itself
  TSpellingDifferences Differences(int row) const;
  std::string ToolTip(int row) const;  // the group's tip; empty: none

  // The caption as glyphs with its marks and differences; empty when it
  // has none (or is drawn cut), so the plain drawing serves.
  std::vector<TCaptionGlyph> Glyphs(int row) const;

  // Removes the rows whose flag is set; remove.size() must equal Count().
  void RemoveRows(const std::vector<bool>& remove);
  // Reorders the rows by `less` (stable); returns each old row's new place.
  std::vector<int> SortRows(const std::function<bool(const TResultRow&, const TResultRow&)>& less);

 private:
  std::vector<TResultRow> FRows;
  TResultOptions FOptions;
  // The groups, whether each one's canonical row is chosen yet (FUnchosen:
  // how many are not), and each row's group or -1.
  // Made groups take their rows from FGrouped when first asked for.
  mutable std::vector<TVariantGroup> FGroups;
  mutable std::vector<bool> FChosen;
  mutable std::size_t FUnchosen = 0;
  std::vector<std::int32_t> FGroupOfRow;
  TVariantGroupRows FGrouped;
  // Makes keys with the result's options, to name the kinds of variants
  // that join a variant to its canonical row; none without kinds.
  std::shared_ptr<const TUniqueManager> FKeyMaker;
};

// The mark drawn for a character that shows nothing or looks like a blank
// (outer: a space at either end of the text); 0: drawn as it is.
char32_t InvisibleMark(char32_t c, bool outer);
// What a mark of InvisibleMark stands for, CP932: "「␣」は全角空白".
std::string InvisibleMarkName(char32_t mark);

}  // namespace tavrin
