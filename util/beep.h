#pragma once
// The system message beep goes through one replaceable handler, so tests
// can count beeps. Each window layer (qt/ or win32/) defines MessageBeep in
// its beep.h: the handler when one is installed, else the system's beep.
#include <functional>

namespace tavrin {

enum class BeepSound {
  Default = 0,         // MessageBeep(0)
  Exclamation = 0x30,  // MessageBeep(MB_ICONEXCLAMATION)
};

using BeepHandler = std::function<void(BeepSound)>;
// Installs a handler and returns the previous one; an empty handler
// restores the real beep.
BeepHandler SetBeepHandler(BeepHandler handler);

// Gives the beep to the installed handler; false when none is installed,
// and the system's beep is the caller's to sound.
bool RunBeepHandler(BeepSound sound);

}  // namespace tavrin
