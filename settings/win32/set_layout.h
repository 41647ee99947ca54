#pragma once
// Where the settings dialog's controls go, in 96-dpi units. The dialog is
// one column of group boxes with the buttons below; on a screen too low
// for it (a laptop at 150 % holds about 650 units) the groups stand in two
// columns, so that the buttons stay on the screen.
#include <array>
#include <vector>

#include "settings/form_geometry.h"
#include "settings/set_options.h"

namespace tavrin {

struct TSetLayout {
  // GroupBox3 全般, GroupBox4 類字の判断, GroupBox1 全データ, GroupBox2 結果リスト,
  // GroupBox5 その他の揺れ.
  std::array<TRect, kSetGroupCount> Groups{};  // in the order of SetGroupRows
  std::array<int, kSetGroupCount> Columns{1, 1, 1, 1, 4};  // check boxes to a row: the kinds of variants four
  TRect FontLabel, Sample;  // in GroupBox2
  TRect Ok, Cancel;
  int ClientWidth = 0, ClientHeight = 0;
  bool TwoColumns = false;
};

// The layout for the room the screen offers the dialog's client, in
// 96-dpi units.
TSetLayout SetDialogLayout(int roomWidth, int roomHeight);

// The place of the index-th check box of a group whose boxes stand
// `columns` to a row.
TRect CheckBoxPlace(const TRect& group, int columns, int index);

// The places of all controls in the order the dialog makes them: the group
// boxes, the check boxes in the order of SetOptionRows, the font's label,
// the sample list, 設定する and キャンセル.
std::vector<TRect> ControlPlaces(const TSetLayout& layout);

}  // namespace tavrin
