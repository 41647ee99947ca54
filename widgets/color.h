#pragma once
// Colour values: red in the low byte, then green, then blue. A value with
// the top byte set names a system colour; the gradient paints its raw bytes.
#include <cstdint>

namespace tavrin {

using TColor = std::uint32_t;

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
