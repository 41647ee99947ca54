#pragma once
// The report-style list of results: a table view without row numbers or the
// table's own grid (its delegate draws the list's lines), uniform row height,
// whole-row multi-selection that stays visible without focus, and click
// signals for the whole list area (the empty list included). A table keeps no
// record per row, so a reset of a million rows costs little.
#include <QTableView>
#include <cstddef>
#include <optional>

namespace tavrin {

class TResultView : public QTableView {
  Q_OBJECT
 public:
  explicit TResultView(QWidget* parent = nullptr);

  // Background of the rows area; the guidance flashes it (invalid: the
  // system's window colour).
  void SetBackground(const QColor& color);
  QColor Background() const;
  // Also takes the new first row's height for every row.
  void reset() override;

  // The current (focused) row, selected or not.
  std::optional<std::size_t> CurrentRow() const;
  static QBrush TintColor(const QPalette& palette);
  // Behind the characters of a variant that differ from its canonical.
  static QColor DifferenceColor();

 Q_SIGNALS:
  void Clicked();
  void DoubleClicked();

 protected:
  void changeEvent(QEvent* event) override;
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  // Every row takes the height the first row asks for, as a list of uniform
  // rows does; an empty list keeps its height.
  void UpdateRowHeight();
};

}  // namespace tavrin
