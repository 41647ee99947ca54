#include "widgets/win32/ui_basics.h"

#include <commctrl.h>

#include <cstdint>
#include <vector>

#include "util/dpi.h"

namespace tavrin {

int WindowDpi(HWND window) {
  const UINT dpi = window ? GetDpiForWindow(window) : 0;
  if (dpi != 0) return int(dpi);
  HDC screen = GetDC(nullptr);
  const int d = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return d > 0 ? d : kDesignDpi;
}

int Px(HWND window, int units) { return ScaleFrom96(units, WindowDpi(window)); }

HFONT CreatePixelFont(const wchar_t* face, int pixels, int dpi, bool bold) {
  return CreateFontW(-ScaleFrom96(pixels, dpi), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                     FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                     CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

void CentreOnMonitor(HWND window, HWND anchor) {
  HMONITOR monitor = MonitorFromWindow(anchor ? anchor : window, MONITOR_DEFAULTTOPRIMARY);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(monitor, &info)) return;
  RECT r;
  GetWindowRect(window, &r);
  const POINT p = CentredIn(info.rcWork, r.right - r.left, r.bottom - r.top);
  SetWindowPos(window, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

POINT CentredIn(const RECT& area, int width, int height) {
  const auto centre = [](LONG from, LONG to, int size) {
    const LONG room = to - from;
    return size >= room ? from : from + (room - size) / 2;
  };
  return {centre(area.left, area.right, width), centre(area.top, area.bottom, height)};
}

INT_PTR RunModalDialog(HWND owner, const std::wstring& caption, DWORD style, DLGPROC proc,
                       LPARAM param) {
  // DLGTEMPLATE, then the menu, class and caption arrays (each a WORD 0 or
  // a string), no controls. The template must be DWORD-aligned.
  std::vector<std::uint32_t> storage(16 + caption.size());
  auto* t = reinterpret_cast<DLGTEMPLATE*>(storage.data());
  t->style = style;
  t->dwExtendedStyle = 0;
  t->cdit = 0;
  t->x = t->y = 0;
  t->cx = 100;
  t->cy = 50;
  auto* words = reinterpret_cast<WORD*>(t + 1);
  *words++ = 0;  // no menu
  *words++ = 0;  // the standard dialog class
  for (wchar_t c : caption) *words++ = WORD(c);
  *words++ = 0;
  return DialogBoxIndirectParamW(ProgramInstance(), t, owner, proc, param);
}

void SetChildFonts(HWND parent, HFONT font) {
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM f) -> BOOL {
        SendMessageW(child, WM_SETFONT, WPARAM(f), FALSE);
        return TRUE;
      },
      LPARAM(font));
}

HINSTANCE ProgramInstance() { return GetModuleHandleW(nullptr); }

HWND CreateOwnChild(const wchar_t* className, WNDPROC proc, UINT classStyle, HWND parent, int id,
                    void* object) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExW(ProgramInstance(), className, &wc)) {
    wc.style = classStyle;
    wc.lpfnWndProc = proc;
    wc.hInstance = ProgramInstance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = className;
    RegisterClassExW(&wc);
  }
  return CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                         parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         ProgramInstance(), object);
}

void* WindowObject(HWND window, UINT message, LPARAM l) {
  if (message == WM_NCCREATE) {
    void* object = reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
    return object;
  }
  return reinterpret_cast<void*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void DestroyOwnWindow(HWND window) {
  if (!window || !IsWindow(window)) return;
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  DestroyWindow(window);
}

void AddTextAndCountColumns(HWND list, int textWidth, int countWidth) {
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  column.fmt = LVCFMT_LEFT;
  column.cx = textWidth;
  column.pszText = const_cast<wchar_t*>(L"文字列");
  ListView_InsertColumn(list, 0, &column);
  column.fmt = LVCFMT_RIGHT;
  column.cx = countWidth;
  column.pszText = const_cast<wchar_t*>(L"個数");
  ListView_InsertColumn(list, 1, &column);
}

}  // namespace tavrin
