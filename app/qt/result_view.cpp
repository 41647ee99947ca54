#include "app/qt/result_view.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace tavrin {
namespace {

// Draws each cell and the grid line on its right and bottom edge.
class TGridDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyledItemDelegate::paint(painter, option, index);
    painter->save();
    painter->setPen(option.palette.color(QPalette::Mid));
    const QRect r = option.rect;
    painter->drawLine(r.bottomLeft(), r.bottomRight());
    painter->drawLine(r.topRight(), r.bottomRight());
    painter->restore();
  }
};

}  // namespace

TResultView::TResultView(QWidget* parent) : QTreeView(parent) {
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);  // row heights are never measured: fast at scale
  setAllColumnsShowFocus(true);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSortingEnabled(false);  // the window sorts with its own compare functions
  setItemDelegate(new TGridDelegate(this));
  header()->setSectionsMovable(false);
  header()->setStretchLastSection(false);
  header()->setSectionsClickable(true);
  QPalette p = palette();
  for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
    p.setColor(QPalette::Inactive, role, p.color(QPalette::Active, role));
  setPalette(p);
}

void TResultView::SetBackground(const QColor& color) {
  QPalette p = viewport()->palette();
  p.setColor(QPalette::Base, color.isValid() ? color : QApplication::palette().color(QPalette::Base));
  viewport()->setPalette(p);
  viewport()->setAutoFillBackground(true);
  viewport()->update();
}

QColor TResultView::Background() const { return viewport()->palette().color(QPalette::Base); }

void TResultView::keyPressEvent(QKeyEvent* event) {
  // The window copies on Ctrl+C; the view's own copy of the current cell
  // would overwrite that text.
  if (event->matches(QKeySequence::Copy)) {
    event->ignore();
    return;
  }
  QTreeView::keyPressEvent(event);
}

void TResultView::mouseReleaseEvent(QMouseEvent* event) {
  QTreeView::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton) Q_EMIT Clicked();
}

void TResultView::mouseDoubleClickEvent(QMouseEvent* event) {
  QTreeView::mouseDoubleClickEvent(event);
  if (event->button() == Qt::LeftButton) Q_EMIT DoubleClicked();
}

}  // namespace tavrin
