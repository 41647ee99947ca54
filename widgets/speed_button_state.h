#pragma once
// TSpeedButtonState: the hover and press state of a flat tool-bar button,
// from the mouse as its window sees it, and the look that follows. A click
// is a left press released over the button: moving off while pressed shows
// the button unpressed, moving back shows it pressed again.
namespace tavrin {

enum class TButtonEdge { None, Raised, Sunken };

class TSpeedButtonState {
 public:
  // A flat button shows its edge only while the mouse is over it.
  void SetFlat(bool flat) { FFlat = flat; }
  // An image that acts on a click shows no edge at all.
  void SetImageLike(bool on) { FImageLike = on; }
  bool ImageLike() const { return FImageLike; }

  // The events; each returns whether the look changed.
  // The mouse moved; inside: the point is over the button (it may be off
  // it only while a press holds the mouse).
  bool MouseMove(bool inside);
  bool MouseLeave();
  bool Press();
  // The left button went up: true when it was pressed and is released over
  // the button, a click.
  bool Release();
  // The press was taken away (the mouse capture went elsewhere).
  bool CaptureLost();

  bool Hot() const { return FHot; }
  bool Down() const { return FDown; }
  // Glyph and caption sit this many pixels right and down.
  int Shift() const { return FDown && FHot ? 1 : 0; }
  TButtonEdge Edge() const;

 private:
  bool FFlat = true;
  bool FImageLike = false;
  bool FHot = false;
  bool FDown = false;
};

}  // namespace tavrin
