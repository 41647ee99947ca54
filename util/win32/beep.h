#pragma once
// The system message beep, through one replaceable function so tests can
// count beeps. The real one is the system's MessageBeep with the sound's
// value.
#include <functional>

namespace tavrin {

enum class BeepSound {
  Default = 0,         // MessageBeep(0)
  Exclamation = 0x30,  // MessageBeep(MB_ICONEXCLAMATION)
};

void MessageBeep(BeepSound sound);

using BeepHandler = std::function<void(BeepSound)>;
// Installs a handler and returns the previous one; an empty handler
// restores the real beep.
BeepHandler SetBeepHandler(BeepHandler handler);

}  // namespace tavrin
