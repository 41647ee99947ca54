#pragma once
// Where the settings dialog's controls go, in 96-dpi units, for both skins.
// The dialog is one column of group boxes with the buttons below; on a
// screen too low for it (a laptop at 150 % holds about 650 units) the
// groups stand in two columns, so that the buttons stay on the screen.
#include <array>
#include <vector>

#include "settings/form_geometry.h"
#include "settings/set_options.h"

namespace tavrin {

struct TSetLayout {
  std::array<TRect, kSetGroupCount> Groups{};  // in the order of SetGroupRows
  std::array<TRect, kSetOptionCount> Boxes{};  // the check boxes, in the order of SetOptionRows
  TRect FontLabel, Sample;                     // in GroupBox2
  std::array<int, 2> SampleColumns{360, 75};   // the sample list's column widths
  // In GroupBox5, below its check boxes: [辞書を編集] and the line on the
  // user's dictionary beside it.
  TRect EditDictionary, DictionaryStatus;
  TRect Ok, Cancel;
  int ClientWidth = 0, ClientHeight = 0;
  bool TwoColumns = false;
};

// The layout for the room the screen offers the dialog's client, in
// 96-dpi units; without a limit, the one column.
TSetLayout SetDialogLayout(int roomWidth = 1 << 20, int roomHeight = 1 << 20);

// The place of the index-th check box of a group whose boxes stand
// `columns` to a row.
TRect CheckBoxPlace(const TRect& group, int columns, int index);

// The places of all controls in the order the Win32 dialog makes them: the
// group boxes, the check boxes in the order of SetDialogOrder, the font's
// label, the sample list, [辞書を編集] and its line, 設定する and
// キャンセル.
std::vector<TRect> ControlPlaces(const TSetLayout& layout);

}  // namespace tavrin
