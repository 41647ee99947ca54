#include "util/win32/clipboard.h"

#include <cstring>

namespace tavrin {
namespace {

// Another program may hold the clipboard for a moment (a clipboard viewer,
// the program that just wrote it); a few short retries ride that out.
bool OpenClipboardRetrying(HWND owner) {
  for (int attempt = 0; attempt < 10; ++attempt) {
    if (OpenClipboard(owner)) return true;
    Sleep(20);
  }
  return false;
}

}  // namespace

std::optional<std::wstring> ReadClipboardUnicode(HWND owner) {
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT)) return std::nullopt;
  if (!OpenClipboardRetrying(owner)) return std::nullopt;
  std::optional<std::wstring> text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* p = static_cast<const wchar_t*>(GlobalLock(data))) {
      // The block may be larger than its text, and a broken writer may leave
      // out the final NUL: never read past the block.
      const std::size_t units = GlobalSize(data) / sizeof(wchar_t);
      std::size_t n = 0;
      while (n < units && p[n] != L'\0') ++n;
      text.emplace(p, n);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

bool WriteClipboardUnicode(HWND owner, const std::wstring& text) {
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!block) return false;
  void* p = GlobalLock(block);
  if (!p) {
    GlobalFree(block);
    return false;
  }
  std::memcpy(p, text.c_str(), bytes);
  GlobalUnlock(block);
  if (!OpenClipboardRetrying(owner)) {
    GlobalFree(block);
    return false;
  }
  EmptyClipboard();
  const bool stored = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
  CloseClipboard();
  if (!stored) GlobalFree(block);  // the system owns it only once stored
  return stored;
}

}  // namespace tavrin
