#pragma once
// The version dialog's logic, the same in every skin: the logo starts grey;
// the first mouse movement over OK unhooks itself, colours the logo,
// repaints, pauses a second and starts the idle-time animation, one step
// at most per 100 ms; closing stops it.
#include <cstdint>

#include "widgets/version_animation.h"

namespace tavrin {

class IVersionView {
 public:
  virtual ~IVersionView() = default;
  virtual std::uint32_t Clock() = 0;  // milliseconds, monotonic
  virtual void Sleep(int ms) = 0;
  virtual void SetMonochrome(bool on) = 0;
  // One animation step on the logo: inverted or not, and the matrix.
  virtual void SetLogoStep(bool negative, const TMatrix& matrix) = 0;
  virtual void Repaint() = 0;
  // Runs AnimateLogo whenever the event queue is empty, or stops that.
  virtual void SetIdle(bool on) = 0;
};

class TVersionForm {
 public:
  explicit TVersionForm(IVersionView& view) : FView(view) {}
  void FormCreate();
  // Handlers; btnOKMouseMove acts only while hooked.
  void btnOKMouseMove();
  void AnimateLogo(bool& done);
  void FormClose();
  bool MouseMoveHooked() const { return FMouseMoveHooked; }
  bool Animating() const { return FAnimating; }
  // Time of the last animation step, shared by every showing.
  static std::uint32_t LastAnimationTick();

 private:
  IVersionView& FView;
  std::uint32_t FPeriod = kAnimationPeriod;
  bool FMouseMoveHooked = false;
  bool FAnimating = false;
};

}  // namespace tavrin
