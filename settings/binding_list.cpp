#include "settings/binding_list.h"

#include "settings/ini_file.h"

namespace tavrin {

void TBindingList::ReadAll(const std::string& path, std::optional<std::string_view> section) {
  IniFile file(path);
  IniPass pass(file);
  for (const auto& binding : bindings_)
    if (!section || binding->Section() == *section) binding->ReadValue();
}

void TBindingList::WriteAll(const std::string& path) {
  IniFile file(path);
  IniPass pass(file);
  for (const auto& binding : bindings_) binding->WriteValue();
}

}  // namespace tavrin
