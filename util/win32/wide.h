#pragma once
// Wide strings for the W calls, from and to the engine's CP932 text and
// UTF-8 paths (util/utf16.h); wchar_t is UTF-16 on Windows.
#include <cstddef>
#include <string>
#include <string_view>

#include "util/utf16.h"

namespace tavrin {

inline std::wstring WideFromSjis(std::string_view sjis) {
  const std::u16string u = Utf16FromSjis(sjis);
  return std::wstring(u.begin(), u.end());
}

// The units are read in place, not copied: wchar_t and char16_t are the
// same 16-bit units here.
inline std::string SjisFromWide(std::wstring_view wide, std::size_t* replaced = nullptr,
                                std::string room = {}) {
  static_assert(sizeof(wchar_t) == sizeof(char16_t));
  return SjisFromUtf16(
      std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()), replaced,
      std::move(room));
}

inline std::wstring Widen(std::string_view utf8) {
  const std::u16string u = Utf16FromUtf8(utf8);
  return std::wstring(u.begin(), u.end());
}

inline std::string Narrow(std::wstring_view wide) {
  return Utf8FromUtf16(std::u16string(wide.begin(), wide.end()));
}

// Text whose lines break with a single CR (the engine's) or LF (a cut
// caption's) with CR LF breaks, as Windows' tool-tips want them; a CR LF
// stays one break.
inline std::wstring WithCrLf(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c != L'\r' && c != L'\n') {
      out += c;
      continue;
    }
    out += L"\r\n";
    if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
  }
  return out;
}

// A list view draws a cell's text from a buffer of this many units, the
// final NUL included; an item's own text is cut there too.
constexpr int kListViewTextUnits = 260;

// The text for a buffer of capacity units, its final NUL included: the
// whole text when it fits, else as much as fits with "…" after it, inside
// the closing quote when quoted and the text is enclosed in quotes, never
// half of a surrogate pair.
inline std::wstring FittedText(std::wstring text, int capacity, bool quoted) {
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

// The program's own UTF-8 literals (captions, hints) as wide text.
inline std::wstring W(std::string_view utf8) { return Widen(utf8); }

}  // namespace tavrin
