// Services of the window beyond the extraction workflow.
#include "app/qt/main_window.h"
#include "widgets/qt/gradation_exprs.h"

namespace tavrin {

void TfoMAIN::ActivateGradients() {
  for (TGradationExprs* panel :
       {GradationExprs1, GradationExprs2, GradationExprs3, GradationExprs4, GradationExprs5})
    panel->SetActive(true);
}
void TfoMAIN::imgHelpClick() {}

}  // namespace tavrin
