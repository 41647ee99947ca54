#pragma once
// The main window's five gradient panels, GradationExprs1 to
// GradationExprs5 in that order: the tool bar's background, then the right,
// bottom, top and left strips around the list. Each skin places them and
// activates them once the window shows.
#include <array>
#include <vector>

#include "widgets/gradation_engine.h"

namespace tavrin {

struct TGradientDesign {
  const char* name;
  TFillGradationMode mode;
  std::vector<TColor> stops;  // first to last
};

inline const std::array<TGradientDesign, 5>& MainGradients() {
  constexpr TColor k = clBlack;
  static const std::array<TGradientDesign, 5> designs = {{
      {"GradationExprs1", fgmVertical, {clLime, k, k, k, clLime}},
      {"GradationExprs2", fgmVertical, {k, k, k, k, clLime, k}},
      {"GradationExprs3", fgmHorizontal, {k, clLime, k, k, k, k}},
      {"GradationExprs4", fgmHorizontal, {k, k, k, k, clLime, k}},
      {"GradationExprs5", fgmVertical, {k, k, clLime, k, k, k}},
  }};
  return designs;
}

}  // namespace tavrin
