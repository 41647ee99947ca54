#pragma once
// UTF-16 text (the wide strings of the Win32 calls) to and from the CP932
// bytes the engine works on, over the one codec. Nothing outside CP932 is
// lost: such characters take the codec's internal forms and come back as
// they were.
#include <cstddef>
#include <string>
#include <string_view>

namespace tavrin {

// A lone surrogate (no character at all, so nothing can keep it) becomes
// "?" and is counted in *replaced, as are the codec's own replacements.
// Room's memory takes the bytes when it holds enough (cp932::FromUtf16).
std::string SjisFromUtf16(std::u16string_view text, std::size_t* replaced = nullptr,
                          std::string Room = {});

// The engine's text as UTF-16; bytes the codec cannot decode give U+FFFD.
std::u16string Utf16FromSjis(std::string_view sjis);

// UTF-8 (paths, literals) to UTF-16 and back; each byte of an ill-formed
// UTF-8 sequence gives U+FFFD, and so does each lone surrogate.
std::u16string Utf16FromUtf8(std::string_view utf8);
std::string Utf8FromUtf16(std::u16string_view text);

}  // namespace tavrin
