#pragma once
// TFormSettings: the settings file of a form, Qt-free. It fixes the file
// (creating it with its header), keeps the bound settings and the form's
// geometry, and reads and writes them. Each skin's settings component (the
// Qt TAccIni) is this plus the toolkit's window events.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/binding_list.h"
#include "settings/font_mang.h"
#include "settings/form_geometry.h"
#include "settings/set_options.h"

namespace tavrin {

class TFormSettings {
 public:
  // The executable's path with ".ini" when that exists or can be created,
  // else the user's own settings file, or the one name set with
  // SetDefaultFileName. Fails with EError "TAccIni.CreateIniFile ..."
  // naming the paths tried when none can be. Removes temporary files an
  // interrupted save left.
  TFormSettings();
  explicit TFormSettings(std::string fileName);

  // For tests: the file every TFormSettings built without a name uses from
  // now on; nullopt restores the default choice.
  static void SetDefaultFileName(std::optional<std::string> fileName);

  const std::string& FileName() const { return FFileName; }
  void CreateIniFile();
  bool WriteHeader();

  void BindInteger(std::int32_t& variable, std::string_view section, std::string_view key,
                   std::int32_t def);
  void BindBoolean(bool& variable, std::string_view section, std::string_view key, bool def);
  // A font value; def supplies the attributes of missing keys (it may be
  // the variable itself: a missing key keeps the present attribute).
  void BindFont(FontValue& variable, std::string_view section, std::string_view prefix,
                const FontValue& def);
  void BindUserInteger(std::int32_t& variable, std::string_view key, std::int32_t def);
  void BindUserBoolean(bool& variable, std::string_view key, bool def);
  void BindUserFont(FontValue& variable, std::string_view prefix, const FontValue& def);
  // The option table's options of one section, in the table's order.
  void BindOptions(TSetOptionValues& values, std::string_view section);
  // Any other binding (a skin's own font binding, say).
  void Bind(std::unique_ptr<TCustomVarMang> binding) { FBindings.Add(std::move(binding)); }
  const TBindingList& Bindings() const { return FBindings; }

  // Reads every binding, or those of one section.
  void LoadAll(std::optional<std::string_view> section = std::nullopt);
  // Writes every binding; fails with EError "<path> に書き込めません".
  void SaveAll();

  // The form's geometry: ReadGeometry binds the "Form" keys (once; width
  // and height default to the given client size; placed before any
  // binding of a section other than "User", so that a new file holds
  // "User", "Form" and then the later sections) and reads them, and
  // returns where to put the window on these screens; SaveGeometry sets
  // what SaveAll writes for the window's present geometry.
  TFormGeometry ReadGeometry(std::int32_t width, std::int32_t height,
                             const std::vector<TRect>& screens);
  void GeometryPlaced(const TFormGeometry& reported) { FPlacement.Placed(reported); }
  void SaveGeometry(const TFormGeometry& current);

 private:
  void Start(const std::vector<std::string>& candidates);

  std::string FFileName;
  TBindingList FBindings;
  bool FGeometryBound = false;
  TFormGeometry FGeometry;
  TFormPlacement FPlacement;
};

}  // namespace tavrin
