#pragma once
// Integer, case and list routines on CP932 text.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

// The integer the text writes, once bytes up to 0x20 are trimmed from both
// ends: an optional sign, then decimal digits, or hexadecimal digits after
// "$", "x", "X", "0x" or "0X". The value lies in the 32-bit signed range;
// any other text throws EError "'<trimmed text>' は整数ではありません".
std::int64_t ParseInteger(std::string_view text);

// Decimal text, "-" for negative values, no leading zeros or plus sign.
std::string IntegerText(std::int32_t value);

// Single-byte letters a-z become A-Z; double-byte characters are untouched,
// so a trail byte in the a-z range never changes.
std::string UpperCaseText(std::string_view text);

// Keeps only the first of each run of equal strings of a sorted list;
// survivors keep their order. Strings compare as unsigned bytes.
void RemoveAdjacentDuplicates(std::vector<std::string>& list);

}  // namespace tavrin
