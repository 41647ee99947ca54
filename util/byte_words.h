#pragma once
// Tests over the eight bytes of a 64-bit word at once: each gives the high
// bit of every byte that passes, so that a line is looked at eight bytes a
// step.
#include <cstdint>

namespace tavrin::byte_words {

inline constexpr std::uint64_t kOnes = 0x0101010101010101u, kHighs = kOnes * 0x80;

// Each byte of W that is C (exactly: no borrow reaches from one byte into
// the next).
constexpr std::uint64_t Equal(std::uint64_t W, unsigned char C) {
  constexpr std::uint64_t kLow7 = kOnes * 0x7F;
  const std::uint64_t x = W ^ (kOnes * C);
  return ~(((x & kLow7) + kLow7) | x | kLow7);
}

// Each byte of W from 'A' to 'Z', where no byte of W is above 0x7F (no
// carry then crosses from one byte into the next).
constexpr std::uint64_t AsciiCapitals(std::uint64_t W) {
  return (W + kOnes * (0x80 - 'A')) & ~(W + kOnes * (0x80 - 'Z' - 1)) & kHighs;
}

}  // namespace tavrin::byte_words
