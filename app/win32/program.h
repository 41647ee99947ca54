#pragma once
// The Win32 program: common controls, message boxes, the settings file's
// place, the main window and the message loop with its key preview.
#include <optional>
#include <string>
#include <vector>

namespace tavrin {

// The settings file of a copy installed under %LOCALAPPDATA%\Programs or
// Program Files: %APPDATA%\Tavrin\tavrin.ini (UTF-8 path). Nothing for a
// copy anywhere else, which keeps its file beside itself.
std::optional<std::string> InstalledSettingsFile(const std::wstring& exe);

// Whether the executable lies inside one of the folders programs are
// installed in (compared without regard to case; empty folders never match).
bool IsInstalledCopy(const std::wstring& exe, const std::vector<std::wstring>& installFolders);

int RunProgram(int showCommand);

}  // namespace tavrin
