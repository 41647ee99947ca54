#pragma once
// Where the main window's controls go and how big its fonts and pictures
// are, for a client area and a screen density, the same in both skins. The
// design is in 96-dpi units; every result is in the screen's pixels, so the
// window follows the density it starts on and any it is moved to (a skin
// whose toolkit scales by itself asks at 96).
#include <array>

#include "util/rect.h"

namespace tavrin {

// The client area of the window as first shown, in 96-dpi units: the tool
// bar (77), the client panel (240) and the status bar (30), 637 wide.
inline constexpr int kDesignClientWidth = 637, kDesignClientHeight = 347;
// The form of the design, its frame included: the size a first start
// shows, and a new settings file holds (the client keeps what the
// system's frame leaves of it).
inline constexpr int kDesignFormWidth = 653, kDesignFormHeight = 385;
// The status bar's height in the design; a skin whose status bar sizes
// itself to its font passes that height to MainLayout instead.
inline constexpr int kDesignStatusHeight = 30;
// The smallest form the user may size the window to, frame included.
inline constexpr int kMinFormWidth = 200, kMinFormHeight = 150;
// The list's columns, "文字列" and "個数", as first shown.
inline constexpr int kDesignColumnWidths[] = {480, 65};
// The captions of the debug mode's two buttons, which their places fit.
inline constexpr const char* kButton1Caption = "LoadFromTestFile";
inline constexpr const char* kButton2Caption = "TUniqueManager.FSameList";

struct TMainLayout {
  TRect ToolBar;
  std::array<TRect, 6> Buttons{};  // 閉じる, 類字抽出, 全データ, コピー, 前面表示, 設定
  TRect Help, Version;
  TRect Client;  // the panel between the tool bar and the status bar
  TRect StripTop, StripLeft, StripRight, StripBottom;  // the gradients around the list
  TRect List;
  TRect Button1, Button2, Memo1;  // the debug controls
  int StatusLabelWidth = 0;       // the status bar's first part, "情報"
};

// statusHeight: the status bar's height in pixels (it sizes itself to its
// font and stays at the bottom).
TMainLayout MainLayout(int clientWidth, int clientHeight, int statusHeight, int dpi);

struct TMainSizes {
  int FormFont = 0;                    // pixel height of the form's font
  int RowIcon = 0;                     // the list rows' pictures, square
  int Glyph = 0;                       // a speed button's glyph, square
  int Image = 0;                       // the pictures of the help and version images, square
  int TipWidth = 0, ListTipWidth = 0;  // widest tool-tips before they wrap
};
TMainSizes MainSizes(int dpi);

// A speed button's face: the glyph's top and the caption's top.
struct TButtonFace {
  int GlyphTop = 0, CaptionTop = 0;
};
TButtonFace ButtonFace(int dpi);

// The list font's pixel height for a size in points (9 when none is set).
int ListFontPixels(int points, int dpi);

// The width a list column needs for its caption beside the sort mark, in
// pixels: the caption's width, the mark (the header draws it square to its
// height) and the header's margins on either side of both, so that the
// caption is never cut to "...".
int SortMarkedColumnWidth(int captionWidth, int headerHeight, int dpi);

// A width at oldDpi in pixels, at newDpi. It goes through the 96-dpi units
// the settings file keeps, so that moving between screens never drifts and
// the file reads the same.
int RescaledWidth(int pixels, int oldDpi, int newDpi);

}  // namespace tavrin
