#pragma once
// The font binding: four keys (prefix + "Size", "Name", "Color", "Style")
// for one font's size in points, typeface, colour and style flags.
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/colors.h"
#include "settings/var_mang.h"

namespace tavrin {

// Style flags of a font; a style value is their sum, 0 to 15.
enum FontStyleBits : std::uint8_t {
  kFontBold = 1,
  kFontItalic = 2,
  kFontUnderline = 4,
  kFontStrikeOut = 8,
};

// The attributes a font binding loads and saves. name is CP932.
struct FontValue {
  std::string name;
  std::int32_t size = 0;  // points
  TColor color = clWindowText;
  std::uint8_t style = 0;  // FontStyleBits
  bool operator==(const FontValue&) const = default;
};

// The sizes, in points, a font of the list may have: the range of the
// font dialog's size list. A larger size leaves the rows blank.
inline constexpr std::int32_t kMinFontSize = 8;
inline constexpr std::int32_t kMaxFontSize = 72;
// The size kept to that range.
std::int32_t KeptFontSize(std::int32_t size);
// A size chosen in a font dialog, kept to the range; when it had to be
// changed the user is told so (InformationDialog).
std::int32_t KeepChosenFontSize(std::int32_t size);

// Binds a FontValue. The toolkit layer derives from it to bind a real font
// and overrides the three accessors.
class TObjectMangFont : public TCustomVarMang {
 public:
  // target and defaultFont are not owned; they may be the same object, in
  // which case a missing key keeps the font's current attribute.
  TObjectMangFont(FontValue& target, std::string_view section, std::string_view prefix,
                  const FontValue& defaultFont);

  // Reads all four keys into a new value, then gives it to the target in
  // one step. A value that cannot be converted (a colour text that is
  // neither a name nor an integer, a size below 1) counts as missing; a
  // size outside kMinFontSize..kMaxFontSize is kept to that range.
  void ReadValue() override;
  void WriteValue() override;

 protected:
  TObjectMangFont(std::string_view section, std::string_view prefix);
  virtual FontValue Target() const;
  virtual void SetTarget(const FontValue& font);
  virtual FontValue DefaultFont() const;

 private:
  FontValue* target_ = nullptr;
  const FontValue* default_ = nullptr;
};

}  // namespace tavrin
