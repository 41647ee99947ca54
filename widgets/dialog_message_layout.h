#pragma once
// Where the message dialog puts its text and buttons for a message, in
// design pixels: the text area grows with the number of lines and with the
// widest line, and the buttons sit centred under it. Measuring a line is
// the skin's (it knows the font); the arithmetic is here.
#include <vector>

namespace tavrin {

struct TMessageLayout {
  static constexpr int kTextLeft = 8 + 32 + 8;  // right of the picture
  static constexpr int kTextTop = 8;
  static constexpr int kButtonWidth = 153;
  static constexpr int kButtonHeight = 48;

  int textWidth = 313;
  int textHeight = 25;
  bool widened = false;  // the form takes formWidth; else its stored width
  int formWidth = 0;     // outer width, when widened
  int formHeight = 159;  // outer height
  int yesLeft = 40;
  int cancelLeft = 200;
  int buttonTop = 96;
  bool cancelShown = true;
};

// The layout for lines of the given widths (in the form's font), with one
// button ("OK") or two ("はい" and "キャンセル").
TMessageLayout LayOutMessage(const std::vector<int>& lineWidths, bool singleButton);

}  // namespace tavrin
