#pragma once
// Weighing the two readings of text without a byte-order mark, UTF-8 and
// CP932, by what each makes of it. Many short CP932 texts are also valid
// UTF-8 (two half-width kana such as ﾐｷ are the UTF-8 of one Cyrillic
// letter), and UTF-8 read as CP932 mostly still parses. What tells them
// apart is the characters: Japanese text gives kana, kanji and runs of
// half-width kana in the right reading, and scattered letters of unrelated
// scripts, unassigned codes and lone half-width kana between kanji in the
// wrong one.
#include <cstddef>
#include <string_view>

namespace tavrin {

struct TReadingWeights {
  long Utf8 = 0;
  long Cp932 = 0;
};

// The weight of the UTF-8 reading of Bytes up to Utf8End (well-formed up to
// there) and of the CP932 reading of all of Bytes; higher is likelier. Each
// character counts by its kind, and by its neighbours where a kind is only
// likely in company: a half-width kana beside another, a letter of Latin,
// Greek or Cyrillic beside one of its own script (Latin also beside an ASCII
// letter). Only the first kWeighedBytes of each reading are weighed.
TReadingWeights WeighReadings(std::string_view Bytes, std::size_t Utf8End);
inline constexpr std::size_t kWeighedBytes = std::size_t{1} << 20;

}  // namespace tavrin
