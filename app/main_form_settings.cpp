// The settings dialog: it edits the Boolean option fields and the result
// list's font. Changes act from the next command; they reach the settings
// file at closing.
#include <algorithm>

#include "app/command_texts.h"
#include "app/main_form.h"
#include "util/cp932.h"
#include "util/os.h"

namespace tavrin {
namespace {

// What a new dictionary starts with, so that the editor opens a file that
// says how to write it. UTF-8 with a BOM, lines ended by CR LF.
constexpr std::string_view kDictionaryHeader =
    "\xEF\xBB\xBF# Tavrin の辞書: 一行に一つの規則を、項目をタブで区切って書きます。\r\n"
    "#   正規の表記<TAB>変種<TAB>変種...   "
    "どの表記も一つの組になり、最初の表記が正規の表記です。\r\n"
    "#   !甲<TAB>乙                        乙は甲と同じ組になりません。\r\n"
    "# # で始まる行と空の行は読み飛ばします。後の行が前の行に優先します。\r\n";

}  // namespace

std::string TMainForm::DictionaryStatus() const {
  const std::string path = DictionaryFile();
  const std::optional<std::string> bytes = os::ReadRegularFile(path);
  if (!bytes)
    return DictionaryStatusText(os::KindOf(path) != os::FileKind::Missing, std::nullopt,
                                std::nullopt);
  TUserDictionary dictionary;
  const std::optional<TDictionaryError> error = ReadUserDictionary(*bytes, dictionary);
  return DictionaryStatusText(true, dictionary.Rules.size(), error);
}

std::string TMainForm::EditDictionary() {
  const std::string path = DictionaryFile();
  if (os::KindOf(path) == os::FileKind::Missing &&
      !os::ReplaceRegularFile(os::WriteTarget(path), kDictionaryHeader))
    FView.Message(MessageKind::Error, DictionaryNotWrittenMessage(path));
  else if (!FView.OpenInEditor(path))
    FView.Message(MessageKind::Information, HelpViewerMissingMessage(path));
  return DictionaryStatus();
}

void TMainForm::sbSetClick() {
  TSetOptionValues values = *this;
  FontValue font = FView.ListFont();
  // The first rows as the result list shows them, or two samples.
  constexpr int kSampleRows = 10;
  std::vector<TSampleRow> samples;
  for (int r = 0; r < std::min(FList.Count(), kSampleRows); ++r)
    samples.push_back({FList.ShownCaption(r), FList.CountText(r)});
  if (samples.empty())
    for (const char* caption : {"サンプル-1", "サンプル-2"})
      samples.push_back({cp932::Sjis(caption), "1"});
  const TDictionaryLine dictionary{DictionaryStatus(), [this] { return EditDictionary(); }};
  if (!FView.RunSettingsDialog(values, font, samples, dictionary)) return;
  static_cast<TSetOptionValues&>(*this) = values;
  FView.SetListFont(font);
  FListFont = font;
  ApplyHint(FHint);
  ApplyEngine();
}

}  // namespace tavrin
