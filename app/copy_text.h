#pragma once
// The copy of pmCopySelectClick: which rows, and the text for the clipboard.
#include <cstddef>
#include <span>
#include <string>

#include "app/result_rows.h"

namespace tavrin {

enum class TCopyKind {
  All,       // sbCopyAll, pmCopyAll, F7
  Selected,  // pmCopySelect, Enter, Ctrl+C, double-click
};

struct TCopyResult {
  enum class TStatus {
    Copied,       // put Text on the clipboard, beep when FSound is on
    NoRows,       // the list is empty: clipboard untouched
    NoSelection,  // a copy of the selected rows with none selected: clipboard untouched
  };
  TStatus Status = TStatus::NoRows;
  std::string Text;     // CP932, one line per copied row, each ended by CR LF
  std::string Message;  // for InformationDialog, in every case
};

// One copied line without its line end: the item's text (never the quoted
// caption), with CopyCount a TAB and the row's count as plain decimal.
std::string CopyLine(const TResultRow& Row, bool CopyCount);
// The same line with its CR LF, appended to Out.
void AppendCopyLine(std::string& Out, const TResultRow& Row, bool CopyCount);

// Rows in the list's present order; Selected holds the positions of the
// selected rows in any order (positions outside Rows are ignored). A copy of
// the selected rows with no row selected is reported as NoSelection rather
// than putting an empty text on the clipboard.
TCopyResult CopyRows(std::span<const TResultRow> Rows, std::span<const std::size_t> Selected,
                     TCopyKind Kind, bool CopyCount);

}  // namespace tavrin
