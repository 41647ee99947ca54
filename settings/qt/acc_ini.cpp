#include "settings/qt/acc_ini.h"

#include <QEvent>
#include <memory>

#include "settings/ini_file.h"
#include "settings/ini_header.h"
#include "settings/qt/font_binding.h"
#include "util/paths.h"

namespace tavrin {
namespace {

constexpr std::string_view kUser = "User";
constexpr std::string_view kForm = "Form";

std::optional<std::string>& DefaultFileName() {
  static std::optional<std::string> name;
  return name;
}

// Left and Top are the window's outer position, Width and Height the size
// of its client area (the form's design size), as the toolkit keeps them.
QRect Bounds(const QWidget& w) { return QRect(w.pos(), w.size()); }

}  // namespace

void TAccIni::SetDefaultFileName(std::optional<std::string> fileName) {
  DefaultFileName() = std::move(fileName);
}

// The file beside the executable keeps priority (portable use); an
// installed program in a folder the user cannot write uses the user's own.
TAccIni::TAccIni(QWidget* owner) : QObject(owner), owner_(owner) {
  Start(DefaultFileName() ? std::vector<std::string>{*DefaultFileName()} : DefaultIniCandidates());
}

TAccIni::TAccIni(QWidget* owner, std::string fileName) : QObject(owner), owner_(owner) {
  Start({std::move(fileName)});
}

void TAccIni::Start(const std::vector<std::string>& candidates) {
  fileName_ = CreateFirstIniFile(candidates, kApplicationTitle);
  RemoveLeftoverTemporaries(fileName_);
  owner_->installEventFilter(this);
}

void TAccIni::CreateIniFile() { CreateIniFileWithHeader(fileName_, kApplicationTitle); }

bool TAccIni::WriteHeader() { return WriteIniHeader(fileName_, kApplicationTitle); }

void TAccIni::BindInteger(std::int32_t& variable, std::string_view section, std::string_view key,
                          std::int32_t def) {
  bindings_.Add(std::make_unique<TVarMangInteger>(variable, section, key, def));
}

void TAccIni::BindBoolean(bool& variable, std::string_view section, std::string_view key,
                          bool def) {
  bindings_.Add(std::make_unique<TVarMangBoolean>(variable, section, key, def));
}

void TAccIni::BindFont(QWidget* target, std::string_view section, std::string_view prefix,
                       QWidget* defaultFont) {
  bindings_.Add(std::make_unique<TWidgetFontMang>(target, section, prefix, defaultFont));
}

void TAccIni::BindUserInteger(std::int32_t& variable, std::string_view key, std::int32_t def) {
  BindInteger(variable, kUser, key, def);
}

void TAccIni::BindUserBoolean(bool& variable, std::string_view key, bool def) {
  BindBoolean(variable, kUser, key, def);
}

void TAccIni::BindUserFont(QWidget* target, std::string_view prefix, QWidget* defaultFont) {
  BindFont(target, kUser, prefix, defaultFont);
}

void TAccIni::LoadAll() { bindings_.ReadAll(fileName_); }

bool TAccIni::OwnerResizable() const { return owner_->minimumSize() != owner_->maximumSize(); }

// The restored rectangle changes only while the window is in its normal
// state; maximised, it keeps the last normal bounds.
void TAccIni::RefreshNormalRect() {
  if (!(owner_->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)))
    normal_ = Bounds(*owner_);
}

void TAccIni::SaveAll() {
  if (formControled_) {
    maximized_ = owner_->isMaximized();
    const QRect current = Bounds(*owner_);
    left_ = maximized_ ? normal_.left() : current.left();
    top_ = maximized_ ? normal_.top() : current.top();
    width_ = OwnerResizable() ? normal_.width() : current.width();
    height_ = OwnerResizable() ? normal_.height() : current.height();
  }
  bindings_.WriteAll(fileName_);
}

// The owner's first show: register the geometry bindings, read them and
// apply them. Later showings leave the window where the user put it.
void TAccIni::FormShow() {
  if (!formControled_) return;
  BindInteger(left_, kForm, "Left", 0);
  BindInteger(top_, kForm, "Top", 0);
  BindInteger(width_, kForm, "Width", owner_->width());
  BindInteger(height_, kForm, "Height", owner_->height());
  BindBoolean(maximized_, kForm, "Maximized", false);
  bindings_.ReadAll(fileName_, kForm);

  // Both apply before the window is mapped, as one step.
  owner_->move(left_, top_);
  owner_->resize(width_, height_);
  if (OwnerResizable()) {
    Qt::WindowStates state = owner_->windowState();
    owner_->setWindowState(maximized_ ? (state | Qt::WindowMaximized)
                                      : (state & ~Qt::WindowMaximized));
  }
  // A window the user never resizes still saves its true size.
  normal_ = QRect(left_, top_, width_, height_);
  RefreshNormalRect();
}

bool TAccIni::eventFilter(QObject* watched, QEvent* event) {
  if (watched != owner_) return false;
  switch (event->type()) {
    case QEvent::Show:
      if (shown_) return false;
      shown_ = true;
      // The owner's own show handling runs first, then the restore.
      static_cast<QObject*>(owner_)->event(event);
      FormShow();
      return true;
    case QEvent::Resize:
    case QEvent::Move:
      // The new geometry is in place when the event arrives; the owner's
      // own handling still runs, as this returns false.
      if (formControled_ && shown_) RefreshNormalRect();
      return false;
    default:
      return false;
  }
}

}  // namespace tavrin
