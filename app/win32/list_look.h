#pragma once
// What the result list's custom draw decides for a row, the text a cell
// hands the list view, and what the key preview takes as the window's key:
// plain decisions, apart from drawing and messages, so that they can be
// checked on their own.
#include <windows.h>

#include <optional>
#include <string>

#include "app/main_view.h"

namespace tavrin {

struct TRowFacts {
  int Group = -1;         // the row's variant group, -1 none
  int CurrentGroup = -1;  // the group of the current (focused) row, -1 none
  bool Canonical = false;
  bool Selected = false;
  bool HasGlyphs = false;  // differing or invisible characters to show
};

struct TRowLook {
  bool Bold = false;           // the canonical spelling of its group
  bool Tinted = false;         // in the current row's group, not selected
  bool DrawnByGlyphs = false;  // the caption drawn again character by character
  bool operator==(const TRowLook&) const = default;
};

TRowLook RowLook(const TRowFacts& facts);

// The key a key-down message gives the window's key table, or nothing: not
// a key down, for another top-level window (a dialog), a key the table does
// not use, or the auto-repeat of a held key (one press, one action).
struct TPreviewedKey {
  TKey Key = TKey::None;
  TShiftState Shift = kShiftNone;
  bool operator==(const TPreviewedKey&) const = default;
};
std::optional<TPreviewedKey> PreviewedKey(UINT message, WPARAM virtualKey, LPARAM flags, bool forThisWindow,
                                          TShiftState shift);

// The text a list view cell is given for a buffer of capacity units, its
// final NUL included (the list view asks with 260, fewer than a long
// caption holds): the whole text when it fits, else as much as fits with
// "…" after it, inside the closing quote of a quoted caption, never half of
// a surrogate pair.
std::wstring FittedCellText(std::wstring text, int capacity, bool quoted);

}  // namespace tavrin
