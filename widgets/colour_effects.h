#pragma once
// Colour effects of the rotating image, in integer arithmetic on the three
// bytes blue, green, red: tone (desaturation plus tint), inversion, the
// palette form of both for 8-bit images, and the edge sketch.
#include <cstdint>

#include "widgets/dib_image.h"

namespace tavrin {

// Tone codes: desaturation strength in bits 24-31, signed tints of red,
// green and blue in bits 0-7, 8-15 and 16-23. 0 means no tone.
constexpr uint32_t kToneMonochrome = 0xAA000000;
constexpr uint32_t kToneSepia = 0x649C0A64;

// Applies a non-zero tone code to one colour held as blue, green, red.
void ApplyTone(uint8_t bgr[3], uint32_t code);
inline void InvertColour(uint8_t bgr[3]) {
  for (int i = 0; i < 3; ++i) bgr[i] = uint8_t(255 - bgr[i]);
}
// Tone (when code is not 0) then inversion, as applied to each drawn pixel.
inline void ApplyColourEffects(uint8_t bgr[3], uint32_t code, bool negative) {
  if (code != 0) ApplyTone(bgr, code);
  if (negative) InvertColour(bgr);
}

// Tone and inversion of a 4- or 8-bit image's colour table; the pixel
// indices stay as they are. Inverted entries get a zero fourth byte.
void ApplyPaletteEffects(TDibImage& image, uint32_t code, bool negative);

// The grey edge drawing of an 8- or 24-bit source: 8 bits, 256 grey table
// entries, white where the picture is flat. Any other source gives an empty
// image.
void BuildSketch(const TDibImage& source, TDibImage& sketch);
// The grey level for an edge strength m (0 to 510).
uint8_t SketchLevel(int m);

}  // namespace tavrin
