#include "widgets/version_animation.h"

#include <cmath>
#include <numbers>

namespace tavrin {

std::string VersionLine(const std::string& version, const std::string& build,
                        const std::string& since) {
  return "Version " + version + "  Build:" + build + ", Since:" + since;
}

TAnimationStep AnimationStep(uint32_t t, uint32_t lastTick, uint32_t period) {
  TAnimationStep step;
  if (uint32_t(lastTick + 100) > t) return step;
  const double pi = std::numbers::pi;
  const float theta = float(2 * pi * (t % period) / period);
  const float s = std::sin(theta);
  if (std::fabs(s) < 0.005f) {
    step.kind = TAnimationStep::Skip;
    return step;
  }
  step.kind = TAnimationStep::Step;
  step.negative = t % (8 * period) < 4 * period;
  const float c = std::cos(theta);
  const float phi = float(2 * pi * (t % (4 * period)) / (4 * period));
  const float cp = std::cos(phi) + 1;
  const float u = cp * cp + 1;
  const float r = std::sqrt(u);
  const float m = u * u * std::sqrt(u);
  const float shear = r * (m - 1) * s * c;
  step.matrix = {r * (c * c * m + s * s), shear, shear, r * (s * s * m + c * c)};
  return step;
}

}  // namespace tavrin
