// Writes the seed bitmaps of the dib fuzz target.
// Build and run from the repository root:
//   g++ -std=c++20 -I. tools/make_dib_fuzz_seeds.cpp -o /tmp/seeds \&\& /tmp/seeds
#include <cstdio>
#include <string>

#include "tests/widgets/bmp_builder.h"
using namespace tavrin::test;
static void W(const char* n, const std::vector<uint8_t>& b) {
  std::string p = std::string("tests/fuzz/seeds/dib_fuzz/") + n;
  FILE* f = fopen(p.c_str(), "wb");
  fwrite(b.data(), 1, b.size(), f);
  fclose(f);
}
int main() {
  W("24bit-5x3.bmp", MakeBmp24(5, 3, [](int x, int y) { return uint32_t(x * 40 + y * 0x2000); }));
  BmpSpec a{9, 2, 1, {0, 0xFFFFFF}};
  a.rows = {{0xA5, 0x80}, {0x5A, 0}};
  W("1bit-9x2.bmp", MakeBmp(a));
  BmpSpec b{5, 3, 4, std::vector<uint32_t>(16, 0x123456)};
  b.rows = {{0x12, 0x34, 0x50}, {0xAB, 0xCD, 0xE0}, {1, 2, 3}};
  W("4bit-5x3.bmp", MakeBmp(b));
  BmpSpec c{3, 3, 8, {0, 0xFF, 0xFF00}};
  c.rows = {{0, 1, 2}, {2, 1, 0}, {1, 1, 9}};
  W("8bit-small-table.bmp", MakeBmp(c));
  BmpSpec d{3, 2, 16};
  d.rows = {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}};
  W("16bit-3x2.bmp", MakeBmp(d));
  BmpSpec e{2, 2, 32};
  e.rows = {{1, 2, 3, 4, 5, 6, 7, 8}, {9, 10, 11, 12, 13, 14, 15, 16}};
  W("32bit-2x2.bmp", MakeBmp(e));
}
