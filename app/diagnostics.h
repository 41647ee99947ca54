#pragma once
// The diagnostics text the help image copies for support: where the program
// is installed, the free space there, and the settings file as it stands.
// Qt-free; the window puts the text on the clipboard.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "util/files.h"

namespace tavrin {

// What the text reports, gathered from the system or given by a test.
struct TDiagnosticsFacts {
  std::string ProgramFolder;    // UTF-8 path ending with "/"
  std::int64_t FreeBytes = -1;  // DiskFreeBytes; -1 when it cannot be queried
  DateTime IniUpdated;          // the settings file's time stamp, or the present time
  enum class TIni { Missing, Unreadable, Read } Ini = TIni::Missing;
  std::vector<std::string> IniLines;  // the file's lines as stored (CP932)
  std::string IniFile;                // UTF-8 path of the settings file in use; empty: not named
};

// Reads the facts of the program folder and the settings file (UTF-8 paths).
TDiagnosticsFacts GatherDiagnostics(const std::string& programFolder, const std::string& iniFile);

// The lines of the text, top to bottom, CP932. Where the settings file is
// (beside the program, or the user's own when that folder cannot be
// written) comes last, after an empty line, as 'Ini File path : "<path>"',
// so that the lines before keep their places.
std::vector<std::string> DiagnosticsLines(const TDiagnosticsFacts& facts);

// The lines, each ended by CR LF, the last included.
std::string DiagnosticsText(const TDiagnosticsFacts& facts);

// "YYYY/MM/DD HH:NN:SS".
std::string DiagnosticsTime(const DateTime& time);

}  // namespace tavrin
