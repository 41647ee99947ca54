#pragma once
// The real message boxes behind util/messages.h for the Win32 skin. The
// program calls InstallMessageDialogs once at start-up; from then on
// InformationDialog and its kin show these dialogs, owned by the active
// window of the program.
#include <string>

#include "util/messages.h"

namespace tavrin {

// Sets the message handler of util/messages.h to ShowMessageDialog and
// returns the previous handler.
MessageHandler InstallMessageDialogs();

// InformationDialog, WarningDialog, ErrorDialog and ConfirmDialog as a
// TDialogMessage with the information, danger, error and danger picture,
// its lines centred; BeepWarningBox and BeepErrorBox as the system's
// warning or error box ("警告" / "エラー", one "OK") after the exclamation
// beep. Returns true for OK / はい.
bool ShowMessageDialog(MessageKind kind, const std::string& text);

}  // namespace tavrin
