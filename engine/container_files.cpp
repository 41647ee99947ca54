// TCustomContainer's files: line loading, folder loading and saving. Paths
// are this platform's (UTF-8 bytes, "/" delimiter); file contents are kept
// as bytes (Shift-JIS lines). Failures are shown, never thrown.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "engine/char_folding.h"
#include "engine/container.h"
#include "util/cp932.h"
#include "util/messages.h"

namespace tavrin {
namespace {

namespace fs = std::filesystem;

const char kLoadHeading[] = "TCustomContainer.LoadFromFile Error\r\r";
const char kSaveHeading[] = "TCustomContainer.SaveToFile Error\r\r";

// A path between double quotes, for a message (the path's UTF-8 bytes shown
// as CP932 text).
std::string Quoted(const std::string& path) { return "\"" + cp932::FromUtf8(path).bytes + "\""; }

bool FileExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::exists(path, ec) && !fs::is_directory(path, ec);
}

bool DirectoryExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_directory(path, ec);
}

// The path up to its last "/", without that "/" unless it is the root.
std::string FolderOf(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {};
  return path.substr(0, slash == 0 ? 1 : slash);
}

std::string FileNameOf(const std::string& path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string WithTrailingDelimiter(const std::string& path) {
  return !path.empty() && path.back() == '/' ? path : path + "/";
}

// Replaces everything from the last "." of the file name on, or appends.
std::string ReplaceExtension(const std::string& path, const std::string& extension) {
  std::size_t nameStart = path.rfind('/');
  nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
  std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot < nameStart) return path + extension;
  return path.substr(0, dot) + extension;
}

std::string UpperAscii(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

// "*" and "?" wildcards, matched against the whole name.
bool MatchesMask(std::string_view name, std::string_view mask) {
  std::size_t n = 0, m = 0, starMask = std::string_view::npos, starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && (mask[m] == '?' || mask[m] == name[n])) {
      ++n, ++m;
    } else if (m < mask.size() && mask[m] == '*') {
      starMask = m++, starName = n;
    } else if (starMask != std::string_view::npos) {
      m = starMask + 1, n = ++starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

// The files (no folders) of folder whose names match mask, as folder + "/" +
// name, in byte order of the names so that loading order is reproducible.
std::vector<std::string> ListFiles(const std::string& folder, const std::string& mask) {
  std::vector<std::string> names;
  std::error_code ec;
  const std::string base = WithTrailingDelimiter(folder);
  for (fs::directory_iterator it(base, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code typeError;
    if (it->is_directory(typeError)) continue;
    std::string name = it->path().filename().string();
    if (name.empty() || name == "." || name == ".." || !MatchesMask(name, mask)) continue;
    names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end());
  for (std::string& name : names) name = base + name;
  return names;
}

// Lines ended by CR, LF or CR LF; a final line without an end counts too.
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

class EFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::string ReadFile(const std::string& path) {
  std::error_code ec;
  if (fs::is_directory(path, ec)) throw EFileError("is a folder");
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) throw EFileError("cannot open");
  std::string text;
  char buffer[65536];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, got);
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) throw EFileError("cannot read");
  return text;
}

// Writes each line followed by CR LF; false when anything fails.
bool WriteLines(const std::string& path, const std::vector<std::string>& lines) {
  std::error_code ec;
  if (fs::is_directory(path, ec)) return false;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  bool ok = true;
  for (const std::string& line : lines) {
    ok = ok && std::fwrite(line.data(), 1, line.size(), f) == line.size();
    ok = ok && std::fwrite("\r\n", 1, 2, f) == 2;
  }
  ok = (std::fclose(f) == 0) && ok;
  return ok;
}

}  // namespace

std::unique_ptr<TCustomContainerItem> TCustomContainer::CreateItem(const std::string& line) const {
  if (FItemClass == nullptr) throw EFileError("no item class");
  std::unique_ptr<TCustomContainerItem> item = FItemClass(line);
  if (!item) throw EFileError("no item created");
  return item;
}

bool TCustomContainer::LoadFromFile(const std::string& FileName) {
  if (!FLoadMissing && !FileExists(FileName)) {
    ErrorDialog(cp932::Sjis(kLoadHeading) + Quoted(FileName) + " is not Found.");
    return false;
  }
  FFileName = FileName;
  try {
    if (FWholeFile) {
      FItems.push_back(CreateItem(FFileName));
      return true;
    }
    Clear();
    FFileLines = SplitLines(ReadFile(FFileName));
    for (const std::string& line : FFileLines) {
      std::string_view trimmed = TrimControls(line);
      if (trimmed.empty()) continue;
      std::string joined = FLinePrefix;
      joined.append(trimmed);
      joined += FLineSuffix;
      FItems.push_back(CreateItem(joined));
    }
    return true;
  } catch (const std::runtime_error&) {
    ErrorDialog(cp932::Sjis(kLoadHeading) + Quoted(FileName) + cp932::Sjis(" の読み込みに失敗しました"));
    return false;
  }
}

void TCustomContainer::LoadFromFolder(const std::vector<std::string>* Order, const std::string& Folder,
                                      const std::string& Extension) {
  Clear();
  const std::vector<std::string> files = ListFiles(Folder, "*" + Extension);
  std::vector<bool> done(files.size(), false);
  if (Order != nullptr) {
    for (const std::string& name : *Order) {
      const std::string path = WithTrailingDelimiter(Folder) + ReplaceExtension(name, Extension);
      LoadFromFile(path);
      const std::string wanted = UpperAscii(FileNameOf(path));
      for (std::size_t i = 0; i < files.size(); ++i) {
        if (UpperAscii(FileNameOf(files[i])) == wanted) {
          done[i] = true;
          break;
        }
      }
    }
  }
  for (std::size_t i = 0; i < files.size(); ++i)
    if (!done[i]) LoadFromFile(files[i]);
}

void TCustomContainer::Save() { SaveToFile(FFileName); }

void TCustomContainer::SaveToFile(const std::string& FileName) {
  const std::string folder = FolderOf(FileName);
  if (!DirectoryExists(folder)) {
    ErrorDialog(cp932::Sjis(kSaveHeading) + "DB Folder : " + Quoted(folder) + " is not Found");
    return;
  }
  if (FCallHook) ContainerHook();
  FFileLines.clear();
  for (const auto& item : FItems) FFileLines.push_back(item->GetLine());
  if (!WriteLines(FileName, FFileLines))
    ErrorDialog(cp932::Sjis(kSaveHeading) + Quoted(FileName) + cp932::Sjis(" の保存に失敗しました"));
}

void TCustomContainer::SaveItemToFile(const TCustomContainerItem* item) {
  const std::string path = item != nullptr ? item->GetDbFileName() : std::string();
  if (!DirectoryExists(FolderOf(path))) {
    ErrorDialog(cp932::Sjis(std::string(kSaveHeading) + "_ContainerItem.GetDbFileName が有効な文字列を返しませんでした"));
    return;
  }
  FFileLines.clear();
  FFileLines.push_back(item->GetLine());
  if (!WriteLines(path, FFileLines))
    ErrorDialog(cp932::Sjis(kSaveHeading) + Quoted(item->GetDbFileName()) + cp932::Sjis(" の保存に失敗しました"));
}

}  // namespace tavrin
