#include "settings/ini_header.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

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
  CreateFirstIniFile({path}, title);
}

namespace {

// Creates the folders of path that are missing, private to the user.
void CreateParentFolders(const std::string& path) {
  for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1))
    ::mkdir(path.substr(0, slash).c_str(), 0700);
}

}  // namespace

std::string CreateFirstIniFile(const std::vector<std::string>& candidates,
                               std::string_view title) {
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    const std::string& path = candidates[i];
    struct stat st;
    if (::stat(path.c_str(), &st) == 0) return path;
    if (i > 0) CreateParentFolders(path);
    if (WriteIniHeader(path, title)) return path;
  }
  std::string message = cp932::Sjis("TAccIni.CreateIniFile データファイルの初期生成に失敗しました");
  for (const std::string& path : candidates) {
    message += '\r';  // apart: "\r" + string draws a false -Wrestrict from GCC 12 at -O3
    message += cp932::FromUtf8(path).bytes;
  }
  throw EError(message);
}

std::string UserSettingsFile() {
  std::string base;
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/') {
    base = config;
  } else {
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/') {
      const passwd* user = ::getpwuid(::getuid());
      home = user ? user->pw_dir : nullptr;
    }
    if (!home || home[0] != '/') return {};
    base = std::string(home) + "/.config";
  }
  return base + "/tavrin/tavrin.ini";
}

}  // namespace tavrin
