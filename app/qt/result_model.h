#pragma once
// The result list's Qt model: a flat table over the main form's
// TResultList. The list holds the rows; the model forms the cell texts
// only for the rows the view paints, and tells the view what changed as
// the form reports it.
#include <QAbstractTableModel>
#include <QIcon>
#include <vector>

#include "app/result_list.h"

namespace tavrin {

class TResultModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  TResultModel(const TResultList& list, QObject* parent = nullptr);

  // The images rows refer to by index (the image list of the window).
  void SetImages(std::vector<QIcon> images) { FImages = std::move(images); }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  // As the table model's own, without its calls through the base classes:
  // the view asks for rows' indexes and flags at every reset.
  QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  int Count() const { return FCount; }
  const TResultRow& Row(int i) const { return FList->Row(i); }
  const TResultList& List() const { return *FList; }

  // What changed in the list: every row; the rows flagged (the flags have
  // the old count); the order (old row i is now at newPosition[i]); the
  // groups only.
  void Reset();
  void RowsRemoved(const std::vector<bool>& removed);
  void RowsReordered(const std::vector<int>& newPosition);
  void GroupsChanged();
  // The list goes away before the model: no row is shown any longer.
  void Detach();

 private:
  const TResultList* FList;
  TResultList FEmpty;
  int FCount = 0;  // the rows the view knows of
  std::vector<QIcon> FImages;
};

}  // namespace tavrin
