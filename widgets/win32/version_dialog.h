#pragma once
// The modal version dialog TfoVersion: the logo on a black band, the
// version line, a rights notice and OK. The logo starts grey; the first
// mouse movement over OK colours it and, after a second, starts the
// animation, run whenever the dialog's message queue is idle. Enter and
// Escape close it as OK does; the title bar has no close button.
#include <windows.h>

#include <string>

namespace tavrin {

// Shows the dialog over owner with "Version " + version + "  Build:" +
// build + ", Since:" + since (CP932 text). logo: the resource (RCDATA) that
// holds the logo's bitmap file.
void ShowVersionDialog(HWND owner, const std::string& version, const std::string& build,
                       const std::string& since, int logo);

}  // namespace tavrin
