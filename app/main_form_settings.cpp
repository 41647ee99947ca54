// The settings dialog: it edits ten of the option fields and the result
// list's font. Changes act from the next command; they reach the settings
// file at closing.
#include <algorithm>

#include "app/main_form.h"
#include "util/cp932.h"

namespace tavrin {

void TMainForm::TransferOptions(TSetOptionValues& values, bool toControls) {
  const std::pair<TSetOption, bool*> fields[] = {
      {TSetOption::chbSound, &FSound},
      {TSetOption::chbShowHint, &FHint},
      {TSetOption::chbZenkaku, &FZenkaku},
      {TSetOption::chbUpper, &FUpper},
      {TSetOption::chbExtractSort, &FExtractSort},
      {TSetOption::chbExtractTrim, &FTrim},
      {TSetOption::chbExprsQuote, &FExprsQuote},
      {TSetOption::chbCopyCount, &FCopyCount},
      {TSetOption::chbHyphenTerminate, &FHyphenTerminate},
      {TSetOption::chbHyphen, &FHyphen},
  };
  for (auto [option, field] : fields) {
    if (toControls)
      At(values, option) = *field;
    else
      *field = At(values, option);
  }
}

void TMainForm::sbSetClick() {
  TSetOptionValues values{};
  TransferOptions(values, true);
  FontValue font = FView.ListFont();
  // The first rows as the result list shows them, or two samples.
  constexpr int kSampleRows = 10;
  std::vector<TSampleRow> samples;
  for (int r = 0; r < std::min(FList.Count(), kSampleRows); ++r)
    samples.push_back({FList.ShownCaption(r), FList.CountText(r)});
  if (samples.empty())
    for (const char* caption : {"サンプル-1", "サンプル-2"}) samples.push_back({cp932::Sjis(caption), "1"});
  if (!FView.RunSettingsDialog(values, font, samples)) return;
  TransferOptions(values, false);
  FView.SetListFont(font);
  FListFont = font;
  ApplyHint(FHint);
  ApplyEngine();
}

}  // namespace tavrin
