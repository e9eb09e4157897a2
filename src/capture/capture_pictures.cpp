#include "capture/capture_pictures.h"

#include <windows.h>

#include <functional>

#include "runtime/colour_bitmap.h"
#include "runtime/gdi_object.h"
#include "runtime/select_guard.h"

namespace vk::capture {
namespace {

// Pen and brush of one colour for the duration of a drawing.
class Ink {
 public:
  Ink(HDC dc, COLORREF colour, int width = 1)
      : pen_(CreatePen(PS_SOLID, width, colour)), brush_(CreateSolidBrush(colour)), usePen_(dc, pen_.get()),
        useBrush_(dc, brush_.get()) {}

 private:
  GdiObject<HPEN> pen_;  // declared first: deleted after the guards put the old ones back
  GdiObject<HBRUSH> brush_;
  SelectGuard usePen_, useBrush_;
};

// A picture of size x size pixels on the button face colour.
HBITMAP DrawPicture(int size, const std::function<void(HDC)>& draw) {
  HBITMAP bitmap = CreateColourBitmap(nullptr, size, size);
  if (!bitmap) return nullptr;
  MemoryDc memory(CreateCompatibleDC(nullptr));
  HDC dc = memory.get();
  SelectGuard picture(dc, bitmap);
  const RECT all{0, 0, size, size};
  FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
  draw(dc);
  return bitmap;
}

void Line(HDC dc, int x1, int y1, int x2, int y2) {
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

}  // namespace

HBITMAP DrawStatePicture(StatePicture which) {
  // A filled disc with a white mark: blue loaded, green accepted (a tick), purple
  // catalogued (a filing box), red for a file that cannot be shown (a cross).
  const COLORREF colours[] = {RGB(30, 110, 200), RGB(20, 150, 60), RGB(110, 70, 150), RGB(200, 30, 30)};
  return DrawPicture(19, [which, &colours](HDC dc) {
    {
      Ink disc(dc, colours[static_cast<int>(which)]);
      Ellipse(dc, 0, 0, 19, 19);
    }
    Ink mark(dc, RGB(255, 255, 255), 2);
    switch (which) {
      case StatePicture::Loaded: break;
      case StatePicture::Accepted:
        Line(dc, 5, 9, 8, 12);
        Line(dc, 8, 12, 14, 6);
        break;
      case StatePicture::Catalogued: {
        SelectGuard hollow(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, 5, 7, 14, 13);
        break;
      }
      case StatePicture::Unreadable:
        Line(dc, 6, 6, 13, 13);
        Line(dc, 12, 6, 5, 13);
        break;
    }
  });
}

HBITMAP DrawArrowPicture(bool right) {
  return DrawPicture(17, [right](HDC dc) {
    const POINT toLeft[] = {{11, 3}, {11, 13}, {5, 8}};
    const POINT toRight[] = {{5, 3}, {5, 13}, {11, 8}};
    Ink arrow(dc, RGB(40, 60, 120));
    Polygon(dc, right ? toRight : toLeft, 3);
  });
}

HBITMAP DrawPickerPicture() {
  return DrawPicture(16, [](HDC dc) {
    RECT frame{0, 0, 16, 16};
    DrawEdge(dc, &frame, EDGE_RAISED, BF_RECT);
    for (int x : {4, 7, 10}) {
      const RECT dot{x, 10, x + 2, 12};
      FillRect(dc, &dot, GetSysColorBrush(COLOR_BTNTEXT));
    }
  });
}

}  // namespace vk::capture
