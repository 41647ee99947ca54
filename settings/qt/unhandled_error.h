#pragma once
// The last stop for a failure nothing else handles: the error box with the
// caption "アプリケーション エラー" and the failure's message, then exit
// code 1. main() runs the program's body through RunGuarded.
#include <functional>
#include <string>

namespace tavrin {

// Shows the error box for unhandled failures (through the modal-dialog
// seam; on standard error when there is no application object).
void ShowUnhandledError(const std::string& sjisMessage);

// Runs body and returns its exit code; a failure escaping it is shown with
// ShowUnhandledError and gives 1.
int RunGuarded(const std::function<int()>& body);

}  // namespace tavrin
