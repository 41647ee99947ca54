#pragma once
// The hourglass cursor while a command runs. Calls nest; the arrow returns
// when the last EndWaitCursor matches the first BeginWaitCursor. Windows
// set their cursor on WM_SETCURSOR, so a window procedure asks
// WaitCursorShown there and keeps the hourglass while it is true.
namespace tavrin {

void BeginWaitCursor();
void EndWaitCursor();
bool WaitCursorShown();

}  // namespace tavrin
