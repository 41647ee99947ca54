#pragma once
// The geometry a form keeps in the settings file ("Form" section): Left and
// Top are the outer (frame) position of its restored rectangle, Width and
// Height its outer (frame) size in 96-dpi units, Maximized its state. The
// rules of restoring and saving it, for every skin.
#include <cstdint>
#include <vector>

#include "util/rect.h"

namespace tavrin {

struct TFormGeometry {
  std::int32_t Left = 0, Top = 0;      // frame position of the restored window
  std::int32_t Width = 0, Height = 0;  // frame size of the restored window, at 96 dpi
  bool Maximized = false;
  bool operator==(const TFormGeometry&) const = default;
};

// What a window's borders and caption add to its client, at 96 dpi.
struct TFrameSize {
  std::int32_t Width = 0, Height = 0;
};

// The frame of a resizable window at 96 dpi where the system names none (a
// window manager frames the window only once it is shown): that of the main
// window's design, a form of 653 x 385 around a client of 637 x 347. So the
// same file means the same client on every platform.
inline constexpr TFrameSize kDesignFrame{16, 38};

// The geometry with the frame added to its size, and taken away again: a
// size saturates at the 32-bit range and is never below 0 without it.
TFormGeometry WithFrame(const TFormGeometry& client, TFrameSize frame);
TFormGeometry WithoutFrame(const TFormGeometry& outer, TFrameSize frame);

// Height of the band at a window's top that must stay on a screen for the
// window to be dragged back (its title bar).
inline constexpr std::int32_t kTitleBarBand = 24;

// The saved geometry moved onto a screen when its title bar band would lie
// on none of them (less than kTitleBarBand square of it visible): onto the
// screen nearest to it, its band wholly inside when it fits. Screens empty:
// unchanged.
TFormGeometry OntoScreens(const TFormGeometry& saved, const std::vector<TRect>& screens);

// Restoring and saving one form's geometry: what the file held, where the
// form was put, and what to write back. A window the user did not move or
// resize writes back exactly what was read, whatever the window system made
// of it (frame or client position, a pixel of border).
class TFormPlacement {
 public:
  // The values read from the file, and the screens; returns where to put
  // the window.
  TFormGeometry Restore(const TFormGeometry& saved, const std::vector<TRect>& screens);
  // What the window reports once it stands where it was put (first shown).
  void Placed(const TFormGeometry& reported);
  // What to save for the window's present geometry.
  TFormGeometry ToSave(const TFormGeometry& current) const;

 private:
  bool FRestored = false, FPlaced = false;
  TFormGeometry FSaved, FPut, FReported;
};

}  // namespace tavrin
