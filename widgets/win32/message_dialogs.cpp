#include "widgets/win32/message_dialogs.h"

#include <windows.h>

#include "util/message_lines.h"
#include "util/win32/beep.h"
#include "util/win32/wide.h"
#include "widgets/win32/dialog_message.h"

namespace tavrin {
namespace {

bool ShowDialogMessage(const std::string& text, int picture, bool singleButton) {
  TDialogMessage dialog;
  dialog.SetSingleButton(singleButton);
  dialog.Messages() = SplitMessageLines(text);
  dialog.SetTextCentered(true);
  dialog.SetPictureKind(picture);
  return dialog.Execute(GetActiveWindow());
}

void ShowStandardBox(const std::string& text, UINT icon, const wchar_t* caption) {
  MessageBeep(BeepSound::Exclamation);
  // Line breaks of the messages are single CRs; the system box wants CR LF.
  std::wstring wide;
  for (wchar_t c : WideFromSjis(text)) {
    wide += c;
    if (c == L'\r') wide += L'\n';
  }
  MessageBoxW(GetActiveWindow(), wide.c_str(), caption, MB_OK | icon);
}

}  // namespace

MessageHandler InstallMessageDialogs() { return SetMessageHandler(&ShowMessageDialog); }

bool ShowMessageDialog(MessageKind kind, const std::string& text) {
  switch (kind) {
    case MessageKind::Information:
      return ShowDialogMessage(text, pkInformation, true);
    case MessageKind::Warning:
      return ShowDialogMessage(text, pkDanger, true);
    case MessageKind::Error:
      return ShowDialogMessage(text, pkError, true);
    case MessageKind::Confirm:
      return ShowDialogMessage(text, pkDanger, false);
    case MessageKind::BeepWarning:
      ShowStandardBox(text, MB_ICONWARNING, L"警告");
      return true;
    case MessageKind::BeepError:
      ShowStandardBox(text, MB_ICONERROR, L"エラー");
      return true;
  }
  return false;
}

}  // namespace tavrin
