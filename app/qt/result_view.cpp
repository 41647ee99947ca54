#include "app/qt/result_view.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyleOptionFocusRect>
#include <QStyledItemDelegate>
#include <algorithm>
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
    opt.state &= ~QStyle::State_HasFocus;  // the view frames the whole current row
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

TResultView::TResultView(QWidget* parent) : QTableView(parent) {
  setShowGrid(false);  // the delegate draws the lines
  setWordWrap(false);
  setCornerButtonEnabled(false);
  setTabKeyNavigation(false);  // Tab leaves the list for the next control
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);  // never measured: fast at scale
  verticalHeader()->setMinimumSectionSize(1);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSortingEnabled(false);  // the window sorts with its own compare functions
  setItemDelegate(new TGridDelegate(this));
  horizontalHeader()->setSectionsMovable(false);
  horizontalHeader()->setStretchLastSection(false);
  horizontalHeader()->setSectionsClickable(true);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  QPalette p = palette();
  for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
    p.setColor(QPalette::Inactive, role, p.color(QPalette::Active, role));
  setPalette(p);
  UpdateRowHeight();
}

void TResultView::UpdateRowHeight() {
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  int height = 0;
  QAbstractItemModel* list = model();
  if (list != nullptr && list->rowCount() > 0) {
    for (int column = 0; column < list->columnCount(); ++column)
      height = std::max(height, itemDelegate()->sizeHint(option, list->index(0, column)).height());
  } else if (list == nullptr) {
    height = itemDelegate()->sizeHint(option, QModelIndex()).height();
  }
  // A new height goes to every row there is: an empty list keeps the height
  // it has, so that clearing and refilling costs nothing. The header signals
  // each row's new height, and the view would queue each row for a new
  // layout (about 40 ms for a million): the rows are laid out once instead.
  if (height > 0 && height != verticalHeader()->defaultSectionSize()) {
    {
      const QSignalBlocker quiet(verticalHeader());
      verticalHeader()->setDefaultSectionSize(height);
    }
    updateGeometries();
    viewport()->update();
  }
}

void TResultView::reset() {
  QTableView::reset();
  UpdateRowHeight();
}

void TResultView::changeEvent(QEvent* event) {
  QTableView::changeEvent(event);
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
    UpdateRowHeight();
}

// A list moves by rows: Home and End go to the first and last row, and left
// and right scroll the columns sideways instead of moving between cells.
QModelIndex TResultView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  QAbstractItemModel* list = model();
  const QModelIndex current = currentIndex();
  if (!current.isValid()) return QTableView::moveCursor(action, modifiers);  // the first row
  const int column = current.column();
  switch (action) {
    case MoveHome:
      if (list == nullptr || list->rowCount() == 0) return {};
      return list->index(0, column);
    case MoveEnd:
      if (list == nullptr || list->rowCount() == 0) return {};
      return list->index(list->rowCount() - 1, column);
    case MoveLeft:
    case MoveRight: {
      QScrollBar* bar = horizontalScrollBar();
      bar->setValue(bar->value() + (action == MoveLeft ? -1 : 1) * bar->singleStep());
      return current;
    }
    default:
      return QTableView::moveCursor(action, modifiers);
  }
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

void TResultView::paintEvent(QPaintEvent* event) {
  QTableView::paintEvent(event);
  const QModelIndex current = currentIndex();
  if (!hasFocus() || !current.isValid() || model() == nullptr) return;
  const QRect first = visualRect(current.siblingAtColumn(0));
  const QRect last = visualRect(current.siblingAtColumn(model()->columnCount() - 1));
  QStyleOptionFocusRect frame;
  frame.initFrom(this);
  frame.rect = first.united(last);
  if (!frame.rect.intersects(viewport()->rect())) return;
  frame.state |= QStyle::State_KeyboardFocusChange;
  frame.backgroundColor = palette().color(
      selectionModel()->isRowSelected(current.row(), {}) ? QPalette::Highlight : QPalette::Base);
  QPainter painter(viewport());
  style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, this);
}

void TResultView::selectionChanged(const QItemSelection& selected,
                                   const QItemSelection& deselected) {
  QTableView::selectionChanged(selected, deselected);
  viewport()->update();  // a selected row shows no tint
}

void TResultView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
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
  QTableView::keyPressEvent(event);
}

void TResultView::mouseReleaseEvent(QMouseEvent* event) {
  QTableView::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton) Q_EMIT Clicked();
}

void TResultView::mouseDoubleClickEvent(QMouseEvent* event) {
  QTableView::mouseDoubleClickEvent(event);
  if (event->button() == Qt::LeftButton) Q_EMIT DoubleClicked();
}

}  // namespace tavrin
