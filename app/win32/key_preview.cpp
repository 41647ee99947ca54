#include "app/win32/key_preview.h"

namespace tavrin {

std::optional<TPreviewedKey> PreviewedKey(UINT message, WPARAM virtualKey, LPARAM flags,
                                          bool forThisWindow, TShiftState shift) {
  if (message != WM_KEYDOWN && message != WM_SYSKEYDOWN) return std::nullopt;
  if (!forThisWindow) return std::nullopt;
  const bool repeat = (flags & (LPARAM(1) << 30)) != 0;  // the key was already down
  return TPreviewedKey{static_cast<TKey>(virtualKey), shift, repeat};
}

}  // namespace tavrin
