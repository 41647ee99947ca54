#include "settings/form_settings.h"

#include <memory>

#include "settings/ini_file.h"
#include "settings/ini_header.h"

namespace tavrin {
namespace {

constexpr std::string_view kUser = "User";
constexpr std::string_view kForm = "Form";

std::optional<std::string>& DefaultFileName() {
  static std::optional<std::string> name;
  return name;
}

}  // namespace

void TFormSettings::SetDefaultFileName(std::optional<std::string> fileName) {
  DefaultFileName() = std::move(fileName);
}

// The file beside the executable keeps priority (portable use); an
// installed program in a folder the user cannot write uses the user's own.
TFormSettings::TFormSettings() {
  Start(DefaultFileName() ? std::vector<std::string>{*DefaultFileName()} : DefaultIniCandidates());
}

TFormSettings::TFormSettings(std::string fileName) { Start({std::move(fileName)}); }

void TFormSettings::Start(const std::vector<std::string>& candidates) {
  FFileName = CreateFirstIniFile(candidates, kApplicationTitle);
  RemoveLeftoverTemporaries(FFileName);
}

void TFormSettings::CreateIniFile() { CreateIniFileWithHeader(FFileName, kApplicationTitle); }

bool TFormSettings::WriteHeader() { return WriteIniHeader(FFileName, kApplicationTitle); }

void TFormSettings::BindInteger(std::int32_t& variable, std::string_view section,
                                std::string_view key, std::int32_t def) {
  FBindings.Add(std::make_unique<TVarMangInteger>(variable, section, key, def));
}

void TFormSettings::BindBoolean(bool& variable, std::string_view section, std::string_view key,
                                bool def) {
  FBindings.Add(std::make_unique<TVarMangBoolean>(variable, section, key, def));
}

void TFormSettings::BindFont(FontValue& variable, std::string_view section, std::string_view prefix,
                             const FontValue& def) {
  FBindings.Add(std::make_unique<TObjectMangFont>(variable, section, prefix, def));
}

void TFormSettings::BindUserInteger(std::int32_t& variable, std::string_view key,
                                    std::int32_t def) {
  BindInteger(variable, kUser, key, def);
}

void TFormSettings::BindUserBoolean(bool& variable, std::string_view key, bool def) {
  BindBoolean(variable, kUser, key, def);
}

void TFormSettings::BindUserFont(FontValue& variable, std::string_view prefix,
                                 const FontValue& def) {
  BindFont(variable, kUser, prefix, def);
}

void TFormSettings::BindOptions(TSetOptionValues& values, std::string_view section) {
  for (const TSetOptionRow& row : SetOptionRows())
    if (row.Section == section) BindBoolean(values.*row.Field, row.Section, row.Key, row.Default);
}

void TFormSettings::LoadAll(std::optional<std::string_view> section) {
  FBindings.ReadAll(FFileName, section);
}

void TFormSettings::SaveAll() { FBindings.WriteAll(FFileName); }

TFormGeometry TFormSettings::ReadGeometry(std::int32_t width, std::int32_t height,
                                          const std::vector<TRect>& screens) {
  if (!FGeometryBound) {
    FGeometryBound = true;
    // Right after the user's keys: a section bound before (one that
    // follows "Form" in the file) is written after them, so a new file
    // lists "Form" second.
    std::size_t at = 0;
    while (at < FBindings.Count() && FBindings[at].Section() == kUser) ++at;
    const auto bind = [&](std::unique_ptr<TCustomVarMang> binding) {
      FBindings.Insert(at++, std::move(binding));
    };
    bind(std::make_unique<TVarMangInteger>(FGeometry.Left, kForm, "Left", 0));
    bind(std::make_unique<TVarMangInteger>(FGeometry.Top, kForm, "Top", 0));
    bind(std::make_unique<TVarMangInteger>(FGeometry.Width, kForm, "Width", width));
    bind(std::make_unique<TVarMangInteger>(FGeometry.Height, kForm, "Height", height));
    bind(std::make_unique<TVarMangBoolean>(FGeometry.Maximized, kForm, "Maximized", false));
  }
  LoadAll(kForm);
  return FPlacement.Restore(FGeometry, screens);
}

void TFormSettings::SaveGeometry(const TFormGeometry& current) {
  if (FGeometryBound) FGeometry = FPlacement.ToSave(current);
}

}  // namespace tavrin
