#include "widgets/message_layout.h"

namespace tavrin {
namespace {

// The stored layout of the form (client area).
constexpr int kFormWidth = 372, kFormHeight = 159;
constexpr int kTextLeft = 48, kTextTop = 8, kTextWidth = 313, kTextHeight = 57;
constexpr int kButtonTop = 96, kButtonWidth = 153, kButtonHeight = 48;
constexpr int kYesLeft = 40, kCancelLeft = 200;

}  // namespace

TMessageLayout MessageDesign() {
  TMessageLayout layout;
  layout.FormWidth = kFormWidth;
  layout.FormHeight = kFormHeight;
  layout.Text = {kTextLeft, kTextTop, kTextWidth, kTextHeight};
  layout.Yes = {kYesLeft, kButtonTop, kButtonWidth, kButtonHeight};
  layout.Cancel = {kCancelLeft, kButtonTop, kButtonWidth, kButtonHeight};
  return layout;
}

TMessageLayout MessageLayout(const std::vector<int>& lineWidths, bool singleButton) {
  TMessageLayout layout;
  const int n = static_cast<int>(lineWidths.size());
  const int textHeight = n > 1 ? layout.LineHeight * n + 25 : 25;
  layout.Text = {kTextLeft, kTextTop, kTextWidth, textHeight};
  layout.FormWidth = kFormWidth;
  layout.FormHeight = textHeight + 134;
  layout.Yes = {kYesLeft, textHeight + 48, kButtonWidth, kButtonHeight};
  layout.Cancel = {kCancelLeft, textHeight + 48, kButtonWidth, kButtonHeight};

  int widest = 0;  // ends at least 30 pixels wider than the widest line
  for (int w : lineWidths)
    if (w > widest) widest = w + 30;
  if (layout.Text.Width < widest) {
    layout.Text.Width = widest + 30;
    layout.FormWidth = layout.Text.Width + 55;
    if (!singleButton) {
      layout.Yes.Left = layout.Text.Width / 2 + layout.Text.Left - kButtonWidth - 3;
      layout.Cancel.Left = layout.Yes.Left + kButtonWidth + 7;
    }
  }
  if (singleButton) layout.Yes.Left = layout.Text.Width / 2 + layout.Text.Left - kButtonWidth / 2;
  return layout;
}

std::string MessageCopyText(const std::string& caption, const std::vector<std::string>& lines,
                            const std::vector<std::string>& buttons) {
  const std::string rule = std::string(27, '-') + "\r\n";
  std::string text = rule + caption + "\r\n" + rule;
  for (const std::string& line : lines) text.append(line).append("\r\n");
  text += rule;
  for (const std::string& button : buttons) text.append(button).append("   ");
  return text + "\r\n" + rule;
}

}  // namespace tavrin
