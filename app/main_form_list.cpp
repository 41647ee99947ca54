// The result list: filling, groups, sorting by a column and the one-time
// guidance.
#include <algorithm>

#include "app/main_form.h"
#include "engine/unique_manager.h"
#include "util/cp932.h"

namespace tavrin {

void TMainForm::FillList(bool SimilarOnly) {
  // The result keeps the options it was made with.
  const TUniqueManager& m = *FUniqueManager;
  const TResultOptions options{FExprsQuote, m.FTrim, m.FHyphen, m.FHyphenTerminate, m.FVariants};
  FList.SetRows(FillRows(*FUniqueManager, SimilarOnly, FZenkaku, FUpper, FList.TakeRoom()),
                options);
  FListSimilar = SimilarOnly;
  if (SimilarOnly) FList.MakeGroups(FDictionary ? &*FDictionary : nullptr);
  FView.ListReset();
}

void TMainForm::ShowGroups() {
  FList.MakeGroups(FDictionary ? &*FDictionary : nullptr);
  FView.ListGroupsChanged();
}

void TMainForm::lvResultColumnClick(int column) {
  if (FList.Count() == 0) return;
  TWaitGuard wait(FView);
  int& direction = column == 0 ? TextSortDirection : CountSortDirection;
  direction = -direction;
  const int d = direction;
  auto compare = column == 0 ? CompareByText : CompareByCount;
  FView.SetSortMark(column, d);

  // The selection follows its rows. It is taken off while sorting, so a
  // skin need not track a million selected rows.
  const std::vector<std::size_t> selected = FView.SelectedRows();
  const std::optional<std::size_t> current = FView.CurrentRow();
  FView.ClearSelection();
  const std::vector<int> moved = FList.SortRows(
      [&](const TResultRow& a, const TResultRow& b) { return compare(a, b, d) < 0; });
  FView.ListReordered(moved);
  std::vector<std::size_t> now;
  now.reserve(selected.size());
  for (std::size_t row : selected)
    if (row < moved.size()) now.push_back(static_cast<std::size_t>(moved[row]));
  std::sort(now.begin(), now.end());
  std::optional<std::size_t> currentNow;
  if (current && *current < moved.size()) currentNow = static_cast<std::size_t>(moved[*current]);
  FView.SelectRows(now, currentNow);
  if (!now.empty()) FView.ScrollToRow(now.front());
}

void TMainForm::lvResultClick() {
  if (!FGuidePending || FList.Count() > 0) return;
  FView.SetListHighlight(true);
  if (FSound) FView.Beep();
  FView.Message(MessageKind::Information,
                cp932::Sjis("文字列をクリップボードにコピーした後、\r[類字抽出] もしくは [全データ]"
                            "ボタンをクリックしてください"));
  FView.SetListHighlight(false);
  FGuidePending = false;
}

}  // namespace tavrin
