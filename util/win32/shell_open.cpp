#include "util/win32/shell_open.h"

#include <shellapi.h>

#include <system_error>
#include <vector>

#include "util/win32/wide.h"

namespace tavrin {

bool OpenWithShell(HWND owner, const std::string& document) {
  const std::wstring relative = Widen(document);
  // Resolved before the folder changes, so a relative path still names the
  // document the caller meant.
  const DWORD need = GetFullPathNameW(relative.c_str(), 0, nullptr, nullptr);
  if (need == 0) return false;
  std::vector<wchar_t> full(need);
  wchar_t* name = nullptr;
  if (GetFullPathNameW(relative.c_str(), need, full.data(), &name) == 0 || !name) return false;
  const std::wstring path(full.data());
  const std::wstring folder(full.data(), name);
  if (!SetCurrentDirectoryW(folder.c_str()))
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                            "SetCurrentDirectoryW");
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(owner, L"open", path.c_str(), nullptr, folder.c_str(), SW_SHOWNORMAL));
  return result > 32;
}

bool OpenInNotepad(HWND owner, const std::string& path) {
  const std::wstring quoted = L"\"" + Widen(path) + L"\"";
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(owner, L"open", L"notepad.exe", quoted.c_str(), nullptr, SW_SHOWNORMAL));
  return result > 32;
}

}  // namespace tavrin
