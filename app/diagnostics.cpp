#include "app/diagnostics.h"

#include <cstdio>

#include "util/cp932.h"
#include "util/files.h"
#include "util/message_lines.h"
#include "util/os.h"
#include "util/paths.h"

namespace tavrin {
namespace {

constexpr std::int64_t kMegabyte = 1048576;

}  // namespace

TDiagnosticsFacts GatherDiagnostics(const std::string& programFolder, const std::string& iniFile) {
  TDiagnosticsFacts facts;
  facts.ProgramFolder = programFolder;
  facts.IniFile = iniFile;
  facts.FreeBytes = DiskFreeBytes(programFolder);
  const os::FileKind kind = os::KindOf(iniFile);
  const bool exists = kind == os::FileKind::Regular || kind == os::FileKind::Other;
  facts.IniUpdated = exists ? FileTimestamp(iniFile) : LocalNow();
  if (!exists) return facts;
  // An existing file that cannot be read (no permission, a read fault, a
  // pipe that would block) is told apart from a missing one instead of
  // failing or hanging the copy.
  std::optional<std::string> text = ReadRegularFile(iniFile);
  if (!text) {
    facts.Ini = TDiagnosticsFacts::TIni::Unreadable;
    return facts;
  }
  facts.Ini = TDiagnosticsFacts::TIni::Read;
  facts.IniLines = SplitMessageLines(*text);
  return facts;
}

std::string DiagnosticsTime(const DateTime& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return text;
}

std::vector<std::string> DiagnosticsLines(const TDiagnosticsFacts& facts) {
  // Truncates toward zero, so a failed query (-1) shows as 0 MB.
  const std::int64_t megabytes = facts.FreeBytes / kMegabyte;
  std::vector<std::string> lines = {
      "Install Environment -------------------------------------------------",
      "Install folder : \"" + cp932::FromUtf8(FolderOf(facts.ProgramFolder)).bytes + "\"",
      "Disk Free space : " + std::to_string(megabytes) + " MB",
      "Ini File updated : " + DiagnosticsTime(facts.IniUpdated),
      "",
      "Ini File description ------------------------------------------------",
  };
  switch (facts.Ini) {
    case TDiagnosticsFacts::TIni::Missing:
      lines.push_back("Ini File is not Found");
      break;
    case TDiagnosticsFacts::TIni::Unreadable:
      lines.push_back("Ini File cannot be read");
      break;
    case TDiagnosticsFacts::TIni::Read:
      lines.insert(lines.end(), facts.IniLines.begin(), facts.IniLines.end());
      break;
  }
  if (!facts.IniFile.empty()) {
    lines.emplace_back();
    lines.push_back("Ini File path : \"" + cp932::FromUtf8(facts.IniFile).bytes + "\"");
  }
  return lines;
}

std::string DiagnosticsText(const TDiagnosticsFacts& facts) {
  std::string text;
  for (const std::string& line : DiagnosticsLines(facts)) text += line + "\r\n";
  return text;
}

}  // namespace tavrin
