#include "app/main_layout.h"

#include <algorithm>

#include "util/dpi.h"

namespace tavrin {
namespace {

constexpr int kToolBarHeight = 77;
constexpr int kButtonLefts[] = {4, 90, 178, 266, 354, 442};
constexpr int kButtonTop = 4, kButtonWidth = 86, kButtonHeight = 69;

}  // namespace

TMainLayout MainLayout(int clientWidth, int clientHeight, int statusHeight, int dpi) {
  const auto px = [dpi](int units) { return ScaleFrom96(units, dpi); };
  const auto box = [](int left, int top, int width, int height) {
    return TRect{left, top, std::max(width, 0), std::max(height, 0)};
  };
  TMainLayout l;
  const int w = std::max(clientWidth, 0);
  const int bar = px(kToolBarHeight);
  l.ToolBar = box(0, 0, w, bar);
  for (std::size_t i = 0; i < l.Buttons.size(); ++i)
    l.Buttons[i] = box(px(kButtonLefts[i]), px(kButtonTop), px(kButtonWidth), px(kButtonHeight));
  l.Help = box(px(535), px(45), px(24), px(24));
  l.Version = box(px(563), px(46), px(24), px(24));

  // The client panel between the tool bar and the status bar: strips of 17
  // (top, left, right) and 19 (bottom) around the list, which covers them
  // but for margins of 6, 8, 8 and 5.
  const int top = bar, bottom = std::max(clientHeight - statusHeight, top), height = bottom - top;
  const int s17 = px(17), s19 = px(19);
  l.Client = box(0, top, w, height);
  l.StripTop = box(0, top, w, s17);
  l.StripLeft = box(0, top, s17, height);
  l.StripRight = box(w - s17, top, s17, height);
  l.StripBottom = box(0, bottom - s19, w, s19);
  l.List = box(px(6), top + px(8), w - px(6) - px(8), height - px(8) - px(5));
  // The debug controls, wide enough for their captions.
  l.Button1 = box(px(24), top + px(24), px(200), px(32));
  l.Button2 = box(px(232), top + px(24), px(240), px(32));
  l.Memo1 = box(px(24), top + px(64), px(448), px(150));
  l.StatusLabelWidth = px(50);
  return l;
}

TMainSizes MainSizes(int dpi) {
  TMainSizes s;
  s.FormFont = ScaleFrom96(19, dpi);
  s.RowIcon = ScaleFrom96(16, dpi);
  s.Glyph = ScaleFrom96(32, dpi);
  s.Image = ScaleFrom96(24, dpi);
  s.TipWidth = ScaleFrom96(600, dpi);
  s.ListTipWidth = ScaleFrom96(800, dpi);
  return s;
}

TButtonFace ButtonFace(int dpi) { return {ScaleFrom96(6, dpi), ScaleFrom96(6 + 32 + 2, dpi)}; }

int ListFontPixels(int points, int dpi) {
  if (points <= 0) points = 9;
  if (dpi <= 0) dpi = kDesignDpi;
  return int((static_cast<long long>(points) * dpi + 36) / 72);
}

int SortMarkedColumnWidth(int captionWidth, int headerHeight, int dpi) {
  const int margin = ScaleFrom96(6, dpi);
  return std::max(captionWidth, 0) + std::max(headerHeight, 0) + 4 * margin;
}

int RescaledWidth(int pixels, int oldDpi, int newDpi) {
  return ScaleFrom96(ScaleTo96(pixels, oldDpi), newDpi);
}

}  // namespace tavrin
