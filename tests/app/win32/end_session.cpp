// Ends the session for the top-level windows of one class, as Windows does
// at logoff: WM_QUERYENDSESSION to each, then, when none refused,
// WM_ENDSESSION with TRUE. Exit status 0 when every window agreed, 1 when
// one refused, 2 when there was none.
//   end_session.exe CLASS
#include <windows.h>

#include <cstdio>
#include <vector>

namespace {

struct Found {
  const wchar_t* className;
  std::vector<HWND> windows;
};

BOOL CALLBACK Collect(HWND window, LPARAM data) {
  auto* found = reinterpret_cast<Found*>(data);
  wchar_t name[256];
  if (GetClassNameW(window, name, 256) > 0 && lstrcmpW(name, found->className) == 0)
    found->windows.push_back(window);
  return TRUE;
}

// The answer, or FALSE when the window did not answer within 20 s.
LRESULT Send(HWND window, UINT message, WPARAM w) {
  DWORD_PTR answer = FALSE;
  if (!SendMessageTimeoutW(window, message, w, ENDSESSION_LOGOFF, SMTO_NORMAL, 20000, &answer))
    return FALSE;
  return LRESULT(answer);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: end_session CLASS\n");
    return 2;
  }
  Found found{argv[1], {}};
  EnumWindows(&Collect, reinterpret_cast<LPARAM>(&found));
  if (found.windows.empty()) return 2;
  for (HWND window : found.windows)
    if (!Send(window, WM_QUERYENDSESSION, 0)) {
      std::fprintf(stderr, "end_session: a window refused\n");
      for (HWND other : found.windows) Send(other, WM_ENDSESSION, FALSE);
      return 1;
    }
  for (HWND window : found.windows) Send(window, WM_ENDSESSION, TRUE);
  return 0;
}
