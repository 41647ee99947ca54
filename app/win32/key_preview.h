#pragma once
// What the key preview hands the window's key table for a message: a key
// down for this window, with the modifiers held and whether it is the
// auto-repeat of a held key (the table decides what a repeat does).
#include <windows.h>

#include <optional>

#include "app/main_view.h"

namespace tavrin {

struct TPreviewedKey {
  TKey Key = TKey::None;
  TShiftState Shift = kShiftNone;
  bool Repeat = false;
  bool operator==(const TPreviewedKey&) const = default;
};
// Nothing for a message other than a key down, or for another top-level
// window (a dialog: the keys of a message box are its own).
std::optional<TPreviewedKey> PreviewedKey(UINT message, WPARAM virtualKey, LPARAM flags,
                                          bool forThisWindow, TShiftState shift);

}  // namespace tavrin
