#include "util/qt/window_routines.h"

#include <QCheckBox>
#include <QWidget>
#include <QWindow>
#include <utility>

namespace tavrin {
namespace {
SystemMove& Move() {
  static SystemMove move;
  return move;
}
}  // namespace

void TransferCheckBox(QWidget* control, bool& value, TransferDirection direction) {
  auto* box = qobject_cast<QCheckBox*>(control);
  if (!box) return;
  if (direction == TransferDirection::ToVariable)
    value = box->isChecked();
  else
    box->setChecked(value);
}

void DragFormByClient(QWidget* form, Qt::MouseButton button) {
  if (!form || button != Qt::LeftButton) return;
  QWidget* top = form->window();
  if (top->isMaximized()) return;
  if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
  QWindow* window = top->windowHandle();
  if (!window) return;
  if (Move())
    Move()(*window);
  else
    window->startSystemMove();
}

SystemMove SetSystemMove(SystemMove move) { return std::exchange(Move(), std::move(move)); }

}  // namespace tavrin
