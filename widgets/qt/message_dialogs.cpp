#include "widgets/qt/message_dialogs.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QMessageBox>

#include "util/cp932.h"
#include "util/message_lines.h"
#include "util/qt/beep.h"
#include "util/qt/modal.h"
#include "util/qt/qsjis.h"
#include "widgets/qt/dialog_message.h"

namespace tavrin {
namespace {

bool ShowDialogMessage(MessageKind kind, const std::string& text, int picture, bool singleButton) {
  std::unique_ptr<TDialogMessage> dialog = PrepareMessageDialog(text, singleButton, true);
  dialog->SetPictureKind(picture);
  ExecModal(*dialog, kind, text);
  return dialog->Result();
}

void ShowStandardBox(MessageKind kind, const std::string& text, QMessageBox::Icon icon,
                     const char* caption) {
  MessageBeep(BeepSound::Exclamation);
  QMessageBox box(icon, FromSjis(cp932::Sjis(caption)), FromSjis(text), QMessageBox::Ok);
  box.setObjectName(QStringLiteral("QMessageBox"));
  box.setTextFormat(Qt::PlainText);
  box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
  ExecModal(box, kind, text);
}

}  // namespace

MessageHandler InstallMessageDialogs() { return SetMessageHandler(&ShowMessageDialog); }

std::unique_ptr<TDialogMessage> PrepareMessageDialog(const std::string& text, bool singleButton,
                                                     bool center) {
  auto dialog = std::make_unique<TDialogMessage>(nullptr);
  dialog->setWindowTitle(QGuiApplication::applicationDisplayName());
  dialog->SetSingleButton(singleButton);
  dialog->Messages() = SplitMessageLines(text);
  dialog->SetTextCentered(center);
  return dialog;
}

bool ShowMessageDialog(MessageKind kind, const std::string& text) {
  switch (kind) {
    case MessageKind::Information:
      return ShowDialogMessage(kind, text, TDialogMessage::pkInformation, true);
    case MessageKind::Warning:
      return ShowDialogMessage(kind, text, TDialogMessage::pkDanger, true);
    case MessageKind::Error:
      return ShowDialogMessage(kind, text, TDialogMessage::pkError, true);
    case MessageKind::Confirm:
      return ShowDialogMessage(kind, text, TDialogMessage::pkDanger, false);
    case MessageKind::BeepWarning:
      ShowStandardBox(kind, text, QMessageBox::Warning, "警告");
      return true;
    case MessageKind::BeepError:
      ShowStandardBox(kind, text, QMessageBox::Critical, "エラー");
      return true;
  }
  return false;
}

}  // namespace tavrin
