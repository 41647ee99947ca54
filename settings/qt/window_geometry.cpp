#include "settings/qt/window_geometry.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace tavrin {

TWindowGeometry::TWindowGeometry(QWidget* owner) : QObject(owner), owner_(owner) {
  owner_->installEventFilter(this);
}

bool TWindowGeometry::Resizable() const { return owner_->minimumSize() != owner_->maximumSize(); }

// The restored rectangle changes only while the window is in its normal
// state; maximised, it keeps the last normal bounds.
void TWindowGeometry::RefreshNormalRect() {
  if (!(owner_->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)))
    normal_ = QRect(owner_->pos(), owner_->size());
}

TFormGeometry TWindowGeometry::Current() const {
  TFormGeometry g;
  g.Maximized = owner_->isMaximized();
  const QRect current(owner_->pos(), owner_->size());
  const QRect normal = tracking_ ? normal_ : current;
  g.Left = g.Maximized ? normal.left() : current.left();
  g.Top = g.Maximized ? normal.top() : current.top();
  g.Width = Resizable() ? normal.width() : current.width();
  g.Height = Resizable() ? normal.height() : current.height();
  return WithFrame(g, kDesignFrame);
}

void TWindowGeometry::Place(const TFormGeometry& outer) {
  const TFormGeometry g = WithoutFrame(outer, kDesignFrame);
  owner_->move(g.Left, g.Top);
  owner_->resize(g.Width, g.Height);
  if (Resizable()) {
    const Qt::WindowStates state = owner_->windowState();
    owner_->setWindowState(g.Maximized ? (state | Qt::WindowMaximized)
                                       : (state & ~Qt::WindowMaximized));
  }
  // A window the user never resizes still saves its true size.
  normal_ = QRect(g.Left, g.Top, g.Width, g.Height);
  tracking_ = true;
  RefreshNormalRect();
}

std::vector<TRect> TWindowGeometry::Screens() {
  std::vector<TRect> areas;
  for (const QScreen* screen : QGuiApplication::screens()) {
    const QRect a = screen->availableGeometry();
    areas.push_back({a.left(), a.top(), a.width(), a.height()});
  }
  return areas;
}

bool TWindowGeometry::eventFilter(QObject* watched, QEvent* event) {
  if (watched == owner_ && tracking_ &&
      (event->type() == QEvent::Resize || event->type() == QEvent::Move))
    RefreshNormalRect();  // the new geometry is in place when the event arrives
  return false;
}

}  // namespace tavrin
