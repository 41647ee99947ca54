#pragma once
// Two small routines between controls and the program's state.
#include <Qt>
#include <functional>

class QWidget;
class QWindow;

namespace tavrin {

enum class TransferDirection { ToVariable, ToControl };

// ToVariable: a check box's tick goes into value. ToControl: the check box
// is ticked after value. Any other control is left alone either way.
void TransferCheckBox(QWidget* control, bool& value, TransferDirection direction);

// Lets the user move the form by dragging its client area: for a left
// button press on a window that is not maximised, the mouse grab is
// released and the window system's move starts as if the title bar had
// been grabbed. Anything else does nothing.
void DragFormByClient(QWidget* form, Qt::MouseButton button);

// The window system's move (QWindow::startSystemMove); tests replace it,
// as the offscreen platform has none. Returns the previous one; an empty
// one restores the real move.
using SystemMove = std::function<bool(QWindow& window)>;
SystemMove SetSystemMove(SystemMove move);

}  // namespace tavrin
