// The groups of the similar rows: shown in the list, and copied as the
// normalized input or the replacement map.
#include "app/command_texts.h"
#include "app/qt/clipboard.h"
#include "app/qt/main_window.h"
#include "app/qt/result_model.h"
#include "app/variant_groups.h"
#include "engine/unique_manager.h"
#include "util/messages.h"
#include "util/qt/wait_cursor.h"

namespace tavrin {

void TfoMAIN::ShowGroups() {
  FModel->SetGroups(VariantGroups(FModel->Rows()), FUniqueManager->FHyphen);
}

bool TfoMAIN::CopyFound(const std::function<std::string()>& makeText, const std::string& message) {
  // Only what [類字抽出] found; after [全データ] there is nothing to copy.
  if (!FListSimilar || FModel->Count() == 0) {
    InformationDialog(NothingToCopyMessage());
    return false;
  }
  WaitCursorGuard wait;
  WriteClipboardText(makeText());
  if (FSound) Beep();
  InformationDialog(message);
  return true;
}

void TfoMAIN::pmCopyNormalizedClick() {
  CopyFound([this] { return NormalizedText(FInputText, FModel->Groups(), FUniqueManager->FTrim); },
            NormalizedCopiedMessage());
}

void TfoMAIN::pmCopyMapClick() {
  CopyFound([this] { return VariantMapText(FModel->Groups()); }, MapCopiedMessage());
}

}  // namespace tavrin
