#pragma once
// The report-style list of results: a tree view without branches, with grid
// lines, whole-row multi-selection that stays visible without focus, and
// click signals for the whole list area (the empty list included).
#include <QTreeView>

namespace tavrin {

class TResultView : public QTreeView {
  Q_OBJECT
 public:
  explicit TResultView(QWidget* parent = nullptr);

  // Background of the rows area; the guidance flashes it (invalid: the
  // system's window colour).
  void SetBackground(const QColor& color);
  QColor Background() const;

 Q_SIGNALS:
  void Clicked();
  void DoubleClicked();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
};

}  // namespace tavrin
