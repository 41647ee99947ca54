#pragma once
// The status texts and messages of the intake, the two commands and copying,
// as CP932 text. A "\r" in a message is the line break the box shows.
#include <cstddef>
#include <string>
#include <string_view>

#include "app/user_dictionary.h"

namespace tavrin {

// ReadClipboard: the clipboard holds no text (ErrorDialog).
std::string NoClipboardTextMessage();
// BuildData: no non-blank line was read (ErrorDialog).
std::string NoLinesMessage();

// Status panel 1 while lines are added: "データを取得しています...37%".
std::string ProgressText(int percent);
// Status panel 1 while the manager organises its items.
std::string OrganizingText();
// Status panel 1 while the similar lines are marked.
std::string ExtractingText();

// ShowSummary: "表示するデータがありません" for a list without rows,
// otherwise "全<totalCount>個のデータの中から、<rows> 種類の..." ending in
// "データを取得しました" (allData) or "類字データを抽出しました".
std::string SummaryText(bool allData, long long totalCount, std::size_t rows);

// Copy: an empty list (InformationDialog).
std::string NothingToCopyMessage();
// Copy of the selected rows with no row selected (InformationDialog).
std::string NoSelectionMessage();
// Copy done: "全てのデータを..." for all rows, "選択されたデータを..." else.
std::string CopiedMessage(bool all);
// The normalized text or the replacement map copied (InformationDialog).
std::string NormalizedCopiedMessage();
std::string MapCopiedMessage();
// The system's clipboard did not take a copy (ErrorDialog): nothing copied.
std::string ClipboardRefusedMessage();

// Help: the document exists but nothing opened it (InformationDialog). Its
// name, " を開くプログラムが見つかりません", then its whole path (UTF-8) on
// a line of its own, so that the user can open it by hand.
std::string HelpViewerMissingMessage(std::string_view helpPath);

// The user's dictionary has a malformed line (WarningDialog): its name and
// line, what is wrong, that the command runs without it, then its whole path
// (UTF-8) on a line of its own.
std::string DictionaryErrorMessage(std::string_view path, const TDictionaryError& error);
// Where a malformed dictionary is wrong: "<line> 行目に<what>".
std::string DictionaryFaultText(const TDictionaryError& error);
// The settings dialog's line on the dictionary: how many rules it holds
// (nullopt: the file is missing, or exists but cannot be read), or where it
// is wrong.
std::string DictionaryStatusText(bool exists, std::optional<std::size_t> rules,
                                 const std::optional<TDictionaryError>& error);
// The dictionary could not be written (ErrorDialog): nothing changed. Its
// path (UTF-8) on a line of its own.
std::string DictionaryNotWrittenMessage(std::string_view path);

}  // namespace tavrin
