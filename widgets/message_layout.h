#pragma once
// The message dialog's layout, the same in every skin: from the widths of
// its lines in the dialog's font, the size of the form and the places of
// the text area and the buttons (client pixels).
#include <string>
#include <vector>

#include "util/rect.h"

namespace tavrin {

struct TMessageLayout {
  int FormWidth = 0, FormHeight = 0;
  TRect Text;    // the text area
  TRect Yes;     // "はい", or "OK" alone
  TRect Cancel;  // "キャンセル"; unused with a single button
  int LineHeight = 24;
};

// lineWidths: each line's width; singleButton: "OK" alone.
TMessageLayout MessageLayout(const std::vector<int>& lineWidths, bool singleButton);

// The form as it is stored, 372 x 159, before its first activation lays it
// out for its text.
TMessageLayout MessageDesign();
// The picture of the message's kind, 32 square.
inline constexpr TRect kMessagePicture{8, 8, 32, 32};

// The text Ctrl+C copies from a message box, laid out as the system's own
// boxes give it: the caption, the lines and the buttons' captions (each
// followed by three spaces) between rules of 27 dashes, every line ended by
// CR LF. Texts are CP932.
std::string MessageCopyText(const std::string& caption, const std::vector<std::string>& lines,
                            const std::vector<std::string>& buttons);

}  // namespace tavrin
