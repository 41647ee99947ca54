#pragma once
// The hourglass cursor while a command runs. BeginWaitCursor shows it over
// the whole application, EndWaitCursor returns to the normal arrow; the
// guard pairs them so every path out of a command, failures included,
// restores the arrow.
namespace tavrin {

void BeginWaitCursor();
void EndWaitCursor();

class WaitCursorGuard {
 public:
  WaitCursorGuard() { BeginWaitCursor(); }
  ~WaitCursorGuard() { EndWaitCursor(); }
  WaitCursorGuard(const WaitCursorGuard&) = delete;
  WaitCursorGuard& operator=(const WaitCursorGuard&) = delete;
};

}  // namespace tavrin
