// What the window's logic asks of the Qt skin: texts, the list's rows and
// selection, the clipboard, messages, the cursor and the window itself.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStringList>
#include <QToolButton>

#include "app/qt/main_window.h"
#include "app/qt/result_model.h"
#include "app/qt/result_view.h"
#include "settings/qt/font_binding.h"
#include "settings/qt/window_geometry.h"
#include "util/qt/beep.h"
#include "util/qt/qsjis.h"
#include "util/qt/shell_open.h"
#include "util/qt/updates_suspended.h"
#include "util/qt/wait_cursor.h"
#include "widgets/qt/version_dialog.h"

namespace tavrin {
namespace {

// Rows as one selection of contiguous runs; positions ascending.
QItemSelection RowSelection(const QAbstractItemModel& model, const std::vector<std::size_t>& rows) {
  QItemSelection selection;
  const int last = model.columnCount() - 1;
  for (std::size_t i = 0; i < rows.size();) {
    std::size_t j = i;
    while (j + 1 < rows.size() && rows[j + 1] == rows[j] + 1) ++j;
    selection.select(model.index(static_cast<int>(rows[i]), 0),
                     model.index(static_cast<int>(rows[j]), last));
    i = j + 1;
  }
  return selection;
}

QString WithLineBreaks(const std::string& sjis) {
  return FromSjis(sjis).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

}  // namespace

QWidget* TfoMAIN::ControlWidget(TControl control) const {
  switch (control) {
    case TControl::foMAIN:
      return const_cast<TfoMAIN*>(this);
    case TControl::sbClose:
      return sbClose;
    case TControl::sbExtractRuiji:
      return sbExtractRuiji;
    case TControl::sbGetAllData:
      return sbGetAllData;
    case TControl::sbCopyAll:
      return sbCopyAll;
    case TControl::sbSwFormStyle:
      return sbSwFormStyle;
    case TControl::sbSet:
      return sbSet;
    case TControl::imgHelp:
      return imgHelp;
    case TControl::imgVersion:
      return imgVersion;
    case TControl::lvResult:
      return lvResult;
    default:
      return nullptr;
  }
}

QAction* TfoMAIN::ControlAction(TControl control) const {
  switch (control) {
    case TControl::pmCopyAll:
      return pmCopyAll;
    case TControl::pmCopySelect:
      return pmCopySelect;
    case TControl::pmDelete:
      return pmDelete;
    case TControl::pmCopyNormalized:
      return pmCopyNormalized;
    case TControl::pmCopyMap:
      return pmCopyMap;
    case TControl::pmMakeCanonical:
      return pmMakeCanonical;
    case TControl::pmLeaveGroup:
      return pmLeaveGroup;
    case TControl::pmJoinSelected:
      return pmJoinSelected;
    case TControl::pmUndoDictionary:
      return pmUndoDictionary;
    default:
      return nullptr;
  }
}

QString TfoMAIN::StatusText() const { return sbPanel1->text(); }

void TfoMAIN::SetStatus(const std::string& sjis) {
  SetStatusText(FromSjis(sjis));
  sbPanel1->repaint();
}

void TfoMAIN::SetControlHint(TControl control, const std::string& sjis, bool shown) {
  QWidget* widget = ControlWidget(control);
  if (widget == nullptr) return;
  widget->setProperty("tavrinHint", QByteArray::fromStdString(sjis));
  widget->setToolTip(shown ? WithLineBreaks(sjis) : QString());
}

void TfoMAIN::SetTitle(const std::string& sjis) { setWindowTitle(FromSjis(sjis)); }

void TfoMAIN::SetControlEnabled(TControl control, bool enabled) {
  if (QAction* action = ControlAction(control))
    action->setEnabled(enabled);
  else if (QWidget* widget = ControlWidget(control))
    widget->setEnabled(enabled);
}

// A new result opens at its first row, without a sort mark.
void TfoMAIN::ListReset() {
  TUpdatesSuspended suspended(lvResult);
  lvResult->horizontalHeader()->setSortIndicatorShown(false);
  FModel->Reset();
  lvResult->scrollToTop();
}

void TfoMAIN::ListRowsRemoved(const std::vector<bool>& removed) { FModel->RowsRemoved(removed); }

void TfoMAIN::ListReordered(const std::vector<int>& newPosition) {
  TUpdatesSuspended suspended(lvResult);
  FModel->RowsReordered(newPosition);
}

void TfoMAIN::ListGroupsChanged() { FModel->GroupsChanged(); }

void TfoMAIN::SetSortMark(int column, int direction) {
  if (direction == 0) {
    lvResult->horizontalHeader()->setSortIndicatorShown(false);
    return;
  }
  lvResult->horizontalHeader()->setSortIndicator(
      column, direction > 0 ? Qt::AscendingOrder : Qt::DescendingOrder);
  lvResult->horizontalHeader()->setSortIndicatorShown(true);
}

void TfoMAIN::SetListHighlight(bool on) {
  lvResult->SetBackground(on ? QColor(0, 255, 0) : QColor());
  if (on) lvResult->repaint();
}

std::vector<std::size_t> TfoMAIN::SelectedRows() const {
  std::vector<bool> marked(static_cast<std::size_t>(FModel->Count()), false);
  for (const QItemSelectionRange& range : lvResult->selectionModel()->selection())
    for (int row = range.top(); row <= range.bottom(); ++row)
      if (row >= 0 && row < FModel->Count()) marked[static_cast<std::size_t>(row)] = true;
  std::vector<std::size_t> rows;
  for (std::size_t i = 0; i < marked.size(); ++i)
    if (marked[i]) rows.push_back(i);
  return rows;
}

bool TfoMAIN::HasSelection() const { return lvResult->selectionModel()->hasSelection(); }

std::optional<std::size_t> TfoMAIN::CurrentRow() const { return lvResult->CurrentRow(); }

void TfoMAIN::ClearSelection() { lvResult->selectionModel()->clearSelection(); }

void TfoMAIN::SelectRows(const std::vector<std::size_t>& rows, std::optional<std::size_t> current) {
  QItemSelectionModel* selection = lvResult->selectionModel();
  if (current)
    selection->setCurrentIndex(FModel->index(static_cast<int>(*current), 0),
                               QItemSelectionModel::NoUpdate);
  selection->select(RowSelection(*FModel, rows), QItemSelectionModel::Select);
}

void TfoMAIN::ScrollToRow(std::size_t row) {
  lvResult->scrollTo(FModel->index(static_cast<int>(row), 0), QAbstractItemView::EnsureVisible);
}

std::optional<std::size_t> TfoMAIN::TopRow() const {
  const QModelIndex top = lvResult->indexAt(QPoint(0, 0));
  if (!top.isValid()) return std::nullopt;
  return static_cast<std::size_t>(top.row());
}

void TfoMAIN::SetTopRow(std::size_t row) {
  lvResult->scrollTo(FModel->index(static_cast<int>(row), 0), QAbstractItemView::PositionAtTop);
}

int TfoMAIN::ColumnWidth(int column) const {
  return lvResult->horizontalHeader()->sectionSize(column);
}

void TfoMAIN::SetColumnWidth(int column, int width) {
  lvResult->horizontalHeader()->resizeSection(column, width);
}

FontValue TfoMAIN::ListFont() const { return WidgetFont(*lvResult); }

// A font the list shows already (the settings dialog's, with all its
// attributes) stays as it is.
void TfoMAIN::SetListFont(const FontValue& font) {
  if (WidgetFont(*lvResult) != font) SetWidgetFont(*lvResult, font);
}

std::optional<TClipboardText> TfoMAIN::ReadClipboard(std::string Room) {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
  if (!data || !data->hasText()) return std::nullopt;
  TClipboardText text;
  text.Text = ToSjis(data->text(), &text.Replaced, std::move(Room));
  return text;
}

// Qt's clipboard owns the text from here on; setting it cannot fail.
bool TfoMAIN::WriteClipboard(const std::string& sjis) {
  QGuiApplication::clipboard()->setText(FromSjis(sjis), QClipboard::Clipboard);
  return true;
}

bool TfoMAIN::Message(MessageKind kind, const std::string& sjis) { return ShowMessage(kind, sjis); }

void TfoMAIN::Beep() { MessageBeep(BeepSound::Default); }

void TfoMAIN::BeginWait() { BeginWaitCursor(); }

void TfoMAIN::EndWait() { EndWaitCursor(); }

bool TfoMAIN::StayOnTop() const { return windowFlags().testFlag(Qt::WindowStaysOnTopHint); }

// The window system takes the new style only with a new native window, so
// the window is shown again; the first-show work does not run twice.
void TfoMAIN::SetStayOnTop(bool on) {
  const bool shown = isVisible();
  setWindowFlag(Qt::WindowStaysOnTopHint, on);
  if (shown) show();
  sbSwFormStyle->setIcon(QIcon((on ? img2 : img3)->pixmap()));
}

void TfoMAIN::SetCaption(TControl control, const std::string& sjis) {
  if (auto* button = qobject_cast<QToolButton*>(ControlWidget(control)))
    button->setText(FromSjis(sjis));
  else if (QAction* action = ControlAction(control))
    action->setText(FromSjis(sjis));
}

bool TfoMAIN::OpenDocument(const std::string& path) { return OpenWithShell(this, path); }

bool TfoMAIN::OpenInEditor(const std::string& path) { return tavrin::OpenInEditor(path); }

void TfoMAIN::ShowVersionDialog(const std::string& version, const std::string& build,
                                const std::string& since) {
  tavrin::ShowVersionDialog(version, build, since);
}

bool TfoMAIN::DebugControlsVisible() const { return !Button1->isHidden(); }

void TfoMAIN::SetDebugControlsVisible(bool visible) {
  for (QWidget* control : std::initializer_list<QWidget*>{Button1, Button2, Memo1})
    control->setVisible(visible);
}

void TfoMAIN::SetMemoLines(const std::vector<std::string>& sjisLines) {
  TUpdatesSuspended suspended(Memo1);
  Memo1->clear();
  QStringList lines;
  for (const std::string& line : sjisLines) lines << FromSjis(line);
  if (!lines.isEmpty()) Memo1->setPlainText(lines.join(QLatin1Char('\n')));
}

TFormGeometry TfoMAIN::WindowGeometry() const { return FGeometry->Current(); }

void TfoMAIN::PlaceWindow(const TFormGeometry& geometry) { FGeometry->Place(geometry); }

std::vector<TRect> TfoMAIN::ScreenAreas() const { return TWindowGeometry::Screens(); }

void TfoMAIN::CloseWindow() { close(); }

}  // namespace tavrin
