// The user's dictionary from the result list: make a spelling canonical,
// take a row out of its group, join the selected rows; and undo.
#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_texts.h"
#include "app/main_form.h"
#include "app/user_dictionary.h"
#include "util/cp932.h"
#include "util/os.h"
#include "util/text_encoding.h"

namespace tavrin {

namespace {

// Text with Line added as its last line, after Text's own kind of break.
std::string WithLine(std::string Text, std::string_view Line) {
  const std::size_t at = Text.find_first_of("\r\n");
  const std::string_view lineBreak = at == std::string::npos || Text.compare(at, 2, "\r\n") == 0
                                         ? "\r\n"
                                         : std::string_view(&Text[at], 1);
  if (!Text.empty() && Text.back() != '\n' && Text.back() != '\r') Text += lineBreak;
  Text += Line;
  Text += lineBreak;
  return Text;
}

std::string Joined(const std::vector<std::string_view>& Fields) {
  std::string line;
  for (const std::string_view f : Fields) {
    if (!line.empty()) line += '\t';
    line += f;
  }
  return line;
}

}  // namespace

bool TMainForm::WriteDictionary(const std::optional<std::string>& Bytes) {
  const std::string path = DictionaryFile();
  const bool written =
      Bytes ? os::ReplaceRegularFile(os::WriteTarget(path), *Bytes) : os::RemoveFile(path);
  if (!written) FView.Message(MessageKind::Error, DictionaryNotWrittenMessage(path));
  return written;
}

bool TMainForm::ChangeDictionary(const std::function<std::string(std::string)>& Edit) {
  const std::string path = DictionaryFile();
  const std::optional<std::string> before = os::ReadRegularFile(path);
  TDecodedText decoded;
  decoded.Encoding = TTextEncoding::Utf8;
  decoded.Bom = true;
  if (before) {
    // A file the rules cannot be read from is the user's to mend first.
    TUserDictionary check;
    if (const std::optional<TDictionaryError> error = ReadUserDictionary(*before, check)) {
      FView.Message(MessageKind::Warning, DictionaryErrorMessage(path, *error));
      return false;
    }
    decoded = DecodeText(*before, std::nullopt);
  }
  const std::string text = Edit(decoded.Text);
  if (before && text == decoded.Text) return false;
  if (!WriteDictionary(EncodeText(text, decoded.Encoding, decoded.Bom))) return false;
  FDictionaryUndo.push_back(before);
  RelistKeepingSelection();
  return true;
}

void TMainForm::RelistKeepingSelection() {
  // The rows are found again by their texts, which the new list keeps.
  const auto textOf = [this](std::optional<std::size_t> row) {
    return row && *row < static_cast<std::size_t>(FList.Count())
               ? std::optional<std::string>(FList.Row(static_cast<int>(*row)).Item->Text())
               : std::nullopt;
  };
  std::vector<std::string> selected;
  for (const std::size_t row : FView.SelectedRows())
    if (const std::optional<std::string> text = textOf(row)) selected.push_back(*text);
  const std::optional<std::size_t> top = FView.TopRow();
  const std::optional<std::string> currentText = textOf(FView.CurrentRow()), topText = textOf(top);
  ExtractSimilar();
  ShowSummary(false);
  std::vector<std::size_t> rows;
  std::optional<std::size_t> newCurrent, newTop;
  for (int i = 0; i < FList.Count(); ++i) {
    const std::string_view text = FList.Row(i).Item->Text();
    if (std::find(selected.begin(), selected.end(), text) != selected.end())
      rows.push_back(static_cast<std::size_t>(i));
    if (text == currentText) newCurrent = static_cast<std::size_t>(i);
    if (text == topText) newTop = static_cast<std::size_t>(i);
  }
  FView.SelectRows(rows, newCurrent);
  // A top row that left the list leaves its place to the row after it.
  if (!newTop && top && FList.Count() > 0)
    newTop = std::min(*top, static_cast<std::size_t>(FList.Count() - 1));
  if (newTop) FView.SetTopRow(*newTop);
}

const TVariantGroup* TMainForm::CurrentGroup() const {
  const std::optional<std::size_t> current = FView.CurrentRow();
  if (!FListSimilar || !current || *current >= static_cast<std::size_t>(FList.Count()))
    return nullptr;
  const int group = FList.GroupOf(static_cast<int>(*current));
  return group < 0 ? nullptr : &FList.Group(group);
}

bool TMainForm::CanMakeCanonical() const {
  // Not for the spelling a rule has made canonical already.
  const TVariantGroup* group = CurrentGroup();
  return group != nullptr &&
         FList.Row(static_cast<int>(*FView.CurrentRow())).Item->Text() != group->RuleCanonical;
}

bool TMainForm::CanLeaveGroup() const {
  // The canonical row leaves no group of its own.
  const TVariantGroup* group = CurrentGroup();
  return group != nullptr &&
         FList.Row(static_cast<int>(*FView.CurrentRow())).Item->Text() != group->CanonicalText();
}

bool TMainForm::CanJoinSelected() const { return FListSimilar && FView.SelectedRows().size() >= 2; }

void TMainForm::pmMakeCanonicalClick() {
  if (!CanMakeCanonical()) return;
  const TVariantGroup& group = *CurrentGroup();
  const std::string canonical(FList.Row(static_cast<int>(*FView.CurrentRow())).Item->Text());
  std::vector<std::string> spellings;
  for (const TUniqueItem* item : group.Rows) spellings.emplace_back(item->Text());
  if (!group.RuleCanonical.empty()) spellings.emplace_back(group.RuleCanonical);
  ChangeDictionary([&](std::string text) {
    // The group's join line is the last one that names one of its spellings.
    std::size_t lineStart = std::string::npos, lineEnd = 0;
    for (std::size_t at = 0; at < text.size();) {
      const std::size_t end = std::min(text.find_first_of("\r\n", at), text.size());
      const std::string_view line = std::string_view(text).substr(at, end - at);
      if (!line.starts_with('#') && !line.starts_with('!')) {
        for (const std::string_view f : DictionaryFields(line))
          if (std::find(spellings.begin(), spellings.end(), f) != spellings.end())
            lineStart = at, lineEnd = end;
      }
      at = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    std::vector<std::string_view> fields{canonical};
    if (lineStart != std::string::npos)
      for (const std::string_view f :
           DictionaryFields(std::string_view(text).substr(lineStart, lineEnd - lineStart)))
        if (std::find(fields.begin(), fields.end(), f) == fields.end()) fields.push_back(f);
    for (const std::string& s : spellings)
      if (std::find(fields.begin(), fields.end(), s) == fields.end()) fields.push_back(s);
    const std::string line = Joined(fields);
    if (lineStart == std::string::npos) return WithLine(std::move(text), line);
    return text.replace(lineStart, lineEnd - lineStart, line);
  });
}

void TMainForm::pmLeaveGroupClick() {
  if (!CanLeaveGroup()) return;
  const TVariantGroup& group = *CurrentGroup();
  const std::string_view text = FList.Row(static_cast<int>(*FView.CurrentRow())).Item->Text();
  const std::string line = "!" + std::string(group.CanonicalText()) + "\t" + std::string(text);
  ChangeDictionary([&](std::string dictionary) { return WithLine(std::move(dictionary), line); });
}

void TMainForm::pmJoinSelectedClick() {
  if (!CanJoinSelected()) return;
  const std::vector<std::size_t> selected = FView.SelectedRows();
  std::vector<std::string_view> fields;
  fields.reserve(selected.size());
  for (const std::size_t row : selected)
    fields.push_back(FList.Row(static_cast<int>(row)).Item->Text());
  const std::string line = Joined(fields);
  ChangeDictionary([&](std::string dictionary) { return WithLine(std::move(dictionary), line); });
}

bool TMainForm::UndoDictionaryChange() {
  if (FDictionaryUndo.empty()) return false;
  if (!WriteDictionary(FDictionaryUndo.back())) return false;
  FDictionaryUndo.pop_back();
  if (FListSimilar) RelistKeepingSelection();
  return true;
}

}  // namespace tavrin
