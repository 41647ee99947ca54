// Services of the window beyond the extraction workflow.
#include <filesystem>

#include "app/qt/main_window.h"
#include "util/cp932.h"
#include "util/messages.h"
#include "util/paths.h"
#include "util/qt/shell_open.h"
#include "util/qt/wait_cursor.h"
#include "widgets/qt/gradation_exprs.h"

namespace tavrin {

void TfoMAIN::ActivateGradients() {
  for (TGradationExprs* panel :
       {GradationExprs1, GradationExprs2, GradationExprs3, GradationExprs4, GradationExprs5})
    panel->SetActive(true);
}

// The help document beside the executable, opened with the desktop's viewer.
void TfoMAIN::imgHelpClick() {
  const std::string help = ProgramFileWithExtension(".pdf");
  std::error_code error;
  if (!std::filesystem::is_regular_file(help, error)) {
    InformationDialog(cp932::FromUtf8(FileNameOf(help)).bytes + cp932::Sjis(" が見つかりません"));
    return;
  }
  WaitCursorGuard wait;
  try {
    OpenWithShell(this, help);
  } catch (const std::filesystem::filesystem_error& e) {
    ErrorDialog(cp932::FromUtf8(e.what()).bytes);
  }
}

}  // namespace tavrin
