#pragma once
// The version dialog's logic, the same in every skin: the logo starts grey;
// the first mouse movement over OK unhooks itself, colours the logo,
// repaints, pauses a second and starts the idle-time animation, one step
// at most per 100 ms; closing stops it.
#include <cstdint>

#include "util/rect.h"
#include "widgets/version_animation.h"

namespace tavrin {

// The dialog's places as stored, in client pixels: the sunken Panel3, the
// black Panel2 inside it, the logo's band (pnTop) at the top of Panel2, the
// version line and the rights line below the band, and OK.
struct TVersionLayout {
  int FormWidth = 424, FormHeight = 204;
  TRect Panel3{8, 5, 415, 142};
  TRect Panel2{10, 7, 407, 135};
  TRect Band{10, 7, 407, 81};
  TRect VersionLine{10, 88, 407, 20};
  TRect Rights{10, 108, 407, 28};
  TRect OK{152, 152, 121, 45};
};
inline constexpr TVersionLayout kVersionLayout{};

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
