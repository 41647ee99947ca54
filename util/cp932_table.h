#pragma once
// The generated two-way CP932 table (util/cp932_table.cpp, written by
// tools/gen_cp932_table.py). Only the codec reads it.
#include <cstddef>
#include <cstdint>
#include <iterator>

namespace tavrin::cp932::table {

// A code is a single byte, or lead << 8 | trail for a double-byte character.
struct Pair {
  std::uint16_t first;
  std::uint16_t second;
};

extern const Pair kDecode[];  // {code, character}, by code
extern const std::size_t kDecodeSize;
extern const Pair kEncode[];  // {character, code encoding picks}, by character
extern const std::size_t kEncodeSize;
extern const unsigned char kFreeLeadBytes[];
extern const std::size_t kFreeLeadBytesSize;

}  // namespace tavrin::cp932::table
