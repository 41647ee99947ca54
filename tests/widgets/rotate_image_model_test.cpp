#include "widgets/rotate_image_model.h"

#include <gtest/gtest.h>

#include "tests/widgets/bmp_builder.h"
#include "widgets/colour_effects.h"

namespace tavrin {
namespace {

// Counts the hooks the widget layer would turn into repaints.
class Recorder : public TRotateImageModel {
 public:
  int invalidated = 0, repainted = 0, regionsDropped = 0;
  using TRotateImageModel::Rebuild;

 protected:
  void InvalidateArea() override { ++invalidated; }
  void RepaintWhole() override { ++repainted; }
  void DropCachedRegion() override { ++regionsDropped; }
};

void Load(TRotateImageModel& model, const std::vector<uint8_t>& file) {
  TByteStream stream{file.data(), file.size(), 0};
  model.LoadFromStream(stream);
}

std::vector<uint8_t> TwoEqualColours() {
  // Indices 0 and 1 are both red; the bottom-left pixel has index 0.
  test::BmpSpec s{3, 2, 8, {0x00FF0000, 0x00FF0000, 0x000000FF}};
  s.rows = {{0, 1, 2}, {1, 0, 2}};
  return test::MakeBmp(s);
}

TEST(RotateImageModel, AutoKeyComparesIndicesNotColours) {
  Recorder model;
  Load(model, TwoEqualColours());
  model.SetTransparent(true);
  ASSERT_TRUE(model.CanDraw());
  EXPECT_EQ(model.TransparentMode(), TTransparentMode::tmAuto);
  EXPECT_EQ(model.TransparentColor(), 0x0000FFu) << "red of index 0, as a colour value";
  EXPECT_EQ(model.Mask().Row(0)[0], 1);
  EXPECT_EQ(model.Mask().Row(0)[1], 0) << "index 1 has the same colour but stays";
  EXPECT_EQ(model.Mask().Row(0)[2], 0);
}

TEST(RotateImageModel, FixedKeyTakesTheFirstMatchingEntry) {
  Recorder model;
  Load(model, TwoEqualColours());
  model.SetTransparent(true);
  model.SetTransparentColor(0xFF0000);  // blue, index 2
  EXPECT_EQ(model.TransparentMode(), TTransparentMode::tmFixed);
  EXPECT_EQ(model.TransparentColor(), 0xFF0000u);
  EXPECT_EQ(model.Mask().Row(0)[2], 1);
  EXPECT_EQ(model.Mask().Row(0)[0], 0);
  model.SetTransparentColor(0x00FF00);  // green: not in the table
  for (int x = 0; x < 3; ++x) EXPECT_EQ(model.Mask().Row(0)[x], 0) << x;
}

TEST(RotateImageModel, OneRenderForAnUpdateBlock) {
  Recorder model;
  Load(model, test::MakeBmp24(5, 5, [](int x, int) { return uint32_t(x); }));
  const int before = model.RenderCount();
  model.BeginUpdate();
  model.SetNegative(true);
  model.SetTransform(0.5f, 0, 0, 0.5f);
  model.SetToneCode(kToneSepia);
  model.SetTransparent(true);
  EXPECT_EQ(model.RenderCount(), before);
  EXPECT_EQ(model.Output().Width(), 5) << "still the old output";
  model.EndUpdate();
  EXPECT_EQ(model.RenderCount(), before + 1);
  EXPECT_EQ(model.Output().Width(), 10);
  model.EndUpdate();
  EXPECT_EQ(model.RenderCount(), before + 1) << "an unbalanced EndUpdate does nothing";
  EXPECT_EQ(model.UpdateLock(), 0);
}

TEST(RotateImageModel, SettersIgnoreUnchangedValues) {
  Recorder model;
  Load(model, test::MakeBmp24(3, 3, [](int, int) { return 0u; }));
  const int renders = model.RenderCount();
  model.SetNegative(false);
  model.SetTransparent(false);
  model.SetTransparentMode(TTransparentMode::tmAuto);
  model.SetSketch(false);
  model.SetToneCode(0);
  model.SetTransform(1, 0, 0, 1);
  model.SetPivot(false);
  EXPECT_EQ(model.RenderCount(), renders);
  model.SetTransparentColor(0);
  model.SetTransparentColor(0);
  EXPECT_EQ(model.RenderCount(), renders + 2) << "TransparentColor rebuilds even when unchanged";
}

TEST(RotateImageModel, SingularMatricesAreIgnored) {
  Recorder model;
  Load(model, test::MakeBmp24(3, 3, [](int, int) { return 0u; }));
  const int renders = model.RenderCount();
  model.SetTransform(1, 2, 2, 4);
  model.SetTransform(0, 0, 1, 1);
  model.SetTransform(1, 1, 0, 0);
  model.SetTransform(0, 0, 0, 0);
  EXPECT_EQ(model.RenderCount(), renders);
  EXPECT_EQ(model.Transform(), TMatrix{});
  model.SetTransform(0, 1, -1, 0);
  EXPECT_EQ(model.RenderCount(), renders + 1);
}

TEST(RotateImageModel, PivotCoordinatesRebuildOnlyWithPivot) {
  Recorder model;
  Load(model, test::MakeBmp24(9, 5, [](int, int) { return 0u; }));
  const int renders = model.RenderCount();
  model.SetPivotX(0);
  model.SetPivotX(1);
  model.SetPivotY(2);
  EXPECT_EQ(model.RenderCount(), renders);
  EXPECT_EQ(model.DrawnArea(21, 11), (TRectI{6, 3, 15, 8}));
  model.SetPivot(true);  // pivot (1, 2)
  EXPECT_EQ(model.RenderCount(), renders + 1);
  EXPECT_EQ(model.CurrentPivotOffset(), (TPointI{4, 0})) << "round(3.5) = 4, round(0.5) = 0";
  EXPECT_EQ(model.DrawnArea(21, 11), (TRectI{10, 3, 19, 8}));
  model.SetPivotY(3);
  EXPECT_EQ(model.RenderCount(), renders + 2);
  EXPECT_EQ(model.DrawnArea(10, 4), (TRectI{5, 0, 10, 4})) << "clipped; round(-0.5) = 0";
}

TEST(RotateImageModel, DispModeAndTrnsIndexRepaintWithoutRendering) {
  Recorder model;
  Load(model, test::MakeBmp24(3, 3, [](int, int) { return 0u; }));
  const int renders = model.RenderCount();
  model.SetTrnsIndex(9);
  EXPECT_EQ(model.TrnsIndex(), 7);
  model.SetDispMode(TRotateImageDispMode::ridmRegion);
  EXPECT_EQ(model.repainted, 2);
  const int dropped = model.regionsDropped;
  model.BeginUpdate();
  model.SetDispMode(TRotateImageDispMode::ridmMask);
  EXPECT_EQ(model.repainted, 2) << "locked: no repaint";
  EXPECT_EQ(model.regionsDropped, dropped + 1);
  model.EndUpdate();
  EXPECT_EQ(model.RenderCount(), renders + 1);
  model.SetPrintQuality(0);
  EXPECT_EQ(model.PrintQuality(), 1);
}

TEST(RotateImageModel, SketchRendersTheGreyDrawing) {
  Recorder model;
  Load(model, test::MakeBmp24(4, 3, [](int x, int) { return x < 2 ? 0u : 0xFFFFFFu; }));
  model.SetTransparent(true);  // the sketch has no colour key
  model.SetSketch(true);
  ASSERT_TRUE(model.SketchImage().HasPixels());
  EXPECT_EQ(model.Output().BitCount(), 8);
  EXPECT_EQ(model.Mask().Row(0)[0], 0);
  model.SetSketch(false);
  EXPECT_TRUE(model.SketchImage().Empty());
  EXPECT_EQ(model.Output().BitCount(), 24);
}

TEST(RotateImageModel, BadStreamLeavesTheControlEmpty) {
  Recorder model;
  Load(model, test::MakeBmp24(3, 3, [](int, int) { return 0u; }));
  ASSERT_TRUE(model.CanDraw());
  std::vector<uint8_t> junk(80, 'B');
  Load(model, junk);
  EXPECT_FALSE(model.CanDraw());
  EXPECT_TRUE(model.DrawnArea(10, 10) == TRectI{});
  EXPECT_EQ(model.TransparentColor(), 0u);
}

TEST(RotateImageModel, GuardByteFollowsTrueColourSources) {
  Recorder model;
  const std::vector<uint8_t> file = test::MakeBmp24(2, 2, [](int, int) { return 0u; });
  model.LoadFromBitmapFile(file.data(), file.size());
  EXPECT_EQ(model.Source().Size(), model.Source().FileSize() + 1u);
  EXPECT_TRUE(model.Output().HasGuardByte());
}

TEST(RotateImageAngles, RemaindersAndClamping) {
  EXPECT_EQ(AngleExFromDegrees(-90), -900);
  EXPECT_EQ(NormaliseAngleEx(AngleExFromDegrees(-90)), 2700);
  EXPECT_EQ(NormaliseAngleEx(AngleExFromDegrees(450)), 900);
  EXPECT_EQ(NormaliseAngleEx(-3600), 0);
  EXPECT_EQ(NormaliseAngleEx(7201), 1);
  EXPECT_EQ(ClampZoom(5), 10);
  EXPECT_EQ(ClampZoom(20000), 9999);
  EXPECT_EQ(ClampZoom(100), 100);
}

}  // namespace
}  // namespace tavrin
