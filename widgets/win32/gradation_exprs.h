#pragma once
// TGradationExprs: a child window filled with a colour gradient through its
// stops (TGradationPanel decides what it shows and when). The engine's
// in-memory bitmap is stretched to the window with StretchDIBits. Dragged
// with the left button, it moves the top-level window; a double-click is
// sent to the parent as WM_COMMAND with the code GN_DBLCLK.
#include <windows.h>

#include "widgets/gradation_panel.h"

namespace tavrin {

inline constexpr WORD GN_DBLCLK = 1;

class TGradationExprs : public TGradationPanel {
 public:
  // Creates the window as a child of parent with the control ID id.
  TGradationExprs(HWND parent, int id, TFillGradationMode mode);
  ~TGradationExprs();

  HWND Handle() const { return FHandle; }
  // Paints the part `part` (in this window's client coordinates) of the
  // gradient into `target` of dc, for the controls that sit on it.
  void PaintPart(HDC dc, const RECT& target, const RECT& part) const;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l);
  void Paint(HDC dc);
  int DisplayBitsPerPixel() const override;
  // The engine keeps the bitmap; painting stretches it from there.
  void ShowPicture(const TWorkBitmap&) override {}
  void Invalidate() override { InvalidateRect(FHandle, nullptr, FALSE); }

  HWND FHandle = nullptr;
  POINT FPressAt{};
  bool FPressed = false;  // pressed here, not yet moved
};

}  // namespace tavrin
