#include "settings/ini_header.h"

#include <sys/stat.h>

#include "settings/ini_file.h"
#include "util/cp932.h"
#include "util/error.h"

namespace tavrin {

std::string IniHeaderText(std::string_view title, std::time_t created) {
  std::tm local{};
  ::localtime_r(&created, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y/%m/%d %H:%M:%S", &local);
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
  struct stat st;
  if (::stat(path.c_str(), &st) == 0) return;
  if (!WriteIniHeader(path, title))
    throw EError(cp932::Sjis("TAccIni.CreateIniFile データファイルの初期生成に失敗しました"));
}

}  // namespace tavrin
