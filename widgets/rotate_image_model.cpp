#include "widgets/rotate_image_model.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "widgets/colour_effects.h"

namespace tavrin {

void TRotateImageModel::SetSketch(bool value) {
  if (value == FSketch) return;
  FSketch = value;
  if (FSketch) {
    BuildSketch(FSource, FSketchImage);
  } else {
    FSketchImage.Clear();
  }
  Rebuild();
}

void TRotateImageModel::SetTrnsIndex(int value) {
  value = std::clamp(value, 0, 7);
  if (value == FTrnsIndex) return;
  FTrnsIndex = value;
  RepaintWhole();
}

void TRotateImageModel::SetTransparent(bool value) {
  if (value == FTransparent) return;
  FTransparent = value;
  Rebuild();
}

uint32_t TRotateImageModel::TransparentColor() const {
  if (FTransparentMode == TTransparentMode::tmFixed || !FSource.HasPixels())
    return FTransparentColor;
  uint8_t bgr[3];
  const uint8_t* first = FSource.Row(0);
  if (FSource.BitCount() == 8) {
    FSource.PaletteColour(first[0], bgr);
  } else {
    std::copy(first, first + 3, bgr);
  }
  return bgr[2] | bgr[1] << 8 | bgr[0] << 16;
}

void TRotateImageModel::SetTransparentColor(uint32_t value) {
  FTransparentColor = value;
  FTransparentMode = TTransparentMode::tmFixed;
  Rebuild();
}

void TRotateImageModel::SetTransparentMode(TTransparentMode value) {
  if (value == FTransparentMode) return;
  FTransparentMode = value;
  Rebuild();
}

void TRotateImageModel::SetNegative(bool value) {
  if (value == FNegative) return;
  FNegative = value;
  Rebuild();
}

void TRotateImageModel::SetPivot(bool value) {
  if (value == FPivot) return;
  InvalidateArea();
  FPivot = value;
  Rebuild();
}

void TRotateImageModel::SetPivotX(int32_t value) {
  if (value == FPivotX) return;
  if (!FPivot) {
    FPivotX = value;
    return;
  }
  InvalidateArea();
  FPivotX = value;
  Rebuild();
}

void TRotateImageModel::SetPivotY(int32_t value) {
  if (value == FPivotY) return;
  if (!FPivot) {
    FPivotY = value;
    return;
  }
  InvalidateArea();
  FPivotY = value;
  Rebuild();
}

void TRotateImageModel::SetPrintQuality(int value) { FPrintQuality = std::clamp(value, 1, 16); }

void TRotateImageModel::SetDispMode(TRotateImageDispMode value) {
  if (value == FDispMode) return;
  FDispMode = value;
  if (FDispMode == TRotateImageDispMode::ridmMask) DropCachedRegion();
  if (FUpdateLock == 0) RepaintWhole();
}

void TRotateImageModel::SetTransform(float m11, float m12, float m21, float m22) {
  if (m11 * m22 == m12 * m21) return;
  if ((m11 == 0 && m12 == 0) || (m21 == 0 && m22 == 0)) return;
  const TMatrix m{m11, m12, m21, m22};
  if (m == FMatrix) return;
  InvalidateArea();
  FMatrix = m;
  Rebuild();
}

void TRotateImageModel::SetToneCode(uint32_t value) {
  if (value == FToneCode) return;
  FToneCode = value;
  Rebuild();
}

int32_t TRotateImageModel::AngleEx() const {
  return int32_t(std::nearbyint(double(FAngle) * 1800 / std::numbers::pi));
}

void TRotateImageModel::SetAngleEx(int32_t value) {
  FAngle = float(NormaliseAngleEx(value) * std::numbers::pi / 1800);
  UpdateTransform();
}

int32_t TRotateImageModel::Angle() const {
  return int32_t(std::nearbyint(double(FAngle) * 180 / std::numbers::pi));
}

void TRotateImageModel::SetAngle(int32_t value) { SetAngleEx(AngleExFromDegrees(value)); }

int32_t TRotateImageModel::Zoom() const { return int32_t(std::nearbyint(double(FZoom) * 100)); }

void TRotateImageModel::SetZoom(int32_t value) {
  FZoom = float(ClampZoom(value)) / 100;
  UpdateTransform();
}

void TRotateImageModel::UpdateTransform() {
  const float c = std::cos(FAngle), s = std::sin(FAngle);
  SetTransform(c / FZoom, s / FZoom, -s / FZoom, c / FZoom);
}

bool TRotateImageModel::Monochrome() const { return ToneCode() == kToneMonochrome; }

void TRotateImageModel::SetMonochrome(bool value) {
  if (value) {
    SetToneCode(kToneMonochrome);
  } else if (!Sepia()) {
    SetToneCode(0);
  }
}

bool TRotateImageModel::Sepia() const { return ToneCode() == kToneSepia; }

void TRotateImageModel::SetSepia(bool value) {
  if (value) {
    SetToneCode(kToneSepia);
  } else if (!Monochrome()) {
    SetToneCode(0);
  }
}

void TRotateImageModel::BeginUpdate() {
  InvalidateArea();
  ++FUpdateLock;
}

void TRotateImageModel::EndUpdate() {
  if (FUpdateLock == 0) return;
  if (--FUpdateLock == 0) {
    InvalidateArea();
    Rebuild();
  }
}

void TRotateImageModel::ClearImages() {
  InvalidateArea();
  FSource.Clear();
  FOutput.Clear();
  FMask.Clear();
}

void TRotateImageModel::AfterLoad() {
  if (FSource.IsValidDib()) {
    if (FSketch) BuildSketch(FSource, FSketchImage);
    if (FSource.BitCount() == 24 && !FSource.HasGuardByte()) FSource.Bytes().push_back(0);
  }
  Rebuild();
}

void TRotateImageModel::LoadFromBitmapFile(const uint8_t* data, std::size_t size) {
  ClearImages();
  if (size != 0) LoadBitmapFile(data, size, FSource);
  AfterLoad();
}

void TRotateImageModel::LoadFromStream(TByteStream& stream) {
  ClearImages();
  LoadBitmapStream(stream, FSource);
  AfterLoad();
}

bool TRotateImageModel::CanDraw() const {
  return FSource.IsValidDib() && FOutput.HasPixels() && FMask.HasPixels();
}

TPointI TRotateImageModel::CurrentPivotOffset() const {
  if (!FPivot || !FSource.IsValidDib()) return {};
  return PivotOffset(FSource.Width(), FSource.Height(), FPivotX, FPivotY, FMatrix);
}

TRectI TRotateImageModel::DrawnArea(int clientW, int clientH) const {
  if (!FMask.IsValidDib()) return {};
  const TPointI offset = CurrentPivotOffset();
  const int left = clientW / 2 - FMask.Width() / 2 + offset.x;
  const int top = clientH / 2 - FMask.Height() / 2 + offset.y;
  TRectI r{std::max(left, 0), std::max(top, 0), std::min(left + FMask.Width(), clientW),
           std::min(top + FMask.Height(), clientH)};
  if (r.right <= r.left || r.bottom <= r.top) return {};
  return r;
}

int64_t TRotateImageModel::ColourKey() const {
  if (!FTransparent) return -1;
  const bool palettised = FSource.BitCount() == 8;
  if (FTransparentMode == TTransparentMode::tmAuto) {
    const uint8_t* p = FSource.Row(0);
    return palettised ? p[0] : p[0] + 256 * p[1] + 65536 * p[2];
  }
  const uint32_t rgb = ResolveColour(FTransparentColor);
  const uint8_t r = uint8_t(rgb), g = uint8_t(rgb >> 8), b = uint8_t(rgb >> 16);
  if (!palettised) return b + 256 * g + 65536 * r;
  const uint8_t* table = FSource.ColourTable();
  for (uint32_t i = 0; i < FSource.TableEntries(); ++i) {
    const uint8_t* e = table + 4 * i;
    if (e[0] == b && e[1] == g && e[2] == r && e[3] == 0) return i;
  }
  return -1;
}

void TRotateImageModel::Rebuild(bool print) {
  DropCachedRegion();
  if (FUpdateLock > 0) return;
  if (FSource.HasPixels()) {
    TRenderEffects effects{-1, FToneCode, FNegative, print};
    const bool fromSketch = FSketch && FSketchImage.HasPixels();
    if (!fromSketch) effects.key = ColourKey();
    RenderTransformed(fromSketch ? FSketchImage : FSource, FMatrix, effects, FOutput, FMask);
    ++FRenderCount;
  }
  InvalidateArea();
}

}  // namespace tavrin
