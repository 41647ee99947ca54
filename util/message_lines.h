#pragma once
// Splitting a text into lines: the lines a message box shows, and the lines
// of a container file.
#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

// Lines of a CP932 text split at each CR, LF or CR LF pair. A break at the
// very end does not start another line, so "a\r" is one line and "" none.
// (CR and LF are never trail bytes, so the bytes can be split directly.)
std::vector<std::string> SplitMessageLines(std::string_view text);

}  // namespace tavrin
