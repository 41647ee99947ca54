#include "util/paths.h"

#include "util/cp932.h"
#include "util/error.h"
#include "util/os.h"
#include "util/sjis.h"

namespace tavrin {
namespace {

constexpr std::size_t npos = std::string_view::npos;

char Separator(PathFlavour flavour) { return flavour == PathFlavour::Posix ? '/' : '\\'; }

// A delimiter that separates folders (":" only ends a drive).
bool IsSeparator(char c, PathFlavour flavour) {
  switch (flavour) {
    case PathFlavour::Windows:
      return c == '\\';
    case PathFlavour::Posix:
      return c == '/';
    case PathFlavour::WindowsUtf8:
      return c == '\\' || c == '/';
  }
  return false;
}

bool IsDelimiter(char c, PathFlavour flavour) {
  return IsSeparator(c, flavour) || (flavour != PathFlavour::Posix && c == ':');
}

// Where the characters of interest start, found by one scan from the start.
struct PathScan {
  std::size_t delimiter = npos;        // the last delimiter
  std::size_t beforeDelimiter = npos;  // the character before it
  std::size_t dot = npos;              // the last "." after it
  std::size_t lastChar = npos;
};

PathScan Scan(std::string_view path, PathFlavour flavour) {
  PathScan s;
  std::size_t previous = npos;
  for (std::size_t i = 0; i < path.size();
       previous = i, i += flavour == PathFlavour::Windows ? CharLength(path, i) : 1) {
    s.lastChar = i;
    if (IsDelimiter(path[i], flavour)) {
      s.delimiter = i, s.beforeDelimiter = previous, s.dot = npos;
    } else if (path[i] == '.') {
      s.dot = i;
    }
  }
  return s;
}

}  // namespace

std::string ExecutablePath() {
  std::string path = os::ExecutablePath();
  if (path.empty()) throw EError(cp932::Sjis("ExecutablePath 実行ファイルのパスを取得できません"));
  return path;
}

std::string ProgramFolder() { return WithTrailingDelimiter(FolderOf(ExecutablePath())); }

std::string ProgramFileWithExtension(std::string_view extension) {
  return ReplaceExtension(ExecutablePath(), extension);
}

std::string ReplaceExtension(std::string_view path, std::string_view extension,
                             PathFlavour flavour) {
  const PathScan s = Scan(path, flavour);
  return std::string(path.substr(0, s.dot)).append(extension);
}

std::string FileNameOf(std::string_view path, PathFlavour flavour) {
  const PathScan s = Scan(path, flavour);
  return std::string(s.delimiter == npos ? path : path.substr(s.delimiter + 1));
}

std::string FolderOf(std::string_view path, PathFlavour flavour) {
  const PathScan s = Scan(path, flavour);
  if (s.delimiter == npos) return {};
  std::string folder(path.substr(0, s.delimiter + 1));
  const bool keep = s.beforeDelimiter == npos || IsDelimiter(path[s.beforeDelimiter], flavour);
  if (IsSeparator(path[s.delimiter], flavour) && !keep) folder.pop_back();
  return folder;
}

std::string WithTrailingDelimiter(std::string_view path, PathFlavour flavour) {
  const PathScan s = Scan(path, flavour);
  std::string out(path);
  if (s.lastChar == npos || !IsSeparator(path[s.lastChar], flavour)) out += Separator(flavour);
  return out;
}

}  // namespace tavrin
