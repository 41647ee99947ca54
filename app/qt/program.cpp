#include "app/qt/program.h"

#include <QApplication>
#include <QMessageBox>

#include "app/qt/fonts.h"
#include "app/qt/main_window.h"
#include "util/error.h"
#include "util/qt/message_dialogs.h"
#include "util/qt/qsjis.h"

namespace tavrin {

int RunProgram(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tavrin"));
  QApplication::setApplicationDisplayName(QStringLiteral("Tavrin"));
  RegisterFontSubstitutions();
  InstallMessageDialogs();
  try {
    TfoMAIN main;
    main.show();
    return QApplication::exec();
  } catch (const EError& error) {
    // A fault of a component that nothing handled: the error box, then the end.
    QMessageBox box(QMessageBox::Critical, FromSjis(cp932::Sjis("アプリケーション エラー")),
                    FromSjis(error.what()), QMessageBox::Ok);
    box.exec();
    return 1;
  }
}

}  // namespace tavrin
