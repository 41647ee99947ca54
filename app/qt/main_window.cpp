// Start-up and shut-down of the main window, its event wiring and the two
// apply routines.
#include "app/qt/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QStatusBar>
#include <QToolButton>

#include "app/qt/result_model.h"
#include "app/qt/result_view.h"
#include "engine/unique_manager.h"
#include "util/cp932.h"
#include "util/error.h"
#include "util/messages.h"
#include "util/qt/qsjis.h"

namespace tavrin {

int TextSortDirection = 1;
int CountSortDirection = 1;

TfoMAIN::TfoMAIN(QWidget* parent) : QMainWindow(parent) {
  BuildComponents();
  ConnectEvents();
  FormCreate();
  CreateSetDialog();
}

TfoMAIN::~TfoMAIN() {
  if (qApp) qApp->removeEventFilter(this);
  // The rows refer to the collection's items, which go before the widgets:
  // a window destroyed without its close query must not paint them freed.
  FModel->Clear();
}

void TfoMAIN::ConnectEvents() {
  connect(sbClose, &QToolButton::clicked, this, [this] { sbCloseClick(); });
  connect(sbExtractRuiji, &QToolButton::clicked, this,
          [this] { sbExtractRuijiClick(sbExtractRuiji); });
  connect(sbGetAllData, &QToolButton::clicked, this, [this] { sbGetAllDataClick(sbGetAllData); });
  connect(sbCopyAll, &QToolButton::clicked, this, [this] { pmCopySelectClick(sbCopyAll); });
  connect(pmCopyAll, &QAction::triggered, this, [this] { pmCopySelectClick(pmCopyAll); });
  connect(pmCopySelect, &QAction::triggered, this, [this] { pmCopySelectClick(pmCopySelect); });
  connect(pmDelete, &QAction::triggered, this, [this] { pmDeleteClick(); });
  connect(pmCopyNormalized, &QAction::triggered, this, [this] { pmCopyNormalizedClick(); });
  connect(pmCopyMap, &QAction::triggered, this, [this] { pmCopyMapClick(); });
  connect(PopupMenu1, &QMenu::aboutToShow, this, [this] { PopupMenu1Popup(); });
  connect(lvResult, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    PopupMenu1->popup(lvResult->viewport()->mapToGlobal(at));
  });
  connect(lvResult, &TResultView::Clicked, this, [this] { lvResultClick(); });
  connect(lvResult, &TResultView::DoubleClicked, this, [this] { lvResultDblClick(); });
  connect(lvResult->header(), &QHeaderView::sectionClicked, this,
          [this](int column) { lvResultColumnClick(column); });
  ConnectExtras();
  // Keyboard preview: the window sees every key before the focused control.
  qApp->installEventFilter(this);
}

void TfoMAIN::FormCreate() {
  FUniqueManager = std::make_unique<TUniqueManager>();
  FLines = {};
  TextSortDirection = 1;
  CountSortDirection = 1;
  FSetLvColumn0 = lvResult->header()->sectionSize(0);
  FSetLvColumn1 = lvResult->header()->sectionSize(1);
  BindSettings();
  LoadSettings();
  lvResult->header()->resizeSection(0, FSetLvColumn0);
  lvResult->header()->resizeSection(1, FSetLvColumn1);
  for (int i = 0; i < 2; ++i) FLoadedColumnWidth[i] = lvResult->header()->sectionSize(i);
  ApplyHint(FHint);
  ApplyEngine();
  FGuidePending = true;
}

void TfoMAIN::showEvent(QShowEvent* event) {
  if (!FShowDone) {
    FShowDone = true;  // the show handler runs once
    FormShow();
  }
  QMainWindow::showEvent(event);
}

void TfoMAIN::FormShow() {
  SetHint(sbGetAllData, cp932::Sjis("全てのデータを表示します\rショートカットキー : [F6]"));
  SetHint(sbExtractRuiji, cp932::Sjis("類字を抽出して表示します\rショートカットキー : [F5]"));
  SetHint(sbCopyAll, cp932::Sjis("表示している全てのデータを\rクリップボードにコピーします\r"
                                 "ショートカットキー : [F7]"));
  SetHint(sbSwFormStyle, cp932::Sjis("ウィンドを最前面に固定します"));
  SetHint(imgHelp, cp932::Sjis("ヘルプを表示します\rショートカットキー : [F1]"));
  FListAnchored = true;
  LayoutClient();
  ActivateGradients();
}

void TfoMAIN::closeEvent(QCloseEvent* event) {
  FormCloseQuery();
  event->accept();  // the close is never refused
  QMainWindow::closeEvent(event);
}

void TfoMAIN::sbCloseClick() { close(); }

bool TfoMAIN::FormCloseQuery() {
  if (!FUniqueManager) return true;  // closed once already
  // The rows refer to the collection's items: they go first.
  FModel->Clear();
  FUniqueManager.reset();
  FLines = {};
  std::int32_t* widths[] = {&FSetLvColumn0, &FSetLvColumn1};
  for (int i = 0; i < 2; ++i)
    if (lvResult->header()->sectionSize(i) != FLoadedColumnWidth[i])
      *widths[i] = lvResult->header()->sectionSize(i);
  try {
    SaveSettings();
  } catch (const EError& error) {
    // The collection is already released: say what was not saved and close
    // all the same, so that no command runs on the released objects.
    ErrorDialog(error.what());
  }
  return true;
}

void TfoMAIN::SetHint(QWidget* control, const std::string& sjis) {
  control->setProperty("tavrinHint", QByteArray::fromStdString(sjis));
  ApplyHintTo(control, FHint);
}

std::string TfoMAIN::Hint(const QWidget* control) {
  return control->property("tavrinHint").toByteArray().toStdString();
}

void TfoMAIN::ApplyHintTo(QWidget* control, bool show) {
  QString text = FromSjis(Hint(control));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  control->setToolTip(show ? text : QString());
}

void TfoMAIN::ApplyHint(bool show) {
  for (QWidget* control : std::initializer_list<QWidget*>{
           sbClose, sbGetAllData, sbExtractRuiji, sbCopyAll, sbSwFormStyle, sbSet, imgHelp,
           imgVersion})
    ApplyHintTo(control, show);
}

void TfoMAIN::ApplyEngine() {
  if (!FUniqueManager) return;
  FUniqueManager->FZenkaku = FZenkaku;
  FUniqueManager->FUpper = FUpper;
  FUniqueManager->FTrim = FTrim;
  FUniqueManager->FHyphen = FHyphen;
  FUniqueManager->FHyphenTerminate = FHyphenTerminate;
}

QString TfoMAIN::StatusText() const { return sbPanel1->text(); }

bool TfoMAIN::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && IsKeyTarget(watched)) {
    auto* key = static_cast<QKeyEvent*>(event);
    const QPointer<QWidget> focus = QApplication::focusWidget();
    FormKeyDown(key->key(), key->modifiers());
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
  if (watched == pnClient && event->type() == QEvent::Resize) LayoutClient();
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
