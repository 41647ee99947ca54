#pragma once
// The version dialog's text and the arithmetic of its logo animation,
// Qt-free so that every step can be checked against a given clock.
#include <cstdint>
#include <string>

#include "widgets/rotate_render.h"

namespace tavrin {

// "Version " + version + "  Build:" + build + ", Since:" + since.
std::string VersionLine(const std::string& version, const std::string& build,
                        const std::string& since);

constexpr uint32_t kAnimationPeriod = 1500;  // ms; the squeeze axis turns once per period

struct TAnimationStep {
  enum Kind {
    Wait,  // less than 100 ms since the last step
    Skip,  // sin θ too near 0; retried at the next idle call
    Step,  // set Negative and the matrix, and record t as the last tick
  };
  Kind kind = Wait;
  bool negative = false;
  TMatrix matrix;
};

// The step for millisecond time t after the step at lastTick (unsigned,
// wrapping arithmetic), with period P: the logo is squeezed along an axis at
// θ = 2π (t mod P) / P, shrinks and grows back every 4P, and is inverted
// during the first 4P of every 8P.
TAnimationStep AnimationStep(uint32_t t, uint32_t lastTick, uint32_t period = kAnimationPeriod);

}  // namespace tavrin
