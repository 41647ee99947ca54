#include "app/win32/list_look.h"

namespace tavrin {

TRowLook RowLook(const TRowFacts& facts) {
  TRowLook look;
  look.Bold = facts.Canonical;
  look.Tinted = facts.Group >= 0 && facts.Group == facts.CurrentGroup && !facts.Selected;
  look.DrawnByGlyphs = facts.HasGlyphs;
  return look;
}

std::optional<TPreviewedKey> PreviewedKey(UINT message, WPARAM virtualKey, LPARAM flags, bool forThisWindow,
                                          TShiftState shift) {
  if (message != WM_KEYDOWN && message != WM_SYSKEYDOWN) return std::nullopt;
  if (!forThisWindow) return std::nullopt;
  if (flags & (LPARAM(1) << 30)) return std::nullopt;  // the key was already down
  const auto vk = int(virtualKey);
  const bool known = vk == VK_RETURN || vk == VK_ESCAPE || vk == VK_DELETE || vk == 'A' || vk == 'C' || vk == 'Z' || (vk >= VK_F1 && vk <= VK_F12);
  if (!known) return std::nullopt;
  return TPreviewedKey{static_cast<TKey>(vk), shift};
}

}  // namespace tavrin
