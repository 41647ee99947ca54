#include "app/win32/program.h"

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <exception>
#include <string>

#include "app/win32/main_window.h"
#include "settings/form_settings.h"
#include "util/win32/wide.h"
#include "widgets/win32/message_dialogs.h"

namespace tavrin {
namespace {

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  std::wstring result;
  if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path))) result = path;
  CoTaskMemFree(path);
  return result;
}

}  // namespace

bool IsInstalledCopy(const std::wstring& exe, const std::vector<std::wstring>& installFolders) {
  for (std::wstring folder : installFolders) {
    while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
    if (folder.empty() || exe.size() <= folder.size() + 1) continue;
    const wchar_t separator = exe[folder.size()];
    if ((separator == L'\\' || separator == L'/') &&
        CompareStringOrdinal(exe.c_str(), int(folder.size()), folder.c_str(), int(folder.size()),
                             TRUE) == CSTR_EQUAL)
      return true;
  }
  return false;
}

std::optional<std::string> InstalledSettingsFile(const std::wstring& exe) {
  const std::wstring local = KnownFolder(FOLDERID_LocalAppData);
  if (!IsInstalledCopy(
          exe, {local.empty() ? L"" : local + L"\\Programs", KnownFolder(FOLDERID_ProgramFiles),
                KnownFolder(FOLDERID_ProgramFilesX86)}))
    return std::nullopt;
  const std::wstring roaming = KnownFolder(FOLDERID_RoamingAppData);
  if (roaming.empty()) return std::nullopt;
  const std::wstring folder = roaming + L"\\Tavrin";
  CreateDirectoryW(folder.c_str(), nullptr);
  return Narrow(folder + L"\\tavrin.ini");
}

int RunProgram(int showCommand) {
  INITCOMMONCONTROLSEX icc{sizeof icc,
                           ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  InstallMessageDialogs();
  wchar_t exe[MAX_PATH * 4];
  const DWORD n = GetModuleFileNameW(nullptr, exe, DWORD(std::size(exe)));
  if (n > 0 && n < std::size(exe))
    if (std::optional<std::string> file = InstalledSettingsFile(std::wstring(exe, n)))
      TFormSettings::SetDefaultFileName(*file);
  try {
    TfoMAIN foMAIN;
    if (!foMAIN.Create(showCommand)) return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      foMAIN.PreviewKey(msg);
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    // Settings that could not be saved end in exit code 1, told or not.
    const int status = int(msg.wParam);
    return status == 0 && !foMAIN.SettingsSaved() ? 1 : status;
  } catch (const std::exception& e) {
    // The platform's box for failures no handler caught.
    MessageBoxW(nullptr, Widen(e.what()).c_str(), L"Tavrin", MB_OK | MB_ICONERROR);
    return 1;
  }
}

}  // namespace tavrin
