// The options bound to the settings file, section "User", in the order they
// are first written to a new file.
#include "app/qt/main_window.h"
#include "app/qt/result_view.h"

#include <QHeaderView>

#include "settings/qt/acc_ini.h"

namespace tavrin {

void TfoMAIN::BindSettings() {
  // Created with the window's components: it creates the settings file with
  // its header when there is none, and restores the geometry at the first show.
  if (AccIni1 == nullptr) {
    AccIni1 = new TAccIni(this);
    AccIni1->setObjectName(QStringLiteral("AccIni1"));
    AccIni1->SetFormControled(true);
  }
  AccIni1->BindUserInteger(FSetLvColumn0, "FSetLvColumn0", FSetLvColumn0);
  AccIni1->BindUserInteger(FSetLvColumn1, "FSetLvColumn1", FSetLvColumn1);
  AccIni1->BindUserBoolean(FSound, "FSound", true);
  AccIni1->BindUserBoolean(FHint, "FHint", true);
  AccIni1->BindUserBoolean(FTrim, "FTrim", false);
  AccIni1->BindUserBoolean(FExprsQuote, "FExprsQuote", false);
  AccIni1->BindUserBoolean(FExtractSort, "FExtractSort", true);
  AccIni1->BindUserBoolean(FCopyCount, "FCopyCount", true);
  AccIni1->BindUserBoolean(FZenkaku, "FZenkaku", true);
  AccIni1->BindUserBoolean(FUpper, "FUpper", true);
  AccIni1->BindUserBoolean(FHyphenTerminate, "FHyphenTerminate", true);
  AccIni1->BindUserBoolean(FHyphen, "FHyphen", true);
  AccIni1->BindUserFont(lvResult, "lvResult", lvResult);
}

void TfoMAIN::LoadSettings() { AccIni1->LoadAll(); }

void TfoMAIN::SaveSettings() { AccIni1->SaveAll(); }

}  // namespace tavrin
