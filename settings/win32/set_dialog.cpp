#include "settings/win32/set_dialog.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>

#include "settings/colors.h"
#include "settings/set_layout.h"
#include "util/color.h"
#include "util/dpi.h"
#include "util/win32/wide.h"
#include "widgets/win32/glyphs.h"
#include "widgets/win32/ui_basics.h"

namespace tavrin {
namespace {

enum {
  IDC_BBOK = IDOK,
  IDC_BBCANCEL = IDCANCEL,
  IDC_LVSET = 3001,
  IDC_EDITDICT = 3002,
  IDC_DICTSTATUS = 3003,
  IDC_CHB_FIRST = 3100
};

// A check box's identifier: after the first, by its row in the option table.
int BoxId(const TSetOptionRow& row) { return IDC_CHB_FIRST + int(&row - SetOptionRows().data()); }

// The room the work area of a monitor leaves the client of the dialog, in
// 96-dpi units (rounded down).
SIZE ClientRoom(HWND dialog, HMONITOR monitor, int dpi) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(monitor, &info)) return {1 << 20, 1 << 20};
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectExForDpi(&frame, DWORD(GetWindowLongW(dialog, GWL_STYLE)), FALSE,
                           DWORD(GetWindowLongW(dialog, GWL_EXSTYLE)), UINT(dpi));
  const RECT& a = info.rcWork;
  const auto units = [dpi](long px) { return int(px * kDesignDpi / dpi); };
  return {units((a.right - a.left) - (frame.right - frame.left)),
          units((a.bottom - a.top) - (frame.bottom - frame.top))};
}

class TfoSet {
 public:
  TfoSet(TSetOptionValues& options, FontValue& font, const std::vector<TSetSample>& samples,
         HIMAGELIST icons, int imageIndex, const TSetDictionary& dictionary)
      : FOptions(options),
        FFont(font),
        FSamples(samples),
        FIcons(icons),
        FImageIndex(imageIndex),
        FDictionary(dictionary) {}

  bool Execute(HWND owner) {
    FChosen = FFont;
    return RunModalDialog(owner, L"Tavrin 設定ダイアログ",
                          DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, &DialogProc,
                          reinterpret_cast<LPARAM>(this)) == IDOK;
  }

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM w, LPARAM l);
  void FormCreate(HWND dialog);
  // The controls, fonts and glyphs at the density of the monitor the
  // dialog was moved to, in the arrangement it opened with.
  void ChangeDpi(int dpi, const RECT& suggested);
  void MakeGlyphs();
  void ApplySampleFont();
  void FitCheckBoxCaptions();
  void lvSetClick();
  void Accept();
  int Px(int v) const { return ScaleFrom96(v, FDpi); }

  TSetOptionValues& FOptions;
  FontValue& FFont;
  const std::vector<TSetSample>& FSamples;
  HIMAGELIST FIcons;
  int FImageIndex;
  const TSetDictionary& FDictionary;
  FontValue FChosen;
  HWND FHandle = nullptr, lvSet = nullptr;
  HFONT FFormFont = nullptr, FSampleFont = nullptr;
  std::vector<HFONT> FSmallFonts;
  HICON FOkGlyph = nullptr, FCancelGlyph = nullptr;
  int FDpi = kDesignDpi;
  std::vector<HWND> FControls;  // in the order of ControlPlaces
};

INT_PTR CALLBACK TfoSet::DialogProc(HWND dialog, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, l);
    reinterpret_cast<TfoSet*>(l)->FormCreate(dialog);
    return TRUE;  // the first check box takes the focus
  }
  auto* self = reinterpret_cast<TfoSet*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!self) return FALSE;
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(w) == IDOK) {
        // Enter on the sample opens the font dialog, as a click does.
        if (GetFocus() == self->lvSet) {
          self->lvSetClick();
          return TRUE;
        }
        self->Accept();
        EndDialog(dialog, IDOK);
      } else if (LOWORD(w) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
      } else if (LOWORD(w) == IDC_EDITDICT && HIWORD(w) == BN_CLICKED && self->FDictionary.Edit) {
        SetDlgItemTextW(dialog, IDC_DICTSTATUS, WideFromSjis(self->FDictionary.Edit()).c_str());
      }
      return TRUE;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(l);
      if (header->idFrom != IDC_LVSET) return FALSE;
      if (header->code == NM_CLICK || header->code == LVN_COLUMNCLICK) self->lvSetClick();
      if (header->code == LVN_KEYDOWN && reinterpret_cast<NMLVKEYDOWN*>(l)->wVKey == VK_SPACE)
        self->lvSetClick();
      if (header->code == NM_CUSTOMDRAW) {
        auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(l);
        LRESULT result = CDRF_DODEFAULT;
        if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) result = CDRF_NOTIFYITEMDRAW;
        if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT)
          draw->clrText = ColourOf(self->FChosen.color);
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
        return TRUE;
      }
      return TRUE;
    }
    case WM_DPICHANGED:
      self->ChangeDpi(HIWORD(w), *reinterpret_cast<const RECT*>(l));
      SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 0);
      return TRUE;
    case WM_DESTROY:
      DeleteObject(self->FFormFont);
      DeleteObject(self->FSampleFont);
      for (HFONT f : self->FSmallFonts) DeleteObject(f);
      DestroyIcon(self->FOkGlyph);
      DestroyIcon(self->FCancelGlyph);
      return FALSE;
  }
  return FALSE;
}

void TfoSet::FormCreate(HWND dialog) {
  FHandle = dialog;
  FDpi = WindowDpi(dialog);
  FFormFont = CreatePixelFont(L"Meiryo UI", 19, FDpi);
  const SIZE room = ClientRoom(
      dialog,
      MonitorFromWindow(GetParent(dialog) ? GetParent(dialog) : dialog, MONITOR_DEFAULTTONEAREST),
      FDpi);
  const TSetLayout layout = SetDialogLayout(room.cx, room.cy);
  const std::vector<TRect> places = ControlPlaces(layout);
  // Made in the order of the places, which is the tab order.
  const auto make = [&](const wchar_t* cls, const std::wstring& text, DWORD style, int id,
                        DWORD exStyle = 0) {
    const TRect& r = places[FControls.size()];
    HWND control = CreateWindowExW(exStyle, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style,
                                   Px(r.Left), Px(r.Top), Px(r.Width), Px(r.Height), dialog,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   ProgramInstance(), nullptr);
    FControls.push_back(control);
    return control;
  };
  for (const TSetGroupRow& g : SetGroupRows()) make(L"BUTTON", Widen(g.Caption), BS_GROUPBOX, -1);
  for (const TSetOptionRow* row : SetDialogOrder()) {
    HWND box = make(L"BUTTON", Widen(row->Caption), BS_AUTOCHECKBOX | WS_TABSTOP, BoxId(*row));
    SendMessageW(box, BM_SETCHECK, FOptions.*row->Field ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  make(L"STATIC", L"フォント(下のリストをクリックしてください)", SS_LEFT, -1);
  // The row pictures are the main window's: shared, so that closing the
  // dialog does not destroy them with the sample.
  lvSet = make(WC_LISTVIEWW, L"",
               WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,
               IDC_LVSET, WS_EX_CLIENTEDGE);
  ListView_SetExtendedListViewStyle(lvSet,
                                    LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  if (FIcons) ListView_SetImageList(lvSet, FIcons, LVSIL_SMALL);
  AddTextAndCountColumns(lvSet, Px(layout.SampleColumns[0]), Px(layout.SampleColumns[1]));
  for (std::size_t i = 0; i < FSamples.size(); ++i) {
    // The list view keeps the whole text but draws it from its buffer: a
    // long caption is cut to that with its ellipsis (and closing quote).
    std::wstring caption = FittedText(WideFromSjis(FSamples[i].Caption), kListViewTextUnits, true);
    std::wstring count = WideFromSjis(FSamples[i].Count);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = int(i);
    item.iImage = FImageIndex;
    item.pszText = caption.data();
    ListView_InsertItem(lvSet, &item);
    ListView_SetItemText(lvSet, int(i), 1, count.data());
  }
  make(L"BUTTON", L"辞書を編集", BS_PUSHBUTTON | WS_TABSTOP, IDC_EDITDICT);
  make(L"STATIC", WideFromSjis(FDictionary.Text), SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX,
       IDC_DICTSTATUS);
  make(L"BUTTON", L"設定する", BS_DEFPUSHBUTTON | WS_TABSTOP, IDC_BBOK);
  make(L"BUTTON", L"キャンセル", BS_PUSHBUTTON | WS_TABSTOP, IDC_BBCANCEL);
  MakeGlyphs();
  SetChildFonts(dialog, FFormFont);
  FitCheckBoxCaptions();
  ApplySampleFont();

  RECT r{0, 0, Px(layout.ClientWidth), Px(layout.ClientHeight)};
  AdjustWindowRectExForDpi(&r, DWORD(GetWindowLongW(dialog, GWL_STYLE)), FALSE,
                           DWORD(GetWindowLongW(dialog, GWL_EXSTYLE)), UINT(FDpi));
  SetWindowPos(dialog, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
               SWP_NOMOVE | SWP_NOZORDER);
  CentreOnMonitor(dialog, GetParent(dialog));
}

void TfoSet::MakeGlyphs() {
  const HICON old[] = {FOkGlyph, FCancelGlyph};
  FOkGlyph = CreateButtonGlyph(true, Px(24));
  FCancelGlyph = CreateButtonGlyph(false, Px(24));
  SendDlgItemMessageW(FHandle, IDC_BBOK, BM_SETIMAGE, IMAGE_ICON, LPARAM(FOkGlyph));
  SendDlgItemMessageW(FHandle, IDC_BBCANCEL, BM_SETIMAGE, IMAGE_ICON, LPARAM(FCancelGlyph));
  for (HICON g : old)
    if (g) DestroyIcon(g);
}

void TfoSet::ChangeDpi(int dpi, const RECT& suggested) {
  FDpi = dpi > 0 ? dpi : kDesignDpi;
  // The arrangement the new monitor has room for, at the suggested place
  // but kept on its work area.
  HMONITOR monitor = MonitorFromRect(&suggested, MONITOR_DEFAULTTONEAREST);
  const SIZE room = ClientRoom(FHandle, monitor, FDpi);
  const TSetLayout layout = SetDialogLayout(room.cx, room.cy);
  RECT r{0, 0, Px(layout.ClientWidth), Px(layout.ClientHeight)};
  AdjustWindowRectExForDpi(&r, DWORD(GetWindowLongW(FHandle, GWL_STYLE)), FALSE,
                           DWORD(GetWindowLongW(FHandle, GWL_EXSTYLE)), UINT(FDpi));
  const int width = r.right - r.left, height = r.bottom - r.top;
  MONITORINFO info{};
  info.cbSize = sizeof info;
  POINT at{suggested.left, suggested.top};
  if (GetMonitorInfoW(monitor, &info)) {
    const RECT& a = info.rcWork;
    at.x = std::max(a.left, std::min<LONG>(at.x, a.right - width));
    at.y = std::max(a.top, std::min<LONG>(at.y, a.bottom - height));
  }
  SetWindowPos(FHandle, nullptr, at.x, at.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  const std::vector<TRect> places = ControlPlaces(layout);
  for (std::size_t i = 0; i < FControls.size() && i < places.size(); ++i) {
    const TRect& p = places[i];
    SetWindowPos(FControls[i], nullptr, Px(p.Left), Px(p.Top), Px(p.Width), Px(p.Height),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  for (int c = 0; c < 2; ++c)
    ListView_SetColumnWidth(lvSet, c, Px(layout.SampleColumns[std::size_t(c)]));
  HFONT old = FFormFont;
  FFormFont = CreatePixelFont(L"Meiryo UI", 19, FDpi);
  SetChildFonts(FHandle, FFormFont);
  DeleteObject(old);
  for (HFONT f : FSmallFonts) DeleteObject(f);
  FSmallFonts.clear();
  FitCheckBoxCaptions();
  ApplySampleFont();
  MakeGlyphs();
  InvalidateRect(FHandle, nullptr, TRUE);
}

void TfoSet::FitCheckBoxCaptions() {
  // The installed substitute of the design font may run wider: a caption
  // that would be cut off at its box's edge is set a little smaller.
  HDC dc = GetDC(FHandle);
  for (const TSetOptionRow& row : SetOptionRows()) {
    HWND box = GetDlgItem(FHandle, BoxId(row));
    RECT r;
    GetClientRect(box, &r);
    const int room = r.right - GetSystemMetricsForDpi(SM_CXMENUCHECK, UINT(FDpi)) - Px(6);
    const std::wstring caption = Widen(row.Caption);
    for (int pixels = 19; pixels >= 12; --pixels) {
      HFONT font = pixels == 19 ? FFormFont : CreatePixelFont(L"Meiryo UI", pixels, FDpi);
      HGDIOBJ old = SelectObject(dc, font);
      SIZE size{};
      GetTextExtentPoint32W(dc, caption.c_str(), int(caption.size()), &size);
      SelectObject(dc, old);
      if (size.cx <= room || pixels == 12) {
        if (font != FFormFont) {
          SendMessageW(box, WM_SETFONT, WPARAM(font), TRUE);
          FSmallFonts.push_back(font);
        }
        break;
      }
      if (font != FFormFont) DeleteObject(font);
    }
  }
  ReleaseDC(FHandle, dc);
}

void TfoSet::ApplySampleFont() {
  HFONT old = FSampleFont;
  const LOGFONTW lf = LogFontOf(FChosen, FDpi);
  FSampleFont = CreateFontIndirectW(&lf);
  SendMessageW(lvSet, WM_SETFONT, WPARAM(FSampleFont), TRUE);
  if (old) DeleteObject(old);
  InvalidateRect(lvSet, nullptr, TRUE);
}

void TfoSet::lvSetClick() {
  LOGFONTW lf = LogFontOf(FChosen, FDpi);
  CHOOSEFONTW cf{};
  cf.lStructSize = sizeof cf;
  cf.hwndOwner = FHandle;
  cf.lpLogFont = &lf;
  cf.rgbColors = ColourOf(FChosen.color);
  // The dialog itself refuses a size beyond its range and says so.
  cf.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT | CF_NOVERTFONTS | CF_LIMITSIZE;
  cf.nSizeMin = kMinFontSize;
  cf.nSizeMax = kMaxFontSize;
  if (!ChooseFontW(&cf)) return;
  FChosen = FontFromChoice(lf, cf.iPointSize, cf.rgbColors, FChosen);
  FChosen.size = KeepChosenFontSize(FChosen.size);
  ApplySampleFont();
}

void TfoSet::Accept() {
  for (const TSetOptionRow& row : SetOptionRows())
    FOptions.*row.Field = IsDlgButtonChecked(FHandle, BoxId(row)) == BST_CHECKED;
  FFont = FChosen;
}

}  // namespace

COLORREF ColourOf(TColor colour) {
  if (colour & kSystemColorBit) return GetSysColor(int(colour & 0xFF));
  return RGB(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

LOGFONTW LogFontOf(const FontValue& value, int dpi) {
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(value.size > 0 ? value.size : 9, dpi, 72);
  lf.lfWeight = (value.style & kFontBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (value.style & kFontItalic) != 0;
  lf.lfUnderline = (value.style & kFontUnderline) != 0;
  lf.lfStrikeOut = (value.style & kFontStrikeOut) != 0;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  const std::wstring face = WideFromSjis(value.name);
  lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
  return lf;
}

FontValue FontFromChoice(const LOGFONTW& font, int pointTenths, COLORREF colour,
                         const FontValue& present) {
  FontValue v;
  v.name = SjisFromWide(font.lfFaceName);
  v.size = (pointTenths + 5) / 10;
  v.style = std::uint8_t(
      (font.lfWeight >= FW_BOLD ? kFontBold : 0) | (font.lfItalic ? kFontItalic : 0) |
      (font.lfUnderline ? kFontUnderline : 0) | (font.lfStrikeOut ? kFontStrikeOut : 0));
  v.color = (present.color & kSystemColorBit) && ColourOf(present.color) == colour
                ? present.color
                : TColor(GetRValue(colour)) | TColor(GetGValue(colour)) << 8 |
                      TColor(GetBValue(colour)) << 16;
  return v;
}

bool RunSetDialog(HWND owner, TSetOptionValues& options, FontValue& listFont,
                  const std::vector<TSetSample>& samples, HIMAGELIST icons, int imageIndex,
                  const TSetDictionary& dictionary) {
  TfoSet dialog(options, listFont, samples, icons, imageIndex, dictionary);
  return dialog.Execute(owner);
}

}  // namespace tavrin
