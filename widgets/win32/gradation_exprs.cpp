#include "widgets/win32/gradation_exprs.h"

#include <windowsx.h>

#include <cstdlib>

#include "widgets/win32/ui_basics.h"

namespace tavrin {
namespace {

constexpr wchar_t kClassName[] = L"TGradationExprs";

}  // namespace

TGradationExprs::TGradationExprs(HWND parent, int id, TFillGradationMode mode) {
  Colors().SetFillMode(mode);
  FHandle = CreateOwnChild(kClassName, &TGradationExprs::WindowProc,
                           CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, parent, id, this);
}

TGradationExprs::~TGradationExprs() { DestroyOwnWindow(FHandle); }

int TGradationExprs::DisplayBitsPerPixel() const {
  HDC dc = GetDC(FHandle);
  const int bits = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
  ReleaseDC(FHandle, dc);
  return bits;
}

void TGradationExprs::Paint(HDC dc) {
  RECT client;
  GetClientRect(FHandle, &client);
  const TWorkBitmap& bitmap = Colors().WorkBitmap();
  if (!HasPicture() || bitmap.Width() == 0 || bitmap.Height() == 0) {
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    return;
  }
  // The bitmap file's information header describes the pixels that follow.
  const std::uint8_t* file = bitmap.FileBytes().data();
  const auto* info = reinterpret_cast<const BITMAPINFO*>(file + 14);
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchDIBits(dc, 0, 0, client.right, client.bottom, 0, 0, bitmap.Width(), bitmap.Height(),
                file + TWorkBitmap::kPixelOffset, info, DIB_RGB_COLORS, SRCCOPY);
}

void TGradationExprs::PaintPart(HDC dc, const RECT& target, const RECT& part) const {
  if (!HasPicture()) return;
  RECT client;
  GetClientRect(FHandle, &client);
  const TWorkBitmap& bitmap = Colors().WorkBitmap();
  const TPixelRect from =
      StretchedPart(bitmap.Width(), bitmap.Height(), client.right, client.bottom,
                    {part.left, part.top, part.right - part.left, part.bottom - part.top});
  if (from.width == 0) return;
  const std::uint8_t* file = bitmap.FileBytes().data();
  SetStretchBltMode(dc, COLORONCOLOR);
  // Rows are stored bottom-up: the source's y counts from the bottom.
  StretchDIBits(dc, target.left, target.top, target.right - target.left, target.bottom - target.top,
                from.left, bitmap.Height() - from.top - from.height, from.width, from.height,
                file + TWorkBitmap::kPixelOffset, reinterpret_cast<const BITMAPINFO*>(file + 14),
                DIB_RGB_COLORS, SRCCOPY);
}

LRESULT CALLBACK TGradationExprs::WindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  auto* self = static_cast<TGradationExprs*>(WindowObject(window, message, l));
  if (!self) return DefWindowProcW(window, message, w, l);
  if (message == WM_NCCREATE) self->FHandle = window;
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // painting covers the whole window
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      self->Paint(dc);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN:
      // The move starts once the pointer has left the system's drag
      // distance: a click or a double-click stays one. The system's move
      // loop, begun on the press, would swallow the double-click.
      if (self->MouseDownDrag() && !IsZoomed(GetAncestor(window, GA_ROOT))) {
        self->FPressAt = {GET_X_LPARAM(l), GET_Y_LPARAM(l)};
        self->FPressed = true;
        SetCapture(window);
      }
      return 0;
    case WM_MOUSEMOVE:
      if (self->FPressed && (w & MK_LBUTTON) &&
          (std::abs(GET_X_LPARAM(l) - self->FPressAt.x) > GetSystemMetrics(SM_CXDRAG) ||
           std::abs(GET_Y_LPARAM(l) - self->FPressAt.y) > GetSystemMetrics(SM_CYDRAG))) {
        self->FPressed = false;
        ReleaseCapture();
        // The system's own move loop, as if the caption had been pressed.
        SendMessageW(GetAncestor(window, GA_ROOT), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
      }
      return 0;
    case WM_LBUTTONUP:
      if (self->FPressed) ReleaseCapture();
      self->FPressed = false;
      return 0;
    case WM_CAPTURECHANGED:
      self->FPressed = false;
      return 0;
    case WM_LBUTTONDBLCLK:
      SendMessageW(GetParent(window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), GN_DBLCLK),
                   LPARAM(window));
      return 0;
  }
  return DefWindowProcW(window, message, w, l);
}

}  // namespace tavrin
