#pragma once
// Colour values: 32 bits, red in the low byte, then green, then blue
// (00BBGGRR). A value with the top bit set names a system colour: 80000000
// plus the system's index for it.
#include <cstdint>

namespace tavrin {

using TColor = std::uint32_t;

inline constexpr TColor kSystemColorBit = 0x80000000;
inline constexpr TColor clWindowText = kSystemColorBit | 8;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clBlack = 0x00000000;
inline constexpr TColor clLime = 0x0000FF00;
inline constexpr TColor clWhite = 0x00FFFFFF;

constexpr std::uint8_t RedOf(TColor c) { return c & 0xFF; }
constexpr std::uint8_t GreenOf(TColor c) { return (c >> 8) & 0xFF; }
constexpr std::uint8_t BlueOf(TColor c) { return (c >> 16) & 0xFF; }
constexpr TColor RGBColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16);
}

}  // namespace tavrin
