#pragma once
// Bound settings: each ties one key of the settings file to a variable that
// belongs to someone else. They are read and written only inside a pass,
// while a current settings file is set (IniPass).
#include <cstdint>
#include <string>
#include <string_view>

namespace tavrin {

class IniFile;

class TCustomVarMang {
 public:
  virtual ~TCustomVarMang() = default;
  TCustomVarMang(const TCustomVarMang&) = delete;
  TCustomVarMang& operator=(const TCustomVarMang&) = delete;

  const std::string& Section() const { return section_; }
  const std::string& Key() const { return key_; }
  // Both store the text trimmed of codes up to 0x20 and fail with EError
  // when nothing is left.
  void SetSection(std::string_view section);
  void SetKey(std::string_view key);

  // Copy from the current settings file into the variable, and back. The
  // base versions fail with EError when there is no current file.
  virtual void ReadValue();
  virtual void WriteValue();

 protected:
  // The section is set before the key, so with both empty the section's
  // failure is the one raised.
  TCustomVarMang(std::string_view section, std::string_view key);
  // The current settings file; only valid after the base ReadValue or
  // WriteValue has passed.
  static IniFile& File();
  // The integer rule of the settings file: def for a missing key, an empty
  // value, text that is no integer or a value outside 32 bits.
  std::int32_t ReadInteger(std::string_view key, std::int32_t def) const;

 private:
  std::string section_;
  std::string key_;
};

class TVarMangInteger : public TCustomVarMang {
 public:
  TVarMangInteger(std::int32_t& variable, std::string_view section, std::string_view key,
                  std::int32_t def);
  void ReadValue() override;
  void WriteValue() override;

 private:
  std::int32_t& variable_;
  std::int32_t default_;
};

class TVarMangBoolean : public TCustomVarMang {
 public:
  TVarMangBoolean(bool& variable, std::string_view section, std::string_view key, bool def);
  void ReadValue() override;
  void WriteValue() override;

 private:
  bool& variable_;
  bool default_;
};

// Makes file the current settings file of the bindings for its lifetime.
// Passes never nest.
class IniPass {
 public:
  explicit IniPass(IniFile& file);
  ~IniPass();
  IniPass(const IniPass&) = delete;
  IniPass& operator=(const IniPass&) = delete;
};

}  // namespace tavrin
