#pragma once
// The settings dialog's option table: its check boxes, their group boxes
// and captions, in tab order. The main form maps each to its option field.
#include <array>
#include <cstddef>
#include <string_view>

namespace tavrin {

enum class TSetOption {
  chbExtractTrim,
  chbSound,
  chbShowHint,
  chbHyphen,
  chbHyphenTerminate,
  chbZenkaku,
  chbUpper,
  chbExtractSort,
  chbExprsQuote,
  chbCopyCount,
  // The kinds of variants [類字抽出] folds besides.
  chbKanji,
  chbCompat,
  chbSpace,
  chbSymbol,
  chbKana,
  chbCompany,
  chbNumber,
  chbOkurigana,
};
inline constexpr std::size_t kSetOptionCount = 18;

// One value per option, indexed by TSetOption.
using TSetOptionValues = std::array<bool, kSetOptionCount>;
inline bool& At(TSetOptionValues& values, TSetOption option) {
  return values[static_cast<std::size_t>(option)];
}
inline bool At(const TSetOptionValues& values, TSetOption option) {
  return values[static_cast<std::size_t>(option)];
}

struct TSetOptionRow {
  TSetOption Option;
  std::string_view Name;     // the check box's name
  std::string_view Group;    // its group box's name
  std::string_view Caption;  // UTF-8; the skin converts
};

// Every option in tab order.
const std::array<TSetOptionRow, kSetOptionCount>& SetOptionRows();

struct TSetGroupRow {
  std::string_view Name;     // the group box's name
  std::string_view Caption;  // UTF-8
};
inline constexpr std::size_t kSetGroupCount = 5;

// The group boxes in tab order.
const std::array<TSetGroupRow, kSetGroupCount>& SetGroupRows();

}  // namespace tavrin
