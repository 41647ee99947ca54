#pragma once
// TSpeedButton: a flat tool-bar button that never takes the focus, drawn
// over the gradient panel behind it: its glyph above its caption, a raised
// edge while the mouse is over it, a sunken one while pressed. A click is
// sent to the parent as WM_COMMAND with BN_CLICKED; a mouse press as
// WM_COMMAND with SBN_MOUSEDOWN after the button and the modifier keys are
// stored for the parent to read (LastMouseButton, LastShift).
#include <windows.h>

#include <string>

#include "widgets/speed_button_state.h"

namespace tavrin {

class TGradationExprs;

inline constexpr WORD SBN_MOUSEDOWN = 0x100;

class TSpeedButton {
 public:
  // background: the gradient panel it sits on (may be null).
  TSpeedButton(HWND parent, int id, TGradationExprs* background);
  ~TSpeedButton();
  TSpeedButton(const TSpeedButton&) = delete;
  TSpeedButton& operator=(const TSpeedButton&) = delete;

  HWND Handle() const { return FHandle; }
  void SetCaption(const std::wstring& caption);
  void SetGlyph(HICON glyph);  // not owned
  void SetFont(HFONT font) { FFont = font; }
  // The density its face is drawn for (its window's).
  void SetDpi(int dpi) { FDpi = dpi; }
  void SetFlat(bool flat) { FState.SetFlat(flat); }
  // An image that acts on a click: no edge, the hand cursor.
  void SetImageLike() { FState.SetImageLike(true); }
  int LastMouseButton() const { return FLastButton; }  // 0 left, 1 right, 2 middle
  bool LastCtrl() const { return FLastCtrl; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l);
  void Paint(HDC dc);
  void MouseDown(int button, WPARAM keys);
  void Invalidate(bool changed) const {
    if (changed) InvalidateRect(FHandle, nullptr, FALSE);
  }

  HWND FHandle = nullptr;
  TGradationExprs* FBackground;
  std::wstring FCaption;
  HICON FGlyph = nullptr;
  HFONT FFont = nullptr;
  int FDpi = 96;
  TSpeedButtonState FState;
  int FLastButton = 0;
  bool FLastCtrl = false;
};

}  // namespace tavrin
