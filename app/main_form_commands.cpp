// The two commands, [全データ] and [類字抽出], their intake from the
// clipboard and their summary.
#include <cstdint>
#include <optional>
#include <string>

#include "app/build_data.h"
#include "app/command_texts.h"
#include "app/extract_similar.h"
#include "app/main_form.h"
#include "engine/unique_manager.h"
#include "settings/form_settings.h"
#include "util/cp932.h"
#include "util/os.h"
#include "util/paths.h"
#include "util/stopwatch.h"

namespace tavrin {

std::string ReplacedCharactersMessage(std::size_t replaced) {
  return cp932::Sjis("クリップボードの文字列に扱えない文字が ") + std::to_string(replaced) +
         cp932::Sjis(" 個あり、「") + std::string(1, cp932::kReplacement) +
         cp932::Sjis("」に置き換えました");
}

void TMainForm::sbGetAllDataClick(TControl Sender) {
  if (!FUniqueManager) return;  // released by the close query
  const bool direct = Sender == TControl::sbGetAllData;
  FGuidePending = false;
  if (direct && !ReadClipboard()) return;
  if (FDebug) StopWatch(0);
  BuildData(direct);
  ShowSummary(direct);
  if (FDebug) StopWatch(2);
  if (direct && FSound) FView.Beep();
  TextSortDirection = 1;
  CountSortDirection = 1;
}

void TMainForm::sbExtractRuijiClick(TControl Sender) {
  if (!FUniqueManager) return;
  FGuidePending = false;
  if (!ReadClipboard()) return;
  // Not started by sbGetAllData: rebuilds from the lines just read, without
  // reading the clipboard again or listing, and without a beep.
  sbGetAllDataClick(Sender == TControl::sbGetAllData ? TControl::foMAIN : Sender);
  TWaitGuard wait(FView);
  FView.SetStatus(ExtractingText());
  if (FDebug) StopWatch(0);
  ExtractSimilar();
  ShowSummary(false);
  if (FDebug) StopWatch(2);
  if (FSound) FView.Beep();
}

void TMainForm::ExtractSimilar() {
  if (FUniqueManager->Count() == 0) return;  // the list keeps its rows
  TWaitGuard wait(FView);
  ReadDictionary();
  MarkSimilar(*FUniqueManager);
  if (FDictionary) FDictionary->Mark(*FUniqueManager);
  FillList(true);
}

std::string TMainForm::DictionaryFile() const {
  return WithTrailingDelimiter(FolderOf(AccIni1->FileName())) + "tavrin-dict.txt";
}

void TMainForm::ReadDictionary() {
  // Read at each command, so that an edit made meanwhile applies; a missing
  // file is no dictionary. The list's groups may hold the old rules'
  // spellings: they go first, as a warning box below paints the list.
  if (FDictionary) FList.ClearGroups();
  FDictionary.reset();
  const std::string path = DictionaryFile();
  std::optional<std::string> bytes = os::ReadRegularFile(path);
  if (!bytes) return;
  TUserDictionary dictionary;
  if (const std::optional<TDictionaryError> error =
          ReadUserDictionary(std::move(*bytes), dictionary)) {
    FView.Message(MessageKind::Warning, DictionaryErrorMessage(path, *error));
    return;
  }
  if (!dictionary.Rules.empty()) FDictionary.emplace(std::move(dictionary), *FUniqueManager);
}

void TMainForm::ShowSummary(bool AllData) {
  FView.SetStatus(SummaryText(AllData, FTotalCount, static_cast<std::size_t>(FList.Count())));
}

bool TMainForm::ReadClipboard() {
  std::optional<TClipboardText> text = FView.ReadClipboard(std::move(FSpareText));
  FSpareText = {};
  if (!text) {
    FView.Message(MessageKind::Error, NoClipboardTextMessage());
    return false;
  }
  if (text->Replaced > 0)
    FView.Message(MessageKind::Warning, ReplacedCharactersMessage(text->Replaced));
  // The old lines go first, so that the new ones take their room again
  // (8 MB at a million lines) rather than pages the system must fault in.
  FLines = {};
  FLines = ClipboardLines(std::move(text->Text), &FReadText);
  return true;
}

void TMainForm::BuildData(bool ShowAll) {
  TWaitGuard wait(FView);
  if (FLines.empty()) {
    FView.Message(MessageKind::Error, NoLinesMessage());
    return;  // the collection and the list keep the previous result
  }
  // The rows refer to the items the build frees: they go first, so no
  // paint (a message box runs the event loop) ever reaches a freed item.
  FList.Clear();
  FView.ListReset();
  // The text as read of the result going: held no longer than its items,
  // which go first. Its memory serves the next read, where nothing else
  // holds it (a text is never made const: see ClipboardLines).
  FUniqueManager->Clear();
  if (FInputText.use_count() == 1) FSpareText = std::move(const_cast<std::string&>(*FInputText));
  FInputText.reset();
  // The kinds of variants fold the keys of [類字抽出] only: [全データ]
  // merges as it always did.
  FUniqueManager->FVariants = ShowAll ? 0 : VariantKinds();
  // The progress texts reach the panel at most every kProgressMilliseconds:
  // on a large text a repaint for each percentage costs more than the
  // percentage's lines (under wine most of all). The first one shows at
  // once, and so does the organising text after them.
  const std::string organizing = OrganizingText();
  std::optional<std::uint32_t> shownAt;
  tavrin::BuildData(*FUniqueManager, FLines, FExtractSort, [&](const std::string& text) {
    const std::uint32_t now = Milliseconds();
    if (text != organizing && shownAt && now - *shownAt < kProgressMilliseconds) return;
    shownAt = now;
    FView.SetStatus(text);
  });
  FTotalCount = FUniqueManager->TotalCount();
  FInputText = std::move(FReadText);
  if (ShowAll) FillList(false);
}

}  // namespace tavrin
