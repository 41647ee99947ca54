#include "widgets/gradation_panel.h"

#include <algorithm>
#include <cstdint>

#include "util/cp932.h"
#include "util/messages.h"

namespace tavrin {
namespace {

// a * b / c rounded to the nearest, halves away from zero; c > 0.
int ScaleRounded(int a, int b, int c) {
  const std::int64_t p = std::int64_t(a) * b;
  return static_cast<int>(p >= 0 ? (p + c / 2) / c : (p - c / 2) / c);
}

}  // namespace

TGradationPanel::TGradationPanel()
    : FColors(std::make_unique<TGradationEngine>(static_cast<TGradationControl*>(this))) {}

TGradationPanel::~TGradationPanel() = default;

void TGradationPanel::SetFillGradationMode(TFillGradationMode mode) {
  FColors->SetFillMode(mode);
  if (FActive) UpdateGradation();
}

void TGradationPanel::SetActive(bool on) {
  if (FColors->Count() < 2) {
    BeepWarningBox(cp932::Sjis("アクティブにする前に、Colorsを二つ以上設定せんかい！（－”－"));
    return;
  }
  FActive = on;
  if (on) {
    FActivatedOnce = true;
    UpdateGradation();
  } else {
    FColors->ClearPicture();
  }
}

void TGradationPanel::SetColorSwap(bool on) {
  if (on == FColorSwap) return;
  FColorSwap = on;
  if (FActive) UpdateGradation();
}

void TGradationPanel::UpdateGradation() {
  if (FActivatedOnce) FColors->Render();
}

void TGradationPanel::TransferToPicture(const TWorkBitmap& bitmap) {
  ShowPicture(bitmap);
  FHasPicture = true;
  Invalidate();
}

void TGradationPanel::ClearPicture() {
  DropPicture();
  FHasPicture = false;
  Invalidate();
}

TPixelRect StretchedPart(int pictureWidth, int pictureHeight, int panelWidth, int panelHeight,
                         const TPixelRect& part) {
  if (pictureWidth <= 0 || pictureHeight <= 0 || panelWidth <= 0 || panelHeight <= 0) return {};
  return {ScaleRounded(part.left, pictureWidth, panelWidth),
          ScaleRounded(part.top, pictureHeight, panelHeight),
          std::max(1, ScaleRounded(part.width, pictureWidth, panelWidth)),
          std::max(1, ScaleRounded(part.height, pictureHeight, panelHeight))};
}

}  // namespace tavrin
