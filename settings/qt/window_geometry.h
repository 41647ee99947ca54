#pragma once
// A Qt window's geometry as the settings keep it: the restored rectangle
// (followed while the window is resized or moved in its normal state),
// the maximised state, and the screens' available areas.
#include <QObject>
#include <QRect>
#include <vector>

#include "settings/form_geometry.h"

class QWidget;

namespace tavrin {

class TWindowGeometry : public QObject {
 public:
  explicit TWindowGeometry(QWidget* owner);

  // The restored rectangle: Left and Top the window's outer position,
  // Width and Height its client size with the design's frame
  // (kDesignFrame; the window manager's own is not known before the window
  // is shown); the maximised state.
  TFormGeometry Current() const;
  // Puts the window there (before it is mapped, in one step) and follows
  // its restored rectangle from now on.
  void Place(const TFormGeometry& outer);
  static std::vector<TRect> Screens();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Resizable() const;
  void RefreshNormalRect();

  QWidget* owner_;
  bool tracking_ = false;
  QRect normal_{0, 0, 0, 0};
};

}  // namespace tavrin
