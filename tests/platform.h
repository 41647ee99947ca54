#pragma once
// What the tests ask of the system beyond the program's own seam, on POSIX
// and on Windows: the environment, file times, fresh folders, running a
// command line, and the separator the program's paths use.
#if defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <process.h>
#include <sys/utime.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>
#endif

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <set>
#include <string>

#if !defined(_WIN32)
extern char** environ;
#endif

namespace tavrin::test {

#if defined(_WIN32)
inline constexpr char kSeparator = '\\';
#else
inline constexpr char kSeparator = '/';
#endif

// The folder with the program's separator appended.
inline std::string InFolder(const std::filesystem::path& folder) {
  return folder.string() + kSeparator;
}

inline bool SetEnvironment(const char* name, const char* value) {
#if defined(_WIN32)
  return ::_putenv_s(name, value) == 0;
#else
  return ::setenv(name, value, 1) == 0;
#endif
}

inline void UnsetEnvironment(const char* name) {
#if defined(_WIN32)
  ::_putenv_s(name, "");
#else
  ::unsetenv(name);
#endif
}

// Every "name=value" of the environment.
inline std::multiset<std::string> Environment() {
  std::multiset<std::string> all;
#if defined(_WIN32)
  for (char** e = _environ; *e != nullptr; ++e) all.insert(*e);
#else
  for (char** e = environ; *e != nullptr; ++e) all.insert(*e);
#endif
  return all;
}

// Sets a file's access and write times; false when that fails.
inline bool SetFileTime(const std::filesystem::path& path, std::time_t t) {
#if defined(_WIN32)
  _utimbuf times{t, t};
  return ::_wutime(path.c_str(), &times) == 0;
#else
  utimbuf times{t, t};
  return ::utime(path.c_str(), &times) == 0;
#endif
}

inline std::tm LocalTm(std::time_t t) {
  std::tm local{};
#if defined(_WIN32)
  ::localtime_s(&local, &t);
#else
  ::localtime_r(&t, &local);
#endif
  return local;
}

// A new empty folder under the temporary folder, named prefix plus a unique
// tail.
inline std::string MakeTempFolder(const std::string& prefix) {
  const std::filesystem::path base = std::filesystem::temp_directory_path();
#if defined(_WIN32)
  for (unsigned n = ::GetCurrentProcessId() * 1000u;; ++n) {
    const std::filesystem::path dir = base / (prefix + std::to_string(n));
    std::error_code error;
    if (std::filesystem::create_directory(dir, error)) return dir.string();
    if (error) return {};
  }
#else
  std::string name = (base / (prefix + "XXXXXX")).string();
  return ::mkdtemp(name.data()) ? name : std::string();
#endif
}

inline bool IsSuperUser() {
#if defined(_WIN32)
  return false;
#else
  return ::geteuid() == 0;
#endif
}

inline int ProcessId() {
#if defined(_WIN32)
  return static_cast<int>(::GetCurrentProcessId());
#else
  return static_cast<int>(::getpid());
#endif
}

// Runs a command line (UTF-8) through the system's shell; its exit status,
// -1 when it did not exit normally.
inline int RunCommandLine(const std::string& command) {
#if defined(_WIN32)
  const int n = ::MultiByteToWideChar(CP_UTF8, 0, command.data(), static_cast<int>(command.size()),
                                      nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, command.data(), static_cast<int>(command.size()), wide.data(),
                        n);
  // cmd /c takes the whole line in one more pair of quotes.
  return ::_wsystem((L"\"" + wide + L"\"").c_str());
#else
  const int raw = std::system(command.c_str());
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
}

}  // namespace tavrin::test
