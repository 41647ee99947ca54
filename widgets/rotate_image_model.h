#pragma once
// The state and setter rules of the rotating image, Qt-free: matrix, colour
// effects, transparency, pivot, update lock and the rebuild of output and
// mask after every change. The widget layer derives from it and supplies
// invalidation, repainting and system colours through the hooks.
#include <cstdint>

#include "widgets/dib_image.h"
#include "widgets/dib_loader.h"
#include "widgets/rotate_render.h"

namespace tavrin {

enum class TTransparentMode { tmAuto = 0, tmFixed = 1 };
enum class TRotateImageDispMode { ridmMask = 0, ridmRegion = 1 };

class TRotateImageModel {
 public:
  TRotateImageModel() = default;
  virtual ~TRotateImageModel() = default;
  TRotateImageModel(const TRotateImageModel&) = delete;
  TRotateImageModel& operator=(const TRotateImageModel&) = delete;

  bool Sketch() const { return FSketch; }
  void SetSketch(bool value);
  int TrnsIndex() const { return FTrnsIndex; }
  void SetTrnsIndex(int value);  // clamped to 0 … 7
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value);
  // The stored colour with tmFixed or without a bitmap, else the colour of
  // the first stored pixel. Colour values hold red in the low byte.
  uint32_t TransparentColor() const;
  void SetTransparentColor(uint32_t value);  // also switches to tmFixed
  TTransparentMode TransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode value);
  bool TransparentMouse() const { return FTransparentMouse; }
  void SetTransparentMouse(bool value) { FTransparentMouse = value; }
  bool Negative() const { return FNegative; }
  void SetNegative(bool value);
  bool Pivot() const { return FPivot; }
  void SetPivot(bool value);
  int32_t PivotX() const { return FPivotX; }
  void SetPivotX(int32_t value);
  int32_t PivotY() const { return FPivotY; }
  void SetPivotY(int32_t value);
  int PrintQuality() const { return FPrintQuality; }
  void SetPrintQuality(int value);  // clamped to 1 … 16
  TRotateImageDispMode DispMode() const { return FDispMode; }
  void SetDispMode(TRotateImageDispMode value);

  const TMatrix& Transform() const { return FMatrix; }
  // Ignored for singular matrices, a zero row or column pair, and the
  // current matrix; otherwise invalidates, stores and rebuilds.
  void SetTransform(float m11, float m12, float m21, float m22);
  uint32_t ToneCode() const { return FToneCode; }
  void SetToneCode(uint32_t value);

  // Rotation and zoom, which make the matrix, and the two tones as
  // switches: turning one off leaves the other.
  int32_t AngleEx() const;  // tenths of a degree
  void SetAngleEx(int32_t value);
  int32_t Angle() const;  // degrees
  void SetAngle(int32_t value);
  int32_t Zoom() const;  // percent, 10 to 9999
  void SetZoom(int32_t value);
  bool Monochrome() const;
  void SetMonochrome(bool value);
  bool Sepia() const;
  void SetSepia(bool value);
  void BeginUpdate();
  void EndUpdate();
  int UpdateLock() const { return FUpdateLock; }

  // The bitmap file the toolkit wrote for a bitmap object; empty for an
  // empty bitmap.
  void LoadFromBitmapFile(const uint8_t* data, std::size_t size);
  void LoadFromStream(TByteStream& stream);

  const TDibImage& Source() const { return FSource; }
  const TDibImage& Output() const { return FOutput; }
  const TDibImage& Mask() const { return FMask; }
  const TDibImage& SketchImage() const { return FSketchImage; }
  // Output and mask are both drawable.
  bool CanDraw() const;
  // The rectangle the image covers in a clientW × clientH control (moved by
  // the pivot offset), clipped to the control; empty without a mask.
  TRectI DrawnArea(int clientW, int clientH) const;
  TPointI CurrentPivotOffset() const;
  // Renders since construction, for tests and diagnostics.
  int RenderCount() const { return FRenderCount; }

 protected:
  // Renders output and mask from the source (or sketch) unless updates are
  // locked, then invalidates the drawn area.
  void Rebuild(bool print = false);
  // Replaces the matrix without invalidating or rebuilding; for renders at
  // another resolution.
  void StoreTransform(const TMatrix& m) { FMatrix = m; }

  virtual void InvalidateArea() {}
  virtual void RepaintWhole() {}
  virtual void DropCachedRegion() {}
  // Red, green, blue of a colour value; system colours (top byte set) are
  // the toolkit's to resolve.
  virtual uint32_t ResolveColour(uint32_t colour) const { return colour & 0x00FFFFFF; }

 private:
  void ClearImages();
  void UpdateTransform();
  void AfterLoad();
  int64_t ColourKey() const;

  bool FSketch = false;
  int FTrnsIndex = 0;
  bool FTransparent = false;
  uint32_t FTransparentColor = 0;
  TTransparentMode FTransparentMode = TTransparentMode::tmAuto;
  bool FTransparentMouse = false;
  bool FNegative = false;
  bool FPivot = false;
  int32_t FPivotX = 0, FPivotY = 0;
  int FPrintQuality = 4;
  TRotateImageDispMode FDispMode = TRotateImageDispMode::ridmMask;
  TMatrix FMatrix;
  float FAngle = 0;  // radians
  float FZoom = 1;
  uint32_t FToneCode = 0;
  int FUpdateLock = 0;
  int FRenderCount = 0;
  TDibImage FSource, FOutput, FMask, FSketchImage;
};

}  // namespace tavrin

namespace tavrin {

// Angle and zoom arithmetic of TRotateImage. Remainders take the sign of v.
inline int32_t NormaliseAngleEx(int32_t v) {
  const int32_t a = v % 3600;
  return a < 0 ? a + 3600 : a;
}
inline int32_t AngleExFromDegrees(int32_t v) { return (v % 360) * 10; }
inline int32_t ClampZoom(int32_t v) { return v < 10 ? 10 : v > 9999 ? 9999 : v; }

}  // namespace tavrin
