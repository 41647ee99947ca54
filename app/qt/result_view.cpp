#include "app/qt/result_view.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <vector>

#include "app/qt/result_model.h"
#include "app/row_look.h"
#include "util/qt/qsjis.h"

namespace tavrin {
namespace {

// Draws each cell and the grid line on its right and bottom edge, with the
// row's look: its tint, and its caption's marks and highlighted differences.
class TGridDelegate : public QStyledItemDelegate {
 public:
  explicit TGridDelegate(TResultView* view) : QStyledItemDelegate(view), FView(view) {}
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    const auto* model = qobject_cast<const TResultModel*>(index.model());
    const bool selected = opt.state & QStyle::State_Selected;
    if (model != nullptr &&
        RowLook(model->List(), index.row(), FView->CurrentRow(), selected).Tinted)
      opt.backgroundBrush = TResultView::TintColor(opt.palette);
    std::vector<TLookSpan> spans;
    if (model != nullptr && index.column() == 0) spans = CaptionSpans(model->List(), index.row());
    QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
    if (spans.empty()) {
      style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
    } else {
      opt.text.clear();
      style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
      const QRect r = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, opt.widget)
                          .adjusted(2, 0, -2, 0);
      painter->save();
      painter->setClipRect(r);
      painter->setFont(opt.font);
      const QFontMetrics metrics(opt.font);
      const QColor ink = opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
      QColor muted = ink;
      muted.setAlphaF(0.45f);
      int x = r.left();
      for (const TLookSpan& g : spans) {
        if (x > r.right()) break;
        const QString text =
            QString::fromUcs4(g.Text.data(), static_cast<qsizetype>(g.Text.size()));
        const int w = metrics.horizontalAdvance(text);
        const QRect cell(x, r.top(), w, r.height());
        if (g.Differs) painter->fillRect(cell, TResultView::DifferenceColor());
        painter->setPen(g.Differs ? QColor(Qt::black) : g.Mark ? muted : ink);
        painter->drawText(cell, Qt::AlignVCenter | Qt::AlignLeft, text);
        x += w;
      }
      painter->restore();
    }
    painter->save();
    painter->setPen(option.palette.color(QPalette::Mid));
    const QRect r = option.rect;
    painter->drawLine(r.bottomLeft(), r.bottomRight());
    painter->drawLine(r.topRight(), r.bottomRight());
    painter->restore();
  }

 private:
  TResultView* FView;
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
  p.setColor(QPalette::Base,
             color.isValid() ? color : QApplication::palette().color(QPalette::Base));
  viewport()->setPalette(p);
  viewport()->setAutoFillBackground(true);
  viewport()->update();
}

std::optional<std::size_t> TResultView::CurrentRow() const {
  const QModelIndex current = currentIndex();
  if (!current.isValid()) return std::nullopt;
  return static_cast<std::size_t>(current.row());
}

QBrush TResultView::TintColor(const QPalette& palette) {
  QColor tint = palette.color(QPalette::Active, QPalette::Highlight);
  tint.setAlpha(56);
  return tint;
}

QColor TResultView::DifferenceColor() { return QColor(255, 221, 110); }

void TResultView::selectionChanged(const QItemSelection& selected,
                                   const QItemSelection& deselected) {
  QTreeView::selectionChanged(selected, deselected);
  viewport()->update();  // a selected row shows no tint
}

void TResultView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTreeView::currentChanged(current, previous);
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
  // Shift+F10 opens the list's menu under the current row (at the top left
  // without one), as the menu key and a right click open it.
  if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
    const QRect row = visualRect(currentIndex());
    const bool shown = row.isValid() && viewport()->rect().intersects(row);
    event->accept();
    Q_EMIT customContextMenuRequested(shown ? QPoint(row.left() + 8, row.bottom()) : QPoint(8, 8));
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
