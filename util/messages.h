#pragma once
// The message boxes every folder uses, Qt-free. Text is CP932; a CR breaks
// a line. The boxes go through one handler: the Qt layer installs the real
// dialogs at start-up, tests install a recorder that answers for the user.
#include <functional>
#include <string>

namespace tavrin {

enum class MessageKind {
  Information,  // InformationDialog
  Warning,      // WarningDialog
  Error,        // ErrorDialog
  Confirm,      // ConfirmDialog; the handler's answer is the result
  BeepWarning,  // BeepWarningBox
  BeepError,    // BeepErrorBox
};

// Returns the user's answer: true for OK / はい, false for キャンセル, Escape
// or closing the box.
using MessageHandler = std::function<bool(MessageKind, const std::string& text)>;

// Installs a handler and returns the previous one. Without a handler the
// message goes to standard error (UTF-8) and a confirmation answers false.
MessageHandler SetMessageHandler(MessageHandler handler);
bool ShowMessage(MessageKind kind, const std::string& text);

inline void InformationDialog(const std::string& text) {
  ShowMessage(MessageKind::Information, text);
}
inline void WarningDialog(const std::string& text) { ShowMessage(MessageKind::Warning, text); }
inline void ErrorDialog(const std::string& text) { ShowMessage(MessageKind::Error, text); }
inline bool ConfirmDialog(const std::string& text) {
  return ShowMessage(MessageKind::Confirm, text);
}
inline void BeepWarningBox(const std::string& text) { ShowMessage(MessageKind::BeepWarning, text); }
inline void BeepErrorBox(const std::string& text) { ShowMessage(MessageKind::BeepError, text); }

}  // namespace tavrin
