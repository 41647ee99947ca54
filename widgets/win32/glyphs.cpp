#include "widgets/win32/glyphs.h"

#include <cstdint>
#include <vector>

namespace tavrin {
namespace {

struct Pen {
  HPEN handle;
  Pen(COLORREF c, int width) : handle(CreatePen(PS_SOLID, width, c)) {}
  ~Pen() { DeleteObject(handle); }
};
struct Brush {
  HBRUSH handle;
  explicit Brush(COLORREF c) : handle(CreateSolidBrush(c)) {}
  ~Brush() { DeleteObject(handle); }
};

// Draws a shape with a solid outline and fill, the device context's own
// pen and brush put back afterwards.
template <class Shape>
void DrawFilled(HDC dc, COLORREF outline, int line, COLORREF fill, Shape shape) {
  Pen pen(outline, line);
  Brush brush(fill);
  HGDIOBJ oldPen = SelectObject(dc, pen.handle), oldBrush = SelectObject(dc, brush.handle);
  shape();
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
}

void DrawMark(HDC dc, const RECT& box, const wchar_t* mark, COLORREF colour) {
  const int h = (box.bottom - box.top) * 22 / 30;
  HFONT font =
      CreateFontW(-h, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                  CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, L"Arial");
  HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  RECT r = box;
  DrawTextW(dc, mark, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
  DeleteObject(font);
}

}  // namespace

void DrawMessagePicture(HDC dc, const RECT& box, int kind) {
  const int s = box.right - box.left;
  const int line = s >= 48 ? 2 : 1;
  const RECT inner{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1};
  const auto disc = [&] { Ellipse(dc, inner.left, inner.top, inner.right, inner.bottom); };
  switch (kind) {
    case pkQuestion:
      DrawFilled(dc, RGB(20, 60, 140), line, RGB(70, 130, 220), disc);
      DrawMark(dc, inner, L"?", RGB(255, 255, 255));
      break;
    case pkDanger: {
      DrawFilled(dc, RGB(120, 90, 0), line, RGB(250, 200, 30), [&] {
        const POINT triangle[] = {{box.left + s / 2, box.top + 1},
                                  {box.right - 1, box.bottom - 2},
                                  {box.left + 1, box.bottom - 2}};
        Polygon(dc, triangle, 3);
      });
      const RECT lower{box.left, box.top + s * 6 / 32, box.right, box.bottom};
      DrawMark(dc, lower, L"!", RGB(0, 0, 0));
      break;
    }
    case pkError:
      DrawFilled(dc, RGB(120, 0, 0), line, RGB(210, 30, 30), disc);
      DrawMark(dc, inner, L"\u00D7", RGB(255, 255, 255));
      break;
    default:
      DrawFilled(dc, RGB(20, 60, 140), line, RGB(255, 255, 255), disc);
      DrawMark(dc, inner, L"i", RGB(20, 60, 140));
      break;
  }
}

HICON CreateButtonGlyph(bool yes, int size) {
  // Drawn in colour on black, then every non-black pixel made opaque: GDI
  // itself leaves the alpha byte alone.
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = size;
  bi.bmiHeader.biHeight = -size;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HBITMAP colour = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  ReleaseDC(nullptr, screen);
  if (!colour) return nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, colour);
  const int w = size >= 20 ? size * 3 / 20 : 2;
  {
    Pen pen(yes ? RGB(0, 140, 0) : RGB(200, 0, 0), w);
    HGDIOBJ oldPen = SelectObject(dc, pen.handle);
    const auto at = [size](int v) { return v * size / 20; };
    if (yes) {
      const POINT tick[] = {{at(3), at(10)}, {at(8), at(15)}, {at(17), at(4)}};
      Polyline(dc, tick, 3);
    } else {
      MoveToEx(dc, at(4), at(4), nullptr);
      LineTo(dc, at(16), at(16));
      MoveToEx(dc, at(16), at(4), nullptr);
      LineTo(dc, at(4), at(16));
    }
    SelectObject(dc, oldPen);
  }
  GdiFlush();
  auto* px = static_cast<std::uint32_t*>(bits);
  for (int i = 0; i < size * size; ++i)
    if (px[i] & 0x00FFFFFF) px[i] |= 0xFF000000;
  SelectObject(dc, old);
  DeleteDC(dc);
  const std::vector<std::uint8_t> zeros(std::size_t((size + 15) / 16 * 2 * size), 0);
  HBITMAP mask = CreateBitmap(size, size, 1, 1, zeros.data());
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmColor = colour;
  info.hbmMask = mask;
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(colour);
  DeleteObject(mask);
  return icon;
}

}  // namespace tavrin
