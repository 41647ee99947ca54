// The options bound to the settings file.
#include "app/qt/main_window.h"

namespace tavrin {

void TfoMAIN::BindSettings() {}
void TfoMAIN::LoadSettings() {}
void TfoMAIN::SaveSettings() {}

}  // namespace tavrin
