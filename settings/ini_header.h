#pragma once
// The two header lines a new settings file starts with. To the profile
// functions they are two empty sections; nothing ever reads them back.
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

// The program's title as the header names it.
inline constexpr std::string_view kApplicationTitle = "Tavrin";

// "[<title> Environment Data File. Created @ YYYY/MM/DD HH:NN:SS]" CR LF,
// with the local time of created, then the warning line and CR LF.
std::string IniHeaderText(std::string_view title, std::time_t created);

// Writes a new file at path holding exactly the header lines, stamped now.
// False when anything fails; the failure is swallowed.
bool WriteIniHeader(const std::string& path, std::string_view title);

// Creates the settings file with its header unless it exists; an existing
// file is not touched. Fails with EError
// "TAccIni.CreateIniFile データファイルの初期生成に失敗しました".
void CreateIniFileWithHeader(const std::string& path, std::string_view title);

// The first of the candidate paths that exists, or that can be created with
// its header (a fallback's missing folders made on the way). Fails with the
// CreateIniFile error, followed by every path tried on a line of its own,
// when none can.
std::string CreateFirstIniFile(const std::vector<std::string>& candidates, std::string_view title);

// The user's own settings file, "$XDG_CONFIG_HOME/tavrin/tavrin.ini", or
// "~/.config/tavrin/tavrin.ini" when that is unset or not absolute; empty
// when there is no home folder either. On Windows
// "%APPDATA%\Tavrin\tavrin.ini".
std::string UserSettingsFile();

// Where the settings file is looked for, in order (for CreateFirstIniFile):
// beside the executable with its extension replaced by ".ini" (the
// portable copy), then the user's own settings file when there is one.
std::vector<std::string> DefaultIniCandidates();

}  // namespace tavrin
