#pragma once
// A rectangle of a window or control: its left and top corner and its size,
// in pixels or 96-dpi units as its user says.
#include <cstdint>

namespace tavrin {

struct TRect {
  std::int32_t Left = 0, Top = 0, Width = 0, Height = 0;
  bool operator==(const TRect&) const = default;
};

}  // namespace tavrin
