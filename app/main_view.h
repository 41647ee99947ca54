#pragma once
// IMainView: what the main window's logic (TMainForm) asks of a window
// toolkit. A skin implements it over its own widgets: it draws, routes the
// user's events to TMainForm's handlers and calls the platform; it decides
// nothing. Texts are CP932 (a CR breaks a line), sizes are pixels.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "settings/font_mang.h"
#include "settings/form_geometry.h"
#include "settings/set_options.h"
#include "util/messages.h"

namespace tavrin {

// The window's components the logic names: as the sender of a command, as
// the owner of a hint or a caption. foMAIN is the window itself.
enum class TControl {
  foMAIN,
  sbClose,
  sbExtractRuiji,
  sbGetAllData,
  sbCopyAll,
  sbSwFormStyle,
  sbSet,
  imgHelp,
  imgVersion,
  pmCopyAll,
  pmCopySelect,
  pmDelete,
  pmCopyNormalized,
  pmCopyMap,
  pmMakeCanonical,
  pmLeaveGroup,
  pmJoinSelected,
  pmUndoDictionary,
  lvResult,
};

// Key codes, with the numbers of the Windows virtual keys (a Win32 skin
// casts its own; a Qt skin maps its keys, both Enter keys to Return). Keys
// the window does not use may come as None.
enum class TKey : int {
  None = 0,
  Return = 0x0D,
  Escape = 0x1B,
  Delete = 0x2E,
  A = 'A',
  C = 'C',
  G = 'G',
  K = 'K',
  Z = 'Z',
  F1 = 0x70,  // F1 .. F12 are 0x70 .. 0x7B
  F5 = 0x74,
  F6 = 0x75,
  F7 = 0x76,
  F8 = 0x77,
  F9 = 0x78,
};

// Modifier keys held, as bits.
using TShiftState = unsigned;
inline constexpr TShiftState kShiftNone = 0;
inline constexpr TShiftState kShiftShift = 1;
inline constexpr TShiftState kShiftAlt = 2;
inline constexpr TShiftState kShiftCtrl = 4;

enum class TMouseButton { Left, Right, Middle };

// The clipboard's text as the codec gave it.
struct TClipboardText {
  std::string Text;          // CP932
  std::size_t Replaced = 0;  // characters the codec had to replace
};
// The warning shown before listing when the codec replaced characters.
std::string ReplacedCharactersMessage(std::size_t replaced);

// A row of the settings dialog's sample list: the texts the result list
// shows (the skin adds the row picture).
struct TSampleRow {
  std::string Caption;
  std::string Count;
};

// The settings dialog's line on the user's dictionary: the text beside
// [辞書を編集], and what a click on it does (it returns the text to show
// afterwards).
struct TDictionaryLine {
  std::string Text;  // CP932
  std::function<std::string()> Edit;
};

class IMainView {
 public:
  virtual ~IMainView() = default;

  // Status panel 1: text and tool-tip, repainted at once (a command runs
  // without the event loop).
  virtual void SetStatus(const std::string& sjis) = 0;
  // A control's hint, and whether it is the control's tool-tip now (hints
  // on) or the control shows none.
  virtual void SetControlHint(TControl control, const std::string& sjis, bool shown) = 0;
  // The window's caption.
  virtual void SetTitle(const std::string& sjis) = 0;
  // Enabling of a control (the pop-up menu's items).
  virtual void SetControlEnabled(TControl control, bool enabled) = 0;

  // The result list shows TMainForm::List(). Its rows were replaced: show
  // them from the first row, nothing selected, no sort mark.
  virtual void ListReset() = 0;
  // The rows whose flag was set are gone (flags had the old row count).
  virtual void ListRowsRemoved(const std::vector<bool>& removed) = 0;
  // The rows moved: old row i is now at newPosition[i]. The selection was
  // cleared before and is set again after.
  virtual void ListReordered(const std::vector<int>& newPosition) = 0;
  // Groups, and so bold rows, tints and tool-tips, changed; rows did not.
  virtual void ListGroupsChanged() = 0;
  // The heading's sort mark: direction 1 or -1 on the column, 0 none.
  virtual void SetSortMark(int column, int direction) = 0;
  // The guidance flash: the rows area green while on, repainted at once.
  virtual void SetListHighlight(bool on) = 0;

  // Selection of the result list (positions ascending) and its current row.
  virtual std::vector<std::size_t> SelectedRows() const = 0;
  virtual bool HasSelection() const = 0;
  virtual std::optional<std::size_t> CurrentRow() const = 0;
  virtual void ClearSelection() = 0;
  // Selects rows (ascending) and makes current the current row, without
  // selecting it by that.
  virtual void SelectRows(const std::vector<std::size_t>& rows,
                          std::optional<std::size_t> current) = 0;
  virtual void ScrollToRow(std::size_t row) = 0;
  // The row shown at the top of the rows area (nothing in an empty list),
  // and the list scrolled so that row is there, as far as the list scrolls.
  virtual std::optional<std::size_t> TopRow() const = 0;
  virtual void SetTopRow(std::size_t row) = 0;

  // The list's column widths and font (the settings keep both).
  virtual int ColumnWidth(int column) const = 0;
  virtual void SetColumnWidth(int column, int width) = 0;
  virtual FontValue ListFont() const = 0;
  virtual void SetListFont(const FontValue& font) = 0;

  // The clipboard as CP932 text; nothing when it holds no text at all.
  // Room is the memory of an earlier text, for the text's bytes.
  virtual std::optional<TClipboardText> ReadClipboard(std::string Room) = 0;
  // False when the system's clipboard did not take the text (held open by
  // another program, or no memory for it).
  virtual bool WriteClipboard(const std::string& sjis) = 0;

  // A message box; the answer as MessageKind describes.
  virtual bool Message(MessageKind kind, const std::string& sjis) = 0;
  virtual void Beep() = 0;
  // The hourglass over the application; calls nest in pairs.
  virtual void BeginWait() = 0;
  virtual void EndWait() = 0;

  // Stay-on-top: the window's style and the glyph of sbSwFormStyle
  // (TMainForm sets its caption and hint).
  virtual bool StayOnTop() const = 0;
  virtual void SetStayOnTop(bool on) = 0;
  virtual void SetCaption(TControl control, const std::string& sjis) = 0;

  // Opens a document (UTF-8 path) with the desktop's viewer; false when no
  // program can open it. Fails with std::exception for other faults.
  virtual bool OpenDocument(const std::string& path) = 0;
  virtual void ShowVersionDialog(const std::string& version, const std::string& build,
                                 const std::string& since) = 0;
  // Runs the settings dialog on these values; true, with the values
  // changed, for OK.
  virtual bool RunSettingsDialog(TSetOptionValues& options, FontValue& listFont,
                                 const std::vector<TSampleRow>& samples,
                                 const TDictionaryLine& dictionary) = 0;
  // Opens a text file (UTF-8 path) in the system's editor: Notepad on
  // Windows, what xdg-open chooses elsewhere; false when none starts.
  virtual bool OpenInEditor(const std::string& path) = 0;

  // The hidden test controls of debug mode and their memo.
  virtual bool DebugControlsVisible() const = 0;
  virtual void SetDebugControlsVisible(bool visible) = 0;
  virtual void SetMemoLines(const std::vector<std::string>& sjisLines) = 0;

  // Geometry (settings/form_geometry.h): where the window is, and where it
  // shall be; PlaceWindow comes before the window is first shown.
  virtual TFormGeometry WindowGeometry() const = 0;
  virtual void PlaceWindow(const TFormGeometry& geometry) = 0;
  virtual std::vector<TRect> ScreenAreas() const = 0;

  // Asks the window to close, as its title bar's close does.
  virtual void CloseWindow() = 0;
};

// The hourglass for a scope.
class TWaitGuard {
 public:
  explicit TWaitGuard(IMainView& view) : FView(view) { FView.BeginWait(); }
  ~TWaitGuard() { FView.EndWait(); }
  TWaitGuard(const TWaitGuard&) = delete;
  TWaitGuard& operator=(const TWaitGuard&) = delete;

 private:
  IMainView& FView;
};

}  // namespace tavrin
