// Copy, delete, the pop-up menu and the key table.
#include <numeric>

#include "app/command_texts.h"
#include "app/copy_text.h"
#include "app/main_form.h"

namespace tavrin {

void TMainForm::pmCopySelectClick(TControl Sender) {
  const bool all = Sender == TControl::pmCopyAll || Sender == TControl::sbCopyAll;
  TWaitGuard wait(FView);
  const std::vector<std::size_t> selected =
      all ? std::vector<std::size_t>{} : FView.SelectedRows();
  const TCopyResult copy = CopyRows(FList.Rows(), selected,
                                    all ? TCopyKind::All : TCopyKind::Selected, FCopyCount);
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
}

void TMainForm::lvResultDblClick() {
  if (FView.HasSelection()) pmCopySelectClick(TControl::lvResult);
}

bool TMainForm::KeyRepeats(TKey Key) { return Key == TKey::Delete || Key == TKey::A; }

bool TMainForm::FormKeyDown(TKey Key, TShiftState Shift, bool Repeat) {
  if (Repeat && !KeyRepeats(Key)) return false;
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
    case TKey::F8:
      pmCopyNormalizedClick();
      return true;
    case TKey::F9:
      pmCopyMapClick();
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
    case TKey::Z:
      // The last change of the user's dictionary taken back.
      if (!(Shift & kShiftCtrl)) return false;
      UndoDictionaryChange();
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
