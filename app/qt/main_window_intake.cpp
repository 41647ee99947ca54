// Clipboard intake: the clipboard's text into the input lines, and the
// input lines into the collection, with the progress in the status bar.
#include <QLabel>

#include "app/build_data.h"
#include "app/command_texts.h"
#include "app/qt/clipboard.h"
#include "app/qt/main_window.h"
#include "app/qt/result_model.h"
#include "util/qt/wait_cursor.h"
#include "util/messages.h"
#include "util/qt/qsjis.h"

namespace tavrin {

bool TfoMAIN::ReadClipboard() {
  std::optional<TClipboardText> text = ReadClipboardText();
  if (!text) {
    ErrorDialog(NoClipboardTextMessage());
    return false;
  }
  if (text->Replaced > 0) WarningDialog(ReplacedCharactersMessage(text->Replaced));
  FReadText = text->Text;
  FLines = ClipboardLines(std::move(text->Text));
  return true;
}

void TfoMAIN::BuildData(bool ShowAll) {
  WaitCursorGuard wait;
  if (FLines.empty()) {
    ErrorDialog(NoLinesMessage());
    return;  // the collection and the list keep the previous result
  }
  // The rows refer to the items the build frees: they go first, so no
  // paint (a message box runs the event loop) ever reaches a freed item.
  FModel->Clear();
  tavrin::BuildData(*FUniqueManager, FLines, FExtractSort,
                    [this](const std::string& text) { SetStatus(text); });
  FInputText = std::move(FReadText);
  if (ShowAll) FillList(false);
}

void TfoMAIN::SetStatus(const std::string& sjis) {
  SetStatusText(FromSjis(sjis));
  sbPanel1->repaint();
}

}  // namespace tavrin
