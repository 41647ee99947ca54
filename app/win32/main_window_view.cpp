// TfoMAIN's view: what the shared logic asks of the window, done with the
// Win32 controls and platform calls.
#include <algorithm>

#include "app/main_layout.h"
#include "app/win32/main_window.h"
#include "app/win32/resource.h"
#include "app/win32/speed_button.h"
#include "settings/win32/set_dialog.h"
#include "util/dpi.h"
#include "util/win32/beep.h"
#include "util/win32/clipboard.h"
#include "util/win32/shell_open.h"
#include "util/win32/wait_cursor.h"
#include "util/win32/wide.h"
#include "widgets/win32/message_dialogs.h"
#include "widgets/win32/ui_basics.h"
#include "widgets/win32/version_dialog.h"

namespace tavrin {

HWND TfoMAIN::ControlHandle(TControl control) const {
  switch (control) {
    case TControl::foMAIN:
      return FHandle;
    case TControl::sbClose:
      return sbClose->Handle();
    case TControl::sbExtractRuiji:
      return sbExtractRuiji->Handle();
    case TControl::sbGetAllData:
      return sbGetAllData->Handle();
    case TControl::sbCopyAll:
      return sbCopyAll->Handle();
    case TControl::sbSwFormStyle:
      return sbSwFormStyle->Handle();
    case TControl::sbSet:
      return sbSet->Handle();
    case TControl::imgHelp:
      return imgHelp->Handle();
    case TControl::imgVersion:
      return imgVersion->Handle();
    case TControl::lvResult:
      return lvResult;
    default:
      return nullptr;
  }
}

void TfoMAIN::SetStatus(const std::string& sjis) {
  const std::wstring text = WideFromSjis(sjis);
  SendMessageW(sb, SB_SETTEXTW, 1, LPARAM(text.c_str()));
  SendMessageW(sb, SB_SETTIPTEXTW, 1, LPARAM(text.c_str()));
  UpdateWindow(sb);  // a command runs without the message loop
}

void TfoMAIN::SetControlHint(TControl control, const std::string& sjis, bool shown) {
  HWND target = ControlHandle(control);
  if (!target || !FToolTip) return;
  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = FHandle;
  info.uId = reinterpret_cast<UINT_PTR>(target);
  SendMessageW(FToolTip, TTM_DELTOOLW, 0, LPARAM(&info));
  if (!shown) return;
  std::wstring text = WithCrLf(WideFromSjis(sjis));
  info.lpszText = text.data();
  SendMessageW(FToolTip, TTM_ADDTOOLW, 0, LPARAM(&info));
}

UINT TfoMAIN::MenuItem(TControl control) {
  switch (control) {
    case TControl::pmCopyAll:
      return IDM_PMCOPYALL;
    case TControl::pmCopySelect:
      return IDM_PMCOPYSELECT;
    case TControl::pmDelete:
      return IDM_PMDELETE;
    case TControl::pmCopyNormalized:
      return IDM_PMCOPYNORMALIZED;
    case TControl::pmCopyMap:
      return IDM_PMCOPYMAP;
    case TControl::pmMakeCanonical:
      return IDM_PMMAKECANONICAL;
    case TControl::pmLeaveGroup:
      return IDM_PMLEAVEGROUP;
    case TControl::pmJoinSelected:
      return IDM_PMJOINSELECTED;
    case TControl::pmUndoDictionary:
      return IDM_PMUNDODICTIONARY;
    default:
      return 0;
  }
}

void TfoMAIN::SetControlEnabled(TControl control, bool enabled) {
  if (const UINT item = MenuItem(control)) {
    EnableMenuItem(GetSubMenu(PopupMenu1, 0), item,
                   MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
  } else if (HWND h = ControlHandle(control)) {
    EnableWindow(h, enabled);
  }
}

void TfoMAIN::SetTitle(const std::string& sjis) {
  SetWindowTextW(FHandle, WideFromSjis(sjis).c_str());
}

void TfoMAIN::ListReset() {
  // The old rows go first: the list view clears a state on item -1 by
  // visiting every row it has (a million after a large command), and an
  // empty list has none to visit.
  ListView_SetItemCountEx(lvResult, 0, LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
  ListView_SetItemState(lvResult, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_SetItemCountEx(lvResult, List().Count(), 0);
  if (List().Count() > 0) ListView_EnsureVisible(lvResult, 0, FALSE);
  SetSortMark(0, 0);
  InvalidateRect(lvResult, nullptr, TRUE);
}

void TfoMAIN::ListRowsRemoved(const std::vector<bool>&) {
  ClearSelection();
  ListView_SetItemCountEx(lvResult, List().Count(), LVSICF_NOSCROLL);
  InvalidateRect(lvResult, nullptr, TRUE);
}

void TfoMAIN::ListReordered(const std::vector<int>&) { InvalidateRect(lvResult, nullptr, TRUE); }

void TfoMAIN::ListGroupsChanged() { InvalidateRect(lvResult, nullptr, TRUE); }

void TfoMAIN::SetSortMark(int column, int direction) {
  HWND header = ListView_GetHeader(lvResult);
  for (int i = 0; i < 2; ++i) {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    Header_GetItem(header, i, &item);
    item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
    if (i == column && direction != 0) item.fmt |= direction > 0 ? HDF_SORTUP : HDF_SORTDOWN;
    Header_SetItem(header, i, &item);
  }
  if (direction == 0 || column < 0 || column > 1) return;
  // The mark sits beside the caption: a column too narrow for both widens.
  wchar_t caption[64] = {};
  HDITEMW item{};
  item.mask = HDI_TEXT;
  item.pszText = caption;
  item.cchTextMax = int(std::size(caption));
  Header_GetItem(header, column, &item);
  HDC dc = GetDC(header);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(header, WM_GETFONT, 0, 0)));
  SIZE text{};
  GetTextExtentPoint32W(dc, caption, lstrlenW(caption), &text);
  SelectObject(dc, old);
  ReleaseDC(header, dc);
  RECT bounds{};
  GetWindowRect(header, &bounds);
  const int width = SortMarkedColumnWidth(text.cx, bounds.bottom - bounds.top, FDpi);
  if (ListView_GetColumnWidth(lvResult, column) < width)
    ListView_SetColumnWidth(lvResult, column, width);
}

void TfoMAIN::SetListHighlight(bool on) {
  FHighlight = on;
  InvalidateRect(lvResult, nullptr, TRUE);
  UpdateWindow(lvResult);
}

std::vector<std::size_t> TfoMAIN::SelectedRows() const {
  std::vector<std::size_t> rows;
  for (int i = ListView_GetNextItem(lvResult, -1, LVNI_SELECTED); i >= 0;
       i = ListView_GetNextItem(lvResult, i, LVNI_SELECTED))
    rows.push_back(std::size_t(i));
  return rows;
}

bool TfoMAIN::HasSelection() const { return ListView_GetSelectedCount(lvResult) > 0; }

std::optional<std::size_t> TfoMAIN::CurrentRow() const {
  const int i = ListView_GetNextItem(lvResult, -1, LVNI_FOCUSED);
  if (i < 0 || i >= List().Count()) return std::nullopt;
  return std::size_t(i);
}

void TfoMAIN::SetEveryRowState(UINT state, UINT mask) {
  FSettingEveryRow = true;
  SendMessageW(lvResult, WM_SETREDRAW, FALSE, 0);
  ListView_SetItemState(lvResult, -1, state, mask);
  SendMessageW(lvResult, WM_SETREDRAW, TRUE, 0);
  FSettingEveryRow = false;
  InvalidateRect(lvResult, nullptr, TRUE);
}

void TfoMAIN::ClearSelection() {
  if (ListView_GetSelectedCount(lvResult) > 0) SetEveryRowState(0, LVIS_SELECTED);
}

void TfoMAIN::SelectRows(const std::vector<std::size_t>& rows, std::optional<std::size_t> current) {
  // Every row (Ctrl+A) in one message rather than one a row.
  if (!rows.empty() && rows.size() == std::size_t(List().Count())) {
    SetEveryRowState(LVIS_SELECTED, LVIS_SELECTED);
  } else {
    for (std::size_t r : rows)
      ListView_SetItemState(lvResult, int(r), LVIS_SELECTED, LVIS_SELECTED);
  }
  if (current) ListView_SetItemState(lvResult, int(*current), LVIS_FOCUSED, LVIS_FOCUSED);
}

void TfoMAIN::ScrollToRow(std::size_t row) { ListView_EnsureVisible(lvResult, int(row), FALSE); }

std::optional<std::size_t> TfoMAIN::TopRow() const {
  if (List().Count() == 0) return std::nullopt;
  return std::size_t(ListView_GetTopIndex(lvResult));
}

void TfoMAIN::SetTopRow(std::size_t row) {
  // A report view scrolls by pixels: whole rows of the first row's height.
  RECT first{};
  if (!ListView_GetItemRect(lvResult, 0, &first, LVIR_BOUNDS)) return;
  const int rows = int(row) - ListView_GetTopIndex(lvResult);
  ListView_Scroll(lvResult, 0, rows * (first.bottom - first.top));
}

int TfoMAIN::ColumnWidth(int column) const {
  return ScaleTo96(ListView_GetColumnWidth(lvResult, column), FDpi);
}

void TfoMAIN::SetColumnWidth(int column, int width) {
  ListView_SetColumnWidth(lvResult, column, Px(width));
}

FontValue TfoMAIN::ListFont() const { return FListFontValue; }

void TfoMAIN::SetListFont(const FontValue& font) {
  FListFontValue = font;
  UpdateFonts();
}

std::optional<TClipboardText> TfoMAIN::ReadClipboard(std::string Room) {
  // Converted where the clipboard keeps it: a large text is not copied
  // first.
  TClipboardText text;
  if (!ReadClipboardUnicode(FHandle, [&](std::wstring_view wide) {
        text.Text = SjisFromWide(wide, &text.Replaced, std::move(Room));
      }))
    return std::nullopt;
  return text;
}

bool TfoMAIN::WriteClipboard(const std::string& sjis) {
  return WriteClipboardUnicode(FHandle, WideFromSjis(sjis));
}

bool TfoMAIN::Message(MessageKind kind, const std::string& sjis) { return ShowMessage(kind, sjis); }

void TfoMAIN::Beep() { MessageBeep(BeepSound::Default); }

void TfoMAIN::BeginWait() { BeginWaitCursor(); }

void TfoMAIN::EndWait() { EndWaitCursor(); }

bool TfoMAIN::StayOnTop() const { return FStayOnTop; }

void TfoMAIN::SetStayOnTop(bool on) {
  FStayOnTop = on;
  SetWindowPos(FHandle, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  sbSwFormStyle->SetGlyph(on ? FGlyphNormal : FGlyphStayOnTop);
}

void TfoMAIN::SetCaption(TControl control, const std::string& sjis) {
  const std::wstring text = WideFromSjis(sjis);
  if (control == TControl::sbSwFormStyle)
    sbSwFormStyle->SetCaption(text);
  else if (control == TControl::sbClose)
    sbClose->SetCaption(text);
  else if (control == TControl::foMAIN)
    SetWindowTextW(FHandle, text.c_str());
}

bool TfoMAIN::OpenDocument(const std::string& path) { return OpenWithShell(FHandle, path); }

void TfoMAIN::ShowVersionDialog(const std::string& version, const std::string& build,
                                const std::string& since) {
  tavrin::ShowVersionDialog(FHandle, version, build, since, IDB_LOGO);
}

bool TfoMAIN::RunSettingsDialog(TSetOptionValues& options, FontValue& listFont,
                                const std::vector<TSampleRow>& samples,
                                const TDictionaryLine& dictionary) {
  std::vector<TSetSample> rows;
  for (const TSampleRow& s : samples) rows.push_back({s.Caption, s.Count});
  return RunSetDialog(FHandle, options, listFont, rows, IL201905, TResultList::kImageIndex,
                      {dictionary.Text, dictionary.Edit});
}

bool TfoMAIN::OpenInEditor(const std::string& path) { return OpenInNotepad(FHandle, path); }

bool TfoMAIN::DebugControlsVisible() const { return IsWindowVisible(Button1) != 0; }

void TfoMAIN::SetDebugControlsVisible(bool visible) {
  for (HWND h : {Button1, Button2, Memo1}) {
    ShowWindow(h, visible ? SW_SHOW : SW_HIDE);
    if (visible) SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  }
}

void TfoMAIN::SetMemoLines(const std::vector<std::string>& sjisLines) {
  std::wstring text;
  for (const std::string& line : sjisLines) text += WideFromSjis(line) + L"\r\n";
  SetWindowTextW(Memo1, text.c_str());
}

SIZE TfoMAIN::OuterSize(int clientWidth, int clientHeight, int dpi) const {
  RECT r{0, 0, clientWidth, clientHeight};
  AdjustWindowRectExForDpi(&r, DWORD(GetWindowLongW(FHandle, GWL_STYLE)), FALSE,
                           DWORD(GetWindowLongW(FHandle, GWL_EXSTYLE)), UINT(dpi));
  return {r.right - r.left, r.bottom - r.top};
}

// The settings count the frame as the system makes it at 96 dpi, whatever
// the density the window stands at: the same file, the same window.
TFrameSize TfoMAIN::Frame96() const {
  const SIZE frame = OuterSize(0, 0, kDesignDpi);
  return {frame.cx, frame.cy};
}

TFormGeometry TfoMAIN::WindowGeometry() const {
  WINDOWPLACEMENT p{};
  p.length = sizeof p;
  GetWindowPlacement(FHandle, &p);
  const SIZE frame = OuterSize(0, 0, FDpi);
  const RECT& r = p.rcNormalPosition;
  TFormGeometry g;
  g.Left = r.left;
  g.Top = r.top;
  g.Width = ScaleTo96((r.right - r.left) - frame.cx, FDpi);
  g.Height = ScaleTo96((r.bottom - r.top) - frame.cy, FDpi);
  g.Maximized = p.showCmd == SW_SHOWMAXIMIZED;
  return WithFrame(g, Frame96());
}

SIZE TfoMAIN::OuterPixels(const TFormGeometry& outer) const {
  // No window's coordinates reach beyond 16 bits.
  constexpr std::int32_t kLargest = 0x7FFF;
  const TFormGeometry client = WithoutFrame(outer, Frame96());
  return OuterSize(Px(std::min(client.Width, kLargest)), Px(std::min(client.Height, kLargest)),
                   FDpi);
}

void TfoMAIN::PlaceWindow(const TFormGeometry& g) {
  const SIZE size = OuterPixels(g);
  WINDOWPLACEMENT p{};
  p.length = sizeof p;
  GetWindowPlacement(FHandle, &p);
  p.rcNormalPosition = {g.Left, g.Top, g.Left + size.cx, g.Top + size.cy};
  // Hidden until the first showing, which maximises a window saved so.
  p.showCmd = SW_HIDE;
  SetWindowPlacement(FHandle, &p);
  FStartMaximized = g.Maximized;
}

std::vector<TRect> TfoMAIN::ScreenAreas() const {
  std::vector<TRect> areas;
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR monitor, HDC, LPRECT, LPARAM out) -> BOOL {
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (GetMonitorInfoW(monitor, &info)) {
          const RECT& a = info.rcWork;
          reinterpret_cast<std::vector<TRect>*>(out)->push_back(
              {a.left, a.top, a.right - a.left, a.bottom - a.top});
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&areas));
  return areas;
}

void TfoMAIN::CloseWindow() { PostMessageW(FHandle, WM_CLOSE, 0, 0); }

}  // namespace tavrin
