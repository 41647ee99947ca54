#pragma once
// TMainForm: the main window's logic, the same in every skin. It owns the
// collection of distinct lines, the input lines and the result list, holds
// every user option as a field bound to the settings file, and runs every
// command through an IMainView. A skin's TfoMAIN is this form plus its
// view: it routes each event to the handler of the same name here. The
// handlers live in files by group: main_form (life cycle), _commands,
// _list, _copy (copy, delete, keys), _groups, _extras and _settings.
#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/clipboard_lines.h"
#include "app/main_view.h"
#include "app/result_list.h"
#include "app/user_dictionary.h"

namespace tavrin {

class TFormSettings;
class TUniqueManager;

class TMainForm : public TSetOptionValues {
 public:
  explicit TMainForm(IMainView& view);
  virtual ~TMainForm();
  TMainForm(const TMainForm&) = delete;
  TMainForm& operator=(const TMainForm&) = delete;

  // Option fields, bound to the keys of the same names; the Boolean ones
  // are the option table's (TSetOptionValues). Public: the settings dialog
  // edits them.
  std::int32_t FSetLvColumn0 = 480;
  std::int32_t FSetLvColumn1 = 65;
  bool FGuidePending = false;
  bool FDebug = false;
  // The last sort direction of the text and count columns (1 or -1).
  int TextSortDirection = 1;
  int CountSortDirection = 1;

  // Life cycle. FormCreate after the skin built its components (column
  // widths and list font at their design values); FormShow at the first
  // showing, once; FormCloseQuery when the window is asked to close (it
  // never refuses). RestoreGeometry puts the window where the settings say,
  // before its first showing; GeometryPlaced tells where it then stands.
  void FormCreate();
  void FormShow();
  bool FormCloseQuery();
  void RestoreGeometry();
  void GeometryPlaced();
  void sbCloseClick();
  void ApplyHint(bool show);
  void ApplyEngine();
  // The kinds of variants on (TVariantKind bits).
  unsigned VariantKinds() const;

  // How the close came: by the user (a failed save is shown in a box) or
  // by a termination signal (no box: the failure goes to standard error).
  void SetClosingBySignal(bool bySignal) { FClosingBySignal = bySignal; }
  // The session ends (logoff, shutdown): the settings are saved as a close
  // saves them, a failure told as a signal's is, but nothing is released,
  // since a handler may still wait below in a box the session's end came
  // through; the system ends the program.
  void FormEndSession();
  // False when the last save of the settings failed.
  bool SettingsSaved() const { return FSettingsSaved; }

  // Commands. The sender tells the callers apart, as the key table and the
  // buttons pass them. While lines are added, a progress text reaches the
  // status panel when kProgressMilliseconds (util/stopwatch.h's clock) have
  // passed since the last one shown.
  static constexpr std::uint32_t kProgressMilliseconds = 50;
  void sbGetAllDataClick(TControl Sender);
  void sbExtractRuijiClick(TControl Sender);
  void pmCopySelectClick(TControl Sender);
  void pmDeleteClick();
  // The normalized text of the last input, and the replacement map, of
  // what [類字抽出] found.
  void pmCopyNormalizedClick();
  void pmCopyMapClick();
  // Enables the pop-up menu's items, before it shows.
  void PopupMenu1Popup();
  void lvResultClick();
  void lvResultDblClick();
  void lvResultColumnClick(int column);
  void lvResultKeyDown() {}

  // Window extras.
  void sbSwFormStyleClick();
  void sbSetClick();
  void imgHelpClick();
  void imgHelpMouseDown(TMouseButton Button);
  void imgVersionClick();
  void imgVersionMouseDown(TMouseButton Button, TShiftState Shift);
  void GradationExprs1DblClick();
  void sbDblClick();
  void Button1Click();
  void Button2Click();

  // The key table. Returns true when the key acted; the key goes on to the
  // focused control all the same. Repeat: the auto-repeat of a held key,
  // which only the keys that edit the list act on (see KeyRepeats).
  bool FormKeyDown(TKey Key, TShiftState Shift, bool Repeat = false);
  // Whether a held key acts again on each auto-repeat: Delete and Ctrl+A
  // do, as the list's own keys; a command key (help, the commands, the
  // copies) acts once a press, since each run reads or writes the
  // clipboard and may end in a message box.
  static bool KeyRepeats(TKey Key);
  // The pop-up menu's items that have a key, and the key: FormKeyDown acts
  // on it as on the item, and the skins show it after the item's caption.
  struct TMenuKey {
    TControl Item;
    TKey Key;
    TShiftState Shift;
  };
  static const TMenuKey kMenuKeys[6];
  // The key of a menu item as the menus write it ("Ctrl+Shift+G"); empty
  // for an item without one.
  static std::string MenuKeyText(TControl Item);

  // A control's hint (CP932, a CR breaks the line); it is the control's
  // tool-tip while hints are on.
  void SetHint(TControl control, const std::string& sjis);
  std::string Hint(TControl control) const;

  TUniqueManager* UniqueManager() const { return FUniqueManager.get(); }
  const TClipboardLines& Lines() const { return FLines; }
  const TResultList& List() const { return FList; }
  TFormSettings* AccIni() const { return AccIni1.get(); }
  IMainView& View() const { return FView; }
  // The user's dictionary, tavrin-dict.txt beside the settings file.
  std::string DictionaryFile() const;
  // The settings dialog's line on the dictionary: how many rules it holds,
  // or where it is wrong.
  std::string DictionaryStatus() const;
  // [辞書を編集]: opens the dictionary in the system's editor, made first
  // with a header that says how to write it when there is none; returns the
  // line to show afterwards. A file that cannot be made, or no editor, is
  // told in a box.
  std::string EditDictionary();
  // The pop-up menu's rules on the result list of [類字抽出]. Each writes the
  // dictionary at once (atomically, in its own encoding; a new file is UTF-8
  // with a BOM), then lists again with the same rows selected:
  // これを正規の表記にする: the current row's group gets a line with its
  // text first (the group's join line, when there is one, is rewritten);
  void pmMakeCanonicalClick();
  // この組から外す: "!canonical TAB text" for the current row;
  void pmLeaveGroupClick();
  // 選んだ行を一つの組にする: the selected rows in one line, the first
  // selected canonical.
  void pmJoinSelectedClick();
  // Ctrl+Z: the dictionary as it was before the last of these changes of
  // the session, written back (removed when there was none); false when
  // there is nothing to undo.
  bool UndoDictionaryChange();
  // Whether each of them applies to the list, its current row and its
  // selection as they are: the menu enables its items so, and a key does
  // nothing where its item would be disabled.
  bool CanMakeCanonical() const;
  bool CanLeaveGroup() const;
  bool CanJoinSelected() const;
  bool CanUndoDictionaryChange() const { return !FDictionaryUndo.empty(); }

 private:
  void BindSettings();
  // Stores the column widths and the list's font and writes every setting;
  // a failure is told (FClosingBySignal) and kept in FSettingsSaved.
  void SaveSettings();
  bool ReadClipboard();
  void BuildData(bool ShowAll);
  void ExtractSimilar();
  // Reads the dictionary for the collection as it is now; a malformed one
  // is told and the command runs without it.
  void ReadDictionary();
  // Writes Edit's result over the dictionary's text (CP932, or nullopt
  // when the file is missing) and lists again; false, with a message, when
  // the file cannot be read as a dictionary or written.
  bool ChangeDictionary(const std::function<std::string(std::string)>& Edit);
  bool WriteDictionary(const std::optional<std::string>& Bytes);
  // Lists again after a change of the rules, the selection, the current
  // row and the top row kept where their texts are still listed.
  void RelistKeepingSelection();
  // The current row's group of the list of [類字抽出]; nullptr without one.
  const TVariantGroup* CurrentGroup() const;
  void ShowSummary(bool AllData);
  void FillList(bool SimilarOnly);
  void ShowGroups();
  bool CopyFound(const std::function<std::string()>& makeText, const std::string& message);
  // Puts the text on the clipboard; a clipboard that refuses it is told as
  // an error and false returned.
  bool CopyToClipboard(const std::string& sjis);

  IMainView& FView;
  std::unique_ptr<TUniqueManager> FUniqueManager;
  // The lines the collection counts (TotalCount), taken once a build: only
  // BuildData changes the counts, and the summary of [類字抽出] and of each
  // relisting would otherwise walk every item again.
  std::int32_t FTotalCount = 0;
  TClipboardLines FLines;
  TResultList FList;
  std::unique_ptr<TFormSettings> AccIni1;
  FontValue FListFont;
  // The clipboard text as read, and the one the collection was built from
  // (normalizing writes it back); mostly FLines' own buffer, not a copy.
  std::shared_ptr<const std::string> FReadText, FInputText;
  // The memory of a text no longer read, for the next one.
  std::string FSpareText;
  bool FListSimilar = false;  // the list shows what [類字抽出] found
  // The user's rules as the last [類字抽出] read them; none without a file.
  std::optional<TDictionaryGroups> FDictionary;
  // The dictionary's bytes before each change of the session (nullopt: the
  // file did not exist), the last change last.
  std::vector<std::optional<std::string>> FDictionaryUndo;
  bool FShowDone = false;
  bool FClosingBySignal = false;
  bool FSettingsSaved = true;
  std::vector<std::pair<TControl, std::string>> FHints;
  // The widths the columns took from FSetLvColumn0/1 (a skin may keep a
  // minimum): a column still at that width saves what was read.
  int FLoadedColumnWidth[2] = {0, 0};
  // The folding tables the first [類字抽出] needs, made on another thread
  // once the window shows (about 60 ms of tables); waited for at the end.
  std::future<void> FWarmUp;
};

}  // namespace tavrin
