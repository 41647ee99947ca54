#include "widgets/speed_button_state.h"

#include <utility>

namespace tavrin {

bool TSpeedButtonState::MouseMove(bool inside) {
  // Without a press the mouse only moves over the button.
  const bool hot = FDown ? inside : true;
  return std::exchange(FHot, hot) != hot;
}

bool TSpeedButtonState::MouseLeave() { return std::exchange(FHot, false); }

bool TSpeedButtonState::Press() { return !std::exchange(FDown, true); }

bool TSpeedButtonState::Release() { return std::exchange(FDown, false) && FHot; }

bool TSpeedButtonState::CaptureLost() { return std::exchange(FDown, false); }

TButtonEdge TSpeedButtonState::Edge() const {
  if (FImageLike || (!FHot && FFlat)) return TButtonEdge::None;
  return FDown && FHot ? TButtonEdge::Sunken : TButtonEdge::Raised;
}

}  // namespace tavrin
