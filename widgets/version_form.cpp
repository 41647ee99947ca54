#include "widgets/version_form.h"

namespace tavrin {
namespace {

std::uint32_t gLastAnimationTick = 0;

}  // namespace

std::uint32_t TVersionForm::LastAnimationTick() { return gLastAnimationTick; }

void TVersionForm::FormCreate() {
  FPeriod = kAnimationPeriod;
  FMouseMoveHooked = true;
}

void TVersionForm::btnOKMouseMove() {
  if (!FMouseMoveHooked) return;
  FMouseMoveHooked = false;  // once: the handler unhooks itself
  FView.SetMonochrome(false);
  FView.Repaint();
  FView.Sleep(1000);
  FAnimating = true;
  FView.SetIdle(true);
}

void TVersionForm::AnimateLogo(bool& done) {
  done = false;
  const std::uint32_t t = FView.Clock();
  const TAnimationStep step = AnimationStep(t, gLastAnimationTick, FPeriod);
  if (step.kind == TAnimationStep::Wait) {
    FView.Sleep(10);
  } else if (step.kind == TAnimationStep::Step) {
    gLastAnimationTick = t;
    FView.SetLogoStep(step.negative, step.matrix);
  }
  FView.Repaint();
}

void TVersionForm::FormClose() {
  FAnimating = false;
  FView.SetIdle(false);
}

}  // namespace tavrin
