#include "host/screen_toolbar.h"

#include <windows.h>

#include <cstdint>
#include <cwchar>

#include "runtime/colour_bitmap.h"
#include "runtime/select_guard.h"

namespace vk {
namespace {

constexpr int kSize = 16;
constexpr COLORREF kClear = RGB(255, 0, 255);  // becomes the transparent part

void Line(HDC dc, int x1, int y1, int x2, int y2) {
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

void Magnifier(HDC dc, const wchar_t* sign) {
  Ellipse(dc, 1, 1, 11, 11);
  Line(dc, 9, 9, 14, 14);
  if (*sign == L'+') Line(dc, 6, 4, 6, 9);
  if (*sign == L'+' || *sign == L'-') Line(dc, 4, 6, 9, 6);
}

void Page(HDC dc) {
  Rectangle(dc, 3, 1, 13, 15);
  for (int y = 4; y <= 11; y += 3) Line(dc, 5, y, 11, y);
}

// Draws the key's picture with the current pen and a hollow brush.
void DrawKey(HDC dc, const std::wstring& key) {
  if (key == L"BTN_KIL") {
    Line(dc, 3, 3, 13, 13);
    Line(dc, 13, 3, 3, 13);
  } else if (key == L"BTN_VAL") {
    Line(dc, 2, 8, 6, 12);
    Line(dc, 6, 12, 14, 3);
  } else if (key == L"BTN_SAV") {  // a disk with its label
    Rectangle(dc, 2, 2, 14, 14);
    Rectangle(dc, 5, 2, 11, 7);
  } else if (key == L"BTN_DEL") {  // a bin
    Line(dc, 2, 3, 14, 3);
    Rectangle(dc, 4, 5, 12, 15);
  } else if (key == L"BTN_REP") {  // a printer
    Rectangle(dc, 1, 6, 15, 12);
    Rectangle(dc, 4, 1, 12, 6);
    Rectangle(dc, 4, 10, 12, 15);
  } else if (key == L"BTN_FIN") {
    Magnifier(dc, L"");
  } else if (key == L"BTN_ZIN") {
    Magnifier(dc, L"+");
  } else if (key == L"BTN_ZOU") {
    Magnifier(dc, L"-");
  } else if (key == L"BTN_VIE") {
    Rectangle(dc, 1, 3, 15, 13);
    Line(dc, 3, 11, 7, 6);
    Line(dc, 7, 6, 10, 10);
    Line(dc, 10, 10, 13, 7);
  } else if (key == L"BTN_FIT") {
    Rectangle(dc, 1, 1, 15, 15);
    Rectangle(dc, 5, 5, 11, 11);
  } else if (key == L"BTN_Z11") {
    Line(dc, 3, 3, 3, 13);
    Line(dc, 7, 6, 7, 7);
    Line(dc, 7, 10, 7, 11);
    Line(dc, 11, 3, 11, 13);
  } else if (key == L"BTN_PAN") {
    Rectangle(dc, 1, 2, 15, 14);
    Line(dc, 1, 5, 15, 5);
  } else if (key == L"BTN_RT1" || key == L"BTN_RT2") {
    const bool left = key == L"BTN_RT2";
    Arc(dc, 2, 2, 14, 14, left ? 2 : 14, 8, left ? 8 : 8, 2);
    const int tip = left ? 2 : 13;
    Line(dc, tip, 8, tip - 2, 5);
    Line(dc, tip, 8, tip + 3, 6);
  } else {
    Page(dc);
  }
}

HICON MakeIcon(const std::wstring& key) {
  void* bits = nullptr;
  HBITMAP colour = CreateColourBitmap(nullptr, kSize, kSize, &bits);
  if (!colour) return nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  {
    SelectGuard bitmap(dc, colour);
    RECT all{0, 0, kSize, kSize};
    HBRUSH clear = CreateSolidBrush(kClear);
    FillRect(dc, &all, clear);
    DeleteObject(clear);
    const COLORREF ink = key == L"BTN_KIL" ? RGB(192, 0, 0) : key == L"BTN_VAL" ? RGB(0, 128, 0) : RGB(30, 60, 120);
    HPEN pen = CreatePen(PS_SOLID, 2, ink);
    SelectGuard penGuard(dc, pen);
    SelectGuard brush(dc, GetStockObject(NULL_BRUSH));
    DrawKey(dc, key);
    SelectObject(dc, GetStockObject(BLACK_PEN));
    DeleteObject(pen);
  }
  DeleteDC(dc);
  // Opaque where drawn: alpha 255 on the ink, 0 (and a set mask bit) on the rest.
  auto* pixels = static_cast<uint32_t*>(bits);
  const uint32_t clear = 0x00FF00FF;
  WORD maskRows[kSize] = {};
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      uint32_t& p = pixels[y * kSize + x];
      if ((p & 0x00FFFFFF) == clear) {
        p = 0;
        maskRows[y] |= static_cast<WORD>(0x8000 >> x);
      } else {
        p |= 0xFF000000;
      }
    }
    maskRows[y] = static_cast<WORD>((maskRows[y] >> 8) | (maskRows[y] << 8));  // bytes in screen order
  }
  HBITMAP mask = CreateBitmap(kSize, kSize, 1, 1, maskRows);
  ICONINFO info{TRUE, 0, 0, mask, colour};
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(mask);
  DeleteObject(colour);
  return icon;
}

}  // namespace

void AddToolbarButton(hosted::Toolbar& toolbar, const std::wstring& key, const std::wstring& toolTip) {
  HICON icon = MakeIcon(key);
  toolbar.AddButton(key, toolTip, icon, key == L"BTN_REP" ? L" " : L"");
  if (icon) DestroyIcon(icon);  // the toolbar keeps its own copy
}

}  // namespace vk
