// Start-up and shut-down of the Qt main window, its event wiring and the
// key routing.
#include "app/qt/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <memory>

#include "app/qt/result_model.h"
#include "app/qt/result_view.h"
#include "settings/qt/window_geometry.h"

namespace tavrin {

TfoMAIN::TfoMAIN(QWidget* parent) : QMainWindow(parent), TMainForm(static_cast<IMainView&>(*this)) {
  BuildComponents();
  FGeometry = new TWindowGeometry(this);
  ConnectEvents();
  FormCreate();
  CreateSetDialog();
}

TfoMAIN::~TfoMAIN() {
  if (qApp) qApp->removeEventFilter(this);
  // The rows refer to the collection's items, which go before the widgets:
  // a window destroyed without its close query must not paint them freed.
  FModel->Detach();
}

void TfoMAIN::ConnectEvents() {
  connect(sbClose, &QToolButton::clicked, this, [this] { sbCloseClick(); });
  connect(sbExtractRuiji, &QToolButton::clicked, this,
          [this] { sbExtractRuijiClick(TControl::sbExtractRuiji); });
  connect(sbGetAllData, &QToolButton::clicked, this,
          [this] { sbGetAllDataClick(TControl::sbGetAllData); });
  connect(sbCopyAll, &QToolButton::clicked, this,
          [this] { pmCopySelectClick(TControl::sbCopyAll); });
  connect(pmCopyAll, &QAction::triggered, this, [this] { pmCopySelectClick(TControl::pmCopyAll); });
  connect(pmCopySelect, &QAction::triggered, this,
          [this] { pmCopySelectClick(TControl::pmCopySelect); });
  connect(pmDelete, &QAction::triggered, this, [this] { pmDeleteClick(); });
  connect(pmCopyNormalized, &QAction::triggered, this, [this] { pmCopyNormalizedClick(); });
  connect(pmCopyMap, &QAction::triggered, this, [this] { pmCopyMapClick(); });
  connect(pmMakeCanonical, &QAction::triggered, this, [this] { pmMakeCanonicalClick(); });
  connect(pmLeaveGroup, &QAction::triggered, this, [this] { pmLeaveGroupClick(); });
  connect(pmJoinSelected, &QAction::triggered, this, [this] { pmJoinSelectedClick(); });
  connect(pmUndoDictionary, &QAction::triggered, this, [this] { UndoDictionaryChange(); });
  connect(PopupMenu1, &QMenu::aboutToShow, this, [this] { PopupMenu1Popup(); });
  connect(lvResult, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopupMenu1->popup(lvResult->viewport()->mapToGlobal(at)); });
  connect(lvResult, &TResultView::Clicked, this, [this] { lvResultClick(); });
  connect(lvResult, &TResultView::DoubleClicked, this, [this] { lvResultDblClick(); });
  connect(lvResult->horizontalHeader(), &QHeaderView::sectionClicked, this,
          [this](int column) { lvResultColumnClick(column); });
  ConnectExtras();
  // Keyboard preview: the window sees every key before the focused control.
  qApp->installEventFilter(this);
}

void TfoMAIN::showEvent(QShowEvent* event) {
  if (!FShown) {
    FShown = true;  // the show handler runs once
    FormShow();
    LayoutClient();
    ActivateGradients();
    // The saved geometry, before the window is mapped.
    RestoreGeometry();
    GeometryPlaced();
    SettlePlacement();
  }
  QMainWindow::showEvent(event);
}

// A window manager frames the window after it is mapped; some place the
// client, not the frame, at the position asked, which puts the frame one
// title bar higher (and a border's width to the left) than saved. Once the
// frame is known the window is moved back so that its frame stands where it
// was put; then the logic learns where it stands.
void TfoMAIN::SettlePlacement() {
  const QPoint wanted = pos();
  auto* timer = new QTimer(this);
  timer->setInterval(50);
  auto clock = std::make_shared<QElapsedTimer>();
  clock->start();
  connect(timer, &QTimer::timeout, this, [this, timer, clock, wanted, moved = false]() mutable {
    const bool framed = frameGeometry().topLeft() != geometry().topLeft();
    if (framed && !moved && !isMaximized() && geometry().topLeft() == wanted && pos() != wanted) {
      moved = true;
      move(wanted);
      return;
    }
    if (!framed && clock->elapsed() < 1000) return;  // no frame yet
    timer->stop();
    timer->deleteLater();
    if (UniqueManager()) GeometryPlaced();  // not after the close
  });
  timer->start();
}

void TfoMAIN::closeEvent(QCloseEvent* event) {
  FormCloseQuery();
  event->accept();  // the close is never refused
  QMainWindow::closeEvent(event);
}

void TfoMAIN::SetHint(QWidget* control, const std::string& sjis) {
  for (int c = 0; c <= static_cast<int>(TControl::lvResult); ++c)
    if (ControlWidget(static_cast<TControl>(c)) == control) {
      SetHint(static_cast<TControl>(c), sjis);
      return;
    }
}

std::string TfoMAIN::Hint(const QWidget* control) {
  return control->property("tavrinHint").toByteArray().toStdString();
}

TKey TfoMAIN::KeyOf(int qtKey) {
  switch (qtKey) {
    case Qt::Key_F1:
      return TKey::F1;
    case Qt::Key_F5:
      return TKey::F5;
    case Qt::Key_F6:
      return TKey::F6;
    case Qt::Key_F7:
      return TKey::F7;
    case Qt::Key_F8:
      return TKey::F8;
    case Qt::Key_F9:
      return TKey::F9;
    case Qt::Key_Delete:
      return TKey::Delete;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return TKey::Return;
    case Qt::Key_Escape:
      return TKey::Escape;
    case Qt::Key_A:
      return TKey::A;
    case Qt::Key_C:
      return TKey::C;
    case Qt::Key_G:
      return TKey::G;
    case Qt::Key_K:
      return TKey::K;
    case Qt::Key_Z:
      return TKey::Z;
    default:
      return TKey::None;
  }
}

TShiftState TfoMAIN::ShiftOf(Qt::KeyboardModifiers modifiers) {
  TShiftState shift = kShiftNone;
  if (modifiers & Qt::ShiftModifier) shift |= kShiftShift;
  if (modifiers & Qt::AltModifier) shift |= kShiftAlt;
  if (modifiers & Qt::ControlModifier) shift |= kShiftCtrl;
  return shift;
}

bool TfoMAIN::FormKeyDown(int key, Qt::KeyboardModifiers shift, bool repeat) {
  return FormKeyDown(KeyOf(key), ShiftOf(shift), repeat);
}

bool TfoMAIN::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && IsKeyTarget(watched)) {
    auto* key = static_cast<QKeyEvent*>(event);
    const QPointer<QWidget> focus = QApplication::focusWidget();
    FormKeyDown(key->key(), key->modifiers(), key->isAutoRepeat());
    // The focused control receives the key all the same, unless the action
    // moved the focus (a message box was shown and closed): then the key
    // has had its action, and passing it on would let it reach the window
    // again on its way up to the parents and repeat the command.
    if (QApplication::focusWidget() != focus) {
      key->accept();
      return true;
    }
    return false;
  }
  if (watched == centralWidget() && event->type() == QEvent::Resize) LayoutClient();
  return QMainWindow::eventFilter(watched, event);
}

// A key event travels from the focused control up to its parents; the
// window acts on it once, at its first receiver, and only for its own keys.
bool TfoMAIN::IsKeyTarget(QObject* watched) const {
  if (!watched->isWidgetType()) return false;
  auto* widget = static_cast<QWidget*>(watched);
  if (widget->window() != this) return false;
  QWidget* focus = QApplication::focusWidget();
  if (focus && focus->window() == this) return widget == focus;
  return widget == this;
}

}  // namespace tavrin
