#include "settings/qt/unhandled_error.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <exception>

#include "util/cp932.h"
#include "util/qt/modal.h"
#include "util/qt/qsjis.h"

namespace tavrin {

void ShowUnhandledError(const std::string& sjisMessage) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
    std::fprintf(stderr, "%s\n", cp932::ToUtf8(sjisMessage).c_str());
    return;
  }
  QString text = FromSjis(sjisMessage);
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  QMessageBox box(QMessageBox::Critical, FromSjis(cp932::Sjis("アプリケーション エラー")), text,
                  QMessageBox::Ok);
  box.setObjectName(QStringLiteral("UnhandledErrorBox"));
  ExecModal(box, std::nullopt, sjisMessage);
}

int RunGuarded(const std::function<int()>& body) {
  try {
    return body();
  } catch (const std::exception& e) {
    ShowUnhandledError(e.what());
  } catch (...) {
    ShowUnhandledError("Unknown exception");
  }
  return 1;
}

}  // namespace tavrin
