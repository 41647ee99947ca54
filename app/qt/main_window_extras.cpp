// The mouse of the window's extras: the two images, the tool bar's and the
// status bar's double-clicks, and the debug controls' buttons.
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>
#include <functional>

#include "app/qt/main_window.h"
#include "widgets/qt/gradation_exprs.h"

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

TMouseButton ButtonOf(Qt::MouseButton button) {
  return button == Qt::RightButton    ? TMouseButton::Right
         : button == Qt::MiddleButton ? TMouseButton::Middle
                                      : TMouseButton::Left;
}

}  // namespace

void TfoMAIN::ConnectExtras() {
  connect(sbSwFormStyle, &QToolButton::clicked, this, [this] { sbSwFormStyleClick(); });
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
  new TExtrasFilter(
      this,
      {{imgHelp,
        [this](Qt::MouseButton button, Qt::KeyboardModifiers) {
          imgHelpMouseDown(ButtonOf(button));
        },
        [this] { imgHelpClick(); }},
       {imgVersion,
        [this](Qt::MouseButton button, Qt::KeyboardModifiers shift) {
          imgVersionMouseDown(ButtonOf(button), ShiftOf(shift));
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

}  // namespace tavrin
