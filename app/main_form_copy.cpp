// Copy, delete, the pop-up menu and the key table.
#include <numeric>
#include <string>

#include "app/command_texts.h"
#include "app/copy_text.h"
#include "app/main_form.h"

namespace tavrin {

void TMainForm::pmCopySelectClick(TControl Sender) {
  const bool all = Sender == TControl::pmCopyAll || Sender == TControl::sbCopyAll;
  TWaitGuard wait(FView);
  const std::vector<std::size_t> selected = all ? std::vector<std::size_t>{} : FView.SelectedRows();
  const TCopyResult copy =
      CopyRows(FList.Rows(), selected, all ? TCopyKind::All : TCopyKind::Selected, FCopyCount);
  if (copy.Status == TCopyResult::TStatus::Copied) {
    if (!CopyToClipboard(copy.Text)) return;
    if (FSound) FView.Beep();
  }
  FView.Message(MessageKind::Information, copy.Message);
}

bool TMainForm::CopyToClipboard(const std::string& sjis) {
  if (FView.WriteClipboard(sjis)) return true;
  FView.Message(MessageKind::Error, ClipboardRefusedMessage());
  return false;
}

void TMainForm::pmDeleteClick() {
  TWaitGuard wait(FView);
  const std::vector<std::size_t> selected = FView.SelectedRows();
  if (selected.empty()) return;
  std::vector<bool> remove(static_cast<std::size_t>(FList.Count()), false);
  for (std::size_t row : selected) {
    if (row >= remove.size()) continue;
    remove[row] = true;
    FList.Row(static_cast<int>(row)).Item->SetShown(false);
  }
  FList.RemoveRows(remove);
  FView.ListRowsRemoved(remove);
  if (FListSimilar) ShowGroups();  // a deleted row leaves its group
}

void TMainForm::PopupMenu1Popup() {
  const bool selection = FView.HasSelection();
  FView.SetControlEnabled(TControl::pmCopyAll, FList.Count() > 0);
  FView.SetControlEnabled(TControl::pmCopySelect, selection);
  FView.SetControlEnabled(TControl::pmDelete, selection);
  FView.SetControlEnabled(TControl::pmMakeCanonical, CanMakeCanonical());
  FView.SetControlEnabled(TControl::pmLeaveGroup, CanLeaveGroup());
  FView.SetControlEnabled(TControl::pmJoinSelected, CanJoinSelected());
  FView.SetControlEnabled(TControl::pmUndoDictionary, CanUndoDictionaryChange());
}

void TMainForm::lvResultDblClick() {
  if (FView.HasSelection()) pmCopySelectClick(TControl::lvResult);
}

bool TMainForm::KeyRepeats(TKey Key) { return Key == TKey::Delete || Key == TKey::A; }

// Ctrl+G groups the selected rows, Ctrl+Shift+G takes a row out of its
// group, as drawing programs group and ungroup; Ctrl+K makes a spelling
// the canonical one.
const TMainForm::TMenuKey TMainForm::kMenuKeys[6] = {
    {TControl::pmCopyNormalized, TKey::F8, kShiftNone},
    {TControl::pmCopyMap, TKey::F9, kShiftNone},
    {TControl::pmMakeCanonical, TKey::K, kShiftCtrl},
    {TControl::pmLeaveGroup, TKey::G, kShiftCtrl | kShiftShift},
    {TControl::pmJoinSelected, TKey::G, kShiftCtrl},
    {TControl::pmUndoDictionary, TKey::Z, kShiftCtrl},
};

std::string TMainForm::MenuKeyText(TControl Item) {
  for (const TMenuKey& k : kMenuKeys) {
    if (k.Item != Item) continue;
    std::string text;
    if (k.Shift & kShiftCtrl) text += "Ctrl+";
    if (k.Shift & kShiftAlt) text += "Alt+";
    if (k.Shift & kShiftShift) text += "Shift+";
    const int code = static_cast<int>(k.Key);
    if (code >= static_cast<int>(TKey::F1) && code <= static_cast<int>(TKey::F1) + 11)
      text += "F" + std::to_string(code - static_cast<int>(TKey::F1) + 1);
    else
      text += static_cast<char>(code);
    return text;
  }
  return {};
}

bool TMainForm::FormKeyDown(TKey Key, TShiftState Shift, bool Repeat) {
  if (Repeat && !KeyRepeats(Key)) return false;
  for (const TMenuKey& k : kMenuKeys) {
    // A function key acts whatever modifiers are held, as the others of
    // the table below do; a letter needs exactly its own.
    if (k.Key != Key ||
        (k.Shift != kShiftNone && k.Shift != (Shift & (kShiftCtrl | kShiftAlt | kShiftShift))))
      continue;
    switch (k.Item) {
      case TControl::pmCopyNormalized:
        pmCopyNormalizedClick();
        break;
      case TControl::pmCopyMap:
        pmCopyMapClick();
        break;
      case TControl::pmMakeCanonical:
        pmMakeCanonicalClick();
        break;
      case TControl::pmLeaveGroup:
        pmLeaveGroupClick();
        break;
      case TControl::pmJoinSelected:
        pmJoinSelectedClick();
        break;
      case TControl::pmUndoDictionary:
        UndoDictionaryChange();
        break;
      default:
        break;
    }
    return true;
  }
  switch (Key) {
    case TKey::F1:
      imgHelpClick();
      return true;
    case TKey::F5:
      sbExtractRuijiClick(TControl::foMAIN);
      return true;
    case TKey::F6:
      sbGetAllDataClick(TControl::sbGetAllData);
      return true;
    case TKey::F7:
      pmCopySelectClick(TControl::pmCopyAll);
      return true;
    case TKey::Delete:
      pmDeleteClick();
      return true;
    case TKey::Return:
      pmCopySelectClick(TControl::pmCopySelect);
      return true;
    case TKey::C:
      if (!(Shift & kShiftCtrl)) return false;
      pmCopySelectClick(TControl::pmCopySelect);
      return true;
    case TKey::A: {
      // Every row, the current row staying where it is.
      if (!(Shift & kShiftCtrl)) return false;
      std::vector<std::size_t> all(static_cast<std::size_t>(FList.Count()));
      std::iota(all.begin(), all.end(), std::size_t{0});
      FView.SelectRows(all, FView.CurrentRow());
      return true;
    }
    default:
      return false;
  }
}

}  // namespace tavrin
