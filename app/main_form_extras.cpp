// Services of the window beyond the extraction workflow: stay-on-top, help,
// version, diagnostics, the hidden caption total and the test controls of
// debug mode.
#include <exception>

#include "app/command_texts.h"
#include "app/diagnostics.h"
#include "app/main_form.h"
#include "engine/unique_manager.h"
#include "settings/form_settings.h"
#include "util/cp932.h"
#include "util/files.h"
#include "util/integers.h"
#include "util/os.h"
#include "util/paths.h"

namespace tavrin {

// Stay-on-top and back; the button says what a click will do.
void TMainForm::sbSwFormStyleClick() {
  const bool onTop = !FView.StayOnTop();
  FView.SetStayOnTop(onTop);
  if (onTop) {
    FView.SetCaption(TControl::sbSwFormStyle, cp932::Sjis("通常表示"));
    SetHint(TControl::sbSwFormStyle,
            cp932::Sjis("ウィンドを最前面の固定表示\r→通常表示に戻します"));
  } else {
    FView.SetCaption(TControl::sbSwFormStyle, cp932::Sjis("前面表示"));
    SetHint(TControl::sbSwFormStyle, cp932::Sjis("ウィンドを最前面に固定します"));
  }
}

// The help document beside the executable, or where an install keeps
// documentation (<prefix>/share/doc/tavrin beside <prefix>/bin), opened with
// the desktop's viewer.
void TMainForm::imgHelpClick() {
  const std::string beside = ProgramFileWithExtension(".pdf");
  const std::string installed = ProgramFolder() + "../share/doc/tavrin/" + FileNameOf(beside);
  const auto regular = [](const std::string& path) {
    return os::KindOf(path) == os::FileKind::Regular;
  };
  const std::string help = regular(beside) || !regular(installed) ? beside : installed;
  if (!regular(help)) {
    FView.Message(MessageKind::Information,
                  cp932::FromUtf8(FileNameOf(help)).bytes + cp932::Sjis(" が見つかりません"));
    return;
  }
  TWaitGuard wait(FView);
  try {
    if (!FView.OpenDocument(help))
      FView.Message(MessageKind::Information, HelpViewerMissingMessage(help));
  } catch (const std::exception& e) {
    FView.Message(MessageKind::Error, cp932::FromUtf8(e.what()).bytes);
  }
}

void TMainForm::imgVersionClick() { FView.ShowVersionDialog("v1.00A", "2019-0823", "2019-0426"); }

// Ctrl + right button switches debug mode.
void TMainForm::imgVersionMouseDown(TMouseButton Button, TShiftState Shift) {
  if (Button != TMouseButton::Right || !(Shift & kShiftCtrl)) return;
  if (!FView.Message(MessageKind::Confirm, "Debug mode change\rOK?")) return;
  FDebug = !FDebug;
  FView.Message(MessageKind::Warning, FDebug ? "FDebug = 1" : "FDebug = 0");
}

// The right button copies the diagnostics text for support.
void TMainForm::imgHelpMouseDown(TMouseButton Button) {
  if (Button != TMouseButton::Right) return;
  if (!FView.Message(
          MessageKind::Confirm,
          cp932::Sjis("Tavrinの動作情報をクリップボードにコピーします\rよろしいですか？")))
    return;
  if (!CopyToClipboard(DiagnosticsText(
          GatherDiagnostics(ProgramFolder(), AccIni1 ? AccIni1->FileName() : std::string()))))
    return;
  FView.Message(MessageKind::Information,
                cp932::Sjis("Tavrinの動作情報をクリップボードにコピーしました"));
}

// The total of the listed counts, read back from the count cells, in the
// caption. 64 bits: the counts of a million rows may pass the 32-bit range.
void TMainForm::GradationExprs1DblClick() {
  std::int64_t sum = 0;
  for (int row = 0; row < FList.Count(); ++row) sum += ParseInteger(FList.CountText(row));
  FView.SetTitle(std::to_string(sum));
}

void TMainForm::sbDblClick() {
  if (!FDebug) return;
  FView.SetDebugControlsVisible(!FView.DebugControlsVisible());
}

// The developers' test file beside the program folder becomes the input
// lines and the clipboard text, so that the next command works on it.
void TMainForm::Button1Click() {
  const std::string path = ProgramFolder() + "../TST.txt";
  std::optional<std::string> text = ReadRegularFile(path);
  if (!text) {
    FView.Message(MessageKind::Error,
                  cp932::FromUtf8(path).bytes + cp932::Sjis(" を読み込めません"));
    return;
  }
  FLines = TClipboardLines::Split(std::move(*text));
  std::string joined;
  for (std::size_t i = 0; i < FLines.size(); ++i) joined.append(FLines[i]).append("\r\n");
  CopyToClipboard(joined);
}

// The groups of the last build, one display key a line.
void TMainForm::Button2Click() {
  std::vector<std::string> lines;
  if (FUniqueManager)
    for (const TUniqueItem* item : FUniqueManager->SameList())
      lines.push_back(FUniqueManager->DisplayKey(*item));
  FView.SetMemoLines(lines);
}

}  // namespace tavrin
