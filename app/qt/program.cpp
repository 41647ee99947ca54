#include "app/qt/program.h"

#include <QApplication>

#include "app/qt/fonts.h"
#include "app/qt/main_window.h"
#include "settings/qt/unhandled_error.h"
#include "util/qt/message_dialogs.h"

namespace tavrin {

int RunProgram(int argc, char** argv) {
  QApplication application(argc, argv);
  // Also the message boxes' caption. No display name: the window system
  // would append it to every caption that does not end with it.
  QApplication::setApplicationName(QStringLiteral("Tavrin"));
  RegisterFontSubstitutions();
  InstallMessageDialogs();
  // A fault nothing else handled (the settings file cannot be created, say)
  // ends in the error box for unhandled failures and exit code 1.
  return RunGuarded([] {
    TfoMAIN main;
    main.show();
    return QApplication::exec();
  });
}

}  // namespace tavrin
