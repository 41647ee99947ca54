// Start-up and shut-down of the main window, its hints, geometry and the
// two apply routines.
#include "app/main_form.h"

#include <algorithm>
#include <cstdio>

#include "engine/unique_manager.h"
#include "engine/variant_folding.h"
#include "settings/form_settings.h"
#include "util/cp932.h"
#include "util/error.h"

namespace tavrin {
namespace {

constexpr TControl kHintControls[] = {TControl::sbClose,        TControl::sbGetAllData,
                                      TControl::sbExtractRuiji, TControl::sbCopyAll,
                                      TControl::sbSwFormStyle,  TControl::sbSet,
                                      TControl::imgHelp,        TControl::imgVersion};

// The kind of variants each option of the section "Variants" switches.
constexpr std::pair<bool TSetOptionValues::*, unsigned> kVariantKinds[] = {
    {&TSetOptionValues::FKanji, kVariantKanji},
    {&TSetOptionValues::FCompat, kVariantCompat},
    {&TSetOptionValues::FSpace, kVariantSpace},
    {&TSetOptionValues::FSymbol, kVariantSymbol},
    {&TSetOptionValues::FKana, kVariantKana},
    {&TSetOptionValues::FCompany, kVariantCompany},
    {&TSetOptionValues::FNumber, kVariantNumber},
    {&TSetOptionValues::FOkurigana, kVariantOkurigana},
};

}  // namespace

TMainForm::TMainForm(IMainView& view) : FView(view) {}

TMainForm::~TMainForm() = default;

void TMainForm::FormCreate() {
  FUniqueManager = std::make_unique<TUniqueManager>();
  FLines = {};
  TextSortDirection = 1;
  CountSortDirection = 1;
  SetHint(TControl::sbClose, cp932::Sjis("終了します"));
  SetHint(TControl::sbSet, cp932::Sjis("動作環境を設定します"));
  SetHint(TControl::imgVersion, cp932::Sjis("バージョン情報を表示します"));
  FSetLvColumn0 = FView.ColumnWidth(0);
  FSetLvColumn1 = FView.ColumnWidth(1);
  FListFont = FView.ListFont();
  BindSettings();
  AccIni1->LoadAll();
  FView.SetListFont(FListFont);
  FView.SetColumnWidth(0, FSetLvColumn0);
  FView.SetColumnWidth(1, FSetLvColumn1);
  for (int i = 0; i < 2; ++i) FLoadedColumnWidth[i] = FView.ColumnWidth(i);
  ApplyHint(FHint);
  ApplyEngine();
  FGuidePending = true;
}

void TMainForm::BindSettings() {
  // The settings file is fixed (and created with its header) with the
  // window's components.
  if (!AccIni1) AccIni1 = std::make_unique<TFormSettings>();
  AccIni1->BindUserInteger(FSetLvColumn0, "FSetLvColumn0", FSetLvColumn0);
  AccIni1->BindUserInteger(FSetLvColumn1, "FSetLvColumn1", FSetLvColumn1);
  AccIni1->BindOptions(*this, "User");
  // Missing keys keep the list's present (design) font.
  AccIni1->BindUserFont(FListFont, "lvResult", FListFont);
  // A section of its own, after "Form".
  AccIni1->BindOptions(*this, "Variants");
}

void TMainForm::FormShow() {
  if (FShowDone) return;  // runs once
  FShowDone = true;
  // The canonical spelling of every group of [類字抽出] asks the okurigana
  // table, and the keys the kinds switched on: their tables are made while
  // the user has not pressed a key yet, rather than at the first press. Made
  // once in the process; a failure here leaves them to be made at the press.
  FWarmUp = MakeFoldersAhead(VariantKinds(), FHyphen, true);
  SetHint(TControl::sbGetAllData,
          cp932::Sjis("全てのデータを表示します\rショートカットキー : [F6]"));
  SetHint(TControl::sbExtractRuiji,
          cp932::Sjis("類字を抽出して表示します\rショートカットキー : [F5]"));
  SetHint(TControl::sbCopyAll,
          cp932::Sjis("表示している全てのデータを\rクリップボードにコピーします\r"
                      "ショートカットキー : [F7]"));
  SetHint(TControl::sbSwFormStyle, cp932::Sjis("ウィンドを最前面に固定します"));
  SetHint(TControl::imgHelp, cp932::Sjis("ヘルプを表示します\rショートカットキー : [F1]"));
}

void TMainForm::RestoreGeometry() {
  if (!AccIni1) return;
  const TFormGeometry now = FView.WindowGeometry();
  FView.PlaceWindow(AccIni1->ReadGeometry(now.Width, now.Height, FView.ScreenAreas()));
}

void TMainForm::GeometryPlaced() {
  if (AccIni1) AccIni1->GeometryPlaced(FView.WindowGeometry());
}

void TMainForm::sbCloseClick() { FView.CloseWindow(); }

bool TMainForm::FormCloseQuery() {
  if (!FUniqueManager) return true;  // closed once already
  // The rows refer to the collection's items: they go first.
  FList.Clear();
  FView.ListReset();
  FUniqueManager.reset();
  FLines = {};
  SaveSettings();
  return true;
}

void TMainForm::FormEndSession() {
  if (!FUniqueManager) return;  // closed, and saved then
  FClosingBySignal = true;
  SaveSettings();
}

void TMainForm::SaveSettings() {
  std::int32_t* widths[] = {&FSetLvColumn0, &FSetLvColumn1};
  for (int i = 0; i < 2; ++i)
    if (FView.ColumnWidth(i) != FLoadedColumnWidth[i]) *widths[i] = FView.ColumnWidth(i);
  FListFont = FView.ListFont();
  try {
    AccIni1->SaveGeometry(FView.WindowGeometry());
    AccIni1->SaveAll();
    FSettingsSaved = true;
  } catch (const EError& error) {
    // Closing, the collection is already released: say what was not saved
    // and close all the same, so that no command runs on the released
    // objects. Ended by a signal or with the session, nobody is there to
    // answer a box.
    FSettingsSaved = false;
    if (FClosingBySignal)
      std::fprintf(stderr, "tavrin: %s\n", cp932::ToUtf8(error.what()).c_str());
    else
      FView.Message(MessageKind::Error, error.what());
  }
}

void TMainForm::SetHint(TControl control, const std::string& sjis) {
  auto found = std::find_if(FHints.begin(), FHints.end(),
                            [control](const auto& hint) { return hint.first == control; });
  if (found == FHints.end())
    FHints.emplace_back(control, sjis);
  else
    found->second = sjis;
  FView.SetControlHint(control, sjis, FHint);
}

std::string TMainForm::Hint(TControl control) const {
  for (const auto& [owner, text] : FHints)
    if (owner == control) return text;
  return {};
}

void TMainForm::ApplyHint(bool show) {
  for (TControl control : kHintControls) FView.SetControlHint(control, Hint(control), show);
}

unsigned TMainForm::VariantKinds() const {
  unsigned kinds = 0;
  for (const auto& [field, kind] : kVariantKinds)
    if (this->*field) kinds |= kind;
  return kinds;
}

// The kinds of variants reach the engine with each command (BuildData):
// [全データ] merges as it always did.
void TMainForm::ApplyEngine() {
  if (!FUniqueManager) return;
  FUniqueManager->FZenkaku = FZenkaku;
  FUniqueManager->FUpper = FUpper;
  FUniqueManager->FTrim = FTrim;
  FUniqueManager->FHyphen = FHyphen;
  FUniqueManager->FHyphenTerminate = FHyphenTerminate;
}

}  // namespace tavrin
