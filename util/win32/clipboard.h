#pragma once
// The system clipboard as Unicode text (CF_UNICODETEXT), both ways. The
// ANSI format would drop every character outside code page 932; the wide
// one keeps them, and the codec keeps them through the engine.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tavrin {

// The clipboard's text, or nothing when it holds no text or cannot be
// opened. A text is read up to its first NUL.
std::optional<std::wstring> ReadClipboardUnicode(HWND owner);
// The same text handed to use in place, while the clipboard is open,
// without a copy of it; false (use not called) when there is none.
bool ReadClipboardUnicode(HWND owner, const std::function<void(std::wstring_view)>& use);

// Replaces the clipboard's content by the text; false when the clipboard
// could not be opened or the memory not be had, the clipboard then being
// left as it was.
bool WriteClipboardUnicode(HWND owner, const std::wstring& text);

}  // namespace tavrin
