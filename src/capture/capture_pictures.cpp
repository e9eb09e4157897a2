#include "capture/capture_pictures.h"

#include <windows.h>

#include <functional>

#include "runtime/select_guard.h"

namespace vk::capture {
namespace {

constexpr int kSize = 16;

// A GDI object deleted when it goes.
struct Owned {
  HGDIOBJ handle;
  ~Owned() { DeleteObject(handle); }
};

// Pen and brush of one colour for the duration of a drawing.
class Ink {
 public:
  Ink(HDC dc, COLORREF colour, int width = 1)
      : pen_{CreatePen(PS_SOLID, width, colour)}, brush_{CreateSolidBrush(colour)}, usePen_(dc, pen_.handle),
        useBrush_(dc, brush_.handle) {}

 private:
  Owned pen_, brush_;  // declared first: deleted after the guards put the old ones back
  SelectGuard usePen_, useBrush_;
};

// A picture of size x size pixels on the button face colour.
HBITMAP DrawPicture(int size, const std::function<void(HDC)>& draw) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size;
  info.bmiHeader.biHeight = -size;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  {
    SelectGuard picture(dc, bitmap);
    const RECT all{0, 0, size, size};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    draw(dc);
  }
  DeleteDC(dc);
  return bitmap;
}

void Line(HDC dc, int x1, int y1, int x2, int y2) {
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

void Magnifier(HDC dc, int sign) {
  {
    Ink glass(dc, RGB(40, 60, 120), 2);
    SelectGuard hollow(dc, GetStockObject(NULL_BRUSH));
    Ellipse(dc, 1, 1, 11, 11);
    Line(dc, 10, 10, 14, 14);
  }
  if (sign == 0) return;
  Ink mark(dc, RGB(40, 60, 120));
  Line(dc, 4, 6, 9, 6);
  if (sign > 0) Line(dc, 6, 3, 6, 9);
}

void Turn(HDC dc, bool clockwise) {
  Ink arrow(dc, RGB(40, 110, 60), 2);
  SelectGuard hollow(dc, GetStockObject(NULL_BRUSH));
  if (clockwise) {
    Arc(dc, 2, 2, 14, 14, 8, 2, 2, 8);
    Line(dc, 8, 1, 11, 3);
    Line(dc, 8, 5, 11, 3);
  } else {
    Arc(dc, 2, 2, 14, 14, 14, 8, 8, 2);
    Line(dc, 8, 1, 5, 3);
    Line(dc, 8, 5, 5, 3);
  }
}

void Glyph(HDC dc, const std::wstring& key) {
  if (key == L"BTN_KIL") {
    Ink cross(dc, RGB(190, 30, 30), 2);
    Line(dc, 3, 3, 13, 13);
    Line(dc, 13, 3, 3, 13);
  } else if (key == L"BTN_SAV") {
    {
      Ink disk(dc, RGB(40, 60, 120));
      Rectangle(dc, 2, 2, 14, 14);
    }
    Ink label(dc, RGB(255, 255, 255));
    Rectangle(dc, 4, 3, 12, 7);
    Rectangle(dc, 5, 10, 11, 14);
  } else if (key == L"BTN_VAL") {
    Ink tick(dc, RGB(20, 140, 50), 2);
    Line(dc, 2, 8, 6, 12);
    Line(dc, 6, 12, 14, 3);
  } else if (key == L"BTN_DEL") {
    Ink bin(dc, RGB(110, 110, 110));
    Rectangle(dc, 4, 5, 12, 15);
    Line(dc, 2, 3, 14, 3);
    Line(dc, 6, 1, 10, 1);
  } else if (key == L"BTN_FIN") {
    Magnifier(dc, 0);
  } else if (key == L"BTN_ZIN") {
    Magnifier(dc, 1);
  } else if (key == L"BTN_ZOU") {
    Magnifier(dc, -1);
  } else if (key == L"BTN_FIT") {
    Ink page(dc, RGB(40, 60, 120));
    SelectGuard hollow(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, 1, 1, 15, 15);
    Rectangle(dc, 5, 4, 11, 12);
  } else if (key == L"BTN_Z11") {
    SelectGuard font(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(40, 60, 120));
    RECT box{0, 0, kSize, kSize};
    DrawTextW(dc, L"1:1", -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  } else if (key == L"BTN_PAN") {
    {
      Ink window(dc, RGB(40, 60, 120));
      Rectangle(dc, 1, 2, 15, 14);
    }
    Ink inside(dc, RGB(255, 255, 255));
    Rectangle(dc, 2, 5, 14, 13);
  } else if (key == L"BTN_RT1") {
    Turn(dc, false);
  } else if (key == L"BTN_RT2") {
    Turn(dc, true);
  } else if (key == L"BTN_REP") {
    {
      Ink printer(dc, RGB(90, 90, 90));
      Rectangle(dc, 1, 6, 15, 12);
    }
    Ink paper(dc, RGB(255, 255, 255));
    Rectangle(dc, 4, 1, 12, 7);
    Rectangle(dc, 4, 10, 12, 15);
  }
}

// The key's picture as an icon on the button face (opaque, so the mask is empty).
HICON KeyIcon(const std::wstring& key) {
  HBITMAP colour = DrawPicture(kSize, [&key](HDC dc) { Glyph(dc, key); });
  const BYTE opaque[kSize * kSize / 8] = {};
  HBITMAP mask = CreateBitmap(kSize, kSize, 1, 1, opaque);
  ICONINFO info{TRUE, 0, 0, mask, colour};
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(mask);
  DeleteObject(colour);
  return icon;
}

}  // namespace

void AddKeyedButton(hosted::Toolbar& bar, const std::wstring& key, const std::wstring& toolTip,
                    const std::wstring& caption) {
  HICON icon = KeyIcon(key);
  bar.AddButton(key, toolTip, icon, caption);
  if (icon) DestroyIcon(icon);  // the toolbar keeps its own copy
}

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
