#pragma once
// BuildData of the two commands: the input lines into the TUniqueManager.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "app/clipboard_lines.h"
#include "engine/unique_manager.h"

namespace tavrin {

// The percentage ShowProgress shows after the line at Index (0-based) of n
// lines: Index * 100 div n in integer arithmetic (line 29 of 100 gives 28,
// the last of 200 gives 99, a single line 0). 0 when n is 0.
int ProgressPercent(std::size_t Index, std::size_t n);

// Receives each status text (CP932) for panel 1; the window sets the panel
// and repaints the status bar at once.
using TStatusFn = std::function<void(const std::string& text)>;

// Clear, Add of every line in order, Organize, and Sort when ExtractSort is
// on. While adding, Status receives ProgressText of the percentage, once for
// the first line and again each time the percentage changes (the text is the
// same as showing it after every line, at most 100 repaints); before
// Organize it receives OrganizingText. Status may be empty. A large input
// whose first lines nearly all differ is added in one step, by sorting
// (TUniqueManager::AddAllSorted): then the first percentage is the only
// one shown, unless the sort declines the lines, which are then added as
// above (the first percentage shows twice).
//
// Lines empty: returns false and leaves the manager untouched; the caller
// shows NoLinesMessage and goes on with its summary. Otherwise true.
bool BuildData(TUniqueManager& Manager, const TClipboardLines& Lines, bool ExtractSort,
               const TStatusFn& Status = {});
// BuildData without progress over the clipboard lines of Text, read in
// blocks of about BlockBytes: the same collection, without a list of every
// line at once.
void BuildDataInBlocks(TUniqueManager& Manager, std::string Text, bool ExtractSort,
                       std::size_t BlockBytes = std::size_t{1} << 20);

// What adding has seen up to a point of the input.
struct TTextsSeen {
  std::size_t Bytes = 0, Lines = 0, Texts = 0;
};
// The distinct texts of a whole input of TotalBytes, guessed part way: when
// nearly every line from First to Now was new (nine in ten or more), the
// rest of the input is taken to be as new, at the lines per byte seen so
// far, and four fifths of that are guessed (an index made too large costs
// memory, one too small only grows as it would have); otherwise 0, no
// guess (where lines repeat, the collection stays small and grows cheaply).
std::size_t GuessTexts(const TTextsSeen& First, const TTextsSeen& Now, std::size_t TotalBytes);

}  // namespace tavrin
