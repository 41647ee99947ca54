#include "settings/ini_file.h"

#include <cctype>
#include <optional>
#include <vector>

#include "settings/ini_text.h"
#include "util/cp932.h"
#include "util/error.h"
#include "util/os.h"
#include "util/paths.h"

namespace tavrin {

bool RewriteInPlace(const std::string& path, std::string_view bytes) {
  return os::RewriteInPlace(path, bytes);
}

bool IsOwnTemporaryName(std::string_view name, std::string_view fileName) {
  constexpr std::string_view kTmp = ".tmp";
  if (name.size() != fileName.size() + kTmp.size() + 6) return false;
  if (name.substr(0, fileName.size()) != fileName) return false;
  if (name.substr(fileName.size(), kTmp.size()) != kTmp) return false;
  for (char c : name.substr(fileName.size() + kTmp.size()))
    if (!std::isalnum(static_cast<unsigned char>(c))) return false;
  return true;
}

void RemoveLeftoverTemporaries(const std::string& path) {
  const std::string target = os::WriteTarget(path);
  const std::string folder = FolderOf(target);
  const std::string fileName = FileNameOf(target);
  const std::string prefix = folder.empty() ? std::string() : WithTrailingDelimiter(folder);
  for (const std::string& name : os::FolderNames(folder).value_or(std::vector<std::string>{})) {
    // Only regular files of this user: never a link, a folder or another's file.
    if (IsOwnTemporaryName(name, fileName) && os::IsOwnRegularFile(prefix + name))
      os::RemoveFile(prefix + name);
  }
}

bool CreateMissingFolders(const std::string& path) {
  const std::string folder = FolderOf(path);
  if (folder.empty() || folder == path || os::KindOf(folder) != os::FileKind::Missing) return false;
  CreateMissingFolders(folder);
  return os::MakeFolder(folder);
}

bool ReplaceFileAtomically(const std::string& path, std::string_view bytes) {
  return os::ReplaceRegularFile(os::WriteTarget(path), bytes);
}

IniFile::IniFile(std::string path, Writes writes)
    : path_(std::move(path)),
      text_(IniTextOfFile(os::ReadRegularFile(path_).value_or(std::string()))),
      writes_(writes) {}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view def) const {
  std::optional<std::string> value = FindIniValue(text_, section, key);
  return value ? std::move(*value) : std::string(def);
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  pending_.push_back({std::string(section), std::string(key), std::string(value)});
  if (writes_ == Writes::Immediate) Flush();
}

void IniFile::Flush() {
  if (pending_.empty()) return;
  std::string text = SetIniValues(text_, pending_);
  // A folder removed while the program ran (the user's settings folder
  // cleaned away) is made again: the settings go back where they were read.
  if (!ReplaceFileAtomically(path_, text) &&
      !(CreateMissingFolders(path_) && ReplaceFileAtomically(path_, text))) {
    pending_.clear();
    throw EError(cp932::FromUtf8(path_).bytes + cp932::Sjis(" に書き込めません"));
  }
  text_ = std::move(text);
  pending_.clear();
}

}  // namespace tavrin
