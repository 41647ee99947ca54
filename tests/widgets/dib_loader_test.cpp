#include "widgets/dib_loader.h"

#include <gtest/gtest.h>

#include "tests/widgets/bmp_builder.h"

namespace tavrin {
namespace {

using test::BmpSpec;
using test::Load;
using test::MakeBmp;

TEST(DibImage, ValidityChecksEveryHeaderField) {
  const TDibImage good = Load(test::MakeBmp24(3, 2, [](int, int) { return 0x123456u; }));
  ASSERT_TRUE(good.IsValidDib());
  ASSERT_TRUE(good.HasPixels());
  struct Case {
    const char* name;
    std::size_t at;
    uint32_t value;
    int width;
  } cases[] = {
      {"type", 0, 'X', 1},
      {"file size past buffer", 2, 0x7FFFFFFF, 4},
      {"file size at offset", 2, 54, 4},
      {"reserved", 6, 1, 2},
      {"offset below 54", 10, 53, 4},
      {"header size", 14, 108, 4},
      {"zero width", 18, 0, 4},
      {"negative height", 22, 0xFFFFFFFE, 4},
      {"planes", 26, 2, 2},
      {"bits 0", 28, 0, 2},
      {"bits 33", 28, 33, 2},
      {"compression", 30, 1, 4},
      {"negative resolution", 38, 0x80000000, 4},
      {"colours over 256", 46, 257, 4},
  };
  for (const Case& c : cases) {
    TDibImage bad = good;
    std::vector<uint8_t>& b = bad.Bytes();
    if (c.width == 1) b[c.at] = uint8_t(c.value);
    if (c.width == 2) PutLe16(&b[c.at], uint16_t(c.value));
    if (c.width == 4) PutLe32(&b[c.at], c.value);
    EXPECT_FALSE(bad.IsValidDib()) << c.name;
  }
  TDibImage tiny;
  tiny.Bytes().assign(good.Bytes().begin(), good.Bytes().begin() + 54);
  EXPECT_FALSE(tiny.IsValidDib()) << "54 bytes hold no pixels";
}

TEST(LoadBitmapStream, OneBitIsAlwaysBlackAndWhite) {
  BmpSpec s{10, 1, 1, {0x00FF0000, 0x0000FF00}};  // the file's own table: blue, green
  s.rows = {{0b10110000, 0b01000000}};
  const TDibImage image = Load(MakeBmp(s));
  ASSERT_TRUE(image.HasPixels());
  EXPECT_EQ(image.BitCount(), 8);
  EXPECT_EQ(image.ColorCount(), 2u);
  EXPECT_EQ(image.PixelOffset(), 62u);
  EXPECT_EQ(GetLe32(image.ColourTable()), 0x00000000u);
  EXPECT_EQ(GetLe32(image.ColourTable() + 4), 0x00FFFFFFu);
  const uint8_t expected[10] = {1, 0, 1, 1, 0, 0, 0, 0, 0, 1};
  for (int x = 0; x < 10; ++x) EXPECT_EQ(image.Row(0)[x], expected[x]) << x;
  EXPECT_EQ(image.RowLength(), 12u);
}

TEST(LoadBitmapStream, FourBitsExpandNibblesAndDefaultTo16Colours) {
  std::vector<uint32_t> palette(16);
  for (int i = 0; i < 16; ++i) palette[i] = uint32_t(i * 0x111111);
  BmpSpec s{3, 2, 4, palette};
  s.colorsUsed = 0;
  s.rows = {{0x12, 0x30}, {0xAB, 0xC0}};
  const TDibImage image = Load(MakeBmp(s));
  ASSERT_TRUE(image.HasPixels());
  EXPECT_EQ(image.ColorCount(), 16u);
  EXPECT_EQ(image.PixelOffset(), 54u + 64);
  EXPECT_EQ(image.Row(0)[0], 1);
  EXPECT_EQ(image.Row(0)[1], 2);
  EXPECT_EQ(image.Row(0)[2], 3);
  EXPECT_EQ(image.Row(1)[2], 0xC);
  EXPECT_EQ(GetLe32(image.ColourTable() + 4 * 5), 0x555555u);
}

TEST(LoadBitmapStream, HighDepthsBecome24Bits) {
  BmpSpec s16{2, 1, 16};
  s16.rows = {{0xFF, 0x7F, 0x1F, 0x00}};  // white, pure blue (5-5-5)
  const TDibImage a = Load(MakeBmp(s16));
  ASSERT_TRUE(a.HasPixels());
  EXPECT_EQ(a.BitCount(), 24);
  EXPECT_EQ(test::Pixel24(a, 0, 0), 0xFFFFFFu);
  EXPECT_EQ(test::Pixel24(a, 1, 0), 0x0000FFu);

  BmpSpec s16b{1, 1, 16};
  s16b.rows = {{0x10, 0x42}};  // blue 16, green 16, red 16: 16 × 255 div 31 = 131
  EXPECT_EQ(test::Pixel24(Load(MakeBmp(s16b)), 0, 0), 0x838383u);

  BmpSpec s32{2, 1, 32};
  s32.rows = {{1, 2, 3, 99, 4, 5, 6, 99}};
  const TDibImage b = Load(MakeBmp(s32));
  EXPECT_EQ(test::Pixel24(b, 0, 0), 0x030201u);
  EXPECT_EQ(test::Pixel24(b, 1, 0), 0x060504u);
  EXPECT_EQ(b.PixelOffset(), 54u);
  EXPECT_EQ(b.FileSize(), 54u + 8);
}

TEST(LoadBitmapStream, RefusesAndRestoresPosition) {
  BmpSpec base{4, 4, 8, std::vector<uint32_t>(256)};
  base.rows.assign(4, std::vector<uint8_t>(4, 7));
  struct Case {
    const char* name;
    std::vector<uint8_t> file;
  };
  std::vector<Case> cases;
  auto with = [&](const char* name, auto change) {
    BmpSpec s = base;
    change(s);
    cases.push_back({name, MakeBmp(s)});
  };
  with("compressed", [](BmpSpec& s) { s.compression = 1; });
  with("planes", [](BmpSpec& s) { s.planes = 0; });
  with("header below 40", [](BmpSpec& s) { s.headerSize = 12; });
  with("bits 0", [](BmpSpec& s) { s.bits = 0; });
  with("bits 33", [](BmpSpec& s) { s.bits = 33; });
  with("colours over 256", [](BmpSpec& s) { s.colorsUsed = 300; });
  with("rows past the end", [](BmpSpec& s) { s.rows.pop_back(); });
  {
    // Sizes whose row arithmetic overflows 32 bits.
    std::vector<uint8_t> f = MakeBmp(base);
    PutLe32(&f[18], 0x7FFFFFFF);
    cases.push_back({"huge width", f});
    PutLe32(&f[18], 0x80000000);
    cases.push_back({"most negative width", f});
    f = MakeBmp(base);
    PutLe32(&f[22], 0x40000000);
    cases.push_back({"huge height", f});
    f = MakeBmp(base);
    f[1] = 'A';
    cases.push_back({"type", f});
    f = MakeBmp(base);
    PutLe32(&f[10], 0xFFFFFFF0);  // offset past the end
    cases.push_back({"offset past the end", f});
    f = MakeBmp(base);
    f[6] = 1;
    cases.push_back({"reserved", f});
    f = MakeBmp(base);
    f.resize(40);
    cases.push_back({"short header", f});
  }
  for (Case& c : cases) {
    std::vector<uint8_t> stream(3 + c.file.size(), 0xEE);  // the bitmap starts at position 3
    std::copy(c.file.begin(), c.file.end(), stream.begin() + 3);
    TDibImage image;
    TByteStream s{stream.data(), stream.size(), 3};
    EXPECT_FALSE(LoadBitmapStream(s, image)) << c.name;
    EXPECT_TRUE(image.Empty()) << c.name;
    EXPECT_EQ(s.position, 3u) << c.name;
  }
}

TEST(LoadBitmapStream, AcceptedStreamMovesPastTheFile) {
  std::vector<uint8_t> stream =
      test::MakeBmp24(3, 3, [](int x, int y) { return uint32_t(x + 16 * y); });
  const std::size_t fileSize = stream.size();
  stream.insert(stream.end(), {1, 2, 3, 4});
  TDibImage image;
  TByteStream s{stream.data(), stream.size(), 0};
  ASSERT_TRUE(LoadBitmapStream(s, image));
  EXPECT_EQ(s.position, fileSize);
  EXPECT_EQ(test::Pixel24(image, 2, 1), 0x12u);
}

TEST(LoadBitmapStream, TopDownRowsGiveAnInvalidImage) {
  BmpSpec s{2, -2, 24};
  s.rows.assign(2, std::vector<uint8_t>(6, 9));
  const TDibImage image = Load(MakeBmp(s));
  EXPECT_FALSE(image.IsValidDib());
}

TEST(LoadBitmapStream, SmallColourTableLeavesIndicesPastItBlack) {
  BmpSpec s{2, 1, 8, {0x00FFFFFF, 0x00FF0000}};
  s.rows = {{1, 200}};
  const TDibImage image = Load(MakeBmp(s));
  ASSERT_TRUE(image.HasPixels());
  EXPECT_EQ(image.TableEntries(), 2u);
  uint8_t bgr[3];
  image.PaletteColour(1, bgr);
  EXPECT_EQ(bgr[0], 0);
  EXPECT_EQ(bgr[2], 0xFF);
  image.PaletteColour(200, bgr);
  EXPECT_EQ(bgr[0] | bgr[1] | bgr[2], 0);
}

TEST(LoadBitmapFile, PatchesEightBitHeaders) {
  BmpSpec s{2, 1, 8, {}};
  s.rows = {{0, 1}};
  std::vector<uint8_t> f = MakeBmp(s);
  TDibImage image;
  LoadBitmapFile(f.data(), f.size(), image);
  EXPECT_EQ(image.ColorCount(), 256u) << "a zero count at 8 bits means 256";
  EXPECT_EQ(image.PixelOffset(), 54u + 1024);
  EXPECT_EQ(image.FileSize(), f.size());
}

}  // namespace
}  // namespace tavrin
