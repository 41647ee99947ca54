// Services of the window beyond the extraction workflow.
#include "app/qt/main_window.h"

namespace tavrin {

void TfoMAIN::ActivateGradients() {}
void TfoMAIN::imgHelpClick() {}

}  // namespace tavrin
