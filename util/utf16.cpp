#include "util/utf16.h"

#include "util/cp932.h"

namespace tavrin {
namespace {

constexpr bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
constexpr bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// UTF-16 to UTF-8; each lone surrogate becomes `lone` and is counted.
std::string ToUtf8(std::u16string_view text, char32_t lone, std::size_t& count) {
  std::string out;
  out.reserve(text.size() * 3);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (IsHigh(c) && i + 1 < text.size() && IsLow(text[i + 1])) {
      cp932::AppendUtf8(out, 0x10000 + ((char32_t(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else if (IsHigh(c) || IsLow(c)) {
      cp932::AppendUtf8(out, lone);
      ++count;
    } else {
      cp932::AppendUtf8(out, c);
    }
  }
  return out;
}

}  // namespace

std::string SjisFromUtf16(std::u16string_view text, std::size_t* replaced, std::string Room) {
  cp932::EncodeResult r = cp932::FromUtf16(text, std::move(Room));
  if (replaced) *replaced = r.replaced;
  return std::move(r.bytes);
}

std::u16string Utf16FromSjis(std::string_view sjis) { return Utf16FromUtf8(cp932::ToUtf8(sjis)); }

std::u16string Utf16FromUtf8(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  const auto put = [&out](char32_t c) {
    if (c >= 0x10000) {
      c -= 0x10000;
      out += char16_t(0xD800 + (c >> 10));
      out += char16_t(0xDC00 + (c & 0x3FF));
    } else {
      out += char16_t(c);
    }
  };
  std::size_t i = 0;
  while (i < utf8.size()) {
    const std::string_view rest = utf8.substr(i);
    const std::size_t bad = cp932::FirstInvalidUtf8(rest).value_or(rest.size());
    // The well-formed run before the first bad byte.
    for (std::size_t k = 0; k < bad;) {
      const auto b = static_cast<unsigned char>(rest[k]);
      const int tail = b < 0x80 ? 0 : b < 0xE0 ? 1 : b < 0xF0 ? 2 : 3;
      char32_t c = tail == 0 ? b : b & (0x3F >> tail);
      for (int t = 1; t <= tail; ++t) c = c << 6 | (static_cast<unsigned char>(rest[k + t]) & 0x3F);
      put(c);
      k += std::size_t(tail) + 1;
    }
    i += bad;
    if (i < utf8.size()) {
      put(0xFFFD);
      ++i;
    }
  }
  return out;
}

std::string Utf8FromUtf16(std::u16string_view text) {
  std::size_t lone = 0;
  return ToUtf8(text, 0xFFFD, lone);
}

}  // namespace tavrin
