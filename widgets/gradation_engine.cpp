#include "widgets/gradation_engine.h"

#include <cstdio>

namespace tavrin {
namespace {

struct NamedColor {
  TColor color;
  const char* name;
};

// The colour names a stop shows, as the toolkit spells them.
constexpr NamedColor kColorNames[] = {
    {0x000000, "clBlack"},  {0x000080, "clMaroon"},  {0x008000, "clGreen"}, {0x008080, "clOlive"},
    {0x800000, "clNavy"},   {0x800080, "clPurple"},  {0x808000, "clTeal"},  {0x808080, "clGray"},
    {0xC0C0C0, "clSilver"}, {0x0000FF, "clRed"},     {0x00FF00, "clLime"},  {0x00FFFF, "clYellow"},
    {0xFF0000, "clBlue"},   {0xFF00FF, "clFuchsia"}, {0xFFFF00, "clAqua"},  {0xFFFFFF, "clWhite"},
};

std::uint8_t Channel(std::uint8_t a, std::uint8_t b, int i) {
  int value = int(a) + (int(b) - int(a)) * i / 255;  // C++ division truncates toward zero
  return static_cast<std::uint8_t>(value & 0xFF);
}

}  // namespace

void TColorItem::SetColor(TColor color) {
  FColor = color;
  if (FCollection) {
    TGradationControl* owner = FCollection->GetOwner();
    if (owner && owner->Active()) owner->UpdateGradation();
  }
}

void TColorItem::Assign(const TColorItem* source) {
  if (source) FColor = source->FColor;
}

std::string TColorItem::DisplayName() const {
  for (const NamedColor& n : kColorNames)
    if (n.color == FColor) return n.name;
  char hex[16];
  std::snprintf(hex, sizeof hex, "$%08X", static_cast<unsigned>(FColor));
  return hex;
}

TGradationEngine::TGradationEngine(TGradationControl* owner) : FOwner(owner) {}

TGradationEngine::~TGradationEngine() = default;

TColorItem& TGradationEngine::Add() {
  FItems.push_back(std::unique_ptr<TColorItem>(new TColorItem(this)));
  TColorItem& item = *FItems.back();
  if (FUpdateCount == 0) Update();
  return item;
}

void TGradationEngine::Delete(std::size_t index) {
  if (index >= FItems.size()) return;
  FItems.erase(FItems.begin() + static_cast<std::ptrdiff_t>(index));
  if (FUpdateCount == 0) Update();
}

void TGradationEngine::Clear() {
  FItems.clear();
  if (FUpdateCount == 0) Update();
}

void TGradationEngine::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) Update();
}

void TGradationEngine::SetColors(const std::vector<TColor>& colors) {
  BeginUpdate();
  FItems.clear();
  for (TColor c : colors) Add().FColor = c;
  EndUpdate();
}

std::vector<TColor> TGradationEngine::Colors() const {
  std::vector<TColor> colors;
  for (const auto& item : FItems) colors.push_back(item->Color());
  return colors;
}

void TGradationEngine::Update() {
  if (FOwner && FOwner->Active()) FOwner->UpdateGradation();
}

void TGradationEngine::Render() {
  if (!FOwner) return;
  if (FItems.size() < 2) {
    FWorkBitmap = TWorkBitmap();
    ClearPicture();
    return;
  }
  CreateWorkBitmap();
  PrepareImage(*FOwner);
  PaintGradation(FFillMode);
  TransferToPicture(*FOwner);
}

void TGradationEngine::ClearPicture() {
  if (FOwner) FOwner->ClearPicture();
}

void TGradationEngine::CreateWorkBitmap() {
  TBitmapSize size = GradationBitmapSize(FItems.size(), FFillMode);
  FWorkBitmap = TWorkBitmap(size.width, size.height);
}

void TGradationEngine::PaintGradation(TFillGradationMode mode) {
  PaintStripes(FWorkBitmap, Colors(), mode);
  if (FOwner && FOwner->ColorSwap()) InvertBitmapColors(FWorkBitmap, FOwner->DisplayBitsPerPixel());
}

TColor StripeColor(TColor a, TColor b, int i) {
  return RGBColor(Channel(RedOf(a), RedOf(b), i), Channel(GreenOf(a), GreenOf(b), i),
                  Channel(BlueOf(a), BlueOf(b), i));
}

TBitmapSize GradationBitmapSize(std::size_t stops, TFillGradationMode mode) {
  int length = stops < 2 ? 0 : static_cast<int>(stops - 1) * 256;
  return mode == fgmHorizontal ? TBitmapSize{length, 512} : TBitmapSize{512, length};
}

void PaintStripes(TWorkBitmap& bitmap, const std::vector<TColor>& stops, TFillGradationMode mode) {
  const int across = mode == fgmHorizontal ? bitmap.Height() : bitmap.Width();
  int p = 0;
  for (std::size_t k = 0; k + 1 < stops.size(); ++k) {
    for (int i = 0; i <= 255; ++i, ++p) {
      TColor c = StripeColor(stops[k], stops[k + 1], i);
      if (mode == fgmHorizontal)
        bitmap.FillRect(p, 0, p + 1, across, c);
      else
        bitmap.FillRect(0, p, across, p + 1, c);
    }
  }
}

std::string GradationFileName(const std::string& folder, const std::tm& t) {
  char stamp[96];
  std::snprintf(stamp, sizeof stamp, "$%04d%02d%02d%02d%02d%02d.bmp", t.tm_year + 1900,
                t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
  return folder + stamp;
}

}  // namespace tavrin
