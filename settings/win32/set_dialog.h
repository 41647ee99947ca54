#pragma once
// The settings dialog TfoSet for the Win32 skin: the option check boxes in
// their group boxes, the list's sample in its font and colour (a click,
// Enter or Space on it opens the font dialog, ChooseFontW, whose colour
// box is the colour choice), [辞書を編集] with the line on the user's
// dictionary, "設定する" and "キャンセル". Escape cancels.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "settings/font_mang.h"
#include "settings/set_options.h"

namespace tavrin {

struct TSetSample {
  std::string Caption;  // CP932
  std::string Count;
};

// The line on the user's dictionary (CP932) and what [辞書を編集] does: it
// returns the line to show afterwards.
struct TSetDictionary {
  std::string Text;
  std::function<std::string()> Edit;
};

// Runs the dialog over owner on these values; true, with the values
// changed, for 設定する. icons: the image list of the result list's rows
// (may be null), imageIndex the row picture.
bool RunSetDialog(HWND owner, TSetOptionValues& options, FontValue& listFont,
                  const std::vector<TSetSample>& samples, HIMAGELIST icons, int imageIndex,
                  const TSetDictionary& dictionary = {});

// The font dialog's choice as a font value. A colour equal to what the
// present value's system colour shows keeps the system colour, so an
// untouched colour is saved as it was read.
FontValue FontFromChoice(const LOGFONTW& font, int pointTenths, COLORREF colour,
                         const FontValue& present);
// The font value as the font dialog's starting point, for a screen of dpi.
LOGFONTW LogFontOf(const FontValue& value, int dpi);
COLORREF ColourOf(TColor colour);

}  // namespace tavrin
