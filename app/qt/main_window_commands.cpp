// The two commands: [全データ] and [類字抽出], and their summary.
#include <QToolButton>

#include "app/command_texts.h"
#include "app/extract_similar.h"
#include "app/qt/main_window.h"
#include "app/qt/result_model.h"
#include "engine/unique_manager.h"
#include "util/qt/beep.h"
#include "util/qt/wait_cursor.h"
#include "util/stopwatch.h"

namespace tavrin {

void TfoMAIN::sbGetAllDataClick(QObject* Sender) {
  if (!FUniqueManager) return;  // released by the close query
  const bool direct = Sender == sbGetAllData;
  FGuidePending = false;
  if (direct && !ReadClipboard()) return;
  if (FDebug) StopWatch(0);
  BuildData(direct);
  ShowSummary(direct);
  if (FDebug) StopWatch(2);
  if (direct && FSound) Beep();
  TextSortDirection = 1;
  CountSortDirection = 1;
}

void TfoMAIN::sbExtractRuijiClick(QObject* Sender) {
  if (!FUniqueManager) return;
  FGuidePending = false;
  if (!ReadClipboard()) return;
  // Not started by sbGetAllData: rebuilds from the lines just read, without
  // reading the clipboard again or listing, and without a beep.
  sbGetAllDataClick(Sender);
  WaitCursorGuard wait;
  SetStatus(ExtractingText());
  if (FDebug) StopWatch(0);
  ExtractSimilar();
  ShowSummary(false);
  if (FDebug) StopWatch(2);
  if (FSound) Beep();
}

void TfoMAIN::ExtractSimilar() {
  if (FUniqueManager->Count() == 0) return;  // the list keeps its rows
  WaitCursorGuard wait;
  MarkSimilar(*FUniqueManager);
  FillList(true);
}

void TfoMAIN::ShowSummary(bool AllData) {
  SetStatus(SummaryText(AllData, FUniqueManager->TotalCount(),
                        static_cast<std::size_t>(FModel->Count())));
}

void TfoMAIN::Beep() { MessageBeep(BeepSound::Default); }

}  // namespace tavrin
