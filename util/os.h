#pragma once
// Everything the program asks of the operating system, behind one seam:
// os_posix.cpp and os_win32.cpp implement it, and no other file of the core
// includes a system header. Paths are UTF-8 bytes on every platform; the
// Windows implementation widens them to UTF-16 at each call, so names in
// any script open whatever the ANSI code page.
#include <compare>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

// A local date and time to the second.
struct DateTime {
  int year = 0, month = 0, day = 0;  // month and day from 1
  int hour = 0, minute = 0, second = 0;
  auto operator<=>(const DateTime&) const = default;
};

namespace os {

#if defined(_WIN32)
inline constexpr bool kWindows = true;
#else
inline constexpr bool kWindows = false;
#endif

// ---- time ----

DateTime LocalNow();
// The local time of a moment given in seconds since 1970-01-01 UTC.
DateTime LocalTime(std::int64_t unixSeconds);

// ---- the program ----

// The running executable's full path; empty when the system cannot tell it.
std::string ExecutablePath();

// The folder for the user's own settings: $XDG_CONFIG_HOME (when absolute)
// or ~/.config on POSIX, %APPDATA% on Windows; empty when there is none.
std::string UserConfigFolder();

// Allocator settings for large inputs (see util/memory_setup.h).
void TuneAllocator();

// Memory aligned to alignment (a power of two dividing size); release it
// with AlignedFree. Null when there is none.
void* AlignedAlloc(std::size_t alignment, std::size_t size);
void AlignedFree(void* memory);

// A block of size zeroed bytes on pages of its own, straight from the
// system, and given back to it by FreePages: a phase's tables then leave
// nothing resident behind them, whichever thread made them. Null when
// there is none.
void* AllocatePages(std::size_t size);
void FreePages(void* block, std::size_t size);

// Makes a block that holds only zeros (fresh from calloc) resident and
// writable now. Where the system backs untouched memory with a shared zero
// page, a block read before it is written faults on each page twice: once
// at the read, again at the first write; a table of random look-ups then
// pays both for nearly every page.
void PrefaultZeroed(void* block, std::size_t size);
// Asks that the pages of a large block about to be written be large pages
// where the system offers them on request, so that filling it takes a
// fault per 2 MB instead of per 4 KB. Only a hint; nothing elsewhere.
void PreferLargePages(void* block, std::size_t size);

// Whether the user reads Japanese: on POSIX the first of LC_ALL,
// LC_MESSAGES and LANG that is set and not empty begins with "ja"; on
// Windows the user's interface language is Japanese.
bool UserLanguageIsJapanese();

// ---- files and folders ----

enum class FileKind { Missing, Regular, Folder, Other, Unknown };

// What the path names, links followed. Unknown: the system would not say
// (no permission to search a folder on the way, say).
FileKind KindOf(const std::string& path);

// Last-write time of what the path names, in seconds since 1970 UTC.
std::optional<std::int64_t> ModificationTime(const std::string& path);

// Bytes available to the user on the file system holding the existing path.
std::optional<std::int64_t> FreeBytes(const std::string& path);

// The names in a folder ("" is the current one) but "." and "..", in no
// particular order; nothing when it cannot be read.
std::optional<std::vector<std::string>> FolderNames(const std::string& folder);

// The bytes of the regular file (or link to one) the path names. The file
// is opened without blocking and its type checked before anything is read,
// so a pipe, a device or a folder gives nothing, as do a missing file and a
// read fault.
std::optional<std::string> ReadRegularFile(const std::string& path);

// Creates or empties the file and writes bytes to it; false on any failure.
bool WriteWholeFile(const std::string& path, std::string_view bytes);

// Makes one folder, private to the user where the system allows; false
// when it cannot (it may exist already).
bool MakeFolder(const std::string& path);

// Deletes a file; false when it cannot.
bool RemoveFile(const std::string& path);

// Whether the path names a regular file of this user itself (not through a
// link), which the program may remove as its own leftover.
bool IsOwnRegularFile(const std::string& path);

// ---- replacing a file ----

// The file a write to path lands in: a symbolic link's target, else path.
std::string WriteTarget(const std::string& path);

// Writes bytes as the regular file target through a temporary file
// (target + ".tmp" + six letters or digits) flushed to disk and renamed over
// it. An existing file keeps its permissions. A file marked read-only, and
// anything that is no regular file, is left alone (false). When no
// temporary file can be made beside the target but the file exists and is
// writable, it is rewritten in place instead. False when anything fails;
// the old file is then as it was and no temporary file is left.
bool ReplaceRegularFile(const std::string& target, std::string_view bytes);

// Writes bytes over the existing file, cuts it to their length and flushes
// it to disk; false when any step fails.
bool RewriteInPlace(const std::string& path, std::string_view bytes);

// ---- standard streams of a command-line program ----

// Whether standard input is open at all (a program may be started with it
// closed); ask before anything can open a file as descriptor 0.
bool StandardInputOpen();

// The standard streams carry bytes: no line-end translation.
void UseBinaryStandardStreams();

// Opens a file of any kind (a pipe too) for reading bytes; null with errno
// set when it cannot, EISDIR for a folder on every platform.
std::FILE* OpenForReading(const std::string& path);

// The errno value of a failed read from or write to stream as POSIX names
// it. Windows' runtime says EINVAL where the reader of a pipe has gone
// (EPIPE here) and for a handle that cannot be read at all (EBADF here, as
// for a standard input the program was started without under wine).
int ReadError(std::FILE* stream, int error);
int WriteError(std::FILE* stream, int error);

// The size of the regular file open as stream; nothing for a pipe or a
// terminal.
std::optional<std::size_t> RegularFileSize(std::FILE* stream);
// A regular file's bytes mapped read-only into memory, for as long as the
// object lives: read in place, no copy of them is made.
class FileMapping {
 public:
  FileMapping(const char* data, std::size_t size, void* handle)
      : data_(data), size_(size), handle_(handle) {}
  ~FileMapping();
  FileMapping(const FileMapping&) = delete;
  FileMapping& operator=(const FileMapping&) = delete;
  std::string_view Bytes() const { return {data_, size_}; }

 private:
  const char* data_;
  std::size_t size_;
  void* handle_;  // the system's mapping object, where it has one
};
// The regular file open as stream, mapped; null for an empty file, for
// anything but a regular file, for a stream already read from (not at its
// start) and when the system will not map it (the caller reads it instead).
std::unique_ptr<FileMapping> MapRegularFile(std::FILE* stream);

#if defined(_WIN32)
// A UTF-16 string of the system (an argument, say) as UTF-8.
std::string Utf8FromWide(const wchar_t* text);

// Whether the stream is a console window, which shows characters rather
// than keeping bytes.
bool IsConsole(std::FILE* stream);

// Writes UTF-8 text to a console stream as characters, whatever the
// console's code page; false when that fails.
bool WriteConsoleText(std::FILE* stream, std::string_view utf8);
#endif

}  // namespace os
}  // namespace tavrin
