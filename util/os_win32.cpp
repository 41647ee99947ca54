// The operating-system seam on Windows. Every path arrives as UTF-8 and is
// widened here for the W calls; names the system gives back are narrowed to
// UTF-8 again.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// windows.h names the W call ReplaceFile by a macro; the seam has its own.
#undef ReplaceFile

#include <fcntl.h>
#include <io.h>
#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <new>

#include "util/os.h"

namespace tavrin::os {
namespace {

constexpr std::int64_t kTicksPerSecond = 10'000'000;
// Seconds from 1601-01-01 (the FILETIME epoch) to 1970-01-01.
constexpr std::int64_t kEpochDifference = 11'644'473'600;

std::wstring Widen(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n =
      ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  return wide;
}

std::string Narrow(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n,
                        nullptr, nullptr);
  return utf8;
}

DateTime FromSystemTime(const SYSTEMTIME& t) {
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

std::int64_t UnixSeconds(const FILETIME& t) {
  const std::int64_t ticks = static_cast<std::int64_t>(
      (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
  return ticks / kTicksPerSecond - kEpochDifference;
}

// A handle closed when it goes out of scope.
class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() { Close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return h_; }
  bool Close() {
    if (!Valid()) return true;
    const bool ok = ::CloseHandle(h_) != 0;
    h_ = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  HANDLE h_;
};

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

std::optional<WIN32_FILE_ATTRIBUTE_DATA> Attributes(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (path.empty() || !::GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data))
    return std::nullopt;
  return data;
}

bool IsFolder(const WIN32_FILE_ATTRIBUTE_DATA& data) {
  return data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
}

std::string FolderPart(const std::string& path) {
  return path.substr(0, path.find_last_of("\\/:") + 1);
}

// Freed blocks of a megabyte up to 8 MB kept for the next block of about
// their size, 128 MB of them in all, as the POSIX build's heap keeps freed
// memory: the C runtime's heap gives every block of half a megabyte or more
// back to the system when it is freed, so that each press of a command
// faulted in its arrays afresh, page by page. Larger blocks, and all
// blocks until TuneAllocator is called, come and go as before. The blocks
// are the system's own (aligned to its 64 KB granularity), so that a
// pointer of the C runtime's heap is told from them by its address alone
// in nearly every case.
class TKeptBlocks {
 public:
  static constexpr std::size_t kLeast = std::size_t{1} << 20, kMost = std::size_t{8} << 20,
                               kKeep = std::size_t{128} << 20;

  void Start() { FOn.store(true, std::memory_order_relaxed); }

  // A block of Size bytes or more; null when this keeper does not make it.
  void* Take(std::size_t Size) {
    if (Size < kLeast || Size > kMost || !FOn.load(std::memory_order_relaxed)) return nullptr;
    const std::size_t rounded = (Size + kGranule - 1) & ~(kGranule - 1);
    {
      TLock lock(FLock);
      // The smallest kept block that fits, but none of over twice the size.
      TBlock* best = nullptr;
      for (TBlock& b : FBlocks)
        if (b.At && !b.Used && b.Size >= rounded && b.Size <= 2 * rounded &&
            (!best || b.Size < best->Size))
          best = &b;
      if (best) {
        best->Used = true;
        FKept -= best->Size;
        return best->At;
      }
    }
    void* at = ::VirtualAlloc(nullptr, rounded, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (!at) return nullptr;
    TLock lock(FLock);
    for (TBlock& b : FBlocks)
      if (!b.At) {
        b = {at, rounded, true};
        return at;
      }
    ::VirtualFree(at, 0, MEM_RELEASE);  // no slot left: the heap makes it
    return nullptr;
  }

  // Whether Block was this keeper's: it is then kept, or given back when
  // the kept blocks would pass kKeep.
  bool Give(void* Block) {
    if ((reinterpret_cast<std::uintptr_t>(Block) & (kGranule - 1)) != 0) return false;
    void* release = nullptr;
    {
      TLock lock(FLock);
      TBlock* mine = nullptr;
      for (TBlock& b : FBlocks)
        if (b.At == Block && b.Used) mine = &b;
      if (!mine) return false;
      mine->Used = false;
      FKept += mine->Size;
      if (FKept > kKeep) {
        FKept -= mine->Size;
        release = mine->At;
        *mine = {};
      }
    }
    if (release) ::VirtualFree(release, 0, MEM_RELEASE);
    return true;
  }

 private:
  static constexpr std::size_t kGranule = 64 * 1024;
  struct TBlock {
    void* At = nullptr;
    std::size_t Size = 0;
    bool Used = false;
  };
  class TLock {
   public:
    explicit TLock(SRWLOCK& l) : FL(l) { ::AcquireSRWLockExclusive(&FL); }
    ~TLock() { ::ReleaseSRWLockExclusive(&FL); }
    TLock(const TLock&) = delete;
    TLock& operator=(const TLock&) = delete;

   private:
    SRWLOCK& FL;
  };

  SRWLOCK FLock = SRWLOCK_INIT;
  std::atomic<bool> FOn{false};
  std::size_t FKept = 0;
  TBlock FBlocks[256];
};

// Constant-initialised: allocations before main find it ready.
constinit TKeptBlocks keptBlocks;

}  // namespace

DateTime LocalTime(std::int64_t unixSeconds) {
  const std::uint64_t ticks =
      static_cast<std::uint64_t>((unixSeconds + kEpochDifference) * kTicksPerSecond);
  const FILETIME file{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  SYSTEMTIME utc{}, local{};
  if (!::FileTimeToSystemTime(&file, &utc) ||
      !::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
    return LocalNow();
  return FromSystemTime(local);
}

DateTime LocalNow() {
  SYSTEMTIME local{};
  ::GetLocalTime(&local);
  return FromSystemTime(local);
}

std::string ExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      return Narrow(path);
    }
    if (path.size() >= 32768) return {};
    path.resize(path.size() * 2);
  }
}

std::string UserConfigFolder() {
  const DWORD n = ::GetEnvironmentVariableW(L"APPDATA", nullptr, 0);
  if (n == 0) return {};
  std::wstring folder(n, L'\0');
  const DWORD got = ::GetEnvironmentVariableW(L"APPDATA", folder.data(), n);
  if (got == 0 || got >= n) return {};
  folder.resize(got);
  // Only an absolute folder: a drive's root or a network share.
  const bool absolute =
      (folder.size() >= 3 && folder[1] == L':' && (folder[2] == L'\\' || folder[2] == L'/')) ||
      (folder.size() >= 2 && folder[0] == L'\\' && folder[1] == L'\\');
  return absolute ? Narrow(folder) : std::string();
}

void TuneAllocator() { keptBlocks.Start(); }

void* AlignedAlloc(std::size_t alignment, std::size_t size) {
  return ::_aligned_malloc(size, alignment);
}

void AlignedFree(void* memory) { ::_aligned_free(memory); }

void* AllocatePages(std::size_t size) {
  return ::VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void FreePages(void* block, std::size_t) {
  if (block != nullptr) ::VirtualFree(block, 0, MEM_RELEASE);
}

// Large pages need a privilege an ordinary user lacks.
void PreferLargePages(void*, std::size_t) {}

// Windows gives an untouched page a private zeroed page at its first access,
// read or write: one fault either way, nothing to do beforehand.
void PrefaultZeroed(void*, std::size_t) {}

FileKind KindOf(const std::string& path) {
  if (const std::optional<WIN32_FILE_ATTRIBUTE_DATA> data = Attributes(path))
    return IsFolder(*data) ? FileKind::Folder : FileKind::Regular;
  const DWORD error = ::GetLastError();
  return path.empty() || error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
                 error == ERROR_INVALID_NAME
             ? FileKind::Missing
             : FileKind::Unknown;
}

std::optional<std::int64_t> ModificationTime(const std::string& path) {
  const std::optional<WIN32_FILE_ATTRIBUTE_DATA> data = Attributes(path);
  if (!data) return std::nullopt;
  return UnixSeconds(data->ftLastWriteTime);
}

std::optional<std::int64_t> FreeBytes(const std::string& path) {
  // The free space of a file's volume is that of its folder.
  const std::optional<WIN32_FILE_ATTRIBUTE_DATA> data = Attributes(path);
  std::string folder = data && !IsFolder(*data) ? FolderPart(path) : path;
  if (folder.empty()) return FreeBytes(std::string(1, '.'));
  if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
  ULARGE_INTEGER available{};
  if (!::GetDiskFreeSpaceExW(Widen(folder).c_str(), &available, nullptr, nullptr))
    return std::nullopt;
  return static_cast<std::int64_t>(
      std::min<unsigned long long>(available.QuadPart, std::numeric_limits<std::int64_t>::max()));
}

std::optional<std::vector<std::string>> FolderNames(const std::string& folder) {
  std::string pattern = folder.empty() ? std::string(".") : folder;
  if (pattern.back() != '\\' && pattern.back() != '/') pattern += '\\';
  pattern += '*';
  WIN32_FIND_DATAW found{};
  const HANDLE find = ::FindFirstFileW(Widen(pattern).c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) {
    if (::GetLastError() == ERROR_FILE_NOT_FOUND) return std::vector<std::string>{};
    return std::nullopt;
  }
  std::vector<std::string> names;
  do {
    const std::wstring_view name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(Narrow(name));
  } while (::FindNextFileW(find, &found));
  ::FindClose(find);
  return names;
}

std::optional<std::string> ReadRegularFile(const std::string& path) {
  if (path.empty()) return std::nullopt;
  // A folder cannot be opened this way; a pipe or a device can, and is told
  // apart by its type before anything is read.
  Handle file(::CreateFileW(Widen(path).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid() || ::GetFileType(file.Get()) != FILE_TYPE_DISK) return std::nullopt;
  std::string text;
  LARGE_INTEGER size{};
  if (::GetFileSizeEx(file.Get(), &size)) text.reserve(static_cast<std::size_t>(size.QuadPart));
  char buffer[65536];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr)) return std::nullopt;
    if (got == 0) break;
    text.append(buffer, got);
  }
  return text;
}

bool WriteWholeFile(const std::string& path, std::string_view bytes) {
  Handle file(::CreateFileW(Widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return false;
  const bool ok = WriteAll(file.Get(), bytes);
  return file.Close() && ok;
}

bool MakeFolder(const std::string& path) {
  return ::CreateDirectoryW(Widen(path).c_str(), nullptr) != 0;
}

bool RemoveFile(const std::string& path) { return ::DeleteFileW(Widen(path).c_str()) != 0; }

bool IsOwnRegularFile(const std::string& path) {
  // The settings folder is the user's own; a link (a reparse point) is never
  // taken for a leftover.
  const std::optional<WIN32_FILE_ATTRIBUTE_DATA> data = Attributes(path);
  return data &&
         !(data->dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
}

std::string WriteTarget(const std::string& path) { return path; }

bool RewriteInPlace(const std::string& path, std::string_view bytes) {
  Handle file(::CreateFileW(Widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid() || ::GetFileType(file.Get()) != FILE_TYPE_DISK) return false;
  bool ok =
      WriteAll(file.Get(), bytes) && ::SetEndOfFile(file.Get()) && ::FlushFileBuffers(file.Get());
  ok = file.Close() && ok;
  return ok;
}

bool ReplaceRegularFile(const std::string& target, std::string_view bytes) {
  const std::optional<WIN32_FILE_ATTRIBUTE_DATA> old = Attributes(target);
  if (old && (old->dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
    return false;

  // A fresh temporary name beside the target: CREATE_NEW never opens an
  // existing file, so a name taken meanwhile is simply passed over.
  static constexpr char kLetters[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::uint64_t seed = (static_cast<std::uint64_t>(::GetCurrentProcessId()) << 32) ^
                       ::GetTickCount64() ^ reinterpret_cast<std::uintptr_t>(&seed);
  std::wstring temporary;
  HANDLE created = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 100 && created == INVALID_HANDLE_VALUE; ++attempt) {
    std::string name = target + ".tmp";
    for (int i = 0; i < 6; ++i) {
      seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
      name += kLetters[(seed >> 33) % (sizeof kLetters - 1)];
    }
    temporary = Widen(name);
    created = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
    if (created == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS) break;
  }
  if (created == INVALID_HANDLE_VALUE) {
    // No new file can be made beside the target (a read-only folder): a
    // file that exists and is writable is then rewritten in place.
    return old && ::GetLastError() == ERROR_ACCESS_DENIED && RewriteInPlace(target, bytes);
  }
  Handle file(created);
  bool ok = WriteAll(file.Get(), bytes) && ::FlushFileBuffers(file.Get());
  ok = file.Close() && ok;
  if (ok)
    ok = ::MoveFileExW(temporary.c_str(), Widen(target).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok) {
    ::DeleteFileW(temporary.c_str());
    return false;
  }
  return true;
}

bool StandardInputOpen() {
  const HANDLE in = ::GetStdHandle(STD_INPUT_HANDLE);
  return in != nullptr && in != INVALID_HANDLE_VALUE && ::_fileno(stdin) >= 0;
}

void UseBinaryStandardStreams() {
  ::_setmode(::_fileno(stdin), _O_BINARY);
  ::_setmode(::_fileno(stdout), _O_BINARY);
  ::_setmode(::_fileno(stderr), _O_BINARY);
}

bool UserLanguageIsJapanese() {
  return PRIMARYLANGID(::GetUserDefaultUILanguage()) == LANG_JAPANESE;
}

std::FILE* OpenForReading(const std::string& path) {
  std::FILE* file = ::_wfopen(Widen(path).c_str(), L"rb");
  // The runtime calls a folder "permission denied".
  if (file == nullptr && errno == EACCES && KindOf(path) == FileKind::Folder) errno = EISDIR;
  return file;
}

int ReadError(std::FILE*, int error) { return error == EINVAL ? EBADF : error; }

int WriteError(std::FILE* stream, int error) {
  const HANDLE handle = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(stream)));
  return error == EINVAL && ::GetFileType(handle) == FILE_TYPE_PIPE ? EPIPE : error;
}

std::optional<std::size_t> RegularFileSize(std::FILE* stream) {
  const HANDLE file = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(stream)));
  LARGE_INTEGER size{};
  if (file == INVALID_HANDLE_VALUE || ::GetFileType(file) != FILE_TYPE_DISK ||
      !::GetFileSizeEx(file, &size))
    return std::nullopt;
  return static_cast<std::size_t>(size.QuadPart);
}

FileMapping::~FileMapping() {
  ::UnmapViewOfFile(data_);
  ::CloseHandle(static_cast<HANDLE>(handle_));
}

std::unique_ptr<FileMapping> MapRegularFile(std::FILE* stream) {
  const HANDLE file = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(stream)));
  LARGE_INTEGER size{};
  if (file == INVALID_HANDLE_VALUE || ::GetFileType(file) != FILE_TYPE_DISK ||
      !::GetFileSizeEx(file, &size) || size.QuadPart <= 0 ||
      static_cast<unsigned long long>(size.QuadPart) > std::numeric_limits<std::size_t>::max())
    return nullptr;
  LARGE_INTEGER at{};
  if (!::SetFilePointerEx(file, LARGE_INTEGER{}, &at, FILE_CURRENT) || at.QuadPart != 0)
    return nullptr;
  const HANDLE mapping = ::CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
  if (mapping == nullptr) return nullptr;
  const void* data = ::MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
  if (data == nullptr) {
    ::CloseHandle(mapping);
    return nullptr;
  }
  return std::make_unique<FileMapping>(static_cast<const char*>(data),
                                       static_cast<std::size_t>(size.QuadPart), mapping);
}

std::string Utf8FromWide(const wchar_t* text) { return text ? Narrow(text) : std::string(); }

bool IsConsole(std::FILE* stream) {
  const HANDLE handle = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(stream)));
  DWORD mode = 0;
  return handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode);
}

bool WriteConsoleText(std::FILE* stream, std::string_view utf8) {
  std::fflush(stream);
  const HANDLE handle = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(stream)));
  std::wstring_view wide;
  const std::wstring text = Widen(utf8);
  wide = text;
  while (!wide.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(wide.size(), 8192));
    DWORD written = 0;
    if (!::WriteConsoleW(handle, wide.data(), chunk, &written, nullptr) || written == 0)
      return false;
    wide.remove_prefix(written);
  }
  return true;
}

}  // namespace tavrin::os

// The program's operator new and delete: the kept blocks above, else the C
// runtime's heap as the library's own operators use it.
void* operator new(std::size_t size) {
  if (void* block = tavrin::os::keptBlocks.Take(size)) return block;
  for (;;) {
    if (void* block = std::malloc(size ? size : 1)) return block;
    std::new_handler handler = std::get_new_handler();
    if (!handler) throw std::bad_alloc();
    handler();
  }
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void operator delete(void* block) noexcept {
  if (block && !tavrin::os::keptBlocks.Give(block)) std::free(block);
}
void operator delete[](void* block) noexcept { ::operator delete(block); }
void operator delete(void* block, std::size_t) noexcept { ::operator delete(block); }
void operator delete[](void* block, std::size_t) noexcept { ::operator delete(block); }
