#include "widgets/gradation_engine.h"

#include <gtest/gtest.h>

#include <cstring>

#include "util/cp932.h"
#include "util/messages.h"

namespace tavrin {
namespace {

// A control that records what the engine asks of it.
class FakeControl : public TGradationControl {
 public:
  bool active = false;
  bool swap = false;
  int depth = 32;
  int updates = 0;
  int prepared = 0;
  int transfers = 0;
  int clears = 0;
  TWorkBitmap picture;
  TGradationEngine engine{this};

  bool Active() const override { return active; }
  bool ColorSwap() const override { return swap; }
  void UpdateGradation() override {
    ++updates;
    engine.Render();
  }
  void PrepareImage() override { ++prepared; }
  void TransferToPicture(const TWorkBitmap& b) override {
    ++transfers;
    picture = b;
  }
  void ClearPicture() override {
    ++clears;
    picture = TWorkBitmap();
  }
  int DisplayBitsPerPixel() const override { return depth; }
};

const std::vector<TColor> kToolBar = {clLime, clBlack, clBlack, clBlack, clLime};

// Every pixel of row y (or column x when columns) has the colour.
bool LineIs(const TWorkBitmap& b, int at, TColor c, bool column = false) {
  int n = column ? b.Height() : b.Width();
  for (int i = 0; i < n; ++i)
    if ((column ? b.Pixel(at, i) : b.Pixel(i, at)) != c) return false;
  return true;
}

TEST(StripeColor, ChannelsRunLinearlyWithTruncation) {
  for (int i = 0; i <= 255; ++i) {
    EXPECT_EQ(StripeColor(clWhite, clBlack, i), RGBColor(255 - i, 255 - i, 255 - i)) << i;
    EXPECT_EQ(StripeColor(clBlack, clLime, i), RGBColor(0, i, 0)) << i;
  }
  // 100 + (0 - 100) * 128 / 255 = 100 - 50.19..., truncated toward zero to 50.
  EXPECT_EQ(RedOf(StripeColor(RGBColor(100, 0, 0), clBlack, 128)), 50);
  EXPECT_EQ(StripeColor(RGBColor(10, 20, 30), RGBColor(30, 20, 10), 255), RGBColor(30, 20, 10));
}

TEST(StripeColor, SystemColourCodeIsPaintedFromItsRawBytes) {
  // 0x80000005 names a system colour; only its low bytes (5, 0, 0) count.
  EXPECT_EQ(StripeColor(0x80000005, 0x80000005, 0), RGBColor(5, 0, 0));
  EXPECT_EQ(StripeColor(0xFF000000, clWhite, 255), clWhite);
}

TEST(GradationBitmapSize, FollowsStopsAndMode) {
  EXPECT_EQ(GradationBitmapSize(2, fgmHorizontal).width, 256);
  EXPECT_EQ(GradationBitmapSize(2, fgmHorizontal).height, 512);
  EXPECT_EQ(GradationBitmapSize(5, fgmVertical).width, 512);
  EXPECT_EQ(GradationBitmapSize(5, fgmVertical).height, 1024);
  EXPECT_EQ(GradationBitmapSize(6, fgmHorizontal).width, 1280);
  EXPECT_EQ(GradationBitmapSize(1, fgmVertical).height, 0);
  EXPECT_EQ(GradationBitmapSize(0, fgmHorizontal).width, 0);
}

TEST(PaintStripes, ToolBarGradient) {
  TWorkBitmap b(512, 1024);
  PaintStripes(b, kToolBar, fgmVertical);
  EXPECT_TRUE(LineIs(b, 0, clLime));
  EXPECT_TRUE(LineIs(b, 128, RGBColor(0, 127, 0)));
  EXPECT_TRUE(LineIs(b, 254, RGBColor(0, 1, 0)));
  for (int y = 255; y <= 768; ++y) ASSERT_TRUE(LineIs(b, y, clBlack)) << y;
  EXPECT_TRUE(LineIs(b, 769, RGBColor(0, 1, 0)));
  EXPECT_TRUE(LineIs(b, 1023, clLime));
}

TEST(PaintStripes, TwoStopsHorizontalAreColumns) {
  TWorkBitmap b(256, 512);
  const TColor from = RGBColor(200, 10, 0), to = RGBColor(0, 10, 200);
  PaintStripes(b, {from, to}, fgmHorizontal);
  EXPECT_TRUE(LineIs(b, 0, from, true));
  EXPECT_TRUE(LineIs(b, 255, to, true));
  EXPECT_TRUE(LineIs(b, 51, StripeColor(from, to, 51), true));
}

TEST(InvertBitmapColors, InvertsEveryByteFromEightBitsUp) {
  for (int depth : {8, 16, 24, 32}) {
    TWorkBitmap b(512, 1024);
    PaintStripes(b, kToolBar, fgmVertical);
    ASSERT_TRUE(InvertBitmapColors(b, depth));
    EXPECT_TRUE(LineIs(b, 0, RGBColor(255, 0, 255)));
    EXPECT_TRUE(LineIs(b, 128, RGBColor(255, 128, 255)));
    EXPECT_TRUE(LineIs(b, 500, clWhite));
    EXPECT_TRUE(LineIs(b, 1023, RGBColor(255, 0, 255)));
  }
}

TEST(InvertBitmapColors, RefusesBelowEightBitsWithTheErrorBox) {
  std::vector<std::pair<MessageKind, std::string>> shown;
  MessageHandler before = SetMessageHandler([&](MessageKind k, const std::string& t) {
    shown.emplace_back(k, t);
    return true;
  });
  TWorkBitmap b(3, 2);
  b.FillRect(0, 0, 3, 2, clLime);
  EXPECT_FALSE(InvertBitmapColors(b, 4));
  SetMessageHandler(before);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].first, MessageKind::BeepError);
  EXPECT_EQ(shown[0].second,
            cp932::Sjis("カラー環境が 8ビット以下のため、処理できません（－”－；"));
  EXPECT_TRUE(LineIs(b, 1, clLime));
}

TEST(TWorkBitmap, FileBytesAreABottomUpBitmapFile) {
  TWorkBitmap b(5, 3);                        // 15 bytes a row, padded to 16
  b.FillRect(0, 0, 5, 1, RGBColor(1, 2, 3));  // top row
  b.FillRect(-10, 2, 99, 99, clWhite);        // bottom row, clipped
  const std::vector<std::uint8_t>& f = b.FileBytes();
  auto u32 = [&](std::size_t at) {
    std::uint32_t v;
    std::memcpy(&v, f.data() + at, 4);
    return v;
  };
  ASSERT_EQ(f.size(), 54u + 16 * 3);
  EXPECT_EQ(f[0], 'B');
  EXPECT_EQ(f[1], 'M');
  EXPECT_EQ(u32(2), f.size());
  EXPECT_EQ(u32(10), 54u);
  EXPECT_EQ(u32(14), 40u);
  EXPECT_EQ(u32(18), 5u);
  EXPECT_EQ(u32(22), 3u);
  EXPECT_EQ(f[28], 24);
  EXPECT_EQ(u32(34), 48u);
  // The file starts with the bottom row; the top row comes last, as BGR.
  EXPECT_EQ(f[54], 255);
  EXPECT_EQ(f[54 + 2 * 16 + 0], 3);
  EXPECT_EQ(f[54 + 2 * 16 + 1], 2);
  EXPECT_EQ(f[54 + 2 * 16 + 2], 1);
  EXPECT_EQ(f[54 + 2 * 16 + 15], 0);  // padding
  EXPECT_EQ(b.Pixel(4, 0), RGBColor(1, 2, 3));
  EXPECT_EQ(b.Pixel(5, 0), 0u);
}

TEST(TGradationEngine, ChangesRenderOnlyWhileActive) {
  FakeControl c;
  c.engine.SetColors({clBlack, clLime});
  c.engine.Items(0).SetColor(RGBColor(9, 9, 9));
  c.engine.Add();
  EXPECT_EQ(c.updates, 0);
  c.active = true;
  c.engine.Items(0).SetColor(clLime);
  EXPECT_EQ(c.updates, 1);
  EXPECT_EQ(c.transfers, 1);
  EXPECT_EQ(c.prepared, 1);
  EXPECT_EQ(c.picture.Width(), 512);  // three stops, horizontal
  EXPECT_EQ(c.picture.Pixel(0, 0), clLime);
  EXPECT_EQ(c.picture.Pixel(511, 0), clWhite);  // a new stop is white
  c.engine.Add();
  c.engine.Delete(3);
  EXPECT_EQ(c.updates, 3);
  c.engine.Delete(99);  // no such stop: nothing happens
  EXPECT_EQ(c.updates, 3);
  c.engine.SetColors({clBlack, clLime, clBlack});  // one notification
  EXPECT_EQ(c.updates, 4);
}

TEST(TGradationEngine, TooFewStopsWhileActiveEmptyThePicture) {
  FakeControl c;
  c.engine.SetColors({clBlack, clLime});
  c.active = true;
  c.engine.Render();
  ASSERT_EQ(c.picture.Width(), 256);
  c.engine.Delete(0);
  EXPECT_EQ(c.picture.Width(), 0);
  EXPECT_EQ(c.clears, 1);
  c.engine.Clear();
  EXPECT_EQ(c.transfers, 1);
}

TEST(TGradationEngine, ColorSwapInvertsTheRender) {
  FakeControl c;
  c.engine.SetColors(kToolBar);
  c.engine.SetFillMode(fgmVertical);
  c.swap = true;
  c.engine.Render();
  EXPECT_EQ(c.picture.Pixel(0, 0), RGBColor(255, 0, 255));
  EXPECT_EQ(c.picture.Pixel(0, 600), clWhite);
}

TEST(TColorItem, NamesAndCopies) {
  FakeControl c;
  TColorItem& a = c.engine.Add();
  TColorItem& b = c.engine.Add();
  EXPECT_EQ(a.Color(), clWhite);
  EXPECT_EQ(a.DisplayName(), "clWhite");
  b.SetColor(clLime);
  EXPECT_EQ(b.DisplayName(), "clLime");
  b.SetColor(0x00123456);
  EXPECT_EQ(b.DisplayName(), "$00123456");
  a.Assign(&b);
  EXPECT_EQ(a.Color(), 0x00123456u);
  a.Assign(nullptr);
  EXPECT_EQ(a.Color(), 0x00123456u);
  EXPECT_EQ(a.Collection(), &c.engine);
}

TEST(GradationFileName, StampsTheLocalTime) {
  std::tm t{};
  t.tm_year = 2026 - 1900;
  t.tm_mon = 0;
  t.tm_mday = 5;
  t.tm_hour = 7;
  t.tm_min = 3;
  t.tm_sec = 9;
  EXPECT_EQ(GradationFileName("/opt/tavrin/", t), "/opt/tavrin/$20260105070309.bmp");
}

}  // namespace
}  // namespace tavrin
