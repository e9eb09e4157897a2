#pragma once
// Picture objects around small bitmaps painted pixel by pixel.
#include <windows.h>
#include <olectl.h>

#include <functional>

#include "com/com_ptr.h"

namespace vk::test {

// A picture object around a bitmap or an icon; `owned`: the picture destroys it.
inline com::ComPtr<IPicture> PictureOf(SHORT type, HANDLE handle, bool owned) {
  PICTDESC desc{};
  desc.cbSizeofstruct = sizeof(desc);
  desc.picType = type;
  if (type == PICTYPE_BITMAP) desc.bmp.hbitmap = static_cast<HBITMAP>(handle);
  else desc.icon.hicon = static_cast<HICON>(handle);
  com::ComPtr<IPicture> picture;
  OleCreatePictureIndirect(&desc, IID_IPicture, owned, picture.put_void());
  return picture;
}

// A picture that owns a width x height bitmap whose pixel (x, y) is colour(x, y).
inline com::ComPtr<IPicture> PaintedPicture(int width, int height, const std::function<COLORREF(int, int)>& colour) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) SetPixelV(dc, x, y, colour(x, y));
  SelectObject(dc, old);
  DeleteDC(dc);
  return PictureOf(PICTYPE_BITMAP, bitmap, true);
}

}  // namespace vk::test
