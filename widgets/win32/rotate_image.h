#pragma once
// The rotating image for the Win32 skin: the model's output and mask,
// rendered once per change, drawn centred in a rectangle of a device
// context over what is already there (the mask keeps the background, the
// translucency level blends with it).
#include <windows.h>

#include "widgets/colour_effects.h"
#include "widgets/rotate_image_model.h"

namespace tavrin {

class TRotateImage : public TRotateImageModel {
 public:
  // Draws into dc within `area` (the control's rectangle in dc's
  // coordinates), clipped to it.
  void Draw(HDC dc, const RECT& area);

  int32_t AngleEx() const;  // tenths of a degree
  void SetAngleEx(int32_t value);
  int32_t Zoom() const;  // percent, 10 to 9999
  void SetZoom(int32_t value);
  bool Monochrome() const { return ToneCode() == kToneMonochrome; }
  void SetMonochrome(bool value);
  bool Sepia() const { return ToneCode() == kToneSepia; }
  void SetSepia(bool value);

 protected:
  uint32_t ResolveColour(uint32_t colour) const override;

 private:
  void UpdateTransform();

  float FAngle = 0;  // radians
  float FZoom = 1;
};

}  // namespace tavrin
