#include "app/qt/result_model.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

#include <QFont>

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

TResultModel::TResultModel(QObject* parent) : QAbstractTableModel(parent) {}

int TResultModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : Count();
}

int TResultModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant TResultModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= Count()) return {};
  switch (role) {
    case Qt::DisplayRole:
      return FromSjis(index.column() == 0 ? ShownCaption(*Row(index.row()).Item, FExprsQuote)
                                          : CountText(index.row()));
    case Qt::ToolTipRole: {
      // The group's tip first, then the start of a caption drawn cut.
      std::string tip = ToolTip(index.row());
      if (index.column() == 0) {
        const std::string cut = CaptionToolTip(*Row(index.row()).Item, FExprsQuote);
        if (!cut.empty()) tip += (tip.empty() ? "" : "\r\r") + cut;
      }
      if (tip.empty()) return {};
      return FromSjis(tip).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    }
    case Qt::TextAlignmentRole:
      return ColumnAlignment(index.column());
    case Qt::FontRole: {
      const int group = GroupOf(index.row());
      if (group < 0 || FGroups[static_cast<std::size_t>(group)].Canonical != Row(index.row()).Item) return {};
      QFont bold;
      bold.setBold(true);
      return bold;
    }
    case Qt::DecorationRole:
      if (index.column() == 0 && static_cast<std::size_t>(kImageIndex) < FImages.size())
        return FImages[kImageIndex];
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

std::string TResultModel::Caption(int row) const {
  return RowCaption(*Row(row).Item, FExprsQuote);
}

std::string TResultModel::CountText(int row) const { return tavrin::CountText(Row(row).Count); }

void TResultModel::SetRows(std::vector<TResultRow> rows, bool exprsQuote) {
  beginResetModel();
  FRows = std::move(rows);
  FExprsQuote = exprsQuote;
  FGroups.clear();
  FGroupOfItem.clear();
  endResetModel();
}

void TResultModel::SetGroups(std::vector<TVariantGroup> groups, bool hyphen) {
  FGroups = std::move(groups);
  FHyphen = hyphen;
  FGroupOfItem.clear();
  for (std::size_t g = 0; g < FGroups.size(); ++g)
    for (const TUniqueItem* item : FGroups[g].Rows) FGroupOfItem.emplace(item, static_cast<int>(g));
  if (Count() > 0) Q_EMIT dataChanged(index(0, 0), index(Count() - 1, columnCount() - 1));
}

int TResultModel::GroupOf(int row) const {
  if (FGroupOfItem.empty()) return -1;
  const auto found = FGroupOfItem.find(Row(row).Item);
  return found == FGroupOfItem.end() ? -1 : found->second;
}

const TUniqueItem* TResultModel::CanonicalOf(int row) const {
  const int group = GroupOf(row);
  if (group < 0) return nullptr;
  const TUniqueItem* canonical = FGroups[static_cast<std::size_t>(group)].Canonical;
  return canonical == Row(row).Item ? nullptr : canonical;
}

TSpellingDifferences TResultModel::Differences(int row) const {
  const TUniqueItem* canonical = CanonicalOf(row);
  if (canonical == nullptr) return {};
  return CompareSpellings(Row(row).Item->Text(), canonical->Text(), FHyphen);
}

namespace {

// "「ー」U+30FC": a piece of text with the code points of its characters.
std::string WithCodePoints(const std::string& sjis) {
  std::string out = cp932::Sjis("「") + sjis + cp932::Sjis("」");
  for (const char32_t c : FromSjis(sjis).toStdU32String()) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, " U+%04X", static_cast<unsigned>(c));
    out += buffer;
  }
  return out;
}

}  // namespace

std::string TResultModel::ToolTip(int row) const {
  const int group = GroupOf(row);
  if (group < 0) return {};
  const TVariantGroup& g = FGroups[static_cast<std::size_t>(group)];
  if (g.Canonical == Row(row).Item)
    return cp932::Sjis("正規の表記（ほかに ") + std::to_string(g.Rows.size() - 1) +
           cp932::Sjis(" 種類の書き方があります）");
  const std::string_view text = Row(row).Item->Text();
  const TSpellingDifferences d = Differences(row);
  std::string tip = cp932::Sjis("正規の表記: ") + std::string(g.Canonical->Text());
  if (d.Kinds != 0) tip += cp932::Sjis("\r違い: ") + DifferenceKindNames(d.Kinds);
  // Look-alike characters are told apart by their code points.
  constexpr std::size_t kShown = 5;
  for (std::size_t i = 0; i < d.Parts.size() && i < kShown; ++i) {
    const TSpellingDifference& p = d.Parts[i];
    // Appended piece by piece: "\r" + string draws a false -Wrestrict from
    // GCC 12 at -O3.
    tip += '\r';
    tip += WithCodePoints(std::string(text.substr(p.Start, p.Length)));
    tip += cp932::Sjis(" → ");
    tip += WithCodePoints(p.Canonical);
  }
  if (d.Parts.size() > kShown) tip += cp932::Sjis("\r…");
  return tip;
}

void TResultModel::RemoveRows(const std::vector<bool>& remove) {
  // Contiguous runs, last to first, so the view keeps its place; many runs
  // in one reset, so a scattered selection of a long list stays linear.
  std::vector<std::pair<int, int>> runs;
  for (int i = Count() - 1; i >= 0;) {
    if (!remove[static_cast<std::size_t>(i)]) {
      --i;
      continue;
    }
    int last = i;
    while (i >= 0 && remove[static_cast<std::size_t>(i)]) --i;
    runs.emplace_back(i + 1, last);
  }
  if (runs.size() <= 64) {
    for (auto [first, last] : runs) {
      beginRemoveRows(QModelIndex(), first, last);
      FRows.erase(FRows.begin() + first, FRows.begin() + last + 1);
      endRemoveRows();
    }
    return;
  }
  beginResetModel();
  std::size_t out = 0;
  for (std::size_t i = 0; i < FRows.size(); ++i)
    if (!remove[i]) FRows[out++] = std::move(FRows[i]);
  FRows.resize(out);
  endResetModel();
}

std::vector<int> TResultModel::SortRows(
    const std::function<bool(const TResultRow&, const TResultRow&)>& less) {
  Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  std::vector<int> order(FRows.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return less(FRows[static_cast<std::size_t>(a)], FRows[static_cast<std::size_t>(b)]);
  });
  std::vector<TResultRow> sorted;
  sorted.reserve(FRows.size());
  std::vector<int> newPos(FRows.size());
  for (std::size_t i = 0; i < order.size(); ++i) {
    newPos[static_cast<std::size_t>(order[i])] = static_cast<int>(i);
    sorted.push_back(std::move(FRows[static_cast<std::size_t>(order[i])]));
  }
  FRows = std::move(sorted);
  const QModelIndexList before = persistentIndexList();
  QModelIndexList after;
  after.reserve(before.size());
  for (const QModelIndex& index : before)
    after.append(this->index(newPos[static_cast<std::size_t>(index.row())], index.column()));
  changePersistentIndexList(before, after);
  Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
  return newPos;
}

}  // namespace tavrin
