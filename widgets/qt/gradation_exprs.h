#pragma once
// TGradationExprs: a picture control filled with a colour gradient through
// its stops. The gradient is rendered once into a bitmap of fixed
// resolution and stretched to the control's size; it is rendered again
// only on activation or when its stops, mode or ColorSwap change while
// active. A left-button press can start a move of the owner window.
#include <QPixmap>
#include <QWidget>
#include <memory>
#include <string>

#include "widgets/gradation_engine.h"

namespace tavrin {

class TGradationExprs : public QWidget, private TGradationControl {
  Q_OBJECT

 public:
  // owner: the form that holds the control; its window is the one the
  // mouse moves. parent defaults to the owner.
  explicit TGradationExprs(QWidget* owner, QWidget* parent = nullptr);
  ~TGradationExprs() override;

  TFillGradationMode FillGradationMode() const { return FColors->FillMode(); }
  void SetFillGradationMode(TFillGradationMode mode);
  TGradationEngine& Colors() { return *FColors; }
  bool MouseDownDrag() const { return FMouseDownDrag; }
  void SetMouseDownDrag(bool on) { FMouseDownDrag = on; }
  bool Active() const override { return FActive; }
  // Refused with a warning box while fewer than two stops are set.
  void SetActive(bool on);
  bool ColorSwap() const override { return FColorSwap; }
  void SetColorSwap(bool on);

  // The picture control's own settings.
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool on);
  bool Stretch() const { return FStretch; }
  void SetStretch(bool on);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool on);
  const QPixmap& Picture() const { return FPicture; }

  // Renders into the control once it has been activated.
  virtual void UpdateGradation() override;

  // Folder of the temporary picture file; empty (the default) is the
  // program's folder. For tests.
  static void SetPictureFileFolder(std::string folder);

 Q_SIGNALS:
  // The control's mouse-down handler, after the drag has been started.
  void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void paintEvent(QPaintEvent* e) override;

 private:
  void PrepareImage() override;
  void TransferToPicture(const TWorkBitmap& bitmap) override;
  void ClearPicture() override;
  int DisplayBitsPerPixel() const override;
  void SetPicture(QPixmap picture);

  std::unique_ptr<TGradationEngine> FColors;
  QWidget* FOwner;
  bool FMouseDownDrag = true;
  bool FActive = false;
  bool FActivatedOnce = false;
  bool FColorSwap = false;
  bool FAutoSize = false;
  bool FStretch = false;
  bool FTransparent = false;
  QPixmap FPicture;
};

}  // namespace tavrin
