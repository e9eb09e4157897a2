#pragma once
// Picture objects around small bitmaps painted pixel by pixel.
#include <windows.h>
#include <olectl.h>

#include <functional>

#include "com/com_ptr.h"

namespace vk::test {

// A picture that owns a width x height bitmap whose pixel (x, y) is colour(x, y).
inline ComPtr<IPicture> PaintedPicture(int width, int height, const std::function<COLORREF(int, int)>& colour) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) SetPixelV(dc, x, y, colour(x, y));
  SelectObject(dc, old);
  DeleteDC(dc);
  PICTDESC desc{};
  desc.cbSizeofstruct = sizeof(desc);
  desc.picType = PICTYPE_BITMAP;
  desc.bmp.hbitmap = bitmap;
  ComPtr<IPicture> picture;
  OleCreatePictureIndirect(&desc, IID_IPicture, TRUE, picture.put_void());
  return picture;
}

// A picture object around an icon the caller keeps (a shared system icon, say).
inline ComPtr<IPicture> PictureOfIcon(HICON icon) {
  PICTDESC desc{};
  desc.cbSizeofstruct = sizeof(desc);
  desc.picType = PICTYPE_ICON;
  desc.icon.hicon = icon;
  ComPtr<IPicture> picture;
  OleCreatePictureIndirect(&desc, IID_IPicture, FALSE, picture.put_void());
  return picture;
}

}  // namespace vk::test
