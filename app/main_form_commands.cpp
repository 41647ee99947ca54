// The two commands, [全データ] and [類字抽出], their intake from the
// clipboard and their summary.
#include "app/build_data.h"
#include "app/command_texts.h"
#include "app/extract_similar.h"
#include "app/main_form.h"
#include "engine/unique_manager.h"
#include "util/cp932.h"
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
  MarkSimilar(*FUniqueManager);
  FillList(true);
}

void TMainForm::ShowSummary(bool AllData) {
  FView.SetStatus(SummaryText(AllData, FUniqueManager->TotalCount(),
                              static_cast<std::size_t>(FList.Count())));
}

bool TMainForm::ReadClipboard() {
  std::optional<TClipboardText> text = FView.ReadClipboard();
  if (!text) {
    FView.Message(MessageKind::Error, NoClipboardTextMessage());
    return false;
  }
  if (text->Replaced > 0)
    FView.Message(MessageKind::Warning, ReplacedCharactersMessage(text->Replaced));
  FReadText = text->Text;
  FLines = ClipboardLines(std::move(text->Text));
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
  tavrin::BuildData(*FUniqueManager, FLines, FExtractSort,
                    [this](const std::string& text) { FView.SetStatus(text); });
  FInputText = std::move(FReadText);
  if (ShowAll) FillList(false);
}

}  // namespace tavrin
