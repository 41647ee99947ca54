#include "app/qt/result_view.h"

#include <string_view>
#include <vector>

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include "app/qt/result_model.h"
#include "util/qt/qsjis.h"

namespace tavrin {
namespace {

// One grapheme cluster of a caption as drawn.
struct TGlyph {
  QString Text;
  bool Differs = false;  // differs from the canonical spelling
  bool Mark = false;     // a mark in place of an invisible character
};

// The caption of a row as glyphs; empty when it has nothing to mark or
// highlight, so the plain drawing is used.
std::vector<TGlyph> Glyphs(const TResultModel& model, int row) {
  std::vector<TGlyph> glyphs;
  for (const TCaptionGlyph& g : model.List().Glyphs(row))
    glyphs.push_back({QString::fromUcs4(g.Text.data(), static_cast<qsizetype>(g.Text.size())), g.Differs, g.Mark});
  return glyphs;
}

// Draws each cell and the grid line on its right and bottom edge; tints the
// rows of the selected row's group, and draws captions with their marks
// and highlighted differences.
class TGridDelegate : public QStyledItemDelegate {
 public:
  explicit TGridDelegate(TResultView* view) : QStyledItemDelegate(view), FView(view) {}
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    const auto* model = qobject_cast<const TResultModel*>(index.model());
    const bool selected = opt.state & QStyle::State_Selected;
    if (model != nullptr && !selected && FView->TintGroup() >= 0 &&
        index.row() < model->List().Count() && model->List().GroupOf(index.row()) == FView->TintGroup())
      opt.backgroundBrush = TResultView::TintColor(opt.palette);
    std::vector<TGlyph> glyphs;
    if (model != nullptr && index.column() == 0 && index.row() < model->List().Count()) glyphs = Glyphs(*model, index.row());
    QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
    if (glyphs.empty()) {
      style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
    } else {
      opt.text.clear();
      style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
      const QRect r = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, opt.widget).adjusted(2, 0, -2, 0);
      painter->save();
      painter->setClipRect(r);
      painter->setFont(opt.font);
      const QFontMetrics metrics(opt.font);
      const QColor ink = opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
      QColor muted = ink;
      muted.setAlphaF(0.45f);
      int x = r.left();
      for (const TGlyph& g : glyphs) {
        if (x > r.right()) break;
        const int w = metrics.horizontalAdvance(g.Text);
        const QRect cell(x, r.top(), w, r.height());
        if (g.Differs) painter->fillRect(cell, TResultView::DifferenceColor());
        painter->setPen(g.Differs ? QColor(Qt::black) : g.Mark ? muted : ink);
        painter->drawText(cell, Qt::AlignVCenter | Qt::AlignLeft, g.Text);
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
  p.setColor(QPalette::Base, color.isValid() ? color : QApplication::palette().color(QPalette::Base));
  viewport()->setPalette(p);
  viewport()->setAutoFillBackground(true);
  viewport()->update();
}

int TResultView::TintGroup() const {
  const auto* m = qobject_cast<const TResultModel*>(model());
  const QModelIndex current = currentIndex();
  if (m == nullptr || !current.isValid() || !selectionModel()->isSelected(current)) return -1;
  if (current.row() >= m->List().Count()) return -1;
  return m->List().GroupOf(current.row());
}

QBrush TResultView::TintColor(const QPalette& palette) {
  QColor tint = palette.color(QPalette::Active, QPalette::Highlight);
  tint.setAlpha(56);
  return tint;
}

QColor TResultView::DifferenceColor() { return QColor(255, 221, 110); }

void TResultView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
  QTreeView::selectionChanged(selected, deselected);
  viewport()->update();  // the tint follows the selected row's group
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
