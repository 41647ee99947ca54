#pragma once
// Test driver of the modal seam: while a ModalRecorder lives, every dialog
// shown through ExecModal is recorded (objectName, message kind, exact CP932
// text) and answered from a queue, without a person. The real message
// dialogs are installed for its lifetime, so messages take the same road as
// in the program; the previous hook and message handler return afterwards.
//
//   ModalRecorder modal;
//   modal.Answer(ModalAnswer::Cancel);      // answers, in order
//   window.DoSomething();
//   QCOMPARE(modal.Calls().size(), 1u);
//   QCOMPARE(modal.Calls()[0].text, cp932::Sjis("..."));
#include <QDialog>
#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "util/messages.h"
#include "util/qt/modal.h"
#include "widgets/qt/message_dialogs.h"

namespace tavrin {

class ModalRecorder {
 public:
  struct Call {
    QString name;                     // the dialog's objectName
    std::optional<MessageKind> kind;  // set for message boxes
    std::string text;                 // CP932
  };

  // fallback answers every dialog once the queue is empty.
  explicit ModalRecorder(ModalAnswer fallback = ModalAnswer::Ok)
      : fallback_(fallback),
        previousHandler_(InstallMessageDialogs()),
        previousHook_(SetModalHook([this](ModalCall& call) { Run(call); })) {}
  ~ModalRecorder() {
    SetModalHook(std::move(previousHook_));
    SetMessageHandler(std::move(previousHandler_));
  }
  ModalRecorder(const ModalRecorder&) = delete;
  ModalRecorder& operator=(const ModalRecorder&) = delete;

  void Answer(ModalAnswer answer) { answers_.push_back(answer); }
  // Runs on each dialog before it is answered, e.g. to edit its fields.
  void OnDialog(std::function<void(QDialog&)> action) { action_ = std::move(action); }
  // Shows each dialog (so it lays itself out) before acting and answering.
  void ShowDialogs(bool on) { show_ = on; }

  const std::vector<Call>& Calls() const { return calls_; }
  void Clear() { calls_.clear(); }

 private:
  void Run(ModalCall& call) {
    calls_.push_back({call.name(), call.kind, call.text});
    if (show_) {
      call.dialog.show();
      call.dialog.activateWindow();
    }
    if (action_) action_(call.dialog);
    ModalAnswer answer = fallback_;
    if (!answers_.empty()) {
      answer = answers_.front();
      answers_.pop_front();
    }
    AnswerModal(call.dialog, answer);
  }

  ModalAnswer fallback_;
  MessageHandler previousHandler_;
  ModalHook previousHook_;
  std::deque<ModalAnswer> answers_;
  std::function<void(QDialog&)> action_;
  bool show_ = false;
  std::vector<Call> calls_;
};

}  // namespace tavrin
