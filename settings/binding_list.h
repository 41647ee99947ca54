#pragma once
// The ordered, owning list of bound settings and the passes over it.
#include <algorithm>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/var_mang.h"

namespace tavrin {

class TBindingList {
 public:
  void Add(std::unique_ptr<TCustomVarMang> binding) { bindings_.push_back(std::move(binding)); }
  // Puts a binding at place at (at most Count()); those from there move on.
  void Insert(std::size_t at, std::unique_ptr<TCustomVarMang> binding) {
    bindings_.insert(
        bindings_.begin() + static_cast<std::ptrdiff_t>(std::min(at, bindings_.size())),
        std::move(binding));
  }
  std::size_t Count() const { return bindings_.size(); }
  const TCustomVarMang& operator[](std::size_t i) const { return *bindings_[i]; }

  // A pass opens the settings file at path, makes it the current settings
  // file, calls each binding in registration order and closes the file
  // again. A failing binding ends the pass: the remaining ones are skipped
  // and the failure passes on once the file is closed.
  //
  // ReadAll with a section reads only the bindings whose section is exactly
  // that text (byte for byte, letter case counting).
  void ReadAll(const std::string& path, std::optional<std::string_view> section = std::nullopt);
  void WriteAll(const std::string& path);

 private:
  std::vector<std::unique_ptr<TCustomVarMang>> bindings_;
};

}  // namespace tavrin
