#include "app/build_data.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "app/command_texts.h"
#include "engine/text_index.h"

namespace tavrin {

int ProgressPercent(std::size_t Index, std::size_t n) {
  if (n == 0) return 0;
  return static_cast<int>(static_cast<std::uint64_t>(Index) * 100 / n);
}

namespace {

// Add of lines from .. to - 1; the items refer to their texts inside the
// lines' buffer.
void AddRange(TUniqueManager& Manager, const TClipboardLines& Lines, std::size_t from,
              std::size_t to) {
  Manager.AddAll(Lines.Store(), Lines.Bytes(), to - from,
                 [&](std::size_t i) { return Lines[from + i]; });
}

// From this many lines on, lines are added on the cores rather than by one
// look-up each: sorted (AddAllSorted) when they look nearly all distinct,
// else counted (AddAllCounted).
constexpr std::size_t kSortedLines = std::size_t{1} << 15;

// Whether the first lines nearly all differ, as the batch tests its input.
bool LooksDistinct(const TClipboardLines& Lines) {
  std::vector<std::uint64_t> hashes(std::min(Lines.size(), kDistinctSample));
  for (std::size_t i = 0; i < hashes.size(); ++i) hashes[i] = HashBytes(Lines[i]);
  return MostlyDistinct(hashes);
}

// Clear, then Add of every line in order with the progress texts.
void AddLines(TUniqueManager& Manager, const TClipboardLines& Lines, const TStatusFn& Status) {
  Manager.Clear();
  const std::size_t n = Lines.size();
  if (n >= kSortedLines) {
    // One step: the first text, then the organising text. Lines declined
    // are added one by one below, with every percentage.
    if (Status) Status(ProgressText(0));
    const auto lineAt = [&](std::size_t i) { return Lines[i]; };
    if (LooksDistinct(Lines) ? Manager.AddAllSorted(Lines.Store(), Lines.Bytes(), n, lineAt)
                             : Manager.AddAllCounted(Lines.Store(), Lines.Bytes(), n, lineAt))
      return;
  }
  const auto addRange = [&](std::size_t from, std::size_t to) {
    AddRange(Manager, Lines, from, to);
  };
  if (!Status) {
    addRange(0, n);
  } else {
    // The progress text changes with the percentage, after the first line
    // of each new percentage is added.
    std::size_t i = 0;
    while (i < n) {
      const int percent = ProgressPercent(i, n);
      // The first line of the next percentage: the least end with
      // end * 100 >= (percent + 1) * n.
      const std::uint64_t next = ((static_cast<std::uint64_t>(percent) + 1) * n + 99) / 100;
      const std::size_t end = std::max<std::size_t>(i + 1, std::min<std::uint64_t>(next, n));
      addRange(i, i + 1);
      Status(ProgressText(percent));
      addRange(i + 1, end);
      i = end;
    }
  }
}

void Finish(TUniqueManager& Manager, bool ExtractSort, const TStatusFn& Status) {
  if (Status) Status(OrganizingText());
  Manager.Organize();
  if (ExtractSort) Manager.Sort();
}

}  // namespace

bool BuildData(TUniqueManager& Manager, const TClipboardLines& Lines, bool ExtractSort,
               const TStatusFn& Status) {
  if (Lines.empty()) return false;
  AddLines(Manager, Lines, Status);
  Finish(Manager, ExtractSort, Status);
  return true;
}

std::size_t GuessTexts(const TTextsSeen& First, const TTextsSeen& Now, std::size_t TotalBytes) {
  if (Now.Lines <= First.Lines || Now.Bytes == 0 || TotalBytes <= Now.Bytes) return 0;
  const std::size_t lines = Now.Lines - First.Lines, texts = Now.Texts - First.Texts;
  if (texts * 10 < lines * 9) return 0;
  const double linesLeft = static_cast<double>(TotalBytes - Now.Bytes) * Now.Lines / Now.Bytes;
  return (Now.Texts + static_cast<std::size_t>(linesLeft * texts / lines)) / 5 * 4;
}

void BuildDataInBlocks(TUniqueManager& Manager, std::string Text, bool ExtractSort,
                       std::size_t BlockBytes) {
  Manager.Clear();
  const std::size_t total = Text.size();
  TClipboardLineBlocks blocks(std::move(Text), BlockBytes);
  // Past 2 MB and again past 4 MB of input, the index may be sized for
  // all of it (it would otherwise grow in steps that each move every entry).
  constexpr std::size_t kFirstMark = std::size_t{2} << 20, kSecondMark = std::size_t{4} << 20;
  TTextsSeen seen, first;
  bool guessed = false;
  for (TClipboardLines block; blocks.Next(block);) {
    AddRange(Manager, block, 0, block.size());
    if (block.empty() || guessed) continue;
    const std::string_view last = block[block.size() - 1];
    seen = {static_cast<std::size_t>(last.data() + last.size() - block.Bytes().data()),
            seen.Lines + block.size(), static_cast<std::size_t>(Manager.Count())};
    if (first.Bytes == 0 && seen.Bytes >= kFirstMark) {
      first = seen;
    } else if (first.Bytes != 0 && seen.Bytes >= kSecondMark) {
      Manager.ExpectTexts(GuessTexts(first, seen, total));
      guessed = true;
    }
  }
  Finish(Manager, ExtractSort, {});
}

}  // namespace tavrin
