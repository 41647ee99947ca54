// TCustomContainer's files: line loading, folder loading and saving. Paths
// are this platform's (UTF-8 bytes); file contents are kept
// as bytes (Shift-JIS lines). Failures are shown, never thrown.
#include <algorithm>
#include <stdexcept>

#include "engine/char_folding.h"
#include "engine/container.h"
#include "util/cp932.h"
#include "util/files.h"
#include "util/message_lines.h"
#include "util/messages.h"
#include "util/os.h"
#include "util/paths.h"

namespace tavrin {
namespace {

const char kLoadHeading[] = "TCustomContainer.LoadFromFile Error\r\r";
const char kSaveHeading[] = "TCustomContainer.SaveToFile Error\r\r";

// A path between double quotes, for a message (the path's UTF-8 bytes shown
// as CP932 text). Appended piece by piece: a literal put before a string
// (an insert at its front) draws a false -Wrestrict from GCC 12 at -O3.
std::string Quoted(const std::string& path) {
  std::string quoted = "\"";
  quoted += cp932::FromUtf8(path).bytes;
  quoted += '"';
  return quoted;
}

bool FileExists(const std::string& path) {
  if (path.empty()) return false;
  const os::FileKind kind = os::KindOf(path);
  return kind == os::FileKind::Regular || kind == os::FileKind::Other;
}

bool DirectoryExists(const std::string& path) {
  return !path.empty() && os::KindOf(path) == os::FileKind::Folder;
}

bool SameFileName(std::string_view a, std::string_view b) {
  if constexpr (!os::kWindows) return a == b;
  const auto lower = [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [&](char x, char y) { return lower(x) == lower(y); });
}

class EFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::string ReadFile(const std::string& path) {
  if (os::KindOf(path) == os::FileKind::Folder) throw EFileError("is a folder");
  std::optional<std::string> text = os::ReadRegularFile(path);
  if (!text) throw EFileError("cannot read");
  return std::move(*text);
}

// Writes each line followed by CR LF; false when anything fails.
bool WriteLines(const std::string& path, const std::vector<std::string>& lines) {
  if (os::KindOf(path) == os::FileKind::Folder) return false;
  std::string text;
  for (const std::string& line : lines) text.append(line).append("\r\n");
  return os::WriteWholeFile(path, text);
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
    FFileLines = SplitMessageLines(ReadFile(FFileName));
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
    ErrorDialog(cp932::Sjis(kLoadHeading) + Quoted(FileName) +
                cp932::Sjis(" の読み込みに失敗しました"));
    return false;
  }
}

void TCustomContainer::LoadFromFolder(const std::vector<std::string>* Order,
                                      const std::string& Folder, const std::string& Extension) {
  Clear();
  const std::vector<std::string> files = ListFiles(Folder, "*" + Extension);
  std::vector<bool> done(files.size(), false);
  if (Order != nullptr) {
    for (const std::string& name : *Order) {
      const std::string path = WithTrailingDelimiter(Folder) + ReplaceExtension(name, Extension);
      LoadFromFile(path);
      // Names compare as the file system does: on POSIX a named file that
      // differs only in case is another file, and is loaded with the rest
      // rather than skipped; on Windows it is the same file.
      const std::string wanted = FileNameOf(path);
      for (std::size_t i = 0; i < files.size(); ++i) {
        if (SameFileName(FileNameOf(files[i]), wanted)) {
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
    ErrorDialog(cp932::Sjis(kSaveHeading) + Quoted(FileName) +
                cp932::Sjis(" の保存に失敗しました"));
}

void TCustomContainer::SaveItemToFile(const TCustomContainerItem* item) {
  const std::string path = item != nullptr ? item->GetDbFileName() : std::string();
  if (!DirectoryExists(FolderOf(path))) {
    ErrorDialog(cp932::Sjis(std::string(kSaveHeading) +
                            "_ContainerItem.GetDbFileName が有効な文字列を返しませんでした"));
    return;
  }
  FFileLines.clear();
  FFileLines.push_back(item->GetLine());
  if (!WriteLines(path, FFileLines))
    ErrorDialog(cp932::Sjis(kSaveHeading) + Quoted(item->GetDbFileName()) +
                cp932::Sjis(" の保存に失敗しました"));
}

}  // namespace tavrin
