#include "widgets/win32/dialog_message.h"

#include <commctrl.h>

#include "util/dpi.h"
#include "util/win32/clipboard.h"
#include "util/win32/wide.h"
#include "widgets/message_layout.h"
#include "widgets/win32/ui_basics.h"

namespace tavrin {

bool TDialogMessage::Execute(HWND owner) {
  FOwner = owner;
  RunModalDialog(owner, FCaption, DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, &DialogProc,
                 reinterpret_cast<LPARAM>(this));
  return FResult;
}

INT_PTR CALLBACK TDialogMessage::DialogProc(HWND dialog, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<TDialogMessage*>(l);
    SetWindowLongPtrW(dialog, DWLP_USER, l);
    self->FormCreate(dialog);
    self->FormActivate();  // lays out before the dialog first shows
    SetFocus(self->btnYes);
    return FALSE;  // the focus is set
  }
  auto* self = reinterpret_cast<TDialogMessage*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!self) return FALSE;
  switch (message) {
    case WM_ACTIVATE:
      if (LOWORD(w) != WA_INACTIVE) self->FormActivate();
      return FALSE;
    case WM_DPICHANGED:
      self->ChangeDpi(HIWORD(w), *reinterpret_cast<const RECT*>(l));
      SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 0);
      return TRUE;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(dialog, &ps);
      self->Paint(dc);
      EndPaint(dialog, &ps);
      return TRUE;
    }
    case WM_COMMAND:
      if (HIWORD(w) != BN_CLICKED) return FALSE;
      if (LOWORD(w) == IDC_BTNYES) {
        self->FResult = true;  // btnYesClick
        EndDialog(dialog, IDOK);
      } else if (LOWORD(w) == IDC_BTNCANCEL) {
        // btnCancelClick, and Escape or the close box, which the dialog
        // manager sends as the same command: the result stays false.
        EndDialog(dialog, IDCANCEL);
      }
      return TRUE;
    case WM_DESTROY:
      self->FormDestroy();
      return FALSE;
  }
  return FALSE;
}

LRESULT CALLBACK TDialogMessage::ButtonProc(HWND button, UINT message, WPARAM w, LPARAM l, UINT_PTR,
                                            DWORD_PTR self) {
  if (message == WM_KEYDOWN && (w == 'C' || w == VK_INSERT) && GetKeyState(VK_CONTROL) < 0) {
    reinterpret_cast<TDialogMessage*>(self)->CopyText();
    return 0;
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(button, &TDialogMessage::ButtonProc, 1);
  return DefSubclassProc(button, message, w, l);
}

void TDialogMessage::CopyText() const {
  std::vector<std::string> buttons;
  if (FSingleButton)
    buttons = {"OK"};
  else
    buttons = {SjisFromWide(L"はい"), SjisFromWide(L"キャンセル")};
  WriteClipboardUnicode(FHandle,
                        WideFromSjis(MessageCopyText(SjisFromWide(FCaption), FMessages, buttons)));
}

void TDialogMessage::FormCreate(HWND dialog) {
  FHandle = dialog;
  FDpi = WindowDpi(dialog);
  const int dpi = FDpi;
  FFont = CreatePixelFont(L"Meiryo UI", 19, dpi);
  const TMessageLayout design = MessageDesign();
  const auto px = [dpi](int v) { return ScaleFrom96(v, dpi); };
  const auto make = [&](int id, const wchar_t* caption, const TRect& r, DWORD style) {
    return CreateWindowExW(0, L"BUTTON", caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style,
                           px(r.Left), px(r.Top), px(r.Width), px(r.Height), dialog,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ProgramInstance(),
                           nullptr);
  };
  btnYes = make(IDC_BTNYES, L"はい", design.Yes, BS_DEFPUSHBUTTON);
  btnCancel = make(IDC_BTNCANCEL, L"キャンセル", design.Cancel, BS_PUSHBUTTON);
  // The keys go to the focused button: there Ctrl+C is looked for.
  for (HWND button : {btnYes, btnCancel})
    SetWindowSubclass(button, &TDialogMessage::ButtonProc, 1, reinterpret_cast<DWORD_PTR>(this));
  SetChildFonts(dialog, FFont);
  MakeGlyphs();
  RECT r{0, 0, px(design.FormWidth), px(design.FormHeight)};
  AdjustWindowRectExForDpi(&r, GetWindowLongW(dialog, GWL_STYLE), FALSE,
                           GetWindowLongW(dialog, GWL_EXSTYLE), UINT(dpi));
  SetWindowPos(dialog, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
               SWP_NOMOVE | SWP_NOZORDER);
}

void TDialogMessage::MakeGlyphs() {
  const HICON old[] = {FYesGlyph, FCancelGlyph};
  const int glyph = ScaleFrom96(20, FDpi);
  FYesGlyph = CreateButtonGlyph(true, glyph);
  FCancelGlyph = CreateButtonGlyph(false, glyph);
  SendMessageW(btnYes, BM_SETIMAGE, IMAGE_ICON, LPARAM(FYesGlyph));
  SendMessageW(btnCancel, BM_SETIMAGE, IMAGE_ICON, LPARAM(FCancelGlyph));
  for (HICON g : old)
    if (g) DestroyIcon(g);
}

void TDialogMessage::FormActivate() {
  if (!FFirstActivate) return;
  FFirstActivate = false;
  Arrange();
  if (FSingleButton) {
    SetWindowTextW(btnYes, L"OK");
    ShowWindow(btnCancel, SW_HIDE);
  }
  // Centred on the monitor of the window it belongs to.
  CentreOnMonitor(FHandle, FOwner ? FOwner : GetActiveWindow());
  SetForegroundWindow(FHandle);
  InvalidateRect(FHandle, nullptr, TRUE);
}

void TDialogMessage::ChangeDpi(int dpi, const RECT& suggested) {
  FDpi = dpi > 0 ? dpi : kDesignDpi;
  HFONT old = FFont;
  FFont = CreatePixelFont(L"Meiryo UI", 19, FDpi);
  SetChildFonts(FHandle, FFont);
  DeleteObject(old);
  MakeGlyphs();
  Arrange();
  SetWindowPos(FHandle, nullptr, suggested.left, suggested.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(FHandle, nullptr, TRUE);
}

void TDialogMessage::Arrange() {
  const int dpi = FDpi;

  // Line widths in the form's font, in design pixels.
  std::vector<int> widths;
  HDC dc = GetDC(FHandle);
  HGDIOBJ old = SelectObject(dc, FFont);
  for (const std::string& line : FMessages) {
    const std::wstring text = WideFromSjis(line);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
    widths.push_back(ScaleTo96(size.cx, dpi));
  }
  SelectObject(dc, old);
  ReleaseDC(FHandle, dc);
  const TMessageLayout l = MessageLayout(widths, FSingleButton);

  const auto px = [dpi](int v) { return ScaleFrom96(v, dpi); };
  const auto place = [&](HWND control, const TRect& r) {
    SetWindowPos(control, nullptr, px(r.Left), px(r.Top), px(r.Width), px(r.Height), SWP_NOZORDER);
  };
  FTextArea = {px(l.Text.Left), px(l.Text.Top), px(l.Text.Left + l.Text.Width),
               px(l.Text.Top + l.Text.Height)};
  FLineHeight = px(l.LineHeight);
  // The layout's sizes are client sizes; the frame is this system's.
  RECT outer{0, 0, px(l.FormWidth), px(l.FormHeight)};
  AdjustWindowRectExForDpi(&outer, GetWindowLongW(FHandle, GWL_STYLE), FALSE,
                           GetWindowLongW(FHandle, GWL_EXSTYLE), UINT(dpi));
  SetWindowPos(FHandle, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOMOVE | SWP_NOZORDER);
  place(btnYes, l.Yes);
  place(btnCancel, l.Cancel);
}

void TDialogMessage::Paint(HDC dc) {
  const int dpi = FDpi;
  const TRect& p = kMessagePicture;
  DrawMessagePicture(dc,
                     RECT{ScaleFrom96(p.Left, dpi), ScaleFrom96(p.Top, dpi),
                          ScaleFrom96(p.Left + p.Width, dpi), ScaleFrom96(p.Top + p.Height, dpi)},
                     FPictureKind);
  HGDIOBJ old = SelectObject(dc, FFont);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  RECT line = FTextArea;
  for (const std::string& text : FMessages) {
    line.bottom = line.top + FLineHeight;
    const std::wstring wide = WideFromSjis(text);
    DrawTextW(dc, wide.c_str(), int(wide.size()), &line,
              (FTextCentered ? DT_CENTER : DT_LEFT) | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    line.top = line.bottom;
  }
  SelectObject(dc, old);
}

void TDialogMessage::FormDestroy() {
  DeleteObject(FFont);
  DestroyIcon(FYesGlyph);
  DestroyIcon(FCancelGlyph);
  FFont = nullptr;
  FYesGlyph = FCancelGlyph = nullptr;
}

}  // namespace tavrin
