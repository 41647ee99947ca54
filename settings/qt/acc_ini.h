#pragma once
// TAccIni: the settings file of a Qt form: TFormSettings placed on its
// owner. It restores the owner's position, size and maximised state at its
// first show, follows the restored rectangle while the owner is resized,
// and writes everything back when the owner asks. Left and Top are the
// window's outer position, Width and Height its outer size
// (TWindowGeometry).
#include <QObject>
#include <QRect>
#include <QWidget>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/form_settings.h"
#include "settings/qt/window_geometry.h"

namespace tavrin {

class TAccIni : public QObject {
  Q_OBJECT

 public:
  // Fixes the file name and creates the file if it is missing: the
  // executable's path with ".ini" when that exists or can be created, else
  // the user's own settings file (UserSettingsFile), or the one name given
  // (or set with SetDefaultFileName). Fails with EError
  // "TAccIni.CreateIniFile ..." naming the paths tried when none can be.
  // Removes temporary files an interrupted save left. Chains itself into
  // the owner's show and resize events.
  explicit TAccIni(QWidget* owner);
  TAccIni(QWidget* owner, std::string fileName);

  // For tests: the file every TAccIni (and TFormSettings) built without a
  // name uses from now on; nullopt restores the default choice.
  static void SetDefaultFileName(std::optional<std::string> fileName);

  bool FormControled() const { return formControled_; }
  void SetFormControled(bool on) { formControled_ = on; }
  const std::string& FileName() const { return settings_.FileName(); }

  void CreateIniFile();
  bool WriteHeader();

  void BindInteger(std::int32_t& variable, std::string_view section, std::string_view key,
                   std::int32_t def);
  void BindBoolean(bool& variable, std::string_view section, std::string_view key, bool def);
  // The widget's font and text colour; defaultFont supplies the attributes
  // of missing keys (the main window passes the same widget).
  void BindFont(QWidget* target, std::string_view section, std::string_view prefix,
                QWidget* defaultFont);
  void BindUserInteger(std::int32_t& variable, std::string_view key, std::int32_t def);
  void BindUserBoolean(bool& variable, std::string_view key, bool def);
  void BindUserFont(QWidget* target, std::string_view prefix, QWidget* defaultFont);

  const TBindingList& Bindings() const { return settings_.Bindings(); }

  // Reads every binding from the file.
  void LoadAll();
  // Collects the owner's geometry (when FormControled) and writes every
  // binding; fails with EError "<path> に書き込めません".
  void SaveAll();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormShow();

  QWidget* owner_;
  TFormSettings settings_;
  TWindowGeometry* geometry_;
  bool formControled_ = false;
  bool shown_ = false;
};

}  // namespace tavrin
