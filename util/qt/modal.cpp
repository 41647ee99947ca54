#include "util/qt/modal.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <utility>

namespace tavrin {
namespace {

ModalHook& Hook() {
  static ModalHook hook;
  return hook;
}

bool IsAccepting(QDialogButtonBox::ButtonRole role) {
  return role == QDialogButtonBox::AcceptRole || role == QDialogButtonBox::YesRole;
}

bool IsRejecting(QDialogButtonBox::ButtonRole role) {
  return role == QDialogButtonBox::RejectRole || role == QDialogButtonBox::NoRole;
}

QAbstractButton* ButtonFor(QDialog& dialog, bool accepting) {
  const char* name = accepting ? "btnYes" : "btnCancel";
  if (auto* b = dialog.findChild<QAbstractButton*>(QString::fromLatin1(name))) return b;
  if (auto* box = qobject_cast<QMessageBox*>(&dialog)) {
    for (QAbstractButton* b : box->buttons()) {
      QMessageBox::ButtonRole role = box->buttonRole(b);
      if (accepting ? IsAccepting(QDialogButtonBox::ButtonRole(role))
                    : IsRejecting(QDialogButtonBox::ButtonRole(role)))
        return b;
    }
    return nullptr;
  }
  if (auto* box = dialog.findChild<QDialogButtonBox*>()) {
    for (QAbstractButton* b : box->buttons())
      if (accepting ? IsAccepting(box->buttonRole(b)) : IsRejecting(box->buttonRole(b))) return b;
  }
  return nullptr;
}

}  // namespace

ModalHook SetModalHook(ModalHook hook) { return std::exchange(Hook(), std::move(hook)); }

int ExecModal(QDialog& dialog, std::optional<MessageKind> kind, std::string text) {
  if (!Hook()) return dialog.exec();
  // Copied, so a hook that replaces itself while it runs stays alive.
  ModalHook hook = Hook();
  dialog.setResult(QDialog::Rejected);
  ModalCall call{dialog, kind, std::move(text)};
  hook(call);
  if (dialog.isVisible()) dialog.hide();
  return dialog.result();
}

void AnswerModal(QDialog& dialog, ModalAnswer answer) {
  if (answer == ModalAnswer::Escape) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&dialog, &press);
    return;
  }
  bool accepting = answer != ModalAnswer::Cancel;
  if (QAbstractButton* b = ButtonFor(dialog, accepting); b && b->isEnabled()) {
    b->click();
    return;
  }
  if (accepting)
    dialog.accept();
  else
    dialog.reject();
}

}  // namespace tavrin
