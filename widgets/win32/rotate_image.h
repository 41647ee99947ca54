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

 protected:
  uint32_t ResolveColour(uint32_t colour) const override;
};

}  // namespace tavrin
