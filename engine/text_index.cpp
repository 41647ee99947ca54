#include "engine/text_index.h"

#include <algorithm>

namespace tavrin {
namespace {

std::uint64_t Load64(const char* p) {
  std::uint64_t v;
  std::memcpy(&v, p, 8);
  return v;
}

std::uint64_t Load32(const char* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

// 64 x 64 -> 128-bit product, folded to 64 bits.
std::uint64_t Fold(std::uint64_t a, std::uint64_t b) {
  const unsigned __int128 product = static_cast<unsigned __int128>(a) * b;
  return static_cast<std::uint64_t>(product) ^ static_cast<std::uint64_t>(product >> 64);
}

constexpr std::uint64_t kSeed0 = 0xA0761D6478BD642Full;
constexpr std::uint64_t kSeed1 = 0xE7037ED1A0B428DBull;
constexpr std::uint64_t kSeed2 = 0x8EBC6AF09C88C6E3ull;

}  // namespace

std::uint64_t HashBytes(std::string_view bytes) {
  // Short strings, the common case, take two (possibly overlapping) loads
  // and one multiplication; longer ones 16 bytes a step.
  const char* p = bytes.data();
  const std::size_t n = bytes.size();
  std::uint64_t seed = kSeed0 ^ n;
  std::uint64_t a = 0, b = 0;
  if (n <= 16) {
    if (n >= 8) {
      a = Load64(p);
      b = Load64(p + n - 8);
    } else if (n >= 4) {
      a = Load32(p);
      b = Load32(p + n - 4);
    } else if (n > 0) {
      a = (static_cast<std::uint64_t>(static_cast<unsigned char>(p[0])) << 16) |
          (static_cast<std::uint64_t>(static_cast<unsigned char>(p[n / 2])) << 8) |
          static_cast<unsigned char>(p[n - 1]);
    }
  } else {
    std::size_t left = n;
    while (left > 16) {
      seed = Fold(Load64(p) ^ kSeed1, Load64(p + 8) ^ seed);
      p += 16;
      left -= 16;
    }
    a = Load64(p + left - 16);
    b = Load64(p + left - 8);
  }
  const std::uint64_t h = Fold(kSeed1 ^ n, Fold(a ^ kSeed1, b ^ seed) ^ kSeed2);
  return h != 0 ? h : 1;  // zero marks a free slot
}

bool MostlyDistinct(std::vector<std::uint64_t>& Hashes) {
  std::sort(Hashes.begin(), Hashes.end());
  const auto distinct =
      static_cast<std::size_t>(std::unique(Hashes.begin(), Hashes.end()) - Hashes.begin());
  return distinct * 10 >= Hashes.size() * 9;
}

}  // namespace tavrin
