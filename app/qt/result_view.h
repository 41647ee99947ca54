#pragma once
// The report-style list of results: a tree view without branches, with grid
// lines, whole-row multi-selection that stays visible without focus, and
// click signals for the whole list area (the empty list included).
#include <QTreeView>
#include <cstddef>
#include <optional>

namespace tavrin {

class TResultView : public QTreeView {
  Q_OBJECT
 public:
  explicit TResultView(QWidget* parent = nullptr);

  // Background of the rows area; the guidance flashes it (invalid: the
  // system's window colour).
  void SetBackground(const QColor& color);
  QColor Background() const;

  // The current (focused) row, selected or not.
  std::optional<std::size_t> CurrentRow() const;
  static QBrush TintColor(const QPalette& palette);
  // Behind the characters of a variant that differ from its canonical.
  static QColor DifferenceColor();

 Q_SIGNALS:
  void Clicked();
  void DoubleClicked();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
};

}  // namespace tavrin
