#include "widgets/win32/gradation_exprs.h"

#include <algorithm>

#include "util/cp932.h"
#include "util/messages.h"
#include "widgets/win32/ui_basics.h"

namespace tavrin {
namespace {

constexpr wchar_t kClassName[] = L"TGradationExprs";

}  // namespace

TGradationExprs::TGradationExprs(HWND parent, int id, TFillGradationMode mode)
    : FColors(std::make_unique<TGradationEngine>(static_cast<TGradationControl*>(this))) {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = &TGradationExprs::WindowProc;
    wc.hInstance = ProgramInstance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
  FColors->SetFillMode(mode);
  FHandle = CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ProgramInstance(), this);
}

TGradationExprs::~TGradationExprs() {
  if (FHandle && IsWindow(FHandle)) {
    SetWindowLongPtrW(FHandle, GWLP_USERDATA, 0);
    DestroyWindow(FHandle);
  }
}

void TGradationExprs::SetFillGradationMode(TFillGradationMode mode) {
  FColors->SetFillMode(mode);
  if (FActive) UpdateGradation();
}

void TGradationExprs::SetActive(bool on) {
  if (FColors->Count() < 2) {
    BeepWarningBox(cp932::Sjis("アクティブにする前に、Colorsを二つ以上設定せんかい！（－”－"));
    return;
  }
  FActive = on;
  if (on) {
    FActivatedOnce = true;
    UpdateGradation();
  } else {
    FColors->ClearPicture();
  }
}

void TGradationExprs::SetColorSwap(bool on) {
  if (on == FColorSwap) return;
  FColorSwap = on;
  if (FActive) UpdateGradation();
}

void TGradationExprs::UpdateGradation() {
  if (FActivatedOnce) FColors->Render();
}

void TGradationExprs::TransferToPicture(const TWorkBitmap&) {
  // The engine keeps the bitmap; painting stretches it from there.
  FHasPicture = true;
  InvalidateRect(FHandle, nullptr, FALSE);
}

void TGradationExprs::ClearPicture() {
  FHasPicture = false;
  InvalidateRect(FHandle, nullptr, TRUE);
}

int TGradationExprs::DisplayBitsPerPixel() const {
  HDC dc = GetDC(FHandle);
  const int bits = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
  ReleaseDC(FHandle, dc);
  return bits;
}

void TGradationExprs::Paint(HDC dc) {
  RECT client;
  GetClientRect(FHandle, &client);
  const TWorkBitmap& bitmap = FColors->WorkBitmap();
  if (!FHasPicture || bitmap.Width() == 0 || bitmap.Height() == 0) {
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
  RECT client;
  GetClientRect(FHandle, &client);
  const TWorkBitmap& bitmap = FColors->WorkBitmap();
  if (!FHasPicture || client.right <= 0 || client.bottom <= 0 || bitmap.Width() == 0) return;
  // The part's place in the bitmap, which is stretched over the client area.
  const int bw = bitmap.Width(), bh = bitmap.Height();
  const int x = MulDiv(part.left, bw, client.right), w = std::max(1, MulDiv(part.right - part.left, bw, client.right));
  const int y = MulDiv(part.top, bh, client.bottom), h = std::max(1, MulDiv(part.bottom - part.top, bh, client.bottom));
  const std::uint8_t* file = bitmap.FileBytes().data();
  SetStretchBltMode(dc, COLORONCOLOR);
  // Rows are stored bottom-up: the source's y counts from the bottom.
  StretchDIBits(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, x,
                bh - y - h, w, h, file + TWorkBitmap::kPixelOffset, reinterpret_cast<const BITMAPINFO*>(file + 14),
                DIB_RGB_COLORS, SRCCOPY);
}

LRESULT CALLBACK TGradationExprs::WindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<TGradationExprs*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->FHandle = window;
  }
  auto* self = reinterpret_cast<TGradationExprs*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, w, l);
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
      if (self->FMouseDownDrag) {
        // The system's own move loop, as if the caption had been pressed.
        ReleaseCapture();
        SendMessageW(GetAncestor(window, GA_ROOT), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
      }
      return 0;
    case WM_LBUTTONDBLCLK:
      SendMessageW(GetParent(window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), GN_DBLCLK), LPARAM(window));
      return 0;
  }
  return DefWindowProcW(window, message, w, l);
}

}  // namespace tavrin
