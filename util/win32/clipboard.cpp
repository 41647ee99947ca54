#include "util/win32/clipboard.h"

#include <cstdint>
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

// The units before the first NUL of the units at p, all of them when none
// is: four units at a time while none of them is NUL.
std::size_t UnitsBeforeNul(const wchar_t* p, std::size_t units) {
  static_assert(sizeof(wchar_t) == 2);
  std::size_t n = 0;
  for (; n + 4 <= units; n += 4) {
    std::uint64_t v;
    std::memcpy(&v, p + n, 8);
    if (((v - 0x0001000100010001u) & ~v & 0x8000800080008000u) != 0) break;
  }
  while (n < units && p[n] != L'\0') ++n;
  return n;
}

}  // namespace

bool ReadClipboardUnicode(HWND owner, const std::function<void(std::wstring_view)>& use) {
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT)) return false;
  if (!OpenClipboardRetrying(owner)) return false;
  bool read = false;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* p = static_cast<const wchar_t*>(GlobalLock(data))) {
      // The block may be larger than its text, and a broken writer may leave
      // out the final NUL: never read past the block.
      const std::size_t n = UnitsBeforeNul(p, GlobalSize(data) / sizeof(wchar_t));
      try {
        use(std::wstring_view(p, n));
      } catch (...) {
        GlobalUnlock(data);
        CloseClipboard();
        throw;
      }
      read = true;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return read;
}

std::optional<std::wstring> ReadClipboardUnicode(HWND owner) {
  std::optional<std::wstring> text;
  ReadClipboardUnicode(owner, [&](std::wstring_view units) { text.emplace(units); });
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
