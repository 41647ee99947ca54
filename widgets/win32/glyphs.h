#pragma once
// The pictures the program draws itself: the message dialog's four symbols
// and the tick and cross glyphs of its buttons.
#include <windows.h>

namespace tavrin {

enum TPictureKind { pkInformation = 0, pkQuestion = 1, pkDanger = 2, pkError = 3 };

// Draws the symbol of a kind (information for an unknown one) into the
// square box.
void DrawMessagePicture(HDC dc, const RECT& box, int kind);

// A size × size icon with a tick (yes) or a cross; the caller destroys it.
HICON CreateButtonGlyph(bool yes, int size);

}  // namespace tavrin
