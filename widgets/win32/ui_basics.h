#pragma once
// Small pieces every window of the Win32 skin uses: the screen density of a
// window, fonts by pixel height, centring, and modal dialogs built from an
// empty in-memory template, their controls made in WM_INITDIALOG, so that
// the dialog manager gives Tab, Enter, Escape and Space their usual meaning.
#include <windows.h>

#include <string>

namespace tavrin {

// Dots per inch of the monitor the window is on (96 when unknown).
int WindowDpi(HWND window);
// Design pixels (96 dpi) to the window's pixels.
int Px(HWND window, int units);

// A font of the given face and pixel height (design pixels, scaled to
// dpi), Shift-JIS character set. The caller deletes it.
HFONT CreatePixelFont(const wchar_t* face, int pixels, int dpi, bool bold = false);

// Moves the window to the centre of the work area of the monitor that
// holds `anchor` (the window itself when anchor is null).
void CentreOnMonitor(HWND window, HWND anchor);
// The top left of a window of this size centred in the area; one larger
// than the area keeps its top left corner, and so its title bar, inside.
POINT CentredIn(const RECT& area, int width, int height);

// Runs a modal dialog of an empty template with the given caption and
// styles; proc builds the controls in WM_INITDIALOG, whose lParam is param.
INT_PTR RunModalDialog(HWND owner, const std::wstring& caption, DWORD style, DLGPROC proc,
                       LPARAM param);

// Sets the font of every child window.
void SetChildFonts(HWND parent, HFONT font);

// The running program's instance.
HINSTANCE ProgramInstance();

// A visible child window of the program's own class `className`, which
// the first call registers with the procedure, the class styles and the
// arrow cursor; id is its control ID, object what WindowObject gives for it.
HWND CreateOwnChild(const wchar_t* className, WNDPROC proc, UINT classStyle, HWND parent, int id,
                    void* object);
// For a window procedure: the object a window was made for (the last
// argument of CreateWindowExW), kept with the window from WM_NCCREATE on;
// null before that, and after DestroyOwnWindow.
void* WindowObject(HWND window, UINT message, LPARAM l);
// Destroys the window if it still exists; its procedure no longer reaches
// its object.
void DestroyOwnWindow(HWND window);

// The columns a report list view of counted texts has: "文字列" and the
// right-aligned "個数", widths in pixels.
void AddTextAndCountColumns(HWND list, int textWidth, int countWidth);

}  // namespace tavrin
