#pragma once
// The rotating image control: shows a bitmap turned, zoomed or transformed
// by any matrix, with colour key, tone, inversion, sketch and translucency.
// Output and mask are rendered once per change by the Qt-free model;
// painting only draws the stored result centred in the control.
#include <QImage>
#include <QRegion>
#include <QWidget>

#include "widgets/rotate_image_model.h"

class QIODevice;
class QPainter;

namespace tavrin {

class TCustomRotateImage : public QWidget, public TRotateImageModel {
  Q_OBJECT
  Q_PROPERTY(bool Sketch READ Sketch WRITE SetSketch)
  Q_PROPERTY(int TrnsIndex READ TrnsIndex WRITE SetTrnsIndex)
  Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
  Q_PROPERTY(bool TransparentMouse READ TransparentMouse WRITE SetTransparentMouse)
  Q_PROPERTY(bool Negative READ Negative WRITE SetNegative)
  Q_PROPERTY(bool Pivot READ Pivot WRITE SetPivot)
  Q_PROPERTY(int PivotX READ PivotX WRITE SetPivotX)
  Q_PROPERTY(int PivotY READ PivotY WRITE SetPivotY)
  Q_PROPERTY(int PrintQuality READ PrintQuality WRITE SetPrintQuality)

 public:
  explicit TCustomRotateImage(QWidget* parent = nullptr);

  // Replaces the source image; an empty bitmap leaves the control empty.
  void LoadFromBitmap(const QImage& bitmap);
  // Reads one bitmap file from the device's position; an unacceptable one
  // leaves the control empty and the position where it was.
  void LoadFromStream(QIODevice& device);

  // Draws the control on any painter whose origin is the control's top-left.
  void Paint(QPainter& painter);
  void DrawImage(QPainter& painter);
  void DrawAt(QPainter& painter, QPoint centre);
  // Whether a point in control coordinates belongs to the control.
  bool HitTest(QPoint point) const;
  // A parent that paints this control into its own buffer (see the version
  // dialog) switches the control's own paint events off.
  void SetPaintedByParent(bool value) { FPaintedByParent = value; }

 Q_SIGNALS:
  void Click();
  void DblClick();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

  void InvalidateArea() override;
  void RepaintWhole() override { update(); }
  void DropCachedRegion() override;
  uint32_t ResolveColour(uint32_t colour) const override;

 private:
  void DrawBlended(QPainter& painter, int level);
  void DrawMix(QPainter& painter, const TRectI& rect, int level);
  void DrawThroughRegion(QPainter& painter);
  const QImage& OutputImage();
  const QImage& CompositeImage();
  const QRegion& MaskRegion();

  bool FPaintedByParent = false;
  bool FQuiet = false;  // no invalidation while rendering for a printer
  QImage FOutputImage, FComposite;
  QRegion FRegion;
  bool FHasRegion = false;
};

class TRotateImage : public TCustomRotateImage {
  Q_OBJECT
  Q_PROPERTY(int AngleEx READ AngleEx WRITE SetAngleEx)
  Q_PROPERTY(int Angle READ Angle WRITE SetAngle)
  Q_PROPERTY(int Zoom READ Zoom WRITE SetZoom)
  Q_PROPERTY(bool Monochrome READ Monochrome WRITE SetMonochrome)
  Q_PROPERTY(bool Sepia READ Sepia WRITE SetSepia)

 public:
  explicit TRotateImage(QWidget* parent = nullptr);

  const QImage& Bitmap() const { return FBitmap; }
  void SetBitmap(const QImage& bitmap);

 private:
  QImage FBitmap;
};

}  // namespace tavrin
