#include "app/win32/main_window.h"

#include <windowsx.h>

#include <algorithm>
#include <iterator>

#include "app/main_gradients.h"
#include "app/main_layout.h"
#include "app/row_look.h"
#include "app/win32/key_preview.h"
#include "app/win32/resource.h"
#include "app/win32/speed_button.h"
#include "settings/colors.h"
#include "util/cp932.h"
#include "util/dpi.h"
#include "util/win32/beep.h"
#include "util/win32/clipboard.h"
#include "util/win32/shell_open.h"
#include "util/win32/wait_cursor.h"
#include "util/win32/wide.h"
#include "widgets/win32/gradation_exprs.h"
#include "widgets/win32/message_dialogs.h"
#include "widgets/win32/ui_basics.h"

namespace tavrin {
namespace {

constexpr wchar_t kClassName[] = L"TfoMAIN";
// The glyphs of the speed buttons and images; 4 and 5 are the two faces of
// [前面表示].
constexpr int kGlyphIds[] = {IDI_CLOSE,  IDI_EXTRACT,  IDI_ALLDATA, IDI_COPY,   IDI_STAYONTOP,
                             IDI_NORMAL, IDI_SETTINGS, IDI_HELP,    IDI_VERSION};
constexpr COLORREF kGroupTint = RGB(0xE6, 0xF0, 0xFF);
constexpr COLORREF kDifferingBack = RGB(0xFF, 0xE0, 0x80);

// An icon of the resources at a size of its own (not shared: the size
// follows the density).
HICON LoadIconSized(int id, int size) {
  return static_cast<HICON>(
      LoadImageW(ProgramInstance(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
}

COLORREF FontColour(TColor c) {
  if (c & kSystemColorBit) return GetSysColor(int(c & 0xFF));
  return RGB(RedOf(c), GreenOf(c), BlueOf(c));
}

}  // namespace

TfoMAIN::TfoMAIN() : TMainForm(static_cast<IMainView&>(*this)) {
  FListFontValue.name = cp932::Sjis("Meiryo UI");
  FListFontValue.size = 14;  // 19 pixels at 96 dpi
}

TfoMAIN::~TfoMAIN() {
  for (HWND tip : {FToolTip, FListTip})
    if (tip) DestroyWindow(tip);
  if (PopupMenu1) DestroyMenu(PopupMenu1);
  if (IL201905) ImageList_Destroy(IL201905);
  for (HFONT f : {FFormFont, FListFontHandle, FListBoldFont})
    if (f) DeleteObject(f);
  for (HICON g : FGlyphs)
    if (g) DestroyIcon(g);
}

int TfoMAIN::Px(int units) const { return ScaleFrom96(units, FDpi); }

bool TfoMAIN::Create(int showCommand) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = &TfoMAIN::WindowProc;
  wc.hInstance = ProgramInstance();
  wc.hIcon = LoadIconW(ProgramInstance(), MAKEINTRESOURCEW(IDI_TAVRIN));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = kClassName;
  RegisterClassExW(&wc);
  FHandle = CreateWindowExW(0, kClassName, L"Tavrin", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                            CW_USEDEFAULT, CW_USEDEFAULT, kDesignClientWidth, kDesignClientHeight,
                            nullptr, nullptr, ProgramInstance(), this);
  if (!FHandle) return false;
  FDpi = WindowDpi(FHandle);
  // The design form in this monitor's pixels, until the settings say more:
  // its client the same in 96-dpi units on any screen, whatever its frame.
  // Not activated: activation before the list exists would leave the focus
  // on the window itself, and the first showing would not move it.
  const SIZE outer = OuterPixels({0, 0, kDesignFormWidth, kDesignFormHeight, false});
  SetWindowPos(FHandle, nullptr, 0, 0, outer.cx, outer.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  CreateControls();
  FormCreate();
  RestoreGeometry();
  ShowWindow(FHandle, showCommand);
  if (FStartMaximized) {
    // The first showing may follow how the program was started instead of
    // the command: a window saved maximised is maximised after it, or,
    // started minimised, is maximised when restored.
    WINDOWPLACEMENT p{};
    p.length = sizeof p;
    GetWindowPlacement(FHandle, &p);
    if (p.showCmd == SW_SHOWMINIMIZED) {
      p.flags |= WPF_RESTORETOMAXIMIZED;
      SetWindowPlacement(FHandle, &p);
    } else if (IsWindowVisible(FHandle)) {
      ShowWindow(FHandle, SW_SHOWMAXIMIZED);
    }
  }
  GeometryPlaced();
  if (GetFocus() == FHandle) SetFocus(lvResult);  // the keys reach the list from the start
  FormShow();
  for (auto& g : FGradations) g->SetActive(true);
  FShown = true;
  UpdateWindow(FHandle);
  return true;
}

void TfoMAIN::CreateControls() {
  MakeFormFont();
  // Panels: the tool bar's gradient, and the four strips around the list.
  for (std::size_t i = 0; i < FGradations.size(); ++i) {
    const TGradientDesign& design = MainGradients()[i];
    FGradations[i] =
        std::make_unique<TGradationExprs>(FHandle, IDC_GRADATIONEXPRS1 + int(i), design.mode);
    FGradations[i]->Colors().SetColors(design.stops);
  }

  TGradationExprs* bar = FGradations[0].get();
  const auto button = [&](int id, const wchar_t* caption) {
    auto b = std::make_unique<TSpeedButton>(FHandle, id, bar);
    b->SetCaption(caption);
    b->SetFont(FFormFont);
    SetWindowPos(b->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return b;
  };
  sbClose = button(IDC_SBCLOSE, L"閉じる");
  sbExtractRuiji = button(IDC_SBEXTRACTRUIJI, L"類字抽出");
  sbGetAllData = button(IDC_SBGETALLDATA, L"全データ");
  sbCopyAll = button(IDC_SBCOPYALL, L"コピー");
  sbSwFormStyle = button(IDC_SBSWFORMSTYLE, L"前面表示");
  sbSet = button(IDC_SBSET, L"設定");
  imgHelp = button(IDC_IMGHELP, L"");
  imgVersion = button(IDC_IMGVERSION, L"");
  for (TSpeedButton* image : {imgHelp.get(), imgVersion.get()}) image->SetImageLike();
  LoadGlyphs();

  // The window owns the row pictures (IL201905), which the list only shows.
  lvResult = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | LVS_REPORT |
                                 LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,
                             0, 0, 0, 0, FHandle, reinterpret_cast<HMENU>(IDC_LVRESULT),
                             ProgramInstance(), nullptr);
  ListView_SetExtendedListViewStyle(lvResult,
                                    LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  SetWindowPos(lvResult, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  AddTextAndCountColumns(lvResult, Px(kDesignColumnWidths[0]), Px(kDesignColumnWidths[1]));
  MakeRowIcons();

  sb = CreateWindowExW(0, STATUSCLASSNAMEW, L"",
                       WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | SBARS_TOOLTIPS, 0, 0, 0, 0, FHandle,
                       reinterpret_cast<HMENU>(IDC_SB), ProgramInstance(), nullptr);
  SendMessageW(sb, WM_SETFONT, WPARAM(FFormFont), FALSE);
  const int parts[] = {MainLayout(0, 0, 0, FDpi).StatusLabelWidth,
                       -1};  // the parts first: text of a part
                             // not yet there is lost
  SendMessageW(sb, SB_SETPARTS, 2, LPARAM(parts));
  SendMessageW(sb, SB_SETTEXTW, 0, LPARAM(L"情報"));
  SendMessageW(
      sb, SB_SETTEXTW, 1,
      LPARAM(L"文字列をクリップボードにコピーした後、[類字抽出]ボタンをクリックしてください"));

  Button1 = CreateWindowExW(0, L"BUTTON", WideFromSjis(kButton1Caption).c_str(),
                            WS_CHILD | BS_PUSHBUTTON, 0, 0, 0, 0, FHandle,
                            reinterpret_cast<HMENU>(IDC_BUTTON1), ProgramInstance(), nullptr);
  Button2 = CreateWindowExW(0, L"BUTTON", WideFromSjis(kButton2Caption).c_str(),
                            WS_CHILD | BS_PUSHBUTTON, 0, 0, 0, 0, FHandle,
                            reinterpret_cast<HMENU>(IDC_BUTTON2), ProgramInstance(), nullptr);
  Memo1 = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                          WS_CHILD | ES_MULTILINE | ES_READONLY | WS_VSCROLL, 0, 0, 0, 0, FHandle,
                          reinterpret_cast<HMENU>(IDC_MEMO1), ProgramInstance(), nullptr);
  for (HWND h : {Button1, Button2, Memo1}) SendMessageW(h, WM_SETFONT, WPARAM(FFormFont), FALSE);

  // The tips have no owner: wine moves a window's owned pop-ups to the top
  // before the window itself and then places the window after them, where
  // it stays without WS_EX_TOPMOST, so [前面表示] would do nothing. The
  // window destroys them itself.
  FToolTip =
      CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                      WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, ProgramInstance(), nullptr);
  SendMessageW(FToolTip, TTM_SETMAXTIPWIDTH, 0, MainSizes(FDpi).TipWidth);
  // The list's own tip names the cell under the mouse; it changes with the
  // cell, so it asks for its text each time it shows.
  FListTip =
      CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                      WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, ProgramInstance(), nullptr);
  SendMessageW(FListTip, TTM_SETMAXTIPWIDTH, 0, MainSizes(FDpi).ListTipWidth);
  TTTOOLINFOW tip{};
  tip.cbSize = sizeof tip;
  tip.uFlags = TTF_SUBCLASS;
  tip.hwnd = lvResult;
  tip.uId = 1;
  tip.lpszText = LPSTR_TEXTCALLBACKW;
  GetClientRect(lvResult, &tip.rect);
  SendMessageW(FListTip, TTM_ADDTOOLW, 0, LPARAM(&tip));
  SetWindowSubclass(lvResult, &TfoMAIN::ListProc, 1, reinterpret_cast<DWORD_PTR>(this));
  PopupMenu1 = LoadMenuW(ProgramInstance(), MAKEINTRESOURCEW(IDM_POPUP));
  // Each item's key after a tab, from the key table.
  for (const TMenuKey& key : kMenuKeys) {
    HMENU items = GetSubMenu(PopupMenu1, 0);
    wchar_t caption[128] = L"";
    GetMenuStringW(items, MenuItem(key.Item), caption, int(std::size(caption)), MF_BYCOMMAND);
    const std::wstring text = std::wstring(caption) + L"\t" + WideFromSjis(MenuKeyText(key.Item));
    ModifyMenuW(items, MenuItem(key.Item), MF_BYCOMMAND | MF_STRING, MenuItem(key.Item),
                text.c_str());
  }
  UpdateFonts();
  Layout();
}

void TfoMAIN::Layout() {
  RECT client;
  GetClientRect(FHandle, &client);
  SendMessageW(sb, WM_SIZE, 0, 0);  // the status bar keeps to the bottom at its font's height
  // Painted whole: it repaints only what a resize uncovers, which would
  // leave the size grip drawn where its corner was.
  InvalidateRect(sb, nullptr, TRUE);
  InvalidateRect(ListView_GetHeader(lvResult), nullptr, TRUE);  // so do the heading's dividers
  RECT status;
  GetWindowRect(sb, &status);
  const TMainLayout l = MainLayout(client.right, client.bottom, status.bottom - status.top, FDpi);
  const auto place = [](HWND control, const TRect& r) {
    SetWindowPos(control, nullptr, r.Left, r.Top, r.Width, r.Height, SWP_NOZORDER | SWP_NOACTIVATE);
  };
  place(FGradations[0]->Handle(), l.ToolBar);
  const TSpeedButton* order[] = {sbClose.get(),   sbExtractRuiji.get(), sbGetAllData.get(),
                                 sbCopyAll.get(), sbSwFormStyle.get(),  sbSet.get()};
  for (std::size_t i = 0; i < l.Buttons.size(); ++i) place(order[i]->Handle(), l.Buttons[i]);
  place(imgHelp->Handle(), l.Help);
  place(imgVersion->Handle(), l.Version);
  const int parts[] = {l.StatusLabelWidth, -1};
  SendMessageW(sb, SB_SETPARTS, 2, LPARAM(parts));
  place(FGradations[3]->Handle(), l.StripTop);
  place(FGradations[4]->Handle(), l.StripLeft);
  place(FGradations[1]->Handle(), l.StripRight);
  place(FGradations[2]->Handle(), l.StripBottom);
  place(lvResult, l.List);
  if (FListTip) {
    TTTOOLINFOW tip{};
    tip.cbSize = sizeof tip;
    tip.hwnd = lvResult;
    tip.uId = 1;
    GetClientRect(lvResult, &tip.rect);
    SendMessageW(FListTip, TTM_NEWTOOLRECTW, 0, LPARAM(&tip));
  }
  SetWindowPos(lvResult, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  place(Button1, l.Button1);
  place(Button2, l.Button2);
  place(Memo1, l.Memo1);
}

void TfoMAIN::MakeFormFont() {
  HFONT old = FFormFont;
  FFormFont = CreatePixelFont(L"Meiryo UI", 19, FDpi);
  for (TSpeedButton* b : {sbClose.get(), sbExtractRuiji.get(), sbGetAllData.get(), sbCopyAll.get(),
                          sbSwFormStyle.get(), sbSet.get()})
    if (b) b->SetFont(FFormFont);
  for (HWND h : {sb, Button1, Button2, Memo1})
    if (h) SendMessageW(h, WM_SETFONT, WPARAM(FFormFont), TRUE);
  if (old) DeleteObject(old);
}

void TfoMAIN::LoadGlyphs() {
  const std::array<HICON, 9> old = FGlyphs;
  const TMainSizes sizes = MainSizes(FDpi);
  for (std::size_t i = 0; i < FGlyphs.size(); ++i)
    FGlyphs[i] = LoadIconSized(kGlyphIds[i], kGlyphIds[i] == IDI_HELP || kGlyphIds[i] == IDI_VERSION
                                                 ? sizes.Image
                                                 : sizes.Glyph);
  FGlyphStayOnTop = FGlyphs[4];
  FGlyphNormal = FGlyphs[5];
  const std::pair<TSpeedButton*, HICON> faces[] = {
      {sbClose.get(), FGlyphs[0]},
      {sbExtractRuiji.get(), FGlyphs[1]},
      {sbGetAllData.get(), FGlyphs[2]},
      {sbCopyAll.get(), FGlyphs[3]},
      {sbSwFormStyle.get(), FStayOnTop ? FGlyphNormal : FGlyphStayOnTop},
      {sbSet.get(), FGlyphs[6]},
      {imgHelp.get(), FGlyphs[7]},
      {imgVersion.get(), FGlyphs[8]},
  };
  for (const auto& [button, glyph] : faces) {
    button->SetDpi(FDpi);
    button->SetGlyph(glyph);
  }
  for (HICON g : old)
    if (g) DestroyIcon(g);
}

void TfoMAIN::MakeRowIcons() {
  HIMAGELIST old = IL201905;
  const int icon = MainSizes(FDpi).RowIcon;
  IL201905 = ImageList_Create(icon, icon, ILC_COLOR32 | ILC_MASK, 11, 0);
  for (int i = 0; i <= 10; ++i) {
    // The image list copies the icon.
    HICON row = LoadIconSized(IDI_ROW00 + i, icon);
    ImageList_AddIcon(IL201905, row);
    DestroyIcon(row);
  }
  ListView_SetImageList(lvResult, IL201905, LVSIL_SMALL);
  if (old) ImageList_Destroy(old);
}

void TfoMAIN::ChangeDpi(int dpi, const RECT& suggested) {
  if (dpi <= 0) dpi = kDesignDpi;
  const auto move = [&] {
    SetWindowPos(FHandle, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  };
  if (!lvResult) {  // before the controls: they are made at the new density
    FDpi = dpi;
    move();
    return;
  }
  const int old = FDpi;
  int widths[2];
  for (int c = 0; c < 2; ++c)
    widths[c] = RescaledWidth(ListView_GetColumnWidth(lvResult, c), old, dpi);
  FDpi = dpi;
  MakeFormFont();
  LoadGlyphs();
  MakeRowIcons();
  UpdateFonts();
  for (int c = 0; c < 2; ++c) ListView_SetColumnWidth(lvResult, c, widths[c]);
  SendMessageW(FToolTip, TTM_SETMAXTIPWIDTH, 0, MainSizes(FDpi).TipWidth);
  SendMessageW(FListTip, TTM_SETMAXTIPWIDTH, 0, MainSizes(FDpi).ListTipWidth);
  move();
  Layout();
  InvalidateRect(FHandle, nullptr, TRUE);
}

void TfoMAIN::UpdateFonts() {
  const HFONT oldFonts[] = {FListFontHandle, FListBoldFont};
  const std::wstring face = WideFromSjis(FListFontValue.name);
  const auto make = [&](bool bold) {
    LOGFONTW lf{};
    lf.lfHeight = -ListFontPixels(FListFontValue.size, FDpi);
    lf.lfWeight = bold || (FListFontValue.style & kFontBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (FListFontValue.style & kFontItalic) != 0;
    lf.lfUnderline = (FListFontValue.style & kFontUnderline) != 0;
    lf.lfStrikeOut = (FListFontValue.style & kFontStrikeOut) != 0;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    return CreateFontIndirectW(&lf);
  };
  FListFontHandle = make(false);
  FListBoldFont = make(true);
  SendMessageW(lvResult, WM_SETFONT, WPARAM(FListFontHandle), TRUE);
  // Deleted only once the list holds the new one.
  for (HFONT f : oldFonts)
    if (f) DeleteObject(f);
}

bool TfoMAIN::PreviewKey(const MSG& msg) {
  TShiftState shift = kShiftNone;
  if (GetKeyState(VK_SHIFT) < 0) shift |= kShiftShift;
  if (GetKeyState(VK_CONTROL) < 0) shift |= kShiftCtrl;
  if (GetKeyState(VK_MENU) < 0) shift |= kShiftAlt;
  const std::optional<TPreviewedKey> key =
      PreviewedKey(msg.message, msg.wParam, msg.lParam,
                   msg.hwnd == FHandle || IsChild(FHandle, msg.hwnd), shift);
  if (!key) return false;
  ++FNesting;  // a handler runs, as inside the window procedure
  const bool handled = FormKeyDown(key->Key, key->Shift, key->Repeat);
  --FNesting;
  return handled;
}

void TfoMAIN::OnCommand(int id, int code) {
  switch (id) {
    case IDC_SBCLOSE:
      if (code == BN_CLICKED) sbCloseClick();
      break;
    case IDC_SBEXTRACTRUIJI:
      if (code == BN_CLICKED) sbExtractRuijiClick(TControl::sbExtractRuiji);
      break;
    case IDC_SBGETALLDATA:
      if (code == BN_CLICKED) sbGetAllDataClick(TControl::sbGetAllData);
      break;
    case IDC_SBCOPYALL:
      if (code == BN_CLICKED) pmCopySelectClick(TControl::sbCopyAll);
      break;
    case IDC_SBSWFORMSTYLE:
      if (code == BN_CLICKED) sbSwFormStyleClick();
      break;
    case IDC_SBSET:
      if (code == BN_CLICKED) sbSetClick();
      break;
    case IDC_IMGHELP:
      if (code == BN_CLICKED) imgHelpClick();
      if (code == SBN_MOUSEDOWN)
        imgHelpMouseDown(imgHelp->LastMouseButton() == 1 ? TMouseButton::Right
                                                         : TMouseButton::Left);
      break;
    case IDC_IMGVERSION:
      if (code == BN_CLICKED) imgVersionClick();
      if (code == SBN_MOUSEDOWN)
        imgVersionMouseDown(
            imgVersion->LastMouseButton() == 1 ? TMouseButton::Right : TMouseButton::Left,
            imgVersion->LastCtrl() ? kShiftCtrl : kShiftNone);
      break;
    case IDC_GRADATIONEXPRS1:
      if (code == GN_DBLCLK) GradationExprs1DblClick();
      break;
    case IDC_BUTTON1:
      Button1Click();
      break;
    case IDC_BUTTON2:
      Button2Click();
      break;
    case IDM_PMCOPYALL:
      pmCopySelectClick(TControl::pmCopyAll);
      break;
    case IDM_PMCOPYSELECT:
      pmCopySelectClick(TControl::pmCopySelect);
      break;
    case IDM_PMDELETE:
      pmDeleteClick();
      break;
    case IDM_PMCOPYNORMALIZED:
      pmCopyNormalizedClick();
      break;
    case IDM_PMCOPYMAP:
      pmCopyMapClick();
      break;
    case IDM_PMMAKECANONICAL:
      pmMakeCanonicalClick();
      break;
    case IDM_PMLEAVEGROUP:
      pmLeaveGroupClick();
      break;
    case IDM_PMJOINSELECTED:
      pmJoinSelectedClick();
      break;
    case IDM_PMUNDODICTIONARY:
      UndoDictionaryChange();
      break;
  }
}

std::wstring TfoMAIN::CellText(const TResultList& list, int row, int column, int capacity) {
  if (row < 0 || row >= list.Count()) return {};
  if (column != 0) return FittedText(WideFromSjis(list.CountText(row)), capacity, false);
  return FittedText(WideFromSjis(list.ShownCaption(row)), capacity, list.Options().ExprsQuote);
}

std::pair<int, int> TfoMAIN::CellAt(POINT client) const {
  LVHITTESTINFO hit{};
  hit.pt = client;
  if (ListView_SubItemHitTest(lvResult, &hit) < 0 || !(hit.flags & LVHT_ONITEM)) return {-1, -1};
  return {hit.iItem, hit.iSubItem};
}

namespace {

// Whether the list view selects the one row a message points at or moves
// to, and no other: a click or a move key without Shift or Ctrl.
bool PlainSelect(UINT message, WPARAM w) {
  if (message == WM_LBUTTONDOWN) return (w & (MK_SHIFT | MK_CONTROL)) == 0;
  if (message != WM_KEYDOWN || GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0)
    return false;
  switch (w) {
    case VK_UP:
    case VK_DOWN:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
      return true;
    default:
      return false;
  }
}

}  // namespace

LRESULT CALLBACK TfoMAIN::ListProc(HWND list, UINT message, WPARAM w, LPARAM l, UINT_PTR,
                                   DWORD_PTR data) {
  auto* self = reinterpret_cast<TfoMAIN*>(data);
  if (message == WM_MOUSEMOVE) {
    const std::pair<int, int> cell = self->CellAt(POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)});
    if (cell != self->FTipCell) {
      // Another cell: the tip goes, and comes back with that cell's text.
      self->FTipCell = cell;
      SendMessageW(self->FListTip, TTM_POP, 0, 0);
      SendMessageW(self->FListTip, TTM_UPDATE, 0, 0);
    }
  } else if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(list, &TfoMAIN::ListProc, 1);
  } else if (PlainSelect(message, w) && ListView_GetSelectedCount(list) > 1) {
    // The list view would take the other selected rows off one by one, as
    // slow as selecting them so; they go at once, and it selects its row.
    self->SetEveryRowState(0, LVIS_SELECTED);
  }
  return DefSubclassProc(list, message, w, l);
}

LRESULT TfoMAIN::OnNotify(NMHDR* header) {
  if (header->hwndFrom == FListTip && header->code == TTN_GETDISPINFOW) {
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(lvResult, &p);
    FTipCell = CellAt(p);
    // As for the cells' texts and drawing, a row beyond the list has none.
    FTipText = FTipCell.first < 0 || FTipCell.first >= List().Count()
                   ? std::wstring()
                   : WithCrLf(WideFromSjis(List().CellToolTip(FTipCell.first, FTipCell.second)));
    info->lpszText = FTipText.data();
    return 0;
  }
  if (header->hwndFrom == sb && header->code == NM_DBLCLK) {
    sbDblClick();
    return 0;
  }
  if (header->hwndFrom != lvResult) return 0;
  switch (header->code) {
    case LVN_GETDISPINFOW: {
      auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
      LVITEMW& item = info->item;
      if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        const std::wstring text = CellText(List(), item.iItem, item.iSubItem, item.cchTextMax);
        lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
      }
      if (item.mask & LVIF_IMAGE) item.iImage = TResultList::kImageIndex;
      return 0;
    }
    case LVN_COLUMNCLICK:
      lvResultColumnClick(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
      return 0;
    case LVN_ITEMCHANGED:
      // The tint follows the current row's group.
      if (List().HasGroups() && !FSettingEveryRow) InvalidateRect(lvResult, nullptr, FALSE);
      return 0;
    case NM_CLICK:
      lvResultClick();
      return 0;
    case NM_DBLCLK:
      lvResultDblClick();
      return 0;
    case NM_CUSTOMDRAW:
      return OnListCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(header));
  }
  return 0;
}

LRESULT TfoMAIN::OnListCustomDraw(NMLVCUSTOMDRAW* draw) {
  switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      if (FHighlight) {
        RECT r;
        GetClientRect(lvResult, &r);
        HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
        FillRect(draw->nmcd.hdc, &r, green);
        DeleteObject(green);
        return CDRF_SKIPDEFAULT;
      }
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
      const int row = int(draw->nmcd.dwItemSpec);
      const TResultList& list = List();
      if (row < 0 || row >= list.Count()) return CDRF_DODEFAULT;
      LRESULT result = CDRF_DODEFAULT;
      draw->clrText = FontColour(FListFontValue.color);
      const bool selected =
          (ListView_GetItemState(lvResult, row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
      const TRowLook look = RowLook(list, row, CurrentRow(), selected);
      if (look.Tinted) draw->clrTextBk = kGroupTint;
      if (look.Bold) {
        SelectObject(draw->nmcd.hdc, FListBoldFont);
        result |= CDRF_NEWFONT;
      }
      if (!CaptionSpans(list, row).empty()) result |= CDRF_NOTIFYPOSTPAINT;
      return result;
    }
    case CDDS_ITEMPOSTPAINT: {
      // Captions with differing or invisible characters: drawn again over
      // the cell, span by span, the differing ones on a colour.
      const int row = int(draw->nmcd.dwItemSpec);
      const std::vector<TLookSpan> spans = CaptionSpans(List(), row);
      if (spans.empty()) return CDRF_DODEFAULT;
      RECT cell{};
      cell.top = 0;
      cell.left = LVIR_LABEL;
      if (!ListView_GetSubItemRect(lvResult, row, 0, LVIR_LABEL, &cell)) return CDRF_DODEFAULT;
      HDC dc = draw->nmcd.hdc;
      const bool selected = ListView_GetItemState(lvResult, row, LVIS_SELECTED) & LVIS_SELECTED;
      // A selection in the colours the list view gives its own: the
      // highlight's while it has the focus, else the button face's.
      const bool focused = GetFocus() == lvResult;
      const COLORREF selectedBack = GetSysColor(focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
      const COLORREF selectedText = GetSysColor(focused ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
      HBRUSH back = CreateSolidBrush(selected                         ? selectedBack
                                     : draw->clrTextBk == CLR_DEFAULT ? GetSysColor(COLOR_WINDOW)
                                                                      : draw->clrTextBk);
      RECT inner = cell;
      InflateRect(&inner, -1, -1);
      FillRect(dc, &inner, back);
      DeleteObject(back);
      SelectObject(
          dc, RowLook(List(), row, std::nullopt, selected).Bold ? FListBoldFont : FListFontHandle);
      SetBkMode(dc, OPAQUE);
      int x = cell.left + Px(2);
      for (const TLookSpan& g : spans) {
        // Whole clusters: a base with its combining marks.
        std::wstring s;
        for (const char32_t c : g.Text) {
          if (c >= 0x10000) {
            s += wchar_t(0xD800 + ((c - 0x10000) >> 10));
            s += wchar_t(0xDC00 + ((c - 0x10000) & 0x3FF));
          } else {
            s += wchar_t(c);
          }
        }
        SIZE size{};
        GetTextExtentPoint32W(dc, s.c_str(), int(s.size()), &size);
        SetBkColor(dc, g.Differs ? kDifferingBack : selected ? selectedBack : GetBkColor(dc));
        SetBkMode(dc, g.Differs ? OPAQUE : TRANSPARENT);
        SetTextColor(dc, g.Mark     ? RGB(0x80, 0x80, 0x80)
                         : selected ? selectedText
                                    : FontColour(FListFontValue.color));
        RECT r{x, cell.top, std::min<LONG>(x + size.cx, cell.right), cell.bottom};
        ExtTextOutW(dc, x, cell.top + (cell.bottom - cell.top - size.cy) / 2,
                    ETO_CLIPPED | (g.Differs ? ETO_OPAQUE : 0), &r, s.c_str(), UINT(s.size()),
                    nullptr);
        x += size.cx;
        if (x >= cell.right) break;
      }
      return CDRF_DODEFAULT;
    }
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
      return CDRF_DODEFAULT;
  }
  return CDRF_DODEFAULT;
}

POINT TfoMAIN::KeyboardMenuPoint() const {
  // Under the current row when it is selected, else under the first
  // selected row; the list's top left corner without a selection.
  int row = ListView_GetNextItem(lvResult, -1, LVNI_FOCUSED | LVNI_SELECTED);
  if (row < 0) row = ListView_GetNextItem(lvResult, -1, LVNI_SELECTED);
  POINT p{Px(8), Px(8)};
  RECT r{};
  if (row >= 0) {
    ListView_EnsureVisible(lvResult, row, FALSE);
    if (ListView_GetItemRect(lvResult, row, &r, LVIR_LABEL)) p = {r.left + Px(8), r.bottom};
  }
  ClientToScreen(lvResult, &p);
  return p;
}

void TfoMAIN::ShowPopupMenu(POINT screen) {
  PopupMenu1Popup();  // enables the items through SetControlEnabled
  TrackPopupMenu(GetSubMenu(PopupMenu1, 0), TPM_RIGHTBUTTON, screen.x, screen.y, 0, FHandle,
                 nullptr);
}

LRESULT CALLBACK TfoMAIN::WindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  auto* self = static_cast<TfoMAIN*>(WindowObject(window, message, l));
  if (!self) return DefWindowProcW(window, message, w, l);
  if (message == WM_NCCREATE) self->FHandle = window;
  ++self->FNesting;
  const LRESULT result = self->Handle(message, w, l);
  --self->FNesting;
  return result;
}

LRESULT TfoMAIN::Handle(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_SIZE:
      if (lvResult) Layout();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(l);
      info->ptMinTrackSize = {Px(kMinFormWidth), Px(kMinFormHeight)};
      return 0;
    }
    case WM_GETDPISCALEDSIZE: {
      // The client keeps its size in 96-dpi units; the frame is the new
      // density's own.
      RECT client;
      GetClientRect(FHandle, &client);
      const int dpi = int(w);
      *reinterpret_cast<SIZE*>(l) = OuterSize(RescaledWidth(client.right, FDpi, dpi),
                                              RescaledWidth(client.bottom, FDpi, dpi), dpi);
      return TRUE;
    }
    case WM_DPICHANGED:
      ChangeDpi(HIWORD(w), *reinterpret_cast<const RECT*>(l));
      return 0;
    case WM_SETCURSOR:
      if (WaitCursorShown()) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_COMMAND:
      OnCommand(LOWORD(w), HIWORD(w));
      return 0;
    case WM_NOTIFY:
      return OnNotify(reinterpret_cast<NMHDR*>(l));
    case WM_SETFOCUS:
      // Activation gives the window itself the focus (after a message box,
      // say): the keys belong to the list, the window's keyboard control.
      if (lvResult) SetFocus(lvResult);
      return 0;
    case WM_CONTEXTMENU:
      // The list's one road to its menu: a right click (after NM_RCLICK,
      // which is left alone so the menu opens once), Shift+F10 and the
      // menu key.
      if (reinterpret_cast<HWND>(w) == lvResult) {
        POINT p{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
        if (p.x == -1 && p.y == -1) p = KeyboardMenuPoint();
        ShowPopupMenu(p);
        return 0;
      }
      break;
    case WM_CLOSE:
      if (!FClosing) {
        FClosing = true;
        FormCloseQuery();  // never refuses
        DestroyWindow(FHandle);
      }
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;  // never refused, as a close is not
    case WM_ENDSESSION:
      // Logoff or shutdown: saved as a close saves, without a box that would
      // hold it up. Come through a box or menu of a handler, the window
      // stays for that handler; else it closes, as the system would end it.
      if (w && !FClosing) {
        FormEndSession();
        if (FNesting == 1) {
          FClosing = true;
          DestroyWindow(FHandle);
        }
      }
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(FHandle, message, w, l);
}

}  // namespace tavrin
