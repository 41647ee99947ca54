#include "settings/binding_list.h"

#include "settings/ini_file.h"

namespace tavrin {

void TBindingList::ReadAll(const std::string& path, std::optional<std::string_view> section) {
  IniFile file(path);
  IniPass pass(file);
  for (const auto& binding : bindings_)
    if (!section || binding->Section() == *section) binding->ReadValue();
}

// One write of the file for the whole pass, however many keys it sets.
void TBindingList::WriteAll(const std::string& path) {
  IniFile file(path, IniFile::Writes::Deferred);
  {
    IniPass pass(file);
    for (const auto& binding : bindings_) binding->WriteValue();
  }
  file.Flush();
}

}  // namespace tavrin
