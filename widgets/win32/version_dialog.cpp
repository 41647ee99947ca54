#include "widgets/win32/version_dialog.h"

#include <commctrl.h>

#include "util/dpi.h"
#include "util/win32/wide.h"
#include "widgets/version_form.h"
#include "widgets/win32/glyphs.h"
#include "widgets/win32/rotate_image.h"
#include "widgets/win32/ui_basics.h"

namespace tavrin {
namespace {

constexpr UINT_PTR kIdleTimer = 1;
constexpr int IDC_BTNOK = IDOK;

class TfoVersion : private IVersionView {
 public:
  TfoVersion(std::wstring line, int logo) : FLine(std::move(line)), FLogo(logo), FForm(*this) {}

  void Execute(HWND owner) {
    RunModalDialog(owner, L"Tavrin バージョン情報", DS_MODALFRAME | WS_POPUP | WS_CAPTION,
                   &DialogProc, reinterpret_cast<LPARAM>(this));
  }

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM w, LPARAM l);
  static LRESULT CALLBACK OkProc(HWND button, UINT message, WPARAM w, LPARAM l, UINT_PTR,
                                 DWORD_PTR self);
  void FormCreate(HWND dialog);
  // Fonts, glyph and sizes at FDpi.
  void Arrange();
  void Paint(HDC dc);
  void FormClose();
  int Px(int v) const { return ScaleFrom96(v, FDpi); }
  RECT Px(const TRect& r) const {
    return {Px(r.Left), Px(r.Top), Px(r.Left + r.Width), Px(r.Top + r.Height)};
  }

  // IVersionView
  std::uint32_t Clock() override { return GetTickCount(); }
  void Sleep(int ms) override { ::Sleep(DWORD(ms)); }
  void SetMonochrome(bool on) override { RotateImage1.SetMonochrome(on); }
  void SetLogoStep(bool negative, const TMatrix& m) override {
    RotateImage1.BeginUpdate();
    RotateImage1.SetNegative(negative);
    RotateImage1.SetTransform(m.m11, m.m12, m.m21, m.m22);
    RotateImage1.EndUpdate();
  }
  void Repaint() override {
    RECT band = TopBand();
    InvalidateRect(FHandle, &band, FALSE);
    UpdateWindow(FHandle);
  }
  void SetIdle(bool on) override {
    // The idle handler runs from a short timer: the modal loop of a dialog
    // offers no idle event of its own.
    if (on)
      SetTimer(FHandle, kIdleTimer, 10, nullptr);
    else if (FHandle)
      KillTimer(FHandle, kIdleTimer);
  }

  RECT TopBand() const { return Px(kVersionLayout.Band); }

  std::wstring FLine;
  int FLogo;
  TVersionForm FForm;
  TRotateImage RotateImage1;
  HWND FHandle = nullptr;
  HWND btnOK = nullptr;
  HFONT FLabelFont = nullptr, FButtonFont = nullptr;
  HICON FOkGlyph = nullptr;
  int FDpi = kDesignDpi;
};

INT_PTR CALLBACK TfoVersion::DialogProc(HWND dialog, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, l);
    auto* self = reinterpret_cast<TfoVersion*>(l);
    self->FormCreate(dialog);
    SetFocus(self->btnOK);
    return FALSE;
  }
  auto* self = reinterpret_cast<TfoVersion*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!self) return FALSE;
  switch (message) {
    case WM_ERASEBKGND:
      return TRUE;  // painting covers everything: the band never flickers
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(dialog, &ps);
      // Double-buffered: a bitmap of the area to paint, drawn whole, copied.
      HDC memory = CreateCompatibleDC(dc);
      RECT client;
      GetClientRect(dialog, &client);
      HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
      HGDIOBJ old = SelectObject(memory, bitmap);
      self->Paint(memory);
      BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
             ps.rcPaint.bottom - ps.rcPaint.top, memory, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
      SelectObject(memory, old);
      DeleteObject(bitmap);
      DeleteDC(memory);
      EndPaint(dialog, &ps);
      return TRUE;
    }
    case WM_DPICHANGED: {
      // Moved to a monitor of another density.
      const RECT* r = reinterpret_cast<const RECT*>(l);
      self->FDpi = HIWORD(w) > 0 ? HIWORD(w) : kDesignDpi;
      self->Arrange();
      SetWindowPos(dialog, nullptr, r->left, r->top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      InvalidateRect(dialog, nullptr, FALSE);
      SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 0);
      return TRUE;
    }
    case WM_TIMER:
      if (w == kIdleTimer) {
        bool done = false;
        self->FForm.AnimateLogo(done);
      }
      return TRUE;
    case WM_COMMAND:
      // OK, Enter and Escape (IDCANCEL from the dialog manager) all close.
      if (LOWORD(w) == IDOK || LOWORD(w) == IDCANCEL) {
        self->FormClose();
        EndDialog(dialog, LOWORD(w));
      }
      return TRUE;
    case WM_DESTROY:
      self->FormClose();
      RemoveWindowSubclass(self->btnOK, &OkProc, 1);
      DeleteObject(self->FLabelFont);
      DeleteObject(self->FButtonFont);
      DestroyIcon(self->FOkGlyph);
      return FALSE;
  }
  return FALSE;
}

LRESULT CALLBACK TfoVersion::OkProc(HWND button, UINT message, WPARAM w, LPARAM l, UINT_PTR,
                                    DWORD_PTR self) {
  if (message == WM_MOUSEMOVE) reinterpret_cast<TfoVersion*>(self)->FForm.btnOKMouseMove();
  return DefSubclassProc(button, message, w, l);
}

void TfoVersion::FormCreate(HWND dialog) {
  FHandle = dialog;
  FDpi = WindowDpi(dialog);
  FForm.FormCreate();
  btnOK = CreateWindowExW(0, L"BUTTON", L"OK",
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0, 0, 0, dialog,
                          reinterpret_cast<HMENU>(IDC_BTNOK), ProgramInstance(), nullptr);
  SetWindowSubclass(btnOK, &OkProc, 1, reinterpret_cast<DWORD_PTR>(this));

  // The logo: the bitmap file stored with the program, transparent where
  // it is black, grey until the mouse first moves over OK.
  if (HRSRC found =
          FindResourceW(ProgramInstance(), MAKEINTRESOURCEW(FLogo), MAKEINTRESOURCEW(10))) {
    if (HGLOBAL loaded = LoadResource(ProgramInstance(), found)) {
      const auto* data = static_cast<const std::uint8_t*>(LockResource(loaded));
      RotateImage1.BeginUpdate();
      RotateImage1.SetTransparent(true);
      RotateImage1.LoadFromBitmapFile(data, SizeofResource(ProgramInstance(), found));
      RotateImage1.SetMonochrome(true);
      RotateImage1.EndUpdate();
    }
  }
  Arrange();
  CentreOnMonitor(dialog, GetParent(dialog));
}

void TfoVersion::Arrange() {
  const HFONT oldLabel = FLabelFont, oldButton = FButtonFont;
  const HICON oldGlyph = FOkGlyph;
  FLabelFont = CreatePixelFont(L"Meiryo UI", 15, FDpi);
  FButtonFont = CreatePixelFont(L"Meiryo UI", 19, FDpi);
  const TVersionLayout& l = kVersionLayout;
  const RECT ok = Px(l.OK);
  SetWindowPos(btnOK, nullptr, ok.left, ok.top, ok.right - ok.left, ok.bottom - ok.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(btnOK, WM_SETFONT, WPARAM(FButtonFont), TRUE);
  FOkGlyph = CreateButtonGlyph(true, Px(20));
  SendMessageW(btnOK, BM_SETIMAGE, IMAGE_ICON, LPARAM(FOkGlyph));
  for (HFONT f : {oldLabel, oldButton})
    if (f) DeleteObject(f);
  if (oldGlyph) DestroyIcon(oldGlyph);
  RECT r{0, 0, Px(l.FormWidth), Px(l.FormHeight)};
  AdjustWindowRectExForDpi(&r, DWORD(GetWindowLongW(FHandle, GWL_STYLE)), FALSE,
                           DWORD(GetWindowLongW(FHandle, GWL_EXSTYLE)), UINT(FDpi));
  SetWindowPos(FHandle, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfoVersion::Paint(HDC dc) {
  RECT client;
  GetClientRect(FHandle, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  RECT panel3 = Px(kVersionLayout.Panel3);
  DrawEdge(dc, &panel3, BDR_SUNKENOUTER, BF_RECT);
  RECT panel2 = Px(kVersionLayout.Panel2);
  FillRect(dc, &panel2, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  RotateImage1.Draw(dc, TopBand());
  HGDIOBJ old = SelectObject(dc, FLabelFont);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  RECT version = Px(kVersionLayout.VersionLine);
  DrawTextW(dc, FLine.c_str(), int(FLine.size()), &version,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  RECT rights = Px(kVersionLayout.Rights);
  DrawTextW(dc, L"Copyright (C) 2019 Tavrin developers", -1, &rights,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
}

void TfoVersion::FormClose() { FForm.FormClose(); }

}  // namespace

void ShowVersionDialog(HWND owner, const std::string& version, const std::string& build,
                       const std::string& since, int logo) {
  TfoVersion dialog(WideFromSjis(VersionLine(version, build, since)), logo);
  dialog.Execute(owner);
}

}  // namespace tavrin
