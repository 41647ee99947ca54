// What [類字抽出] found, copied as the normalized input or the replacement
// map.
#include "app/command_texts.h"
#include "app/main_form.h"
#include "app/variant_groups.h"

namespace tavrin {

bool TMainForm::CopyFound(const std::function<std::string()>& makeText,
                          const std::string& message) {
  // Only what [類字抽出] found; after [全データ] there is nothing to copy.
  if (!FListSimilar || FList.Count() == 0) {
    FView.Message(MessageKind::Information, NothingToCopyMessage());
    return false;
  }
  TWaitGuard wait(FView);
  if (!CopyToClipboard(makeText())) return false;
  if (FSound) FView.Beep();
  FView.Message(MessageKind::Information, message);
  return true;
}

// With the options the result was made with, whatever they are now.
void TMainForm::pmCopyNormalizedClick() {
  CopyFound(
      [this] {
        return NormalizedText(FInputText ? std::string_view(*FInputText) : std::string_view(),
                              FList.Groups(), FList.Options().Trim);
      },
      NormalizedCopiedMessage());
}

void TMainForm::pmCopyMapClick() {
  CopyFound([this] { return VariantMapText(FList.Groups()); }, MapCopiedMessage());
}

}  // namespace tavrin
