#pragma once
// The rows of the result list: a flat table model whose rows hold the item
// they show and its count; the caption (quoted as the list was filled), the
// count text ("%3d") and the row image are formed only for the rows the
// view paints, so filling a million rows costs no text at all. A caption
// longer than kShownCaptionBytes is drawn cut, with its start in the tool-tip.
#include <QAbstractTableModel>
#include <QIcon>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/result_rows.h"
#include "app/spelling_differences.h"
#include "app/variant_groups.h"

namespace tavrin {

class TResultModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit TResultModel(QObject* parent = nullptr);

  // The images rows refer to by index (the image list of the window).
  void SetImages(std::vector<QIcon> images) { FImages = std::move(images); }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  int Count() const { return static_cast<int>(FRows.size()); }
  const TResultRow& Row(int i) const { return FRows[static_cast<std::size_t>(i)]; }

  // Replaces every row in one reset; the view repaints once afterwards.
  // ExprsQuote fixes the captions of these rows (quoted or not).
  void SetRows(std::vector<TResultRow> rows, bool exprsQuote);
  void Clear() { SetRows({}, FExprsQuote); }
  const std::vector<TResultRow>& Rows() const { return FRows; }

  // The texts of a row, CP932, whole (the view draws a long caption cut).
  std::string Caption(int row) const;
  std::string CountText(int row) const;
  static constexpr int kImageIndex = 10;

  // The groups of the similar rows (VariantGroups of these rows); cleared by
  // SetRows. A canonical row is bold, a variant's tool-tip names its
  // canonical text and the differences; Hyphen is the option the keys were
  // built with.
  void SetGroups(std::vector<TVariantGroup> groups, bool hyphen);
  const std::vector<TVariantGroup>& Groups() const { return FGroups; }
  // The row's group (an index into Groups()), or -1.
  int GroupOf(int row) const;
  // The group's canonical text, or nullptr for a row of no group or the
  // canonical row itself.
  const TUniqueItem* CanonicalOf(int row) const;
  // How the row's text differs from its canonical (nothing for a row that
  // is not a variant).
  TSpellingDifferences Differences(int row) const;
  std::string ToolTip(int row) const;  // CP932, CR between lines; empty: none

  // Removes the rows whose flag is set; remove.size() must equal Count().
  void RemoveRows(const std::vector<bool>& remove);

  // Reorders the rows by `less` (stable). Persistent indexes follow their
  // rows; returns the new position of each old row.
  std::vector<int> SortRows(const std::function<bool(const TResultRow&, const TResultRow&)>& less);

 private:
  std::vector<TResultRow> FRows;
  bool FExprsQuote = false;
  std::vector<QIcon> FImages;
  std::vector<TVariantGroup> FGroups;
  std::unordered_map<const TUniqueItem*, int> FGroupOfItem;
  bool FHyphen = true;
};

}  // namespace tavrin
