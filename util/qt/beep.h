#pragma once
// The system message beep: the installed handler's (util/beep.h), else
// QApplication::beep(), whatever the sound.
#include "util/beep.h"

namespace tavrin {

void MessageBeep(BeepSound sound);

}  // namespace tavrin
