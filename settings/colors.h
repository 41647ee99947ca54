#pragma once
// Colour values of the settings file: 32 bits, red in the low byte, then
// green, then blue (00BBGGRR); 80000000 plus an index names a system
// colour. The platform's colour names stand for the values that have one.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "util/color.h"

namespace tavrin {

// The colour's name, or nullopt when it has none.
std::optional<std::string_view> ColorName(TColor color);
// The colour a name stands for, matched without regard to ASCII letter case.
std::optional<TColor> ColorOfName(std::string_view name);

// The written form: the name when the colour has one, else "$" and eight
// upper-case hexadecimal digits.
std::string ColorToText(TColor color);
// A colour name, or an integer as ParseInteger reads it (hexadecimal forms
// also up to FFFFFFFF, so that every written form reads back). Other text
// fails with EError "'%s' は整数ではありません".
TColor ColorFromText(std::string_view text);

}  // namespace tavrin
