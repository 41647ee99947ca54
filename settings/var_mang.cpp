#include "settings/var_mang.h"

#include "settings/ini_file.h"
#include "util/cp932.h"
#include "util/error.h"
#include "util/integers.h"

namespace tavrin {
namespace {

IniFile* current = nullptr;  // the current settings file, set only during a pass

std::string TrimControls(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= 0x20) s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= 0x20) s.remove_suffix(1);
  return std::string(s);
}

}  // namespace

IniPass::IniPass(IniFile& file) { current = &file; }
IniPass::~IniPass() { current = nullptr; }

TCustomVarMang::TCustomVarMang(std::string_view section, std::string_view key) {
  SetSection(section);
  SetKey(key);
}

void TCustomVarMang::SetSection(std::string_view section) {
  std::string trimmed = TrimControls(section);
  if (trimmed.empty())
    throw EError(cp932::Sjis("TCustomVarMang.SetSection に無効なセクション名称が渡されました"));
  section_ = std::move(trimmed);
}

void TCustomVarMang::SetKey(std::string_view key) {
  std::string trimmed = TrimControls(key);
  if (trimmed.empty())
    throw EError(cp932::Sjis("TCustomVarMang.SetKey に無効なキー名称が渡されました"));
  key_ = std::move(trimmed);
}

void TCustomVarMang::ReadValue() {
  if (!current)
    throw EError(cp932::Sjis(
        "TCustomVarMang.ReadValue TIniFile が nil にもかかわらず\r読み込み要求が発行されました"));
}

void TCustomVarMang::WriteValue() {
  if (!current)
    throw EError(cp932::Sjis(
        "TCustomVarMang.WriteValue TIniFile が nil にもかかわらず\r書き込み要求が発行されました"));
}

IniFile& TCustomVarMang::File() { return *current; }

std::int32_t TCustomVarMang::ReadInteger(std::string_view key, std::int32_t def) const {
  std::string text = File().ReadString(section_, key, "");
  if (text.empty()) return def;
  try {
    return static_cast<std::int32_t>(ParseInteger(text));
  } catch (const EError&) {
    return def;
  }
}

TVarMangInteger::TVarMangInteger(std::int32_t& variable, std::string_view section,
                                 std::string_view key, std::int32_t def)
    : TCustomVarMang(section, key), variable_(variable), default_(def) {}

void TVarMangInteger::ReadValue() {
  TCustomVarMang::ReadValue();
  variable_ = ReadInteger(Key(), default_);
}

void TVarMangInteger::WriteValue() {
  TCustomVarMang::WriteValue();
  File().WriteString(Section(), Key(), IntegerText(variable_));
}

TVarMangBoolean::TVarMangBoolean(bool& variable, std::string_view section, std::string_view key,
                                 bool def)
    : TCustomVarMang(section, key), variable_(variable), default_(def) {}

void TVarMangBoolean::ReadValue() {
  TCustomVarMang::ReadValue();
  variable_ = ReadInteger(Key(), default_ ? 1 : 0) != 0;
}

void TVarMangBoolean::WriteValue() {
  TCustomVarMang::WriteValue();
  File().WriteString(Section(), Key(), variable_ ? "1" : "0");
}

}  // namespace tavrin
