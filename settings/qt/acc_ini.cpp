#include "settings/qt/acc_ini.h"

#include <QEvent>
#include <memory>

#include "settings/qt/font_binding.h"

namespace tavrin {

void TAccIni::SetDefaultFileName(std::optional<std::string> fileName) {
  TFormSettings::SetDefaultFileName(std::move(fileName));
}

TAccIni::TAccIni(QWidget* owner)
    : QObject(owner), owner_(owner), geometry_(new TWindowGeometry(owner)) {
  owner_->installEventFilter(this);
}

TAccIni::TAccIni(QWidget* owner, std::string fileName)
    : QObject(owner),
      owner_(owner),
      settings_(std::move(fileName)),
      geometry_(new TWindowGeometry(owner)) {
  owner_->installEventFilter(this);
}

void TAccIni::CreateIniFile() { settings_.CreateIniFile(); }

bool TAccIni::WriteHeader() { return settings_.WriteHeader(); }

void TAccIni::BindInteger(std::int32_t& variable, std::string_view section, std::string_view key,
                          std::int32_t def) {
  settings_.BindInteger(variable, section, key, def);
}

void TAccIni::BindBoolean(bool& variable, std::string_view section, std::string_view key,
                          bool def) {
  settings_.BindBoolean(variable, section, key, def);
}

void TAccIni::BindFont(QWidget* target, std::string_view section, std::string_view prefix,
                       QWidget* defaultFont) {
  settings_.Bind(std::make_unique<TWidgetFontMang>(target, section, prefix, defaultFont));
}

void TAccIni::BindUserInteger(std::int32_t& variable, std::string_view key, std::int32_t def) {
  BindInteger(variable, "User", key, def);
}

void TAccIni::BindUserBoolean(bool& variable, std::string_view key, bool def) {
  BindBoolean(variable, "User", key, def);
}

void TAccIni::BindUserFont(QWidget* target, std::string_view prefix, QWidget* defaultFont) {
  BindFont(target, "User", prefix, defaultFont);
}

void TAccIni::LoadAll() { settings_.LoadAll(); }

void TAccIni::SaveAll() {
  if (formControled_) settings_.SaveGeometry(geometry_->Current());
  settings_.SaveAll();
}

// The owner's first show: read the geometry and apply it. Later showings
// leave the window where the user put it.
void TAccIni::FormShow() {
  if (!formControled_) return;
  const TFormGeometry now = geometry_->Current();
  geometry_->Place(settings_.ReadGeometry(now.Width, now.Height, {}));
  settings_.GeometryPlaced(geometry_->Current());
}

bool TAccIni::eventFilter(QObject* watched, QEvent* event) {
  if (watched != owner_ || event->type() != QEvent::Show || shown_) return false;
  shown_ = true;
  // The owner's own show handling runs first, then the restore.
  static_cast<QObject*>(owner_)->event(event);
  FormShow();
  return true;
}

}  // namespace tavrin
