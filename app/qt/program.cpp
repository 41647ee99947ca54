#include "app/qt/program.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <csignal>

#include "app/qt/fonts.h"
#include "app/qt/main_window.h"
#include "settings/qt/unhandled_error.h"
#include "util/qt/translations.h"
#include "widgets/qt/message_dialogs.h"

namespace tavrin {
namespace {

int quitPipe[2] = {-1, -1};

void QueueQuit(int) {
  const char byte = 1;
  [[maybe_unused]] ssize_t n = ::write(quitPipe[1], &byte, 1);
}

// SIGTERM and SIGINT close the windows as the user would, so the settings
// are saved; a save under way finishes first, since the handler only queues
// the request for the event loop.
void CloseOnTerminationSignals(QObject* parent) {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, quitPipe) != 0) return;
  auto* notifier = new QSocketNotifier(quitPipe[0], QSocketNotifier::Read, parent);
  QObject::connect(notifier, &QSocketNotifier::activated, [] {
    char byte;
    [[maybe_unused]] ssize_t n = ::read(quitPipe[0], &byte, 1);
    // Nobody is there to answer a box: a failed save goes to standard
    // error and the exit status.
    for (QWidget* window : QApplication::topLevelWidgets())
      if (auto* main = qobject_cast<TfoMAIN*>(window)) main->SetClosingBySignal(true);
    QApplication::closeAllWindows();
  });
  struct sigaction action {};
  action.sa_handler = QueueQuit;
  ::sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGTERM, &action, nullptr);
  ::sigaction(SIGINT, &action, nullptr);
}

}  // namespace

int RunProgram(int argc, char** argv) {
  QApplication application(argc, argv);
  // Also the message boxes' caption. No display name: the window system
  // would append it to every caption that does not end with it.
  QApplication::setApplicationName(QStringLiteral("Tavrin"));
  LoadJapaneseTranslations(&application);
  RegisterFontSubstitutions();
  InstallMessageDialogs();
  CloseOnTerminationSignals(&application);
  // A fault nothing else handled (no settings file can be created, say)
  // ends in the error box for unhandled failures and exit code 1; settings
  // that could not be saved end in exit code 1 too.
  return RunGuarded([] {
    TfoMAIN main;
    main.show();
    const int status = QApplication::exec();
    return status == 0 && !main.SettingsSaved() ? 1 : status;
  });
}

}  // namespace tavrin
