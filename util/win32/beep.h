#pragma once
// The system message beep: the installed handler's (util/beep.h), else the
// system's MessageBeep with the sound's value.
#include "util/beep.h"

namespace tavrin {

void MessageBeep(BeepSound sound);

}  // namespace tavrin
