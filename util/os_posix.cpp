// The operating-system seam on POSIX systems.
#include <dirent.h>
#include <fcntl.h>
#include <malloc.h>
#include <pwd.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <limits>
#include <system_error>

#include "util/os.h"

namespace tavrin::os {
namespace {

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

// The folder part of a path for a directory call ("" when it has none).
std::string FolderPart(const std::string& path) {
  return path.substr(0, path.find_last_of('/') + 1);
}

}  // namespace

DateTime LocalTime(std::int64_t unixSeconds) {
  const std::time_t t = static_cast<std::time_t>(unixSeconds);
  std::tm tm{};
  ::localtime_r(&t, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

DateTime LocalNow() { return LocalTime(static_cast<std::int64_t>(std::time(nullptr))); }

std::string ExecutablePath() {
  std::error_code error;
  std::string path = std::filesystem::read_symlink("/proc/self/exe", error).string();
  if (error) return {};
  // An executable replaced while it runs (an upgrade) reads as "<path> (deleted)";
  // the files beside it belong to the path itself.
  constexpr std::string_view kDeleted = " (deleted)";
  if (path.ends_with(kDeleted) && !std::filesystem::exists(path, error))
    path.resize(path.size() - kDeleted.size());
  return path;
}

std::string UserConfigFolder() {
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/')
    return config;
  const char* home = std::getenv("HOME");
  if (!home || home[0] != '/') {
    const passwd* user = ::getpwuid(::getuid());
    home = user ? user->pw_dir : nullptr;
  }
  if (!home || home[0] != '/') return {};
  return std::string(home) + "/.config";
}

void TuneAllocator() {
#if defined(__GLIBC__)
  // Blocks up to 8 MB from the heap, and up to 128 MB of free heap kept;
  // larger ones (the collection's arrays at millions of lines) go back to
  // the system when freed, so that one phase's arrays do not stay resident
  // beside the next one's.
  mallopt(M_MMAP_THRESHOLD, 8 << 20);
  mallopt(M_TRIM_THRESHOLD, 128 << 20);
#endif
}

void* AlignedAlloc(std::size_t alignment, std::size_t size) {
  return std::aligned_alloc(alignment, size);
}

void AlignedFree(void* memory) { std::free(memory); }

void PreferLargePages(void* block, std::size_t size) {
#if defined(MADV_HUGEPAGE)
  constexpr std::uintptr_t kLarge = std::uintptr_t{2} << 20;
  const auto start = reinterpret_cast<std::uintptr_t>(block);
  const std::uintptr_t first = (start + kLarge - 1) & ~(kLarge - 1),
                       end = (start + size) & ~(kLarge - 1);
  if (end > first) ::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#else
  (void)block, (void)size;
#endif
}

void* AllocatePages(std::size_t size) {
  void* block = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  return block == MAP_FAILED ? nullptr : block;
}

void FreePages(void* block, std::size_t size) {
  if (block != nullptr) ::munmap(block, size);
}

void PrefaultZeroed(void* block, std::size_t size) {
  const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
  const auto start = reinterpret_cast<std::uintptr_t>(block);
  const std::uintptr_t first = (start + page - 1) & ~(page - 1), end = (start + size) & ~(page - 1);
  if (end <= first) return;
#if defined(MADV_POPULATE_WRITE)
  // One call for all the pages (Linux 5.14 on).
  if (::madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE) == 0) return;
#endif
  // Else one write of a zero to each page.
  for (std::uintptr_t p = first; p < end; p += page) *reinterpret_cast<volatile char*>(p) = 0;
}

FileKind KindOf(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0)
    return errno == ENOENT || errno == ENOTDIR ? FileKind::Missing : FileKind::Unknown;
  if (S_ISREG(st.st_mode)) return FileKind::Regular;
  if (S_ISDIR(st.st_mode)) return FileKind::Folder;
  return FileKind::Other;
}

std::optional<std::int64_t> ModificationTime(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  return static_cast<std::int64_t>(st.st_mtime);
}

std::optional<std::int64_t> FreeBytes(const std::string& path) {
  struct statvfs fs;
  if (::statvfs(path.c_str(), &fs) != 0) return std::nullopt;
  const unsigned long long bytes = static_cast<unsigned long long>(fs.f_bavail) * fs.f_frsize;
  return static_cast<std::int64_t>(
      std::min<unsigned long long>(bytes, std::numeric_limits<std::int64_t>::max()));
}

std::optional<std::vector<std::string>> FolderNames(const std::string& folder) {
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return std::nullopt;
  std::vector<std::string> names;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  ::closedir(dir);
  return names;
}

std::optional<std::string> ReadRegularFile(const std::string& path) {
  if (path.empty()) return std::nullopt;
  // Without O_NONBLOCK, opening a FIFO waits for a writer.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat st;
  std::optional<std::string> text;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
    text.emplace();
    text->reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
      const ssize_t n = ::read(fd, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) text.reset();
      if (n <= 0) break;
      text->append(buffer, static_cast<std::size_t>(n));
    }
  }
  ::close(fd);
  return text;
}

bool WriteWholeFile(const std::string& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  const bool ok = WriteAll(fd, bytes);
  return (::close(fd) == 0) && ok;
}

bool MakeFolder(const std::string& path) { return ::mkdir(path.c_str(), 0700) == 0; }

bool RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool IsOwnRegularFile(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::getuid();
}

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

bool RewriteInPlace(const std::string& path, std::string_view bytes) {
  // Non-blocking, so that a FIFO in the file's place cannot hold the program.
  const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && WriteAll(fd, bytes) &&
            ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  return ok;
}

bool ReplaceRegularFile(const std::string& target, std::string_view bytes) {
  struct stat old;
  const bool exists = ::stat(target.c_str(), &old) == 0;
  // Only a regular file is replaced: a pipe or a device in its place is not
  // the settings file, and renaming over it would take its place.
  if (exists && !S_ISREG(old.st_mode)) return false;
  // A file marked read-only stays unwritten, as it would be written in place.
  if (exists && ::access(target.c_str(), W_OK) != 0) return false;

  std::vector<char> name(target.begin(), target.end());
  for (char c : std::string_view(".tmpXXXXXX")) name.push_back(c);
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
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
    const mode_t mask = ::umask(0);
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
  const std::string folder = FolderPart(target);
  const int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

bool StandardInputOpen() { return ::fcntl(0, F_GETFD) != -1; }

void UseBinaryStandardStreams() {}

bool UserLanguageIsJapanese() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && value[0] != '\0') return std::string_view(value).starts_with("ja");
  }
  return false;
}

std::FILE* OpenForReading(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  struct stat info {};
  if (file != nullptr && ::fstat(::fileno(file), &info) == 0 && S_ISDIR(info.st_mode)) {
    std::fclose(file);
    errno = EISDIR;
    return nullptr;
  }
  return file;
}

int ReadError(std::FILE*, int error) { return error; }
int WriteError(std::FILE*, int error) { return error; }

std::optional<std::size_t> RegularFileSize(std::FILE* stream) {
  struct stat info {};
  if (::fstat(::fileno(stream), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  return static_cast<std::size_t>(info.st_size);
}

FileMapping::~FileMapping() {
  (void)handle_;  // none here: the mapping outlives its descriptor by itself
  ::munmap(const_cast<char*>(data_), size_);
}

std::unique_ptr<FileMapping> MapRegularFile(std::FILE* stream) {
  struct stat info {};
  const int fd = ::fileno(stream);
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size <= 0 ||
      ::lseek(fd, 0, SEEK_CUR) != 0)
    return nullptr;
  const auto size = static_cast<std::size_t>(info.st_size);
  void* data = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
  if (data == MAP_FAILED) return nullptr;
  return std::make_unique<FileMapping>(static_cast<const char*>(data), size, nullptr);
}

}  // namespace tavrin::os
