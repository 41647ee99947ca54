#include "widgets/win32/rotate_image.h"

#include <cstdint>

#include "widgets/blend.h"
#include "widgets/colour_effects.h"

namespace tavrin {

void TRotateImage::Draw(HDC dc, const RECT& area) {
  if (!CanDraw()) return;
  const int cw = area.right - area.left, ch = area.bottom - area.top;
  const TRectI r = DrawnArea(cw, ch);
  if (r.Width() <= 0 || r.Height() <= 0) return;
  const TDibImage& out = Output();
  const TDibImage& mask = Mask();
  // Where the mask's top-left pixel lies in the control.
  const TPointI offset = CurrentPivotOffset();
  const int left = cw / 2 - mask.Width() / 2 + offset.x;
  const int top = ch / 2 - mask.Height() / 2 + offset.y;

  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = r.Width();
  bi.bmiHeader.biHeight = -r.Height();
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!section) return;
  HDC work = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(work, section);
  // The background first, then every drawn pixel over it.
  BitBlt(work, 0, 0, r.Width(), r.Height(), dc, area.left + r.left, area.top + r.top, SRCCOPY);
  GdiFlush();
  auto* px = static_cast<std::uint8_t*>(bits);
  const int level = TrnsIndex();
  const int h = mask.Height();
  for (int y = r.top; y < r.bottom; ++y) {
    const int my = y - top;  // row of the picture from its top
    const uint8_t* m = mask.Row(h - 1 - my);
    const uint8_t* o = out.Row(h - 1 - my);
    std::uint8_t* d = px + std::size_t(y - r.top) * std::size_t(r.Width()) * 4;
    for (int x = r.left; x < r.right; ++x, d += 4) {
      const int mx = x - left;
      if (m[mx] != 0) continue;
      uint8_t bgr[3];
      if (out.BitCount() == 8) {
        out.PaletteColour(o[mx], bgr);
      } else {
        bgr[0] = o[mx * 3];
        bgr[1] = o[mx * 3 + 1];
        bgr[2] = o[mx * 3 + 2];
      }
      for (int k = 0; k < 3; ++k) d[k] = level > 0 ? BlendByte(bgr[k], d[k], level) : bgr[k];
    }
  }
  BitBlt(dc, area.left + r.left, area.top + r.top, r.Width(), r.Height(), work, 0, 0, SRCCOPY);
  SelectObject(work, old);
  DeleteDC(work);
  DeleteObject(section);
}

uint32_t TRotateImage::ResolveColour(uint32_t colour) const {
  if ((colour & 0xFF000000) == 0) return colour;
  return GetSysColor(int(colour & 0xFF));  // COLORREF: red in the low byte too
}

}  // namespace tavrin
