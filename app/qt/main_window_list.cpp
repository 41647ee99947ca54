// The result list: filling, sorting by a column and the one-time guidance.
#include <QHeaderView>
#include <QItemSelectionModel>

#include "app/qt/main_window.h"
#include "app/qt/result_model.h"
#include "app/qt/result_view.h"
#include "app/result_rows.h"
#include "util/cp932.h"
#include "util/messages.h"
#include "util/qt/updates_suspended.h"
#include "util/qt/wait_cursor.h"

namespace tavrin {
namespace {

// Rows as one selection of contiguous runs; positions ascending.
QItemSelection RowSelection(const QAbstractItemModel& model, const std::vector<std::size_t>& rows) {
  QItemSelection selection;
  const int last = model.columnCount() - 1;
  for (std::size_t i = 0; i < rows.size();) {
    std::size_t j = i;
    while (j + 1 < rows.size() && rows[j + 1] == rows[j] + 1) ++j;
    selection.select(model.index(static_cast<int>(rows[i]), 0),
                     model.index(static_cast<int>(rows[j]), last));
    i = j + 1;
  }
  return selection;
}

}  // namespace

void TfoMAIN::FillList(bool SimilarOnly) {
  TUpdatesSuspended suspended(lvResult);
  lvResult->header()->setSortIndicatorShown(false);  // the collection's order
  FModel->SetRows(FillRows(*FUniqueManager, SimilarOnly, FZenkaku, FUpper), FExprsQuote);
  FListSimilar = SimilarOnly;
  if (SimilarOnly) ShowGroups();
}

std::vector<std::size_t> TfoMAIN::SelectedRows() const {
  std::vector<bool> marked(static_cast<std::size_t>(FModel->Count()), false);
  for (const QItemSelectionRange& range : lvResult->selectionModel()->selection())
    for (int row = range.top(); row <= range.bottom(); ++row)
      if (row >= 0 && row < FModel->Count()) marked[static_cast<std::size_t>(row)] = true;
  std::vector<std::size_t> rows;
  for (std::size_t i = 0; i < marked.size(); ++i)
    if (marked[i]) rows.push_back(i);
  return rows;
}

bool TfoMAIN::HasSelection() const { return lvResult->selectionModel()->hasSelection(); }

void TfoMAIN::lvResultColumnClick(int column) {
  if (FModel->Count() == 0) return;
  WaitCursorGuard wait;
  int& direction = column == 0 ? TextSortDirection : CountSortDirection;
  direction = -direction;
  const int d = direction;
  auto compare = column == 0 ? CompareByText : CompareByCount;
  lvResult->header()->setSortIndicator(column, d > 0 ? Qt::AscendingOrder : Qt::DescendingOrder);
  lvResult->header()->setSortIndicatorShown(true);

  // The selection follows its rows. It is taken off while sorting, so the
  // selection model need not track a million persistent rows.
  QItemSelectionModel* selection = lvResult->selectionModel();
  const std::vector<std::size_t> selected = SelectedRows();
  const QModelIndex current = selection->currentIndex();
  selection->clearSelection();
  std::vector<int> moved;
  {
    TUpdatesSuspended suspended(lvResult);
    moved = FModel->SortRows(
        [&](const TResultRow& a, const TResultRow& b) { return compare(a, b, d) < 0; });
  }
  std::vector<std::size_t> now;
  now.reserve(selected.size());
  for (std::size_t row : selected) now.push_back(static_cast<std::size_t>(moved[row]));
  std::sort(now.begin(), now.end());
  if (current.isValid())
    selection->setCurrentIndex(FModel->index(moved[static_cast<std::size_t>(current.row())], 0),
                               QItemSelectionModel::NoUpdate);
  selection->select(RowSelection(*FModel, now), QItemSelectionModel::Select);
  if (!now.empty())
    lvResult->scrollTo(FModel->index(static_cast<int>(now.front()), 0),
                       QAbstractItemView::EnsureVisible);
}

void TfoMAIN::lvResultClick() {
  if (!FGuidePending || FModel->Count() > 0) return;
  lvResult->SetBackground(QColor(0, 255, 0));
  lvResult->repaint();
  if (FSound) Beep();
  InformationDialog(
      cp932::Sjis("文字列をクリップボードにコピーした後、\r[類字抽出] もしくは [全データ]"
                  "ボタンをクリックしてください"));
  lvResult->SetBackground(QColor());
  FGuidePending = false;
}

}  // namespace tavrin
