#include "app/qt/result_view.h"

#include <string_view>
#include <vector>

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include "app/qt/result_model.h"
#include "util/clusters.h"
#include "util/qt/qsjis.h"

namespace tavrin {
namespace {

// Marks for characters that show nothing or look like a blank: outer
// spaces, the full-width space, the no-break space, zero-width characters
// and TAB. Zero: the character is drawn as it is.
char32_t InvisibleMark(char32_t c, bool outer) {
  switch (c) {
    case U' ': return outer ? U'\u00B7' : 0;  // ·
    case U'\u3000': return U'\u25A1';         // □
    case U'\u00A0': return U'\u00B0';         // °
    case U'\t': return U'\u2192';             // →
    case U'\u200B': case U'\u200C': case U'\u200D': case U'\u2060': case U'\uFEFF':
      return U'\u2038';                      // ‸
    default: return 0;
  }
}

// One character of a caption as drawn.
struct TGlyph {
  QString Text;
  bool Differs = false;  // differs from the canonical spelling
  bool Mark = false;     // a mark in place of an invisible character
};

// The caption of a row as glyphs; empty when it has nothing to mark or
// highlight, so the plain drawing is used.
std::vector<TGlyph> Glyphs(const TResultModel& model, int row) {
  // A caption drawn cut keeps the plain drawing, with its ellipsis.
  const std::string text = model.Caption(row);
  if (model.Row(row).Item->Text().size() > kShownCaptionBytes) return {};
  const TSpellingDifferences d = model.Differences(row);
  const std::size_t offset = text.size() > model.Row(row).Item->Text().size() ? 1 : 0;  // a quote
  std::vector<std::pair<std::string_view, bool>> pieces;
  std::size_t at = 0;
  for (const TSpellingDifference& p : d.Parts) {
    const std::size_t start = p.Start + offset;
    if (start > at) pieces.emplace_back(std::string_view(text).substr(at, start - at), false);
    pieces.emplace_back(std::string_view(text).substr(start, p.Length), true);
    at = start + p.Length;
  }
  pieces.emplace_back(std::string_view(text).substr(at), false);
  // One glyph a grapheme cluster: a combining mark drawn alone is lost.
  std::vector<TGlyph> glyphs;
  for (const auto& [piece, differs] : pieces)
    for (std::size_t i = 0; i < piece.size(); i += ClusterLength(piece, i))
      glyphs.push_back({FromSjis(piece.substr(i, ClusterLength(piece, i))), differs, false});
  // Outer spaces of the text itself, inside any quotes.
  const std::size_t first = offset, last = glyphs.size() - offset;
  std::size_t lead = first, trail = last;
  while (lead < last && glyphs[lead].Text == QLatin1String(" ")) ++lead;
  while (trail > lead && glyphs[trail - 1].Text == QLatin1String(" ")) --trail;
  bool marked = !d.Parts.empty();
  for (std::size_t i = first; i < last; ++i) {
    const QList<uint> code = glyphs[i].Text.toUcs4();
    const char32_t mark = code.size() == 1 ? InvisibleMark(code[0], i < lead || i >= trail) : 0;
    if (mark == 0) continue;
    glyphs[i].Text = QString::fromUcs4(&mark, 1);
    glyphs[i].Mark = marked = true;
  }
  if (!marked) glyphs.clear();
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
        model->GroupOf(index.row()) == FView->TintGroup())
      opt.backgroundBrush = TResultView::TintColor(opt.palette);
    std::vector<TGlyph> glyphs;
    if (model != nullptr && index.column() == 0) glyphs = Glyphs(*model, index.row());
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
  return m->GroupOf(current.row());
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
