#include "settings/colors.h"

#include <array>
#include <charconv>
#include <cstdio>

#include "util/error.h"
#include "util/integers.h"

namespace tavrin {
namespace {

struct NamedColor {
  std::string_view name;
  TColor value;
};

constexpr TColor Sys(TColor index) { return kSystemColorBit | index; }

// clang-format off
constexpr std::array<NamedColor, 42> kColors{{
    {"clBlack", 0x000000},    {"clMaroon", 0x000080},  {"clGreen", 0x008000},
    {"clOlive", 0x008080},    {"clNavy", 0x800000},    {"clPurple", 0x800080},
    {"clTeal", 0x808000},     {"clGray", 0x808080},    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},      {"clLime", 0x00FF00},    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},     {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clScrollBar", Sys(0)},           {"clBackground", Sys(1)},
    {"clActiveCaption", Sys(2)},       {"clInactiveCaption", Sys(3)},
    {"clMenu", Sys(4)},                {"clWindow", Sys(5)},
    {"clWindowFrame", Sys(6)},         {"clMenuText", Sys(7)},
    {"clWindowText", Sys(8)},          {"clCaptionText", Sys(9)},
    {"clActiveBorder", Sys(10)},       {"clInactiveBorder", Sys(11)},
    {"clAppWorkSpace", Sys(12)},       {"clHighlight", Sys(13)},
    {"clHighlightText", Sys(14)},      {"clBtnFace", Sys(15)},
    {"clBtnShadow", Sys(16)},          {"clGrayText", Sys(17)},
    {"clBtnText", Sys(18)},            {"clInactiveCaptionText", Sys(19)},
    {"clBtnHighlight", Sys(20)},       {"cl3DDkShadow", Sys(21)},
    {"cl3DLight", Sys(22)},            {"clInfoText", Sys(23)},
    {"clInfoBk", Sys(24)},
    {"clNone", clNone},
}};
// clang-format on

constexpr char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

}  // namespace

std::optional<std::string_view> ColorName(TColor color) {
  for (const NamedColor& c : kColors)
    if (c.value == color) return c.name;
  return std::nullopt;
}

std::optional<TColor> ColorOfName(std::string_view name) {
  for (const NamedColor& c : kColors)
    if (SameIgnoringCase(c.name, name)) return c.value;
  return std::nullopt;
}

std::string ColorToText(TColor color) {
  if (std::optional<std::string_view> name = ColorName(color)) return std::string(*name);
  char text[16];
  std::snprintf(text, sizeof text, "$%08X", static_cast<unsigned>(color));
  return text;
}

// Hexadecimal text above the 32-bit signed range, as the written form gives
// for unnamed values with the top bit set ("$80000019", "$FFFFFFFF").
std::optional<TColor> HighHexColor(std::string_view text) {
  for (std::string_view prefix : {"$", "0x", "0X", "x", "X"}) {
    if (text.substr(0, prefix.size()) != prefix) continue;
    std::string_view digits = text.substr(prefix.size());
    std::uint32_t value = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (ec == std::errc() && end == digits.data() + digits.size() && !digits.empty()) return value;
  }
  return std::nullopt;
}

TColor ColorFromText(std::string_view text) {
  if (std::optional<TColor> named = ColorOfName(text)) return *named;
  try {
    return static_cast<TColor>(ParseInteger(text));
  } catch (const EError&) {
    if (std::optional<TColor> high = HighHexColor(text)) return *high;
    throw;
  }
}

}  // namespace tavrin
