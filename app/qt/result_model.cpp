#include "app/qt/result_model.h"

#include <QFont>

#include "app/row_look.h"
#include "util/cp932.h"
#include "util/qt/qsjis.h"

namespace tavrin {
namespace {

// Counts line up on their last digit: "%3d" right-aligns only in a
// fixed-width font.
QVariant ColumnAlignment(int column) {
  return QVariant::fromValue(Qt::Alignment(Qt::AlignVCenter) |
                             (column == 1 ? Qt::AlignRight : Qt::AlignLeft));
}

}  // namespace

TResultModel::TResultModel(const TResultList& list, QObject* parent)
    : QAbstractTableModel(parent), FList(&list), FCount(list.Count()) {}

int TResultModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : Count();
}

int TResultModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QModelIndex TResultModel::index(int row, int column, const QModelIndex& parent) const {
  if (parent.isValid() || row < 0 || column < 0 || row >= Count() || column >= 2) return {};
  return createIndex(row, column);
}

Qt::ItemFlags TResultModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return {};
  if (index.model() != this) return Qt::ItemNeverHasChildren;
  return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
}

QVariant TResultModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= Count() || index.row() >= FList->Count()) return {};
  const int row = index.row();
  switch (role) {
    case Qt::DisplayRole:
      return FromSjis(index.column() == 0 ? FList->ShownCaption(row) : FList->CountText(row));
    case Qt::ToolTipRole: {
      const std::string tip = FList->CellToolTip(row, index.column());
      if (tip.empty()) return {};
      return FromSjis(tip).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    }
    case Qt::TextAlignmentRole:
      return ColumnAlignment(index.column());
    case Qt::FontRole: {
      if (!RowLook(*FList, row, std::nullopt, false).Bold) return {};
      QFont bold;
      bold.setBold(true);
      return bold;
    }
    case Qt::DecorationRole:
      if (index.column() == 0 &&
          static_cast<std::size_t>(TResultList::kImageIndex) < FImages.size())
        return FImages[TResultList::kImageIndex];
      return {};
    default:
      return {};
  }
}

QVariant TResultModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  if (role == Qt::TextAlignmentRole) return ColumnAlignment(section);
  if (role != Qt::DisplayRole) return {};
  return FromSjis(cp932::Sjis(section == 0 ? "文字列" : "個数"));
}

void TResultModel::Reset() {
  beginResetModel();
  FCount = FList->Count();
  endResetModel();
}

void TResultModel::Detach() {
  beginResetModel();
  FList = &FEmpty;
  FCount = 0;
  endResetModel();
}

void TResultModel::RowsRemoved(const std::vector<bool>& removed) {
  // Contiguous runs, last to first, so the view keeps its place; many runs
  // in one reset, so a scattered selection of a long list stays linear.
  std::vector<std::pair<int, int>> runs;
  for (int i = static_cast<int>(removed.size()) - 1; i >= 0;) {
    if (!removed[static_cast<std::size_t>(i)]) {
      --i;
      continue;
    }
    const int last = i;
    while (i >= 0 && removed[static_cast<std::size_t>(i)]) --i;
    runs.emplace_back(i + 1, last);
  }
  if (runs.size() > 64) {
    Reset();
    return;
  }
  for (auto [first, last] : runs) {
    beginRemoveRows(QModelIndex(), first, last);
    FCount -= last - first + 1;
    endRemoveRows();
  }
  FCount = FList->Count();
}

void TResultModel::RowsReordered(const std::vector<int>& newPosition) {
  Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  const QModelIndexList before = persistentIndexList();
  QModelIndexList after;
  after.reserve(before.size());
  for (const QModelIndex& index : before) {
    const auto row = static_cast<std::size_t>(index.row());
    after.append(row < newPosition.size() ? this->index(newPosition[row], index.column())
                                          : QModelIndex());
  }
  changePersistentIndexList(before, after);
  Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void TResultModel::GroupsChanged() {
  if (Count() > 0) Q_EMIT dataChanged(index(0, 0), index(Count() - 1, columnCount() - 1));
}

}  // namespace tavrin
