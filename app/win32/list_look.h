#pragma once
// What the result list's custom draw decides for a row, and what the key
// preview takes as the window's key: plain decisions, apart from drawing
// and messages, so that they can be checked on their own.
#include <windows.h>

#include <optional>

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

}  // namespace tavrin
