// Services of the window beyond the extraction workflow: stay-on-top, help,
// version, diagnostics, the hidden caption total and the test controls of
// debug mode.
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QStringList>
#include <QToolButton>
#include <filesystem>
#include <functional>

#include "app/command_texts.h"
#include "app/diagnostics.h"
#include "app/qt/clipboard.h"
#include "app/qt/main_window.h"
#include "app/qt/result_model.h"
#include "engine/unique_manager.h"
#include "settings/qt/acc_ini.h"
#include "util/cp932.h"
#include "util/files.h"
#include "util/integers.h"
#include "util/messages.h"
#include "util/paths.h"
#include "util/qt/qsjis.h"
#include "util/qt/shell_open.h"
#include "util/qt/updates_suspended.h"
#include "util/qt/wait_cursor.h"
#include "widgets/qt/gradation_exprs.h"
#include "widgets/qt/version_dialog.h"

namespace tavrin {
namespace {

// The mouse of the two images and the double-clicks of the tool bar and the
// status bar. The images take their presses themselves, as image controls
// do: a press must neither reach the tool bar below (which would start a
// window drag and swallow the click) nor open a context menu. A click is a
// left press and release inside the same image; the second press of a
// double-click is a mouse-down again but arms no click, so a double-click
// opens the help or the version dialog once.
class TExtrasFilter : public QObject {
 public:
  using MouseDown = std::function<void(Qt::MouseButton, Qt::KeyboardModifiers)>;
  struct TImage {
    QLabel* image;
    MouseDown mouseDown;
    std::function<void()> click;
  };

  TExtrasFilter(QObject* parent, std::vector<TImage> images, QWidget* toolBar,
                std::function<void()> toolBarDblClick, std::vector<QWidget*> statusBar,
                std::function<void()> statusBarDblClick)
      : QObject(parent),
        FImages(std::move(images)),
        FToolBar(toolBar),
        FToolBarDblClick(std::move(toolBarDblClick)),
        FStatusBar(std::move(statusBar)),
        FStatusBarDblClick(std::move(statusBarDblClick)) {
    for (const TImage& image : FImages) image.image->installEventFilter(this);
    FToolBar->installEventFilter(this);
    for (QWidget* part : FStatusBar) part->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    for (const TImage& image : FImages)
      if (watched == image.image) return ImageEvent(image, type, event);
    if (type != QEvent::MouseButtonDblClick) return false;
    if (watched == FToolBar) {
      FToolBarDblClick();
      return false;
    }
    for (QWidget* part : FStatusBar)
      if (watched == part) {
        FStatusBarDblClick();
        return true;
      }
    return false;
  }

 private:
  bool ImageEvent(const TImage& image, QEvent::Type type, QEvent* event) {
    switch (type) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        FArmed = type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton ? image.image
                                                                                       : nullptr;
        image.mouseDown(mouse->button(), mouse->modifiers());
        return true;
      }
      case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const bool click = mouse->button() == Qt::LeftButton && FArmed == image.image &&
                           image.image->rect().contains(mouse->position().toPoint());
        if (mouse->button() == Qt::LeftButton) FArmed = nullptr;
        if (click) image.click();
        return true;
      }
      case QEvent::ContextMenu:
        return true;
      default:
        return false;
    }
  }

  std::vector<TImage> FImages;
  QWidget* FToolBar;
  std::function<void()> FToolBarDblClick;
  std::vector<QWidget*> FStatusBar;
  std::function<void()> FStatusBarDblClick;
  QLabel* FArmed = nullptr;  // the image a left press went to
};

}  // namespace

void TfoMAIN::ConnectExtras() {
  connect(sbSwFormStyle, &QToolButton::clicked, this, [this] { sbSwFormStyleClick(); });
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
  new TExtrasFilter(
      this,
      {{imgHelp,
        [this](Qt::MouseButton button, Qt::KeyboardModifiers) { imgHelpMouseDown(button); },
        [this] { imgHelpClick(); }},
       {imgVersion,
        [this](Qt::MouseButton button, Qt::KeyboardModifiers shift) {
          imgVersionMouseDown(button, shift);
        },
        [this] { imgVersionClick(); }}},
      GradationExprs1, [this] { GradationExprs1DblClick(); }, {sb, sbPanel0, sbPanel1},
      [this] { sbDblClick(); });
}

void TfoMAIN::ActivateGradients() {
  for (TGradationExprs* panel :
       {GradationExprs1, GradationExprs2, GradationExprs3, GradationExprs4, GradationExprs5})
    panel->SetActive(true);
}

// Stay-on-top and back. The window system takes the new style only with a
// new native window, so the window is shown again; the first-show work does
// not run twice.
void TfoMAIN::sbSwFormStyleClick() {
  const bool onTop = !windowFlags().testFlag(Qt::WindowStaysOnTopHint);
  const bool shown = isVisible();
  setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
  if (shown) show();
  if (onTop) {
    sbSwFormStyle->setText(FromSjis(cp932::Sjis("通常表示")));
    sbSwFormStyle->setIcon(QIcon(img2->pixmap()));
    SetHint(sbSwFormStyle, cp932::Sjis("ウィンドを最前面の固定表示\r→通常表示に戻します"));
  } else {
    sbSwFormStyle->setText(FromSjis(cp932::Sjis("前面表示")));
    sbSwFormStyle->setIcon(QIcon(img3->pixmap()));
    SetHint(sbSwFormStyle, cp932::Sjis("ウィンドを最前面に固定します"));
  }
}

// The help document beside the executable, or where an install keeps
// documentation (<prefix>/share/doc/tavrin beside <prefix>/bin), opened with
// the desktop's viewer.
void TfoMAIN::imgHelpClick() {
  const std::string beside = ProgramFileWithExtension(".pdf");
  const std::string installed =
      ProgramFolder() + "../share/doc/tavrin/" + FileNameOf(beside);
  std::error_code error;
  const std::string help = std::filesystem::is_regular_file(beside, error) ||
                                   !std::filesystem::is_regular_file(installed, error)
                               ? beside
                               : installed;
  if (!std::filesystem::is_regular_file(help, error)) {
    InformationDialog(cp932::FromUtf8(FileNameOf(help)).bytes + cp932::Sjis(" が見つかりません"));
    return;
  }
  WaitCursorGuard wait;
  try {
    if (!OpenWithShell(this, help))
      InformationDialog(HelpViewerMissingMessage(help));
  } catch (const std::filesystem::filesystem_error& e) {
    ErrorDialog(cp932::FromUtf8(e.what()).bytes);
  }
}

void TfoMAIN::imgVersionClick() { ShowVersionDialog("v1.00A", "2019-0823", "2019-0426"); }

// Ctrl + right button switches debug mode.
void TfoMAIN::imgVersionMouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift) {
  if (Button != Qt::RightButton || !Shift.testFlag(Qt::ControlModifier)) return;
  if (!ConfirmDialog("Debug mode change\rOK?")) return;
  FDebug = !FDebug;
  WarningDialog(FDebug ? "FDebug = 1" : "FDebug = 0");
}

// The right button copies the diagnostics text for support.
void TfoMAIN::imgHelpMouseDown(Qt::MouseButton Button) {
  if (Button != Qt::RightButton) return;
  if (!ConfirmDialog(
          cp932::Sjis("Tavrinの動作情報をクリップボードにコピーします\rよろしいですか？")))
    return;
  WriteClipboardText(DiagnosticsText(GatherDiagnostics(ProgramFolder(), AccIni1->FileName())));
  InformationDialog(cp932::Sjis("Tavrinの動作情報をクリップボードにコピーしました"));
}

// The total of the listed counts, read back from the count cells, in the
// caption. 64 bits: the counts of a million rows may pass the 32-bit range.
void TfoMAIN::GradationExprs1DblClick() {
  std::int64_t sum = 0;
  for (int row = 0; row < FModel->Count(); ++row) sum += ParseInteger(FModel->CountText(row));
  setWindowTitle(QString::number(sum));
}

void TfoMAIN::sbDblClick() {
  if (!FDebug) return;
  const bool visible = Button1->isHidden();
  for (QWidget* control : std::initializer_list<QWidget*>{Button1, Button2, Memo1})
    control->setVisible(visible);
}

// The developers' test file beside the program folder becomes the input
// lines and the clipboard text, so that the next command works on it.
void TfoMAIN::Button1Click() {
  const std::string path = ProgramFolder() + "../TST.txt";
  std::optional<std::string> text = ReadRegularFile(path);
  if (!text) {
    ErrorDialog(cp932::FromUtf8(path).bytes + cp932::Sjis(" を読み込めません"));
    return;
  }
  FLines = TClipboardLines::Split(std::move(*text));
  std::string joined;
  for (std::size_t i = 0; i < FLines.size(); ++i) joined.append(FLines[i]).append("\r\n");
  WriteClipboardText(joined);
}

// The groups of the last build, one display key a line.
void TfoMAIN::Button2Click() {
  TUpdatesSuspended suspended(Memo1);
  Memo1->clear();
  if (!FUniqueManager) return;
  QStringList lines;
  for (const TUniqueItem* item : FUniqueManager->SameList())
    lines << FromSjis(FUniqueManager->DisplayKey(*item));
  Memo1->setPlainText(lines.join(QLatin1Char('\n')));
}

}  // namespace tavrin
