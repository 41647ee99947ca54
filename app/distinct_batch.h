#pragma once
// The batch's path for input of mostly distinct lines: instead of a
// collection with a hash index, one compact entry per line, sorted by a
// radix sort over the first bytes of the keys, and the rows read off runs
// of the sorted entries. It gives the bytes RunBatch's usual path gives,
// for the cases it takes; it declines the others.
#include <cstddef>
#include <optional>
#include <string_view>

#include "app/batch_command.h"
#include "util/text_encoding.h"

namespace tavrin {

// Texts shorter than this stay with the collection, whose start is quicker.
inline constexpr std::size_t kDistinctBatchBytes = std::size_t{4} << 20;

// Whether Text (the engine's text) looks like distinct lines: at least
// MinBytes long, and nine in ten of its first lines differ from each other.
bool LooksDistinctHeavy(std::string_view Text, std::size_t MinBytes = kDistinctBatchBytes);

// Whether the path takes the options: the copy text of "all" or "similar"
// (with any kinds of variants), sorted; not another output, a dictionary,
// trimming, an unsorted list, nor "all" that merges (--no-zenkaku or
// --no-upper).
bool DistinctBatchTakes(const TBatchOptions& Options);

// The two ways of the path: one entry a line, sorted with its repeats
// (PerLine, for mostly distinct lines); or the lines counted first on the
// cores, one entry a distinct text (Counted, for repeated lines).
enum class TDistinctWay { PerLine, Counted };

// The copy text of "all" or "similar" over Text (the engine's text, decoded
// from Encoding; Bom: the input had one), written through Write as RunBatch
// writes it (without Write, gathered in Out). None, with nothing written,
// when the path does not take the options, or this text: quoted cells,
// codes of the unassigned rows, keys that are not plain, text of 2 GiB or
// more.
std::optional<TBatchOutput> RunDistinctBatch(const TBatchOptions& Options, std::string_view Text,
                                             TTextEncoding Encoding, bool Bom,
                                             const TBatchWrite& Write = {},
                                             TDistinctWay Way = TDistinctWay::PerLine);

}  // namespace tavrin
