#pragma once
// TfoMAIN for Windows: the shared window logic (TMainForm) plus a Win32
// view. One window procedure routes every event to the handler of the same
// name in TMainForm; the view methods only draw and call the platform.
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <memory>
#include <string>

#include "app/main_form.h"
#include "app/main_view.h"

namespace tavrin {

class TGradationExprs;
class TSpeedButton;

class TfoMAIN : public TMainForm, private IMainView {
 public:
  TfoMAIN();
  ~TfoMAIN() override;

  // Builds the window and its controls, runs FormCreate and places it.
  bool Create(int showCommand);
  HWND Handle() const { return FHandle; }
  // The key preview: the message loop hands every key press of this window
  // and its controls here first. True when the key was the window's.
  bool PreviewKey(const MSG& msg);

  // The text of a list cell for the virtual list view's buffer of capacity
  // units (FittedText); empty for a row beyond the list.
  static std::wstring CellText(const TResultList& list, int row, int column, int capacity);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l);
  LRESULT Handle(UINT message, WPARAM w, LPARAM l);
  void CreateControls();
  void Layout();
  void OnCommand(int id, int code);
  LRESULT OnNotify(NMHDR* header);
  LRESULT OnListCustomDraw(NMLVCUSTOMDRAW* draw);
  void ShowPopupMenu(POINT screen);
  // Where Shift+F10 or the menu key opens the list's menu, in screen pixels.
  POINT KeyboardMenuPoint() const;
  static LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM w, LPARAM l, UINT_PTR,
                                   DWORD_PTR self);
  // The cell under the mouse, as (row, column); row -1 for none.
  std::pair<int, int> CellAt(POINT client) const;
  void UpdateFonts();
  // The pictures and the form's font at the window's density: made at the
  // start and again when the window moves to a screen of another density.
  void MakeFormFont();
  void LoadGlyphs();
  void MakeRowIcons();
  void ChangeDpi(int dpi, const RECT& suggested);
  int Px(int units) const;
  // The outer size of this window's style for a client size at a density;
  // the frame the settings count (at 96 dpi); the outer pixels, at the
  // window's density, of a geometry as the settings keep it.
  SIZE OuterSize(int clientWidth, int clientHeight, int dpi) const;
  TFrameSize Frame96() const;
  SIZE OuterPixels(const TFormGeometry& outer) const;

  // IMainView
  void SetStatus(const std::string& sjis) override;
  void SetControlHint(TControl control, const std::string& sjis, bool shown) override;
  void SetTitle(const std::string& sjis) override;
  void SetControlEnabled(TControl control, bool enabled) override;
  void ListReset() override;
  void ListRowsRemoved(const std::vector<bool>& removed) override;
  void ListReordered(const std::vector<int>& newPosition) override;
  void ListGroupsChanged() override;
  void SetSortMark(int column, int direction) override;
  void SetListHighlight(bool on) override;
  std::vector<std::size_t> SelectedRows() const override;
  bool HasSelection() const override;
  std::optional<std::size_t> CurrentRow() const override;
  void ClearSelection() override;
  void SelectRows(const std::vector<std::size_t>& rows,
                  std::optional<std::size_t> current) override;
  void ScrollToRow(std::size_t row) override;
  std::optional<std::size_t> TopRow() const override;
  void SetTopRow(std::size_t row) override;
  int ColumnWidth(int column) const override;
  void SetColumnWidth(int column, int width) override;
  FontValue ListFont() const override;
  void SetListFont(const FontValue& font) override;
  std::optional<TClipboardText> ReadClipboard(std::string Room) override;
  bool WriteClipboard(const std::string& sjis) override;
  bool Message(MessageKind kind, const std::string& sjis) override;
  void Beep() override;
  void BeginWait() override;
  void EndWait() override;
  bool StayOnTop() const override;
  void SetStayOnTop(bool on) override;
  void SetCaption(TControl control, const std::string& sjis) override;
  bool OpenDocument(const std::string& path) override;
  void ShowVersionDialog(const std::string& version, const std::string& build,
                         const std::string& since) override;
  bool RunSettingsDialog(TSetOptionValues& options, FontValue& listFont,
                         const std::vector<TSampleRow>& samples,
                         const TDictionaryLine& dictionary) override;
  bool OpenInEditor(const std::string& path) override;
  bool DebugControlsVisible() const override;
  void SetDebugControlsVisible(bool visible) override;
  void SetMemoLines(const std::vector<std::string>& sjisLines) override;
  TFormGeometry WindowGeometry() const override;
  void PlaceWindow(const TFormGeometry& geometry) override;
  std::vector<TRect> ScreenAreas() const override;
  void CloseWindow() override;

  HWND ControlHandle(TControl control) const;
  // Sets or clears State on every row with the list's drawing held off:
  // the list view repaints each row whose state changes (under wine a call
  // to its server a row: over a minute for 200,000 rows), and draws them
  // all once here instead.
  void SetEveryRowState(UINT state, UINT mask);
  // The pop-up menu's item of a control; 0 for a control that is none.
  static UINT MenuItem(TControl control);

  HWND FHandle = nullptr;
  HWND lvResult = nullptr;
  HWND sb = nullptr;
  HWND FToolTip = nullptr;
  HWND FListTip = nullptr;  // the rows' tool-tips: group, cut caption
  std::pair<int, int> FTipCell{-1, -1};
  std::wstring FTipText;
  HWND Button1 = nullptr, Button2 = nullptr, Memo1 = nullptr;
  HMENU PopupMenu1 = nullptr;
  HIMAGELIST IL201905 = nullptr;
  std::array<std::unique_ptr<TGradationExprs>, 5> FGradations;  // GradationExprs1 .. 5
  std::unique_ptr<TSpeedButton> sbClose, sbExtractRuiji, sbGetAllData, sbCopyAll, sbSwFormStyle,
      sbSet;
  std::unique_ptr<TSpeedButton> imgHelp, imgVersion;
  // The speed buttons' glyphs, owned: loaded at the size the density asks.
  std::array<HICON, 9> FGlyphs{};
  HICON FGlyphNormal = nullptr, FGlyphStayOnTop = nullptr;  // two of them
  HFONT FFormFont = nullptr, FListFontHandle = nullptr, FListBoldFont = nullptr;
  FontValue FListFontValue;
  bool FStayOnTop = false;
  bool FHighlight = false;
  bool FShown = false;
  bool FClosing = false;
  bool FSettingEveryRow = false;  // inside SetEveryRowState
  bool FStartMaximized = false;   // as the settings placed it
  int FNesting = 0;               // handlers running (messages, previewed keys), one inside another
  int FSortColumn = -1, FSortDirection = 0;
  int FDpi = 96;  // of the monitor the window is on
};

}  // namespace tavrin
