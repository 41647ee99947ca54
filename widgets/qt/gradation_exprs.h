#pragma once
// TGradationExprs: a picture control filled with a colour gradient through
// its stops (TGradationPanel decides what it shows and when). The rendered
// bitmap is stretched to the control's size. A left-button press can start
// a move of the owner window.
#include <QPixmap>
#include <QWidget>
#include <string>

#include "widgets/gradation_panel.h"

namespace tavrin {

class TGradationExprs : public QWidget, public TGradationPanel {
  Q_OBJECT

 public:
  // owner: the form that holds the control; its window is the one the
  // mouse moves. parent defaults to the owner.
  explicit TGradationExprs(QWidget* owner, QWidget* parent = nullptr);
  ~TGradationExprs() override;

  // The picture control's own settings.
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool on);
  bool Stretch() const { return FStretch; }
  void SetStretch(bool on);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool on);
  const QPixmap& Picture() const { return FPicture; }

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
  int DisplayBitsPerPixel() const override;
  void ShowPicture(const TWorkBitmap& bitmap) override;
  void DropPicture() override { FPicture = QPixmap(); }
  void Invalidate() override { update(); }

  QWidget* FOwner;
  bool FAutoSize = false;
  bool FStretch = false;
  bool FTransparent = false;
  QPixmap FPicture;
};

}  // namespace tavrin
