#pragma once
// The Win32 program: common controls, message boxes, the settings file's
// place, the main window and the message loop with its key preview.
#include <optional>
#include <string>

namespace tavrin {

// The settings file of a copy installed under %LOCALAPPDATA%\Programs or
// Program Files: %APPDATA%\Tavrin\tavrin.ini (UTF-8 path). Nothing for a
// copy anywhere else, which keeps its file beside itself.
std::optional<std::string> InstalledSettingsFile(const std::wstring& exe);

int RunProgram(int showCommand);

}  // namespace tavrin
