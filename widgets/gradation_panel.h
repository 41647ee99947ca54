#pragma once
// TGradationPanel: the gradient panel whichever window shows it. It owns the
// engine with the stops and decides when the gradient is rendered: on
// activation, and while active when the stops, the fill mode or ColorSwap
// change. It keeps whether a rendered picture is there and whether a press
// drags the window. The window layer derives from it, shows the picture it
// is handed, repaints when told, and routes the mouse.
#include <memory>

#include "widgets/gradation_engine.h"

namespace tavrin {

class TGradationPanel : private TGradationControl {
 public:
  TGradationPanel(const TGradationPanel&) = delete;
  TGradationPanel& operator=(const TGradationPanel&) = delete;

  TGradationEngine& Colors() { return *FColors; }
  const TGradationEngine& Colors() const { return *FColors; }
  TFillGradationMode FillGradationMode() const { return FColors->FillMode(); }
  // Renders again while active, also when the mode is unchanged.
  void SetFillGradationMode(TFillGradationMode mode);
  bool MouseDownDrag() const { return FMouseDownDrag; }
  void SetMouseDownDrag(bool on) { FMouseDownDrag = on; }
  bool Active() const override { return FActive; }
  // Refused with a warning box while fewer than two stops are set.
  void SetActive(bool on);
  bool ColorSwap() const override { return FColorSwap; }
  // A value equal to the current one changes nothing.
  void SetColorSwap(bool on);
  // Whether a rendered picture is there to show.
  bool HasPicture() const { return FHasPicture; }
  // Renders into the panel once it has been activated.
  void UpdateGradation() override;

 protected:
  TGradationPanel();
  ~TGradationPanel();

  // What the window layer does. PrepareImage: the picture settings a
  // render needs (nothing where the layer always stretches).
  void PrepareImage() override {}
  int DisplayBitsPerPixel() const override = 0;
  // Takes the rendered bitmap as the picture to show.
  virtual void ShowPicture(const TWorkBitmap& bitmap) = 0;
  // Lets go of the picture shown.
  virtual void DropPicture() {}
  // The panel looks different now: paint it again.
  virtual void Invalidate() = 0;

 private:
  void TransferToPicture(const TWorkBitmap& bitmap) final;
  void ClearPicture() final;

  std::unique_ptr<TGradationEngine> FColors;
  bool FMouseDownDrag = true;
  bool FActive = false;
  bool FActivatedOnce = false;
  bool FColorSwap = false;
  bool FHasPicture = false;
};

// The part of a picture stretched over a whole panel that shows in a part
// of that panel, in the picture's pixels (top-down), at least one pixel
// each way; positions scale rounding to the nearest pixel. Empty (all
// zero) when the panel or the picture has no area.
struct TPixelRect {
  int left, top, width, height;
  bool operator==(const TPixelRect&) const = default;
};
TPixelRect StretchedPart(int pictureWidth, int pictureHeight, int panelWidth, int panelHeight,
                         const TPixelRect& part);

}  // namespace tavrin
