#pragma once
// Shift-JIS (code page 932) byte-string basics shared by every folder.
#include <cstddef>
#include <string_view>

namespace tavrin {

// A byte 0x81-0x9F or 0xE0-0xFC starts a double-byte character.
constexpr bool IsLeadByte(unsigned char b) noexcept {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Length in bytes of the character starting at s[i]: 2 for a lead byte with a
// byte after it, else 1 (a lone lead byte at the end is one character).
constexpr std::size_t CharLength(std::string_view s, std::size_t i) noexcept {
  return (IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
}

}  // namespace tavrin
