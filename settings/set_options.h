#pragma once
// The option table: every Boolean option with its field, its key and
// section in the settings file, its default, and its check box in the
// settings dialog (name, group box and caption). A new option is a field of
// TSetOptionValues and a row of SetOptionRows; the settings file, the
// dialog and its layout follow from the row.
#include <array>
#include <cstddef>
#include <string_view>

namespace tavrin {

struct TSetOptionValues {
  bool FSound, FHint, FTrim, FExprsQuote, FExtractSort, FCopyCount, FZenkaku, FUpper,
      FHyphenTerminate, FHyphen;
  // The kinds of variants [類字抽出] folds besides.
  bool FKanji, FCompat, FSpace, FSymbol, FKana, FCompany, FNumber, FOkurigana;

  // Every option at its default.
  TSetOptionValues();
  bool operator==(const TSetOptionValues&) const = default;
};

struct TSetOptionRow {
  bool TSetOptionValues::*Field;
  std::string_view Section, Key;  // in the settings file
  bool Default;
  std::string_view Name;     // the check box's name
  std::string_view Group;    // its group box's name
  int Place;                 // its place among the group's check boxes, from 0
  std::string_view Caption;  // UTF-8; the skin converts
};
inline constexpr std::size_t kSetOptionCount = 18;

// Every option, in the order the settings file lists the keys.
const std::array<TSetOptionRow, kSetOptionCount>& SetOptionRows();

struct TSetGroupRow {
  std::string_view Name;     // the group box's name
  std::string_view Caption;  // UTF-8
  int Columns;               // check boxes to a row
};
inline constexpr std::size_t kSetGroupCount = 5;

// The group boxes in tab order.
const std::array<TSetGroupRow, kSetGroupCount>& SetGroupRows();

// The check boxes in tab order: group by group, each group's in their
// places.
const std::array<const TSetOptionRow*, kSetOptionCount>& SetDialogOrder();

// The group a row's check box stands in (its index in SetGroupRows).
std::size_t GroupOf(const TSetOptionRow& row);

}  // namespace tavrin
