#pragma once
// The modal version dialog: the logo on a black band, the version line, a
// rights notice and OK. The logo starts grey; the first mouse movement over
// OK colours it and, after a second, starts the idle-time animation.
#include <QDialog>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <string>

#include "widgets/version_form.h"

class QFrame;
class QLabel;
class QPushButton;

namespace tavrin {

class TRotateImage;

// The logo band: paints itself and its image into one buffer and never
// erases to the background first, so the animation does not flicker.
class TTopPanel : public QWidget {
 public:
  explicit TTopPanel(QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

class TfoVersion : public QDialog, private IVersionView {
 public:
  explicit TfoVersion(QWidget* parent = nullptr);
  ~TfoVersion() override;

  // Millisecond clock and pause, replaceable by tests (the defaults are the
  // system's monotonic clock and a real sleep).
  static void SetClock(std::function<uint32_t()> clock);
  static void SetSleep(std::function<void(int ms)> sleep);
  // Time of the last animation step, shared by every showing.
  static uint32_t LastAnimationTick();

  // The application's idle handler: one animation step at most per 100 ms.
  void AnimateLogo(bool& done);
  bool IsAnimating() const { return FIdle.isActive(); }

  TRotateImage* RotateImage1 = nullptr;
  QLabel* lVersion = nullptr;
  QLabel* Label3 = nullptr;
  QPushButton* btnOK = nullptr;
  TTopPanel* pnTop = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void done(int result) override;

 private:
  void FormCreate();

  // IVersionView: the logic's requests.
  std::uint32_t Clock() override;
  void Sleep(int ms) override;
  void SetMonochrome(bool on) override;
  void SetLogoStep(bool negative, const TMatrix& matrix) override;
  void Repaint() override;
  void SetIdle(bool on) override;

  TVersionForm FForm{*this};
  QTimer FIdle;  // zero interval: runs whenever the event queue is empty
  QFrame* Panel3 = nullptr;
  QWidget* Panel2 = nullptr;
};

// Shows the dialog modally with "Version " + version + "  Build:" + build +
// ", Since:" + since (CP932 text), and releases it afterwards.
void ShowVersionDialog(const std::string& version, const std::string& build,
                       const std::string& since);

// How ShowVersionDialog runs the dialog; tests replace it to look at the
// dialog instead of waiting for a person. Returns the previous runner.
using TVersionDialogRunner = std::function<void(TfoVersion&)>;
TVersionDialogRunner SetVersionDialogRunner(TVersionDialogRunner runner);

}  // namespace tavrin
