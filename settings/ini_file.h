#pragma once
// The settings file on disk, read and written key by key as the profile
// functions do. Every write replaces the whole file atomically: the new text
// goes to a temporary file in the same folder, is flushed to disk and then
// renamed over the old file, so a crash, a full disk or a kill at any moment
// leaves either the old file or the new one.
#include <string>
#include <string_view>

namespace tavrin {

// Writes bytes as the file at path through a temporary file and a rename.
// A file that exists keeps its permission bits; a symbolic link is followed
// and its target replaced. False when anything fails; the old file is then
// untouched and no temporary file is left behind.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes);

class IniFile {
 public:
  // path: the file's full path (UTF-8). A missing or unreadable file reads
  // as an empty one.
  explicit IniFile(std::string path);

  const std::string& FileName() const { return path_; }

  // The value of (section, key), at most 2047 bytes; def when the file,
  // section or key is missing.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view def) const;

  // Sets (section, key) and replaces the file. Fails with EError
  // "<path> に書き込めません" when the file cannot be written; the file
  // and this object then keep their previous text.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);

 private:
  std::string path_;
  std::string text_;
};

}  // namespace tavrin
