#pragma once
// The real message boxes behind util/messages.h. The program calls
// InstallMessageDialogs once at start-up, after the QApplication exists;
// from then on InformationDialog and its kin show these dialogs, each
// through ExecModal (util/qt/modal.h).
#include <memory>
#include <string>

#include "util/messages.h"

namespace tavrin {

class TDialogMessage;

// Sets the message handler of util/messages.h to ShowMessageDialog and
// returns the previous handler.
MessageHandler InstallMessageDialogs();

// Shows one message as its kind asks and returns the user's answer (true
// for OK / はい): InformationDialog, WarningDialog, ErrorDialog and
// ConfirmDialog as a TDialogMessage with the information, danger, error and
// danger picture; BeepWarningBox and BeepErrorBox as a standard warning or
// error box ("警告" / "エラー", one "OK") after the exclamation beep.
bool ShowMessageDialog(MessageKind kind, const std::string& text);

// A message dialog with no owner, captioned with the application title, in
// single- or two-button mode, holding the text's lines; with center set its
// lines are centred.
std::unique_ptr<TDialogMessage> PrepareMessageDialog(const std::string& text, bool singleButton,
                                                     bool center);

}  // namespace tavrin
