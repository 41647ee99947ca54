#include "settings/ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
  if (fd < 0) return false;
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

IniFile::IniFile(std::string path) : path_(std::move(path)), text_(ReadWholeFile(path_)) {}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view def) const {
  std::optional<std::string> value = FindIniValue(text_, section, key);
  return value ? std::move(*value) : std::string(def);
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  std::string text = SetIniValue(text_, section, key, value);
  if (!ReplaceFileAtomically(path_, text))
    throw EError(cp932::FromUtf8(path_).bytes + cp932::Sjis(" に書き込めません"));
  text_ = std::move(text);
}

}  // namespace tavrin
