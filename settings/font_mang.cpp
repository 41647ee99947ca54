#include "settings/font_mang.h"

#include <algorithm>

#include "settings/ini_file.h"
#include "util/cp932.h"
#include "util/error.h"
#include "util/integers.h"
#include "util/messages.h"

namespace tavrin {
namespace {

std::string Suffixed(const std::string& prefix, std::string_view suffix) {
  std::string key = prefix;
  key.append(suffix);
  return key;
}

}  // namespace

std::int32_t KeptFontSize(std::int32_t size) {
  return std::clamp(size, kMinFontSize, kMaxFontSize);
}

std::int32_t KeepChosenFontSize(std::int32_t size) {
  const std::int32_t kept = KeptFontSize(size);
  if (kept != size)
    InformationDialog(cp932::Sjis("フォントのサイズは ") + IntegerText(kMinFontSize) +
                      cp932::Sjis(" から ") + IntegerText(kMaxFontSize) +
                      cp932::Sjis(" ポイントまでです\r") + IntegerText(size) +
                      cp932::Sjis(" ポイントの代わりに ") + IntegerText(kept) +
                      cp932::Sjis(" ポイントにしました"));
  return kept;
}

TObjectMangFont::TObjectMangFont(FontValue& target, std::string_view section,
                                 std::string_view prefix, const FontValue& defaultFont)
    : TCustomVarMang(section, prefix), target_(&target), default_(&defaultFont) {}

TObjectMangFont::TObjectMangFont(std::string_view section, std::string_view prefix)
    : TCustomVarMang(section, prefix) {}

FontValue TObjectMangFont::Target() const { return *target_; }
void TObjectMangFont::SetTarget(const FontValue& font) { *target_ = font; }
FontValue TObjectMangFont::DefaultFont() const { return *default_; }

void TObjectMangFont::ReadValue() {
  TCustomVarMang::ReadValue();
  const FontValue def = DefaultFont();
  FontValue font;
  font.size = ReadInteger(Suffixed(Key(), "Size"), def.size);
  font.size = font.size < 1 ? def.size : KeptFontSize(font.size);
  font.name = File().ReadString(Section(), Suffixed(Key(), "Name"), def.name);
  // A colour that is neither a name nor an integer counts as missing, so a
  // damaged file never keeps the program from starting.
  try {
    font.color = ColorFromText(
        File().ReadString(Section(), Suffixed(Key(), "Color"), ColorToText(def.color)));
  } catch (const EError&) {
    font.color = def.color;
  }
  font.style = static_cast<std::uint8_t>(ReadInteger(Suffixed(Key(), "Style"), def.style) & 0x0F);
  SetTarget(font);
}

void TObjectMangFont::WriteValue() {
  TCustomVarMang::WriteValue();
  const FontValue font = Target();
  File().WriteString(Section(), Suffixed(Key(), "Size"), IntegerText(font.size));
  File().WriteString(Section(), Suffixed(Key(), "Name"), font.name);
  File().WriteString(Section(), Suffixed(Key(), "Color"), ColorToText(font.color));
  File().WriteString(Section(), Suffixed(Key(), "Style"), IntegerText(font.style & 0x0F));
}

}  // namespace tavrin
