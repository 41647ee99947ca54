#include "util/files.h"

#include <algorithm>
#include <optional>

#include "util/paths.h"

namespace tavrin {
namespace {

std::size_t Utf8Length(std::string_view s, std::size_t i) {
  std::size_t n = 1;
  while (i + n < s.size() && (static_cast<unsigned char>(s[i + n]) & 0xC0) == 0x80) ++n;
  return n;
}

bool HasWildcard(std::string_view s) { return s.find_first_of("*?") != std::string_view::npos; }

// The names in a folder, in byte order; empty when it cannot be read.
std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<std::string> names = os::FolderNames(folder).value_or(std::vector<std::string>{});
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

DateTime LocalNow() { return os::LocalNow(); }

DateTime FileTimestamp(std::string_view path) {
  std::optional<std::int64_t> time;
  const std::string name = FileNameOf(path);
  if (!HasWildcard(name)) {
    time = os::ModificationTime(std::string(path));
  } else {
    const std::string folder = FolderOf(path);
    const std::string prefix = folder.empty() ? std::string() : WithTrailingDelimiter(folder);
    for (const std::string& entry : FolderNames(folder)) {
      if (MatchesMask(entry, name) && (time = os::ModificationTime(prefix + entry))) break;
    }
  }
  if (!time) return LocalNow();
  DateTime t = os::LocalTime(*time);
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
    if (os::KindOf(prefix + name) == os::FileKind::Regular) files.push_back(prefix + name);
  }
  return files;
}

std::int64_t DiskFreeBytes(std::string_view path) {
  std::string p(path);
  while (!p.empty()) {
    // A path not yet created: its nearest existing folder.
    if (os::KindOf(p) != os::FileKind::Missing) return os::FreeBytes(p).value_or(-1);
    std::string parent = FolderOf(p);
    if (parent == p || (parent.empty() && p == ".")) return -1;
    p = parent.empty() ? std::string(1, '.') : std::move(parent);
  }
  return -1;
}

}  // namespace tavrin
