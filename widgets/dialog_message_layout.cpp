#include "widgets/dialog_message_layout.h"

namespace tavrin {

TMessageLayout LayOutMessage(const std::vector<int>& lineWidths, bool singleButton) {
  TMessageLayout l;
  const int n = static_cast<int>(lineWidths.size());
  l.textHeight = n > 1 ? 24 * n + 25 : 25;
  l.formHeight = l.textHeight + 134;
  int widest = 0;  // ends at least 30 pixels wider than the widest line
  for (int w : lineWidths)
    if (w > widest) widest = w + 30;
  if (l.textWidth < widest) {
    l.textWidth = widest + 30;
    l.widened = true;
    l.formWidth = l.textWidth + 55;
    if (!singleButton) {
      l.yesLeft = l.textWidth / 2 + TMessageLayout::kTextLeft - TMessageLayout::kButtonWidth - 3;
      l.cancelLeft = l.yesLeft + TMessageLayout::kButtonWidth + 7;
    }
  }
  l.buttonTop = l.textHeight + 48;
  if (singleButton) {
    l.yesLeft = l.textWidth / 2 + TMessageLayout::kTextLeft - TMessageLayout::kButtonWidth / 2;
    l.cancelShown = false;
  }
  return l;
}

}  // namespace tavrin
