#pragma once
// The one way the program shows a modal dialog. Every message box, the
// settings dialog, the font dialog and the version dialog call ExecModal
// instead of QDialog::exec, so a test can take the user's part.
//
// Without a hook ExecModal is exactly dialog.exec(). With a hook installed
// (SetModalHook, or the ModalRecorder of widgets/qt/modal_recorder.h) the
// dialog is not run modally: the hook receives it fully prepared, may
// inspect it (objectName, child widgets by objectName), may show it, and
// answers by driving it, normally through AnswerModal; ExecModal then
// returns the dialog's result() as exec would have.
//
// Callers that show a message pass its kind and exact CP932 text, so a
// test can check every user-facing message byte for byte; other dialogs
// leave them out and are told apart by objectName.
#include <QDialog>
#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "util/messages.h"

namespace tavrin {

struct ModalCall {
  QDialog& dialog;
  std::optional<MessageKind> kind;  // set for the message boxes
  std::string text;                 // the message as given, CP932
  QString name() const { return dialog.objectName(); }
};

using ModalHook = std::function<void(ModalCall& call)>;

// Installs a hook and returns the previous one; an empty hook restores the
// real modal loop.
ModalHook SetModalHook(ModalHook hook);

// Shows the dialog modally and returns its result (QDialog::DialogCode or a
// done() code), through the hook when one is installed.
int ExecModal(QDialog& dialog, std::optional<MessageKind> kind = std::nullopt,
              std::string text = {});

// What a person can answer. Ok and Yes press the dialog's accepting button
// ("OK" / "はい"), Cancel its rejecting button ("キャンセル"), Escape sends
// the Escape key to the dialog.
enum class ModalAnswer { Ok, Yes, Cancel, Escape };

// Drives the dialog as a person would: presses the button whose objectName
// is btnYes / btnCancel when the dialog has one, else the QDialogButtonBox
// or QMessageBox button of the accepting or rejecting role, else calls
// accept() / reject(). Escape always goes through the key event.
void AnswerModal(QDialog& dialog, ModalAnswer answer);

}  // namespace tavrin
