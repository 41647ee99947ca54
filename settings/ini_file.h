#pragma once
// The settings file on disk, read and written key by key as the profile
// functions do. Every write replaces the whole file atomically: the new text
// goes to a temporary file in the same folder, is flushed to disk and then
// renamed over the old file, so a crash, a full disk or a kill at any moment
// leaves either the old file or the new one.
#include <string>
#include <string_view>
#include <vector>

#include "settings/ini_text.h"

namespace tavrin {

// Writes bytes as the file at path through a temporary file and a rename.
// A file that exists keeps its permission bits; a symbolic link is followed
// and its target replaced. False when anything fails; the old file is then
// untouched and no temporary file is left behind. Anything in the file's
// place that is no regular file (a pipe, a device, a folder) is left alone.
// When no temporary file can be made in the target's folder (a read-only
// folder) but the file exists and is writable, the file is rewritten in
// place and flushed to disk instead.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes);

// Writes bytes over the existing file at path, cuts it to their length and
// flushes it to disk; false when any step fails.
bool RewriteInPlace(const std::string& path, std::string_view bytes);

// Makes the folders of path that are missing, private to the user; true
// when one was made.
bool CreateMissingFolders(const std::string& path);

// Whether name is one of the temporary names ReplaceFileAtomically makes
// for a file named fileName: fileName + ".tmp" + six letters or digits.
bool IsOwnTemporaryName(std::string_view name, std::string_view fileName);

// Removes this user's temporary files that an interrupted replacement of
// the file at path (or of a link's target) left beside it.
void RemoveLeftoverTemporaries(const std::string& path);

class IniFile {
 public:
  // path: the file's full path (UTF-8). A missing or unreadable file, or
  // anything that is no regular file (a pipe is never waited on), reads as
  // an empty one. A file an editor saved as UTF-16 or UTF-8 is read in its
  // encoding, and the first write puts it back whole in the program's
  // (IniTextOfFile).
  // Deferred: writes are kept until Flush, which replaces the file once.
  enum class Writes { Immediate, Deferred };
  explicit IniFile(std::string path, Writes writes = Writes::Immediate);

  const std::string& FileName() const { return path_; }

  // The value of (section, key), at most 2047 bytes; def when the file,
  // section or key is missing.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view def) const;

  // Sets (section, key) and replaces the file. Fails with EError
  // "<path> に書き込めません" when the file cannot be written; the file
  // and this object then keep their previous text.
  // Deferred, the value is kept and the failure comes from Flush.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  // Replaces the file with every kept write, in one write.
  void Flush();

 private:
  std::string path_;
  std::string text_;
  Writes writes_;
  std::vector<IniWrite> pending_;
};

}  // namespace tavrin
