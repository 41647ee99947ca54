#pragma once
// TGradationExprs: a child window filled with a colour gradient through its
// stops. The gradient is rendered once into the engine's in-memory bitmap
// and stretched to the window with StretchDIBits; it is rendered again only
// on activation or when its stops, mode or ColorSwap change while active.
// A left-button press moves the top-level window; a double-click is sent
// to the parent as WM_COMMAND with the code GN_DBLCLK.
#include <windows.h>

#include <memory>

#include "widgets/gradation_engine.h"

namespace tavrin {

inline constexpr WORD GN_DBLCLK = 1;

class TGradationExprs : private TGradationControl {
 public:
  // Creates the window as a child of parent with the control ID id.
  TGradationExprs(HWND parent, int id, TFillGradationMode mode);
  ~TGradationExprs();
  TGradationExprs(const TGradationExprs&) = delete;
  TGradationExprs& operator=(const TGradationExprs&) = delete;

  HWND Handle() const { return FHandle; }
  TGradationEngine& Colors() { return *FColors; }
  void SetFillGradationMode(TFillGradationMode mode);
  bool MouseDownDrag() const { return FMouseDownDrag; }
  void SetMouseDownDrag(bool on) { FMouseDownDrag = on; }
  bool Active() const override { return FActive; }
  // Refused with a warning box while fewer than two stops are set.
  void SetActive(bool on);
  bool ColorSwap() const override { return FColorSwap; }
  void SetColorSwap(bool on);
  // Whether a picture is there to paint.
  bool HasPicture() const { return FHasPicture; }

  void UpdateGradation() override;
  // Paints the part `part` (in this window's client coordinates) of the
  // gradient into `target` of dc, for the controls that sit on it.
  void PaintPart(HDC dc, const RECT& target, const RECT& part) const;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l);
  void Paint(HDC dc);
  void PrepareImage() override {}
  void TransferToPicture(const TWorkBitmap& bitmap) override;
  void ClearPicture() override;
  int DisplayBitsPerPixel() const override;

  HWND FHandle = nullptr;
  std::unique_ptr<TGradationEngine> FColors;
  bool FMouseDownDrag = true;
  bool FActive = false;
  bool FActivatedOnce = false;
  bool FColorSwap = false;
  bool FHasPicture = false;
};

}  // namespace tavrin
