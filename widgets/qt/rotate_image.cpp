#include "widgets/qt/rotate_image.h"

#include <QApplication>
#include <QBuffer>
#include <QIODevice>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QPalette>
#include <cmath>
#include <cstring>

#include "widgets/blend.h"
#include "widgets/colour_effects.h"

namespace tavrin {
namespace {

// Painters on printers and recorded pictures take the region path and may
// render at a higher resolution.
bool IsPrinterDevice(QPainter& painter) {
  const QPaintEngine* engine = painter.paintEngine();
  if (!engine) return false;
  switch (engine->type()) {
    case QPaintEngine::Pdf:
    case QPaintEngine::Picture:
    case QPaintEngine::SVG:
    case QPaintEngine::MacPrinter:
      return true;
    default:
      return false;
  }
}

bool HasOnlyTranslation(const QTransform& t) { return t.type() <= QTransform::TxTranslate; }

}  // namespace

TCustomRotateImage::TCustomRotateImage(QWidget* parent) : QWidget(parent) {
  // Not opaque: the parent paints the background under the image first.
  setAttribute(Qt::WA_OpaquePaintEvent, false);
  setAutoFillBackground(false);
}

void TCustomRotateImage::LoadFromBitmap(const QImage& bitmap) {
  if (bitmap.isNull()) {
    LoadFromBitmapFile(nullptr, 0);
    return;
  }
  QImage image = bitmap;
  if (image.format() != QImage::Format_Indexed8 && image.format() != QImage::Format_Mono) {
    image = image.format() == QImage::Format_MonoLSB ? image.convertToFormat(QImage::Format_Mono)
                                                     : image.convertToFormat(QImage::Format_RGB32);
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "BMP");
  LoadFromBitmapFile(reinterpret_cast<const uint8_t*>(bytes.constData()),
                     std::size_t(bytes.size()));
}

void TCustomRotateImage::LoadFromStream(QIODevice& device) {
  const qint64 start = device.pos();
  const QByteArray bytes =
      device.peek(device.bytesAvailable() > 0 ? device.bytesAvailable() : device.size() - start);
  TByteStream stream{reinterpret_cast<const uint8_t*>(bytes.constData()), std::size_t(bytes.size()),
                     0};
  TRotateImageModel::LoadFromStream(stream);
  device.seek(start + qint64(stream.position));
}

void TCustomRotateImage::InvalidateArea() {
  if (FQuiet || UpdateLock() > 0 || !parentWidget() || !Mask().IsValidDib()) return;
  const TRectI r = DrawnArea(width(), height());
  if (r.right > r.left) update(QRect(r.left, r.top, r.Width(), r.Height()));
}

void TCustomRotateImage::DropCachedRegion() {
  FRegion = QRegion();
  FHasRegion = false;
  // Output and mask may be about to change; the drawable copies follow them.
  FOutputImage = QImage();
  FComposite = QImage();
}

uint32_t TCustomRotateImage::ResolveColour(uint32_t colour) const {
  if ((colour & 0xFF000000) == 0) return colour;
  // System colours by their index in the low byte.
  QPalette::ColorRole role = QPalette::Window;
  switch (colour & 0xFF) {
    case 5:
      role = QPalette::Base;
      break;  // window
    case 8:
      role = QPalette::Text;
      break;  // window text
    case 13:
      role = QPalette::Highlight;
      break;  // highlight
    case 14:
      role = QPalette::HighlightedText;
      break;
    case 15:
      role = QPalette::Button;
      break;  // button face
    case 18:
      role = QPalette::ButtonText;
      break;
    default:
      break;
  }
  const QColor c = palette().color(role);
  return uint32_t(c.red()) | uint32_t(c.green()) << 8 | uint32_t(c.blue()) << 16;
}

const QImage& TCustomRotateImage::OutputImage() {
  if (!FOutputImage.isNull() || !Output().HasPixels()) return FOutputImage;
  const TDibImage& out = Output();
  const int w = out.Width(), h = out.Height();
  if (out.BitCount() == 8) {
    FOutputImage = QImage(w, h, QImage::Format_Indexed8);
    QList<QRgb> table(256, qRgb(0, 0, 0));
    for (uint32_t i = 0; i < out.TableEntries() && i < 256; ++i) {
      const uint8_t* e = out.ColourTable() + 4 * i;
      table[int(i)] = qRgb(e[2], e[1], e[0]);
    }
    FOutputImage.setColorTable(table);
    for (int y = 0; y < h; ++y)
      std::memcpy(FOutputImage.scanLine(y), out.Row(h - 1 - y), std::size_t(w));
  } else {
    FOutputImage = QImage(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
      const uint8_t* src = out.Row(h - 1 - y);
      QRgb* dst = reinterpret_cast<QRgb*>(FOutputImage.scanLine(y));
      for (int x = 0; x < w; ++x) dst[x] = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
    }
  }
  return FOutputImage;
}

// The output with the mask as alpha: the Qt form of drawing through the
// one-bit mask (opaque pixels replace the background, others leave it).
const QImage& TCustomRotateImage::CompositeImage() {
  if (!FComposite.isNull() || OutputImage().isNull()) return FComposite;
  FComposite = OutputImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
  const TDibImage& mask = Mask();
  const int w = FComposite.width(), h = FComposite.height();
  for (int y = 0; y < h; ++y) {
    const uint8_t* m = mask.Row(h - 1 - y);
    QRgb* dst = reinterpret_cast<QRgb*>(FComposite.scanLine(y));
    for (int x = 0; x < w; ++x)
      if (m[x] != 0) dst[x] = 0;
  }
  return FComposite;
}

const QRegion& TCustomRotateImage::MaskRegion() {
  if (FHasRegion) return FRegion;
  const std::vector<TRectI> runs = MaskRuns(Mask());
  QList<QRect> rects;
  rects.reserve(qsizetype(runs.size()));
  for (const TRectI& r : runs) rects.append(QRect(r.left, r.top, r.Width(), r.Height()));
  FRegion = QRegion();
  FRegion.setRects(rects.constData(), int(rects.size()));
  FHasRegion = true;
  return FRegion;
}

void TCustomRotateImage::paintEvent(QPaintEvent*) {
  if (FPaintedByParent) return;
  QPainter painter(this);
  Paint(painter);
}

void TCustomRotateImage::Paint(QPainter& painter) {
  FRegion = QRegion();
  FHasRegion = false;
  const int level = IsPrinterDevice(painter) ? 0 : TrnsIndex();
  if (level == 0) {
    DrawImage(painter);
  } else {
    DrawBlended(painter, level);
  }
  FRegion = QRegion();
  FHasRegion = false;
}

void TCustomRotateImage::DrawImage(QPainter& painter) {
  if (CanDraw()) DrawAt(painter, QPoint(width() / 2, height() / 2));
}

void TCustomRotateImage::DrawAt(QPainter& painter, QPoint centre) {
  const TPointI offset = CurrentPivotOffset();
  centre += QPoint(offset.x, offset.y);
  painter.save();
  painter.translate(centre.x() - Mask().Width() / 2, centre.y() - Mask().Height() / 2);
  if (IsPrinterDevice(painter) || DispMode() == TRotateImageDispMode::ridmRegion) {
    DrawThroughRegion(painter);
  } else {
    painter.drawImage(0, 0, CompositeImage());
  }
  painter.restore();
}

void TCustomRotateImage::DrawThroughRegion(QPainter& painter) {
  const bool oversample = IsPrinterDevice(painter) &&
                          !HasOnlyTranslation(painter.deviceTransform()) && PrintQuality() != 1;
  if (!oversample) {
    painter.setClipRegion(MaskRegion(), Qt::IntersectClip);
    painter.drawImage(0, 0, OutputImage());
    return;
  }
  // Render again with √q times as many pixels on each axis, drawn at the
  // same size, then go back to the screen resolution.
  const TMatrix saved = Transform();
  const int f = std::max(1, int(std::lround(std::sqrt(double(PrintQuality())))));
  const int screenW = Mask().Width(), screenH = Mask().Height();
  FQuiet = true;
  StoreTransform({saved.m11 / f, saved.m12 / f, saved.m21 / f, saved.m22 / f});
  Rebuild(true);
  if (CanDraw()) {
    // Keep the picture's centre where the screen rendering has it.
    painter.translate(screenW / 2.0, screenH / 2.0);
    painter.scale(1.0 / f, 1.0 / f);
    painter.translate(-Mask().Width() / 2, -Mask().Height() / 2);
    painter.setClipRegion(MaskRegion(), Qt::IntersectClip);
    painter.drawImage(0, 0, OutputImage());
  }
  if (Transform() == saved) {
    Rebuild();  // √q rounded to 1: same size, but without the white fill
  } else {
    SetTransform(saved.m11, saved.m12, saved.m21, saved.m22);
  }
  FQuiet = false;
}

void TCustomRotateImage::DrawBlended(QPainter& painter, int level) {
  QRect clip = rect();
  if (painter.hasClipping()) clip &= painter.clipBoundingRect().toAlignedRect();
  if (clip.isEmpty()) return;
  const TRectI r{clip.left(), clip.top(), clip.right() + 2, clip.bottom() + 2};
  for (const TRectI& band : BlendBands(r)) DrawMix(painter, band, level);
}

void TCustomRotateImage::DrawMix(QPainter& painter, const TRectI& r, int level) {
  CheckMixRect(r);
  const QRect area(r.left, r.top, r.Width(), r.Height());
  // A: the background as painted so far.
  QImage a(area.size(), QImage::Format_RGB888);
  a.fill(palette().color(QPalette::Window));
  if (painter.device() && painter.device()->devType() == QInternal::Image) {
    const QImage* canvas = static_cast<const QImage*>(painter.device());
    const QRect onDevice = painter.deviceTransform().mapRect(area);
    QPainter copy(&a);
    copy.drawImage(QPoint(0, 0), *canvas, onDevice);
  } else if (parentWidget()) {
    parentWidget()->render(&a, QPoint(), QRegion(area.translated(pos())),
                           QWidget::DrawWindowBackground);
  }
  // B: the image drawn over a copy of A.
  QImage b = a.copy();
  {
    QPainter over(&b);
    over.setClipRect(0, 0, area.width(), area.height());
    over.translate(-area.left(), -area.top());
    DrawImage(over);
  }
  const std::size_t words = (3 * std::size_t(area.width()) + 3) / 4;
  for (int y = 0; y < b.height(); ++y) BlendWords(b.scanLine(y), a.constScanLine(y), words, level);
  painter.drawImage(area.topLeft(), b);
}

bool TCustomRotateImage::HitTest(QPoint point) const {
  if (!TransparentMouse() || !Source().IsValidDib() || !Mask().IsValidDib())
    return rect().contains(point);
  return MaskHit(Mask(), point.x(), point.y(), width(), height(), CurrentPivotOffset());
}

// Points that are not part of the control go on to the parent.
void TCustomRotateImage::mousePressEvent(QMouseEvent* event) {
  event->setAccepted(HitTest(event->position().toPoint()));
}

void TCustomRotateImage::mouseReleaseEvent(QMouseEvent* event) {
  const bool hit = HitTest(event->position().toPoint());
  event->setAccepted(hit);
  if (hit && event->button() == Qt::LeftButton) Q_EMIT Click();
}

void TCustomRotateImage::mouseDoubleClickEvent(QMouseEvent* event) {
  const bool hit = HitTest(event->position().toPoint());
  event->setAccepted(hit);
  if (hit) Q_EMIT DblClick();
}

void TCustomRotateImage::mouseMoveEvent(QMouseEvent* event) {
  event->setAccepted(HitTest(event->position().toPoint()));
}

TRotateImage::TRotateImage(QWidget* parent) : TCustomRotateImage(parent) {}

void TRotateImage::SetBitmap(const QImage& bitmap) {
  FBitmap = bitmap;
  LoadFromBitmap(FBitmap);
}

}  // namespace tavrin
