#include "app/copy_text.h"

#include <charconv>
#include <vector>

#include "app/command_texts.h"

namespace tavrin {

void AppendCopyLine(std::string& Out, const TResultRow& Row, bool CopyCount) {
  Out += Row.Item->Text();
  // The tail after the text in one piece: TAB, count, CR LF.
  char tail[16] = {'\t'};
  char* end = tail;
  if (CopyCount) end = std::to_chars(tail + 1, tail + sizeof tail - 2, Row.Count).ptr;
  *end++ = '\r';
  *end++ = '\n';
  Out.append(tail, end);
}

std::string CopyLine(const TResultRow& Row, bool CopyCount) {
  std::string line;
  AppendCopyLine(line, Row, CopyCount);
  line.resize(line.size() - 2);
  return line;
}

TCopyResult CopyRows(std::span<const TResultRow> Rows, std::span<const std::size_t> Selected,
                     TCopyKind Kind, bool CopyCount) {
  TCopyResult result;
  if (Rows.empty()) {
    result.Status = TCopyResult::TStatus::NoRows;
    result.Message = NothingToCopyMessage();
    return result;
  }
  const bool all = Kind == TCopyKind::All;
  std::vector<bool> taken(Rows.size(), all);
  if (!all) {
    for (const std::size_t position : Selected) {
      if (position < Rows.size()) taken[position] = true;
    }
  }
  for (std::size_t i = 0; i < Rows.size(); ++i) {
    if (taken[i]) AppendCopyLine(result.Text, Rows[i], CopyCount);
  }
  if (result.Text.empty()) {
    result.Status = TCopyResult::TStatus::NoSelection;
    result.Message = NoSelectionMessage();
    return result;
  }
  result.Status = TCopyResult::TStatus::Copied;
  result.Message = CopiedMessage(all);
  return result;
}

}  // namespace tavrin
