#include "settings/set_layout.h"

namespace tavrin {
namespace {

constexpr int kMargin = 8, kGroupWidth = 497, kGap = 3;
constexpr int kGroupHeights[] = {117, 85, 85, 233, 117};
constexpr int kButtonWidth = 145, kButtonHeight = 49, kButtonGap = 15;

// Groups one below the other from top, 3 apart; the bottom of the last.
int Stack(TSetLayout& l, std::initializer_list<std::size_t> groups, int left, int top) {
  for (std::size_t g : groups) {
    l.Groups[g] = {left, top, kGroupWidth, kGroupHeights[g]};
    top += kGroupHeights[g] + kGap;
  }
  return top - kGap;
}

TSetLayout Arrange(bool twoColumns) {
  TSetLayout l;
  l.TwoColumns = twoColumns;
  int bottom = 0;
  if (!twoColumns) {
    bottom = Stack(l, {0, 1, 2, 3, 4}, kMargin, kMargin);
    l.ClientWidth = kMargin + kGroupWidth + kMargin + 1;
  } else {
    const int left = Stack(l, {0, 1, 2}, kMargin, kMargin);
    const int right = Stack(l, {3, 4}, kMargin + kGroupWidth + kMargin, kMargin);
    bottom = left > right ? left : right;
    l.ClientWidth = 2 * (kMargin + kGroupWidth) + kMargin + 1;
  }
  const auto& rows = SetOptionRows();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const std::size_t g = GroupOf(rows[i]);
    l.Boxes[i] = CheckBoxPlace(l.Groups[g], SetGroupRows()[g].Columns, rows[i].Place);
  }
  // The dictionary's row below the kinds' two, its button a kind's width.
  const TRect& kinds = l.Groups[4];
  const TRect cell = CheckBoxPlace(kinds, SetGroupRows()[4].Columns, 8);
  l.EditDictionary = {cell.Left, cell.Top - 2, cell.Width, 30};
  const int statusLeft = cell.Left + cell.Width + 8;
  l.DictionaryStatus = {statusLeft, cell.Top - 2, kinds.Left + kinds.Width - 2 - statusLeft, 30};
  const TRect& list = l.Groups[3];
  l.FontLabel = {list.Left + 16, list.Top + 110, 465, 24};
  l.Sample = {list.Left + 16, list.Top + 136, 465, 89};
  // The two buttons side by side, centred below the groups.
  const int top = bottom + 11;
  const int left = (l.ClientWidth - (2 * kButtonWidth + kButtonGap)) / 2;
  l.Ok = {left, top, kButtonWidth, kButtonHeight};
  l.Cancel = {left + kButtonWidth + kButtonGap, top, kButtonWidth, kButtonHeight};
  l.ClientHeight = top + kButtonHeight + 11;
  return l;
}

}  // namespace

TSetLayout SetDialogLayout(int roomWidth, int roomHeight) {
  const TSetLayout tall = Arrange(false);
  if (tall.ClientHeight <= roomHeight) return tall;
  const TSetLayout wide = Arrange(true);
  // Too low for one column: two, when they fit across; else the column,
  // whose top at least stays reachable.
  return wide.ClientWidth <= roomWidth ? wide : tall;
}

TRect CheckBoxPlace(const TRect& group, int columns, int index) {
  if (columns < 1) columns = 1;
  const int pitch = (group.Width - 16) / columns;
  return {group.Left + 16 + pitch * (index % columns), group.Top + 28 + 28 * (index / columns),
          columns == 1 ? group.Width - 18 : pitch - 2, 26};
}

std::vector<TRect> ControlPlaces(const TSetLayout& layout) {
  std::vector<TRect> places(layout.Groups.begin(), layout.Groups.end());
  const TSetOptionRow* first = SetOptionRows().data();
  for (const TSetOptionRow* row : SetDialogOrder())
    places.push_back(layout.Boxes[std::size_t(row - first)]);
  for (const TRect& r : {layout.FontLabel, layout.Sample, layout.EditDictionary,
                         layout.DictionaryStatus, layout.Ok, layout.Cancel})
    places.push_back(r);
  return places;
}

}  // namespace tavrin
