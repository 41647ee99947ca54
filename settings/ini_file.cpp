#include "settings/ini_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <optional>
#include <vector>

#include "settings/ini_text.h"
#include "util/cp932.h"
#include "util/error.h"

namespace tavrin {
namespace {

// The file's bytes; empty when it is missing, a folder or unreadable.
std::string ReadWholeFile(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return {};
  std::string text;
  char buffer[8192];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n < 0) text.clear();
      break;
    }
    text.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return text;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// The file a write lands in: the target of a symbolic link, else path.
std::string WriteTarget(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    if (char* real = ::realpath(path.c_str(), nullptr)) {
      std::string target(real);
      std::free(real);
      return target;
    }
  }
  return path;
}

}  // namespace

bool RewriteInPlace(const std::string& path, std::string_view bytes) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = WriteAll(fd, bytes) && ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 &&
            ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  return ok;
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
  const std::string target = WriteTarget(path);
  const std::size_t slash = target.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
  const std::string fileName = slash == std::string::npos ? target : target.substr(slash + 1);
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  while (dirent* entry = ::readdir(dir)) {
    if (!IsOwnTemporaryName(entry->d_name, fileName)) continue;
    const std::string leftover = (slash == std::string::npos ? "" : folder) + entry->d_name;
    struct stat st;
    // Only regular files of this user: never a link, a folder or another's file.
    if (::lstat(leftover.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::getuid())
      ::unlink(leftover.c_str());
  }
  ::closedir(dir);
}

bool ReplaceFileAtomically(const std::string& path, std::string_view bytes) {
  const std::string target = WriteTarget(path);
  struct stat old;
  const bool exists = ::stat(target.c_str(), &old) == 0;
  // A file marked read-only stays unwritten, as it would be written in place.
  if (exists && ::access(target.c_str(), W_OK) != 0) return false;

  std::vector<char> name(target.begin(), target.end());
  for (char c : std::string_view(".tmpXXXXXX")) name.push_back(c);
  name.push_back('\0');
  int fd = ::mkstemp(name.data());
  if (fd < 0) {
    // No new file can be made beside the target (a read-only folder): a
    // file that exists and is writable is then rewritten in place.
    return exists && (errno == EACCES || errno == EPERM || errno == EROFS) &&
           RewriteInPlace(target, bytes);
  }
  mode_t mode = 0666;
  if (exists) {
    mode = old.st_mode & 07777;
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode &= ~mask;
  }
  bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = ::rename(name.data(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(name.data());
    return false;
  }
  // Make the rename itself durable; a failure here loses nothing already written.
  std::string folder = target.substr(0, target.find_last_of('/') + 1);
  int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

IniFile::IniFile(std::string path, Writes writes)
    : path_(std::move(path)), text_(ReadWholeFile(path_)), writes_(writes) {}

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
  if (!ReplaceFileAtomically(path_, text)) {
    pending_.clear();
    throw EError(cp932::FromUtf8(path_).bytes + cp932::Sjis(" に書き込めません"));
  }
  text_ = std::move(text);
  pending_.clear();
}

}  // namespace tavrin
