#include "app/win32/speed_button.h"

#include <windowsx.h>

#include <algorithm>

#include "app/main_layout.h"
#include "util/win32/wait_cursor.h"
#include "widgets/win32/gradation_exprs.h"
#include "widgets/win32/ui_basics.h"

namespace tavrin {
namespace {
constexpr wchar_t kClassName[] = L"TSpeedButton";
}  // namespace

TSpeedButton::TSpeedButton(HWND parent, int id, TGradationExprs* background)
    : FBackground(background) {
  FHandle = CreateOwnChild(kClassName, &TSpeedButton::WindowProc, CS_HREDRAW | CS_VREDRAW, parent,
                           id, this);
}

TSpeedButton::~TSpeedButton() { DestroyOwnWindow(FHandle); }

void TSpeedButton::SetCaption(const std::wstring& caption) {
  FCaption = caption;
  InvalidateRect(FHandle, nullptr, FALSE);
}

void TSpeedButton::SetGlyph(HICON glyph) {
  FGlyph = glyph;
  InvalidateRect(FHandle, nullptr, FALSE);
}

void TSpeedButton::Paint(HDC target) {
  RECT r;
  GetClientRect(FHandle, &r);
  // Drawn off screen, so the gradient under it never flickers.
  HDC dc = CreateCompatibleDC(target);
  HBITMAP bitmap = CreateCompatibleBitmap(target, r.right, r.bottom);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  if (FBackground && FBackground->HasPicture()) {
    RECT mine;
    GetWindowRect(FHandle, &mine);
    MapWindowPoints(nullptr, FBackground->Handle(), reinterpret_cast<POINT*>(&mine), 2);
    FBackground->PaintPart(dc, r, mine);
  } else {
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  }
  // An image's picture fills it; a button's sits above its caption.
  const int glyph = FCaption.empty() ? int(std::min(r.right, r.bottom)) : MainSizes(FDpi).Glyph;
  const TButtonFace face = ButtonFace(FDpi);
  const int shift = FState.Shift();
  if (FGlyph) {
    const int top = FCaption.empty() ? (r.bottom - glyph) / 2 : face.GlyphTop;
    DrawIconEx(dc, (r.right - glyph) / 2 + shift, top + shift, FGlyph, glyph, glyph, 0, nullptr,
               DI_NORMAL);
  }
  if (!FCaption.empty()) {
    HGDIOBJ oldFont = SelectObject(dc, FFont ? FFont : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    RECT text{shift, face.CaptionTop + shift, r.right + shift, r.bottom + shift};
    DrawTextW(dc, FCaption.c_str(), int(FCaption.size()), &text,
              DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);
  }
  if (const TButtonEdge edge = FState.Edge(); edge != TButtonEdge::None)
    DrawEdge(dc, &r, edge == TButtonEdge::Sunken ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  BitBlt(target, 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
  SelectObject(dc, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

void TSpeedButton::MouseDown(int button, WPARAM keys) {
  FLastButton = button;
  FLastCtrl = (keys & MK_CONTROL) != 0;
  SendMessageW(GetParent(FHandle), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(FHandle), SBN_MOUSEDOWN),
               LPARAM(FHandle));
}

LRESULT CALLBACK TSpeedButton::WindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  auto* self = static_cast<TSpeedButton*>(WindowObject(window, message, l));
  if (!self) return DefWindowProcW(window, message, w, l);
  if (message == WM_NCCREATE) self->FHandle = window;
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      self->Paint(dc);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_MOUSEMOVE: {
      if (!self->FState.Hot()) {
        TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, window, 0};
        TrackMouseEvent(&t);
      }
      RECT r;
      GetClientRect(window, &r);
      const POINT p{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
      self->Invalidate(self->FState.MouseMove(PtInRect(&r, p) != 0));
      return 0;
    }
    case WM_SETCURSOR:
      if (self->FState.ImageLike() && LOWORD(l) == HTCLIENT && !WaitCursorShown()) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    case WM_MOUSELEAVE:
      self->Invalidate(self->FState.MouseLeave());
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      self->Invalidate(self->FState.Press());
      SetCapture(window);
      self->MouseDown(0, w);
      return 0;
    case WM_RBUTTONDOWN:
      self->MouseDown(1, w);
      return 0;
    case WM_LBUTTONUP:
      if (self->FState.Down()) {
        const bool clicked = self->FState.Release();
        ReleaseCapture();
        self->Invalidate(true);
        if (clicked)
          SendMessageW(GetParent(window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), BN_CLICKED),
                       LPARAM(window));
      }
      return 0;
    case WM_CAPTURECHANGED:
      self->Invalidate(self->FState.CaptureLost());
      return 0;
  }
  return DefWindowProcW(window, message, w, l);
}

}  // namespace tavrin
