#pragma once
// The clipboard intake of the two commands: the clipboard's text turned into
// the window's input lines (FLines). Qt-free; the window reads the clipboard
// and hands the text here.
//
// All lines live in one buffer (a million lines cost one allocation, not a
// million), each line a view into it. A line holds no line-break bytes.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

// One line of a text: its bytes [Start, Start + Length), no line break.
struct TLineSpan {
  // Made without a value: a split makes room for all its spans at once and
  // writes each, so a million of them are not cleared first.
  TLineSpan() {}  // not "= default", which would clear them
  TLineSpan(std::uint32_t S, std::uint32_t N) : Start(S), Length(N) {}
  std::uint32_t Start;
  std::uint32_t Length;
};
// What a split saw of its lines' first bytes, so that the passes after it
// skip the lines when none can concern them: whether a line starts with '"'
// (it may open a quoted cell), and whether a line may be blank (it is empty
// or its first byte does not show that something is left after trimming).
struct TSplitFacts {
  bool Quoted = true;
  bool MaybeBlank = true;
};
// The lines of Text (already cut at its first NUL, shorter than 4 GiB): a
// line ends at CR, at LF or at the pair CR LF; a break at the very end adds
// no empty line. Facts, when given, tells what the lines' first bytes show.
std::vector<TLineSpan> SplitLineSpans(std::string_view Text, TSplitFacts* Facts = nullptr);
// Where Text's first NUL byte is, or Text's size when it has none.
std::size_t NulAt(std::string_view Text);
// Whether the joining pass joins Line with the line after it, Next: Line
// begins with '"' and Next ends with '"'.
inline bool JoinsCells(std::string_view Line, std::string_view Next) {
  return !Line.empty() && Line.front() == '"' && !Next.empty() && Next.back() == '"';
}
// Whether TrimBlanks reduces Line to nothing.
bool IsBlankLine(std::string_view Line);

class TClipboardLines {
 public:
  TClipboardLines() = default;

  // Splits Text into lines: a line ends at CR, at LF or at the pair CR LF; a
  // line break at the very end adds no empty line; the text ends at its first
  // NUL byte. Nothing else is done (no joining, no blank removal). A text
  // (up to its NUL) of kMaxText bytes or more throws std::length_error.
  static TClipboardLines Split(std::string Text);
  // Lines are kept as 32-bit offsets: half the memory of a million lines.
  static constexpr std::size_t kMaxText = UINT32_MAX;

  std::size_t size() const noexcept { return FSpans.size(); }
  bool empty() const noexcept { return FSpans.empty(); }
  std::string_view operator[](std::size_t i) const noexcept {
    return {FBuffer->data() + FSpans[i].Start, FSpans[i].Length};
  }
  // The buffer every line lies in, and what keeps it alive: a collection
  // can refer to the lines there instead of copying them.
  std::string_view Bytes() const noexcept { return *FBuffer; }
  std::shared_ptr<const void> Store() const noexcept { return FBuffer; }
  std::vector<std::string> ToVector() const;

  // The joining pass for spreadsheet cells that span two lines: for i from
  // the first line to the last, when line i begins with '"', a line i+1
  // exists and it ends with '"', line i becomes line i without its first byte
  // followed directly by line i+1 without its last byte, and line i+1 becomes
  // empty (and, being empty, is passed over next). Only the first byte of
  // line i and the last byte of line i+1 are looked at. A buffer shared
  // with others is copied first, only when a cell is joined.
  void JoinQuotedCells();

  // Deletes every line that TrimBlanks reduces to nothing (only half-width
  // and full-width spaces and bytes of value 0x20 or below). The other lines
  // stay exactly as read, with their outer blanks.
  void RemoveBlankLines();

 private:
  friend class TClipboardLineBlocks;
  friend TClipboardLines ClipboardLines(std::string Text, std::shared_ptr<const std::string>* Read);
  // The joining pass over the buffer in place, shared or not.
  void JoinInPlace();
  // Whether the joining pass joins any two lines.
  bool JoinsAny() const;
  using TSpan = TLineSpan;
  // Splits Text, cut at Nul (its first NUL byte, or its size).
  static TClipboardLines SplitAt(std::string Text, std::size_t Nul);
  // Shared with the collections that refer to it; changed only while not.
  std::shared_ptr<std::string> FBuffer = std::make_shared<std::string>();
  std::vector<TSpan> FSpans;
  TSplitFacts FFacts;
};

// The lines ClipboardLines gives, in blocks of about BlockBytes bytes of
// text each, for a text too large to list all its lines at once. Every
// block shares the one buffer (Text's), so the items of a collection can
// refer into it; a block holds whole lines, and a quoted cell that spans a
// block's end is joined as ClipboardLines joins it.
class TClipboardLineBlocks {
 public:
  explicit TClipboardLineBlocks(std::string Text, std::size_t BlockBytes = std::size_t{1} << 20);
  // The next block into Block; false when the text is done.
  bool Next(TClipboardLines& Block);

 private:
  // The end of the line that starts at Start, behind its line break.
  std::size_t LineEnd(std::size_t Start) const;
  TClipboardLines FAll;  // the buffer; no lines listed
  std::size_t FAt = 0;
  std::size_t FBlockBytes;
};

// Steps 2 to 4 of ReadClipboard over a clipboard text that exists: split,
// join the quoted cells, remove the blank lines. The result is FLines.
// Read, when given, receives the text as read, all of it (past a NUL too):
// the lines' own buffer, unless a NUL cut it or a cell was joined.
TClipboardLines ClipboardLines(std::string Text,
                               std::shared_ptr<const std::string>* Read = nullptr);

}  // namespace tavrin
