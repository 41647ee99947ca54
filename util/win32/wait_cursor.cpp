#include "util/win32/wait_cursor.h"

#include <windows.h>

namespace tavrin {
namespace {
int depth = 0;
}  // namespace

void BeginWaitCursor() {
  if (depth++ == 0) SetCursor(LoadCursorW(nullptr, IDC_WAIT));
}

void EndWaitCursor() {
  if (depth == 0) return;  // an unmatched end changes nothing
  if (--depth == 0) {
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    // Let the window under the mouse put up its own cursor again.
    POINT p;
    if (GetCursorPos(&p)) SetCursorPos(p.x, p.y);
  }
}

bool WaitCursorShown() { return depth > 0; }

}  // namespace tavrin
