#pragma once
// TDialogMessage: the program's own modal message box. A picture, the
// message's lines (centred or not), and either one "OK" button or "はい" /
// "キャンセル". The creator fills it and runs it; the layout follows the
// text on the first activation only. Enter and Space press the focused
// button, Escape and the title bar's close answer as キャンセル does;
// Ctrl+C copies the box's text as the system's boxes do.
#include <windows.h>

#include <string>
#include <vector>

#include "widgets/win32/glyphs.h"

namespace tavrin {

class TDialogMessage {
 public:
  enum { IDC_BTNYES = IDOK, IDC_BTNCANCEL = IDCANCEL };

  // Message lines, CP932, one entry per shown line.
  std::vector<std::string>& Messages() { return FMessages; }
  void SetSingleButton(bool on) { FSingleButton = on; }
  bool SingleButton() const { return FSingleButton; }
  void SetPictureKind(int kind) { FPictureKind = kind; }
  int PictureKind() const { return FPictureKind; }
  void SetTextCentered(bool on) { FTextCentered = on; }
  void SetCaption(std::wstring caption) { FCaption = std::move(caption); }
  // True only after btnYes was pressed.
  bool Result() const { return FResult; }

  // Shows the dialog modally over owner (may be null) and returns Result.
  bool Execute(HWND owner);

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM w, LPARAM l);
  static LRESULT CALLBACK ButtonProc(HWND button, UINT message, WPARAM w, LPARAM l, UINT_PTR,
                                     DWORD_PTR self);
  void CopyText() const;
  void FormCreate(HWND dialog);
  void FormActivate();
  // Sizes the dialog and places its controls for the text, at FDpi.
  void Arrange();
  // The fonts, glyphs and layout at the density of the monitor the dialog
  // was moved to.
  void ChangeDpi(int dpi, const RECT& suggested);
  void MakeGlyphs();
  void Paint(HDC dc);
  void FormDestroy();

  HWND FHandle = nullptr;
  HWND FOwner = nullptr;
  HWND btnYes = nullptr;
  HWND btnCancel = nullptr;
  HFONT FFont = nullptr;
  HICON FYesGlyph = nullptr;
  HICON FCancelGlyph = nullptr;
  RECT FTextArea{};
  int FLineHeight = 24;
  int FDpi = 96;
  bool FFirstActivate = true;
  bool FSingleButton = true;
  int FPictureKind = pkInformation;
  bool FTextCentered = false;
  bool FResult = false;
  std::wstring FCaption = L"Tavrin";
  std::vector<std::string> FMessages;
};

}  // namespace tavrin
