#include "settings/ini_header.h"

#include <cstdio>

#include "settings/ini_file.h"
#include "util/cp932.h"
#include "util/error.h"
#include "util/os.h"
#include "util/paths.h"

namespace tavrin {

std::string IniHeaderText(std::string_view title, std::time_t created) {
  const DateTime local = os::LocalTime(static_cast<std::int64_t>(created));
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d/%02d/%02d %02d:%02d:%02d", local.year, local.month,
                local.day, local.hour, local.minute, local.second);
  std::string text = "[";
  text.append(title).append(" Environment Data File. Created @ ").append(stamp).append("]\r\n");
  text += cp932::Sjis("[注意:本ファイルを編集しないでください(動作不具合の原因となります)]");
  text += "\r\n";
  return text;
}

bool WriteIniHeader(const std::string& path, std::string_view title) {
  try {
    return ReplaceFileAtomically(path, IniHeaderText(title, std::time(nullptr)));
  } catch (...) {
    return false;
  }
}

void CreateIniFileWithHeader(const std::string& path, std::string_view title) {
  CreateFirstIniFile({path}, title);
}

std::string CreateFirstIniFile(const std::vector<std::string>& candidates, std::string_view title) {
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    const std::string& path = candidates[i];
    if (const os::FileKind kind = os::KindOf(path);
        kind != os::FileKind::Missing && kind != os::FileKind::Unknown)
      return path;
    if (i > 0) CreateMissingFolders(path);
    if (WriteIniHeader(path, title)) return path;
  }
  std::string message = cp932::Sjis("TAccIni.CreateIniFile データファイルの初期生成に失敗しました");
  for (const std::string& path : candidates) {
    message += '\r';  // apart: "\r" + string draws a false -Wrestrict from GCC 12 at -O3
    message += cp932::FromUtf8(path).bytes;
  }
  throw EError(message);
}

std::vector<std::string> DefaultIniCandidates() {
  std::vector<std::string> candidates{ProgramFileWithExtension(".ini")};
  if (std::string own = UserSettingsFile(); !own.empty()) candidates.push_back(std::move(own));
  return candidates;
}

std::string UserSettingsFile() {
  const std::string base = os::UserConfigFolder();
  if (base.empty()) return {};
  return WithTrailingDelimiter(base) + (os::kWindows ? "Tavrin\\tavrin.ini" : "tavrin/tavrin.ini");
}

}  // namespace tavrin
