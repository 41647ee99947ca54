#include "util/byte_words.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace tavrin {
namespace {

// The flags of a word against each byte taken alone: a borrow or carry
// reaching from one byte into the next would flag a neighbour wrongly.
std::uint64_t Flags(std::uint64_t W, bool (*Passes)(unsigned char)) {
  std::uint64_t flags = 0;
  for (int k = 0; k < 8; ++k)
    if (Passes(static_cast<unsigned char>(W >> (8 * k)))) flags |= std::uint64_t{0x80} << (8 * k);
  return flags;
}

TEST(ByteWords, EachByteTestedAlone) {
  std::mt19937_64 rng(3);
  for (int round = 0; round < 20000; ++round) {
    // Words of bytes near the tested ones, where carries happen.
    std::uint64_t w = 0;
    for (int k = 0; k < 8; ++k) {
      const unsigned char near[] = {'\n', '\r', 0x00, 0x0B, 0x0E, 0x7F, 0x80, 0xFF,
                                    'A',  'Z',  '@',  '[',  'a',  'z',  ' ',  '`'};
      const unsigned char b = rng() % 2 ? near[rng() % std::size(near)] : rng() & 0xFF;
      w |= std::uint64_t{b} << (8 * k);
    }
    EXPECT_EQ(byte_words::Equal(w, '\n'), Flags(w, [](unsigned char b) { return b == '\n'; }));
    EXPECT_EQ(byte_words::Equal(w, 0xFF), Flags(w, [](unsigned char b) { return b == 0xFF; }));
    const std::uint64_t ascii = w & ~byte_words::kHighs;
    EXPECT_EQ(byte_words::AsciiCapitals(ascii),
              Flags(ascii, [](unsigned char b) { return b >= 'A' && b <= 'Z'; }));
  }
}

}  // namespace
}  // namespace tavrin
