#pragma once
// The colour stops of a gradient panel and its renderer. TGradationEngine
// is the ordered list of TColorItem stops plus the fill mode; it renders
// 256 stripes per pair of adjacent stops into a work bitmap and hands that
// to the control it belongs to (TGradationControl, the panel widget).
#include <cstddef>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "util/color.h"
#include "widgets/work_bitmap.h"

namespace tavrin {

enum TFillGradationMode {
  fgmHorizontal = 0,  // the colour changes from left to right
  fgmVertical = 1,    // the colour changes from top to bottom
};

class TGradationEngine;

// What the engine asks of the control that owns it.
class TGradationControl {
 public:
  virtual bool Active() const = 0;
  virtual bool ColorSwap() const = 0;
  virtual void UpdateGradation() = 0;
  // Picture settings the rendered bitmap needs (stretched, opaque).
  virtual void PrepareImage() = 0;
  // Takes the rendered bitmap as the control's picture.
  virtual void TransferToPicture(const TWorkBitmap& bitmap) = 0;
  virtual void ClearPicture() = 0;
  // Colour depth of the display the control shows on.
  virtual int DisplayBitsPerPixel() const = 0;

 protected:
  ~TGradationControl() = default;
};

class TColorItem {
 public:
  TColor Color() const { return FColor; }
  // Stores the colour and renders again when the owning control is active.
  void SetColor(TColor color);
  // Copies the colour of another stop; anything else is ignored.
  void Assign(const TColorItem* source);
  // The colour's name as colours are spelt ("clLime"), else "$00BBGGRR".
  std::string DisplayName() const;
  TGradationEngine* Collection() const { return FCollection; }

 private:
  friend class TGradationEngine;
  explicit TColorItem(TGradationEngine* collection) : FCollection(collection) {}

  TColor FColor = clWhite;
  TGradationEngine* FCollection;
};

class TGradationEngine {
 public:
  explicit TGradationEngine(TGradationControl* owner);
  virtual ~TGradationEngine();
  TGradationEngine(const TGradationEngine&) = delete;
  TGradationEngine& operator=(const TGradationEngine&) = delete;

  TGradationControl* GetOwner() const { return FOwner; }
  TFillGradationMode FillMode() const { return FFillMode; }
  void SetFillMode(TFillGradationMode mode) { FFillMode = mode; }

  // The stops, in gradient order. Add, Delete and Clear notify (Update)
  // unless inside BeginUpdate / EndUpdate, which notifies once at its end.
  std::size_t Count() const { return FItems.size(); }
  TColorItem& Items(std::size_t index) const { return *FItems.at(index); }
  TColorItem& Add();
  void Delete(std::size_t index);
  void Clear();
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  // Replaces every stop, with one notification.
  void SetColors(const std::vector<TColor>& colors);
  std::vector<TColor> Colors() const;

  // Change notification: renders again when the owning control is active.
  virtual void Update();

  // Renders into the owning control: CreateWorkBitmap, PrepareImage,
  // PaintGradation, TransferToPicture. With fewer than two stops there is
  // nothing to paint, and the control's picture is made empty.
  void Render();
  // Empties the control's picture.
  void ClearPicture();
  const TWorkBitmap& WorkBitmap() const { return FWorkBitmap; }

 protected:
  virtual void CreateWorkBitmap();
  virtual void PrepareImage(TGradationControl& control) { control.PrepareImage(); }
  virtual void PaintGradation(TFillGradationMode mode);
  virtual void TransferToPicture(TGradationControl& control) {
    control.TransferToPicture(FWorkBitmap);
  }

 private:
  TGradationControl* FOwner;
  TFillGradationMode FFillMode = fgmHorizontal;
  std::vector<std::unique_ptr<TColorItem>> FItems;
  int FUpdateCount = 0;
  TWorkBitmap FWorkBitmap;
};

// Channel value of stripe i (0-255) from colour a to colour b: each of red,
// green and blue runs c(a) + (c(b) - c(a)) * i / 255, truncated toward zero;
// the top byte is ignored.
TColor StripeColor(TColor a, TColor b, int i);

// Size of the work bitmap for n stops: (n - 1) x 256 stripes long, 512 wide.
struct TBitmapSize {
  int width;
  int height;
};
TBitmapSize GradationBitmapSize(std::size_t stops, TFillGradationMode mode);

// Paints the stripes of the stops into a bitmap of GradationBitmapSize.
void PaintStripes(TWorkBitmap& bitmap, const std::vector<TColor>& stops, TFillGradationMode mode);

// Name of the temporary picture file: folder (ending in a separator), "$",
// the local time t as YYYYMMDDHHNNSS, ".bmp".
std::string GradationFileName(const std::string& folder, const std::tm& t);

}  // namespace tavrin
