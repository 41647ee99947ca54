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
  const bool known = vk == VK_RETURN || vk == VK_ESCAPE || vk == VK_DELETE || vk == 'C' || (vk >= VK_F1 && vk <= VK_F12);
  if (!known) return std::nullopt;
  return TPreviewedKey{static_cast<TKey>(vk), shift};
}

std::wstring FittedCellText(std::wstring text, int capacity, bool quoted) {
  if (capacity <= 0) return {};
  const std::size_t room = std::size_t(capacity) - 1;
  if (text.size() <= room) return text;
  std::wstring tail = L"…";
  if (quoted && text.size() >= 2 && text.front() == L'"' && text.back() == L'"') tail += L'"';
  if (room < tail.size()) return tail.substr(0, room);
  std::size_t keep = room - tail.size();
  if (keep > 0 && text[keep - 1] >= 0xD800 && text[keep - 1] <= 0xDBFF) --keep;
  text.resize(keep);
  return text + tail;
}

}  // namespace tavrin
