#include "util/files.h"

#include <sys/stat.h>
#include <sys/statvfs.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <optional>
#include <system_error>

#include "util/paths.h"

namespace tavrin {
namespace {

DateTime LocalDateTime(std::time_t t) {
  std::tm tm{};
  localtime_r(&t, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::size_t Utf8Length(std::string_view s, std::size_t i) {
  std::size_t n = 1;
  while (i + n < s.size() && (static_cast<unsigned char>(s[i + n]) & 0xC0) == 0x80) ++n;
  return n;
}

bool HasWildcard(std::string_view s) { return s.find_first_of("*?") != std::string_view::npos; }

// The names in a folder, in byte order; empty when it cannot be read.
std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder.empty() ? "." : folder, error), end; !error && it != end;
       it.increment(error))
    names.push_back(it->path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::optional<std::time_t> ModificationTime(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  return st.st_mtime;
}

}  // namespace

DateTime LocalNow() { return LocalDateTime(std::time(nullptr)); }

DateTime FileTimestamp(std::string_view path) {
  std::optional<std::time_t> time;
  const std::string name = FileNameOf(path);
  if (!HasWildcard(name)) {
    time = ModificationTime(std::string(path));
  } else {
    const std::string folder = FolderOf(path);
    const std::string prefix = folder.empty() ? std::string() : WithTrailingDelimiter(folder);
    for (const std::string& entry : FolderNames(folder)) {
      if (MatchesMask(entry, name) && (time = ModificationTime(prefix + entry))) break;
    }
  }
  if (!time) return LocalNow();
  DateTime t = LocalDateTime(*time);
  t.second -= t.second % 2;
  return t;
}

bool MatchesMask(std::string_view name, std::string_view mask) {
  // Greedy match that returns to the last "*" on a mismatch.
  std::size_t n = 0, m = 0;
  std::size_t starMask = std::string_view::npos, starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == '*') {
      starMask = m++, starName = n;
    } else if (m < mask.size() && mask[m] == '?') {
      ++m, n += Utf8Length(name, n);
    } else if (m < mask.size() && mask[m] == name[n]) {
      ++m, ++n;
    } else if (starMask != std::string_view::npos) {
      m = starMask + 1, n = starName += Utf8Length(name, starName);
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

std::vector<std::string> ListFiles(std::string_view folder, std::string_view mask) {
  const std::string prefix = WithTrailingDelimiter(folder);
  std::vector<std::string> files;
  for (const std::string& name : FolderNames(prefix)) {
    if (name.empty() || name == "." || name == ".." || !MatchesMask(name, mask)) continue;
    std::error_code error;
    if (std::filesystem::is_regular_file(prefix + name, error)) files.push_back(prefix + name);
  }
  return files;
}

std::int64_t DiskFreeBytes(std::string_view path) {
  std::string p(path);
  while (!p.empty()) {
    struct statvfs fs;
    if (::statvfs(p.c_str(), &fs) == 0) {
      const unsigned long long bytes = static_cast<unsigned long long>(fs.f_bavail) * fs.f_frsize;
      return static_cast<std::int64_t>(
          std::min<unsigned long long>(bytes, std::numeric_limits<std::int64_t>::max()));
    }
    if (errno != ENOENT && errno != ENOTDIR) return -1;
    std::string parent = FolderOf(p);
    if (parent == p || (parent.empty() && p == ".")) return -1;
    p = parent.empty() ? std::string(1, '.') : std::move(parent);
  }
  return -1;
}

std::optional<std::string> ReadRegularFile(const std::string& path) {
  std::error_code error;
  if (path.empty() || !std::filesystem::is_regular_file(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return text;
}

}  // namespace tavrin
