#pragma once
// Painting of a widget suspended for a scope while it is refilled; the
// guard resumes it on every path out, failures included.
#include <QWidget>

namespace tavrin {

class TUpdatesSuspended {
 public:
  explicit TUpdatesSuspended(QWidget* widget) : FWidget(widget) {
    FWidget->setUpdatesEnabled(false);
  }
  ~TUpdatesSuspended() { FWidget->setUpdatesEnabled(true); }
  TUpdatesSuspended(const TUpdatesSuspended&) = delete;
  TUpdatesSuspended& operator=(const TUpdatesSuspended&) = delete;

 private:
  QWidget* FWidget;
};

}  // namespace tavrin
