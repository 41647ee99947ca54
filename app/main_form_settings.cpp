// The settings dialog: it edits the Boolean option fields and the result
// list's font. Changes act from the next command; they reach the settings
// file at closing.
#include <algorithm>

#include "app/main_form.h"
#include "util/cp932.h"

namespace tavrin {
void TMainForm::sbSetClick() {
  TSetOptionValues values = *this;
  FontValue font = FView.ListFont();
  // The first rows as the result list shows them, or two samples.
  constexpr int kSampleRows = 10;
  std::vector<TSampleRow> samples;
  for (int r = 0; r < std::min(FList.Count(), kSampleRows); ++r)
    samples.push_back({FList.ShownCaption(r), FList.CountText(r)});
  if (samples.empty())
    for (const char* caption : {"サンプル-1", "サンプル-2"}) samples.push_back({cp932::Sjis(caption), "1"});
  if (!FView.RunSettingsDialog(values, font, samples)) return;
  static_cast<TSetOptionValues&>(*this) = values;
  FView.SetListFont(font);
  FListFont = font;
  ApplyHint(FHint);
  ApplyEngine();
}

}  // namespace tavrin
