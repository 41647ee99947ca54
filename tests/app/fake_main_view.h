#pragma once
// A main window without a toolkit: TMainForm over a view that records what
// it is asked and answers as a user would (clipboard, selection, message
// boxes), with the settings in a fresh folder.
#include <atomic>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "settings/form_settings.h"
#include "util/cp932.h"

namespace tavrin {

// A fresh folder, removed afterwards; the settings of every form made
// meanwhile live in it.
class SettingsFolder {
 public:
  SettingsFolder() {
    static std::atomic<int> serial{0};
    path_ =
        std::filesystem::temp_directory_path() /
        ("tavrin-form-" + std::to_string(std::random_device{}()) + "-" + std::to_string(serial++));
    std::filesystem::create_directories(path_);
    TFormSettings::SetDefaultFileName(Ini());
  }
  ~SettingsFolder() {
    TFormSettings::SetDefaultFileName(std::nullopt);
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  std::string Ini() const { return (path_ / "tavrin.ini").string(); }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

class FakeMainView : public IMainView {
 public:
  struct TMessage {
    MessageKind Kind;
    std::string Text;  // CP932
    bool operator==(const TMessage&) const = default;
  };

  // What the user does and answers.
  std::optional<std::string> Clipboard;  // CP932; nullopt: no text at all
  bool ClipboardTakes = true;            // false: the system refuses a copy
  std::size_t ClipboardReplaced = 0;
  std::size_t RoomOffered = 0;  // the capacity the last read was offered
  std::vector<std::size_t> Selection;
  std::optional<std::size_t> Current;
  std::optional<std::size_t> Top;  // the row the list shows first
  bool ConfirmAnswer = true;
  std::function<void()> OnMessage;  // run while a message is shown
  bool SettingsAnswer = false;
  std::optional<TSetOptionValues> SettingsChange;
  bool OpenAnswer = true;
  bool EditorAnswer = true;
  bool PressEditDictionary = false;  // in the settings dialog, before its answer

  // What the form asked.
  std::vector<TMessage> Messages;
  std::vector<std::string> Statuses;
  std::vector<std::string> Written;  // clipboard texts, CP932
  int Beeps = 0, Resets = 0, Removals = 0, Reorders = 0, GroupChanges = 0, Waits = 0;
  int WaitDepth = 0;
  int SortColumn = -1, SortDirection = 0;
  std::vector<bool> Highlights;
  std::map<TControl, std::string> Hints;
  std::map<TControl, bool> HintShown, Enabled;
  std::map<TControl, std::string> Captions;
  std::string Title;
  bool OnTop = false, DebugVisible = false, Closed = false;
  std::vector<std::string> Memo, Opened, Edited;
  std::vector<std::string>
      DictionaryLines;  // the dictionary line the settings dialog showed, in turn
  std::vector<TSampleRow> Samples;
  std::vector<std::string> Versions;
  int Widths[2] = {480, 65};
  FontValue Font{"Meiryo UI", 14, clWindowText, 0};
  TFormGeometry Geometry{0, 0, 637, 347, false};
  std::vector<TFormGeometry> Placed;
  std::vector<TRect> Screens{{0, 0, 1920, 1080}};

  void SetStatus(const std::string& sjis) override { Statuses.push_back(sjis); }
  void SetControlHint(TControl control, const std::string& sjis, bool shown) override {
    Hints[control] = sjis;
    HintShown[control] = shown;
  }
  void SetTitle(const std::string& sjis) override { Title = sjis; }
  void SetControlEnabled(TControl control, bool enabled) override { Enabled[control] = enabled; }
  void ListReset() override {
    ++Resets;
    Selection.clear();
    Current.reset();
    Top.reset();
    SortDirection = 0;
  }
  void ListRowsRemoved(const std::vector<bool>&) override {
    ++Removals;
    Selection.clear();
  }
  void ListReordered(const std::vector<int>&) override { ++Reorders; }
  void ListGroupsChanged() override { ++GroupChanges; }
  void SetSortMark(int column, int direction) override {
    SortColumn = column;
    SortDirection = direction;
  }
  void SetListHighlight(bool on) override { Highlights.push_back(on); }
  std::vector<std::size_t> SelectedRows() const override { return Selection; }
  bool HasSelection() const override { return !Selection.empty(); }
  std::optional<std::size_t> CurrentRow() const override { return Current; }
  void ClearSelection() override { Selection.clear(); }
  void SelectRows(const std::vector<std::size_t>& rows,
                  std::optional<std::size_t> current) override {
    Selection = rows;
    Current = current;
  }
  void ScrollToRow(std::size_t) override {}
  std::optional<std::size_t> TopRow() const override { return Top; }
  void SetTopRow(std::size_t row) override { Top = row; }
  int ColumnWidth(int column) const override { return Widths[column]; }
  void SetColumnWidth(int column, int width) override { Widths[column] = width; }
  FontValue ListFont() const override { return Font; }
  void SetListFont(const FontValue& font) override { Font = font; }
  std::optional<TClipboardText> ReadClipboard(std::string Room) override {
    RoomOffered = Room.capacity();
    if (!Clipboard) return std::nullopt;
    Room.assign(*Clipboard);
    return TClipboardText{std::move(Room), ClipboardReplaced};
  }
  bool WriteClipboard(const std::string& sjis) override {
    if (!ClipboardTakes) return false;
    Written.push_back(sjis);
    Clipboard = sjis;
    return true;
  }
  bool Message(MessageKind kind, const std::string& sjis) override {
    Messages.push_back({kind, sjis});
    if (OnMessage) OnMessage();  // what a box's event loop may do while it is up
    return kind == MessageKind::Confirm ? ConfirmAnswer : true;
  }
  void Beep() override { ++Beeps; }
  void BeginWait() override {
    ++Waits;
    ++WaitDepth;
  }
  void EndWait() override { --WaitDepth; }
  bool StayOnTop() const override { return OnTop; }
  void SetStayOnTop(bool on) override { OnTop = on; }
  void SetCaption(TControl control, const std::string& sjis) override { Captions[control] = sjis; }
  bool OpenDocument(const std::string& path) override {
    Opened.push_back(path);
    return OpenAnswer;
  }
  void ShowVersionDialog(const std::string& version, const std::string&,
                         const std::string&) override {
    Versions.push_back(version);
  }
  bool RunSettingsDialog(TSetOptionValues& options, FontValue&,
                         const std::vector<TSampleRow>& samples,
                         const TDictionaryLine& dictionary) override {
    Samples = samples;
    DictionaryLines.push_back(dictionary.Text);
    if (PressEditDictionary) DictionaryLines.push_back(dictionary.Edit());
    if (SettingsAnswer && SettingsChange) options = *SettingsChange;
    return SettingsAnswer;
  }
  bool OpenInEditor(const std::string& path) override {
    Edited.push_back(path);
    return EditorAnswer;
  }
  bool DebugControlsVisible() const override { return DebugVisible; }
  void SetDebugControlsVisible(bool visible) override { DebugVisible = visible; }
  void SetMemoLines(const std::vector<std::string>& lines) override { Memo = lines; }
  TFormGeometry WindowGeometry() const override { return Geometry; }
  void PlaceWindow(const TFormGeometry& geometry) override {
    Placed.push_back(geometry);
    Geometry = geometry;
  }
  std::vector<TRect> ScreenAreas() const override { return Screens; }
  void CloseWindow() override { Closed = true; }
};

// The form over the fake view, created as a skin creates it.
struct FakeWindow {
  SettingsFolder folder;
  FakeMainView view;
  TMainForm form{view};
  FakeWindow() {
    form.FormCreate();
    form.FormShow();
  }
  // The clipboard as CP932 from UTF-8 lines, each ended by CR LF.
  void Clip(const std::vector<std::string>& utf8Lines) {
    std::string text;
    for (const auto& line : utf8Lines) text += cp932::Sjis(line) + "\r\n";
    view.Clipboard = text;
  }
  std::vector<std::string> Captions() const {
    std::vector<std::string> out;
    for (int i = 0; i < form.List().Count(); ++i)
      out.push_back(cp932::ToUtf8(form.List().Caption(i)));
    return out;
  }
  std::string LastMessage() const {
    return view.Messages.empty() ? std::string() : cp932::ToUtf8(view.Messages.back().Text);
  }
};

}  // namespace tavrin
